// The counting semaphores the node threads wait on.

#include "engine/CountingSemaphore.h"

#include <gtest/gtest.h>

namespace flow {
namespace {

TEST(CountingSemaphoreTest, SemaphoresCountUpToTheirMaximum) {
    CountingSemaphore semaphore;
    EXPECT_FALSE(semaphore.TryAcquire());
    EXPECT_TRUE(semaphore.Release());
    EXPECT_TRUE(semaphore.Release());
    EXPECT_EQ(semaphore.Available(), 2);
    EXPECT_TRUE(semaphore.TryAcquire());
    EXPECT_EQ(semaphore.Available(), 1);
    semaphore.Clear();
    EXPECT_FALSE(semaphore.TryAcquire());

    CountingSemaphore nearlyFull(CountingSemaphore::kMaximum - 1);
    EXPECT_TRUE(nearlyFull.Release());
    EXPECT_FALSE(nearlyFull.Release());
    EXPECT_EQ(nearlyFull.Available(), CountingSemaphore::kMaximum);
    EXPECT_TRUE(nearlyFull.TryAcquire());
    EXPECT_EQ(nearlyFull.Available(), CountingSemaphore::kMaximum - 1);
}

} // namespace
} // namespace flow
