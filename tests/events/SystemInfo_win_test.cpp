#include "events/SystemInfo.h"

#include <gtest/gtest.h>

#include "support/TestEnvironment.h"
#include "utils/Paths.h"
#include "utils/Registry.h"

namespace {

const wchar_t* const kLayers =
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";

TEST(SystemInfoOnWindows, ReportsTheCompatibilityLayerOfTheProgram) {
  EXPECT_EQ(emulatedWindowsVersion(), L"");
  writeRegistryString(RegistryRoot::CurrentUser, kLayers, modulePath(), L"~ WIN7RTM");
  EXPECT_EQ(emulatedWindowsVersion(), L"~ WIN7RTM");
  deleteRegistryTree(RegistryRoot::CurrentUser, kLayers);
}

} // namespace
