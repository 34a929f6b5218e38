#include "utils/Registry.h"

#include <gtest/gtest.h>

#include "support/TestEnvironment.h"

namespace {

class RegistryStandIn : public IsolatedTest {};

// The value's UTF-16LE units and the zero that NT appends to a string written without one.
TEST_F(RegistryStandIn, StoresTheUtf16UnitsAsNtDoes) {
  writeRegistryString(RegistryRoot::CurrentUser, L"Software\\Quillworks\\{5e1f}_is1",
                      L"C:/Odd Name", L"a\u00E4");
  const std::string file = folder() +
                           "/config/quillmere/registry/HKEY_CURRENT_USER/software/quillworks/"
                           "%7B5e1f%7D_is1/=c%3A%2Fodd%20name";
  EXPECT_EQ(readFile(file), std::string("a\0\xE4\0\0\0", 6));
}

TEST_F(RegistryStandIn, RootsAreSeparate) {
  writeRegistryString(RegistryRoot::LocalMachine, L"SOFTWARE\\Quillworks", L"Value", L"machine");
  writeRegistryString(RegistryRoot::CurrentUser, L"SOFTWARE\\Quillworks", L"Value", L"user");
  EXPECT_EQ(readRegistryString(RegistryRoot::LocalMachine, L"SOFTWARE\\Quillworks", L"Value"),
            L"machine");
  EXPECT_EQ(readRegistryString(RegistryRoot::CurrentUser, L"SOFTWARE\\Quillworks", L"Value"),
            L"user");
}

} // namespace
