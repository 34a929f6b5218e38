#include "support/TestEnvironment.h"

#include <stdlib.h>

#include <filesystem>

namespace {

const char* const kIsolatedVariables[4] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "TMPDIR"};

} // namespace

void IsolatedTest::SetUp() {
  char pattern[] = "/tmp/qm-test-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  folder_ = pattern;
  const std::string values[4] = {folder_ + "/home", folder_ + "/config", folder_ + "/data",
                                 folder_ + "/tmp"};
  for (int i = 0; i < 4; ++i) {
    const char* saved = ::getenv(kIsolatedVariables[i]);
    savedEnvironment_[i] = saved ? saved : "";
    std::filesystem::create_directories(values[i]);
    ::setenv(kIsolatedVariables[i], values[i].c_str(), 1);
  }
}

void IsolatedTest::TearDown() {
  for (int i = 0; i < 4; ++i) {
    if (savedEnvironment_[i].empty()) {
      ::unsetenv(kIsolatedVariables[i]);
    } else {
      ::setenv(kIsolatedVariables[i], savedEnvironment_[i].c_str(), 1);
    }
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void deleteRegistryTree(RegistryRoot, const std::wstring&) {
  // Each test's registry lives in its own folder, removed with it.
}
