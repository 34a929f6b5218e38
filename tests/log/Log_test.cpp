#include "log/Log.h"

#include <gtest/gtest.h>

namespace {

TEST(Log, SourceNameBeginsAtTheSrcFolder) {
  const struct {
    std::string file, source;
  } cases[] = {
      {"C:\\build\\src\\utils\\Paths.cpp", "src\\utils\\Paths.cpp"},
      {"C:\\src\\a\\src\\b.cpp", "src\\a\\src\\b.cpp"},
      {"/work/main/src/log/Log.cpp", "src/log/Log.cpp"},
      {"/work/src/x/src/y.cpp", "src/x/src/y.cpp"},
      {"C:\\mixed\\src/x.cpp", "C:\\mixed\\src/x.cpp"},
      {"elsewhere/tool.cpp", "elsewhere/tool.cpp"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(logSourceName(c.file), c.source);
  }
}

} // namespace
