// A test that starts and ends with none of the client's registry keys (main, legacy, uninstall)
// under either root, so that it sees only what it writes.
#pragma once

#include "config/RegistryKeys.h"
#include "support/TestEnvironment.h"

class RegistryFactsTest : public IsolatedTest {
protected:
  void SetUp() override {
    IsolatedTest::SetUp();
    clearKeys();
  }
  void TearDown() override {
    clearKeys();
    IsolatedTest::TearDown();
  }

private:
  static void clearKeys() {
    for (const RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser}) {
      for (const std::wstring* key :
           {&RegistryKeys::mainKey, &RegistryKeys::legacyKey, &RegistryKeys::uninstallKey}) {
        deleteRegistryTree(root, *key);
      }
    }
  }
};
