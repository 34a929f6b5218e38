// Test support: a fresh folder per test, the POSIX stand-ins pointed into it, and paths of the
// helper programs.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "utils/Registry.h"

// A test with a folder of its own. On POSIX, HOME, XDG_CONFIG_HOME, XDG_DATA_HOME and TMPDIR point
// into it for the test's duration, so the registry, application data and temporary stand-ins are
// private to it. Windows keeps the real (Wine prefix) folders and registry.
class IsolatedTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  // The test's own folder, without a trailing separator (UTF-8 and wide).
  const std::string& folder() const { return folder_; }
  std::wstring wideFolder() const;

private:
  std::string folder_;
  std::string savedEnvironment_[4];
};

// The path of a helper program built beside the unit tests ("exit_with", say), with ".exe" on
// Windows.
std::wstring helperProgram(const std::wstring& name);

// Removes `keyPath` under `root` with all its values and subkeys (test clean-up only).
void deleteRegistryTree(RegistryRoot root, const std::wstring& keyPath);

// Writes `bytes` to the file at UTF-8 `path`, replacing it.
void writeFile(const std::string& path, const std::string& bytes);
// The bytes of the file at UTF-8 `path`; empty when it cannot be read.
std::string readFile(const std::string& path);
