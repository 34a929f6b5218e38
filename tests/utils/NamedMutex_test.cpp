#include "utils/NamedMutex.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kName = L"Global\\_QM_NAMED_MUTEX_TEST";

TEST(NamedMutex, OneOwnerAtATimeAndFreeAfterClosing) {
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
