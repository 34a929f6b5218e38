#include "events/SystemInfo.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

TEST(SystemInfo, FormatSizeUsesTheLargestUnitReached) {
  const struct {
    std::uint64_t bytes;
    const char* text;
  } cases[] = {
      {0, "0"},
      {1, "1 B"},
      {1023, "1023 B"},
      {1024, "1 KiB"},
      {1025, "1.0 KiB"},
      {1536, "1.5 KiB"},
      {1048575, "1024.0 KiB"},
      {1048576, "1 MiB"},
      {8589934592ull, "8 GiB"},
      {17000000000ull, "15.8 GiB"},
      {1ull << 60, "1 EiB"},
      {18446744073709551615ull, "16.0 EiB"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formatSize(c.bytes), c.text) << c.bytes;
  }
}

TEST(SystemInfo, WindowsVersionNames) {
  const struct {
    std::uint32_t major, minor;
    std::uint8_t productType;
    const char* name;
  } cases[] = {
      {10, 0, 1, "Windows 10"},      {10, 0, 3, "Windows Server 2016"},
      {10, 1, 1, "Unknown Windows"}, {6, 4, 1, "Unknown Windows"},
      {6, 3, 1, "Windows 8.1"},      {6, 3, 2, "Windows Server 2012 R2"},
      {6, 2, 1, "Windows 8"},        {6, 2, 3, "Windows Server 2012"},
      {6, 1, 1, "Windows 7"},        {6, 1, 3, "Windows Server 2008 R2"},
      {6, 0, 1, "Windows Vista"},    {6, 0, 2, "Windows Server 2008"},
      {5, 2, 1, "Windows XP"},       {5, 1, 3, "Windows XP"},
      {0, 0, 0, "Unknown Windows"},  {11, 0, 1, "Unknown Windows"},
  };
  for (const auto& c : cases) {
    OsVersion version;
    version.major = c.major;
    version.minor = c.minor;
    version.productType = c.productType;
    EXPECT_EQ(windowsVersionName(version), c.name) << c.major << "." << c.minor;
  }
}

TEST(SystemInfo, LocalTimeHasDateTimeAndOffset) {
  const std::string text = localTimeText();
  EXPECT_EQ(text.size(), 19u + 5u) << text;
  EXPECT_TRUE(std::regex_match(text, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d{4})")))
      << text;
}

TEST(SystemInfo, MemoryFiguresAreConsistent) {
  const MemoryStatus status = queryMemoryStatus();
  EXPECT_GT(status.totalPhysical, 0u);
  EXPECT_LE(status.availablePhysical, status.totalPhysical);
  EXPECT_LE(status.load, 100u);
}

} // namespace
