#include "utils/NamedMutex.h"

#include <gtest/gtest.h>

#include "support/TestEnvironment.h"

namespace {

const std::wstring kName = L"Global\\_QM_NAMED_MUTEX_TEST";

class NamedMutexTest : public IsolatedTest {};

TEST_F(NamedMutexTest, OneOwnerAtATimeAndFreeAfterClosing) {
  NamedMutexHandle first;
  ASSERT_EQ(createNamedMutex(kName, first), NamedMutexOutcome::Created);
  ASSERT_TRUE(first);
  NamedMutexHandle second;
  EXPECT_EQ(createNamedMutex(kName, second), NamedMutexOutcome::AlreadyExists);
  EXPECT_FALSE(second);
  // The refused attempt leaves the owner's mutex in place.
  NamedMutexHandle third;
  EXPECT_EQ(createNamedMutex(kName, third), NamedMutexOutcome::AlreadyExists);
  first.reset();
  EXPECT_EQ(createNamedMutex(kName, third), NamedMutexOutcome::Created);
}

} // namespace
