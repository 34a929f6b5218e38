#include "config/ClientInstallation.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "config/RegistryFactsFixture.h"
#include "utils/Paths.h"
#include "utils/Registry.h"
#include "utils/TextConversion.h"

namespace {

class ClientInstallation : public RegistryFactsTest {
protected:
  // A folder of the test holding "qmclient.exe".
  std::wstring clientFolder() {
    const std::wstring folder = joinPath(wideFolder(), L"Quillmere Client");
    std::filesystem::create_directories(std::filesystem::u8path(toUtf8(folder)));
    writeFile(toUtf8(joinPath(folder, L"qmclient.exe")), "MZ");
    return folder;
  }
  static void setLocation(RegistryRoot root, const std::wstring& location) {
    writeRegistryString(root, RegistryKeys::uninstallKey, L"InstallLocation", location);
  }
};

TEST_F(ClientInstallation, NoUninstallEntryIsNoInstallation) {
  EXPECT_EQ(clientInstallLocation(), L"");
  EXPECT_FALSE(isClientInstalled());
}

TEST_F(ClientInstallation, AnEntryNamingAFolderWithTheClientCounts) {
  const std::wstring folder = clientFolder();
  const std::wstring separator(1, kPathSeparator);
  for (const std::wstring& location :
       {folder, folder + separator, folder + separator + separator}) {
    setLocation(RegistryRoot::LocalMachine, location);
    EXPECT_EQ(clientInstallLocation(), location);
    EXPECT_TRUE(isClientInstalled()) << toUtf8(location);
  }
}

TEST_F(ClientInstallation, AFolderWithoutTheClientDoesNotCount) {
  const std::wstring folder = clientFolder();
  std::filesystem::remove(std::filesystem::u8path(toUtf8(joinPath(folder, L"qmclient.exe"))));
  setLocation(RegistryRoot::LocalMachine, folder);
  EXPECT_FALSE(isClientInstalled());
  setLocation(RegistryRoot::LocalMachine, joinPath(wideFolder(), L"missing"));
  EXPECT_FALSE(isClientInstalled());
}

TEST_F(ClientInstallation, AnEntryOnlyUnderCurrentUserDoesNotCount) {
  setLocation(RegistryRoot::CurrentUser, clientFolder());
  EXPECT_EQ(clientInstallLocation(), L"");
  EXPECT_FALSE(isClientInstalled());
}

} // namespace
