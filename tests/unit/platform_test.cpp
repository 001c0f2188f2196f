#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/error_text.h"

namespace lx47::platform {
namespace {

TEST(SystemErrorText, KnownCodesHaveTextUnknownOnesNone) {
  // 2 is "file not found" on Windows and ENOENT on POSIX systems alike.
  EXPECT_FALSE(SystemErrorText(2).empty());
  EXPECT_TRUE(SystemErrorText(987654).empty());
  EXPECT_LE(SystemErrorText(2).size(), 256u * 4);
}

TEST(SystemClock, PausesAndReadsTheLocalTime) {
  setClock(nullptr);
  LocalTime t;
  ASSERT_TRUE(clock().localTime(t));
  EXPECT_GE(t.year, 2020);
  EXPECT_TRUE(t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31);
  EXPECT_TRUE(t.hour <= 23 && t.minute <= 59 && t.second <= 60);
  const std::uint64_t before = clock().monotonicMs();
  clock().sleepMs(30);
  const std::uint64_t slept = clock().monotonicMs() - before;
  // Tick granularity is 10..16 ms on Windows.
  EXPECT_GE(slept, 14u);
  EXPECT_LT(slept, 5000u);
}

}  // namespace
}  // namespace lx47::platform
