#include "utils/WindowsVersion.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowsVersion, OlderThanWindows7AndVista) {
  const struct {
    std::uint32_t major, minor;
    bool olderThan7, olderThanVista;
  } cases[] = {
      {0, 0, true, true},   {5, 1, true, true},   {5, 2, true, true},    {6, 0, true, false},
      {6, 1, false, false}, {6, 3, false, false}, {10, 0, false, false},
  };
  for (const auto& c : cases) {
    OsVersion version;
    version.major = c.major;
    version.minor = c.minor;
    EXPECT_EQ(isVersionBelow(version, 6, 1), c.olderThan7) << c.major << "." << c.minor;
    EXPECT_EQ(isVersionBelow(version, 6, 0), c.olderThanVista) << c.major << "." << c.minor;
  }
}

TEST(WindowsVersion, TheTestSystemIsNotRefused) {
  EXPECT_FALSE(isOlderThanWindows7());
  EXPECT_FALSE(isOlderThanVista());
  EXPECT_GT(queryOsVersion().major, 0u);
}

} // namespace
