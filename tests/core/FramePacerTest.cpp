// The frame pacer's schedule on made-up times, and its sleep on the real
// steady clock (a lower bound only: sleeping never ends early).
#include <gtest/gtest.h>

#include <chrono>

#include "framework/core/FramePacer.h"

using TarnFramework::FramePacer;
using Clock = FramePacer::Clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

namespace {

constexpr Clock::duration kPeriod = FramePacer::kPeriod;
const Clock::time_point t0 = Clock::time_point() + std::chrono::hours(1);

TEST(FramePacer, PeriodIsOneSixtiethOfASecond) {
  EXPECT_EQ(std::chrono::duration_cast<std::chrono::nanoseconds>(kPeriod).count(), 16666666);
}

TEST(FramePacer, FirstFrameDoesNotWait) {
  FramePacer pacer;
  EXPECT_EQ(pacer.Plan(t0), t0);
}

TEST(FramePacer, QuickFramesSleepTheRestOfTheirSixtieth) {
  FramePacer pacer;
  pacer.Plan(t0);
  // A swap that returns at once, 2 ms into the frame, and 10 ms into the next.
  EXPECT_EQ(pacer.Plan(t0 + milliseconds(2)), t0 + kPeriod);
  EXPECT_EQ(pacer.Plan(t0 + kPeriod + milliseconds(10)), t0 + 2 * kPeriod);
  // A frame ending exactly on time does not wait.
  EXPECT_EQ(pacer.Plan(t0 + 3 * kPeriod), t0 + 3 * kPeriod);
}

TEST(FramePacer, SixtyQuickFramesTakeOneSecond) {
  FramePacer pacer;
  Clock::time_point now = t0;
  pacer.Plan(now);
  for (int i = 0; i < 60; ++i) now = pacer.Plan(now + microseconds(1500));  // 1.5 ms of work each
  EXPECT_EQ(now, t0 + 60 * kPeriod);
}

TEST(FramePacer, ALittleLateFrameIsMadeUpByTheNext) {
  FramePacer pacer;
  pacer.Plan(t0);
  // 5 ms late: no sleep, and the next frame still ends on the grid.
  const Clock::time_point late = t0 + kPeriod + milliseconds(5);
  EXPECT_EQ(pacer.Plan(late), late);
  EXPECT_EQ(pacer.Plan(late + milliseconds(1)), t0 + 2 * kPeriod);
}

TEST(FramePacer, SwapsOnAFasterDisplaysBeatAverageSixtyASecond) {
  // A 144 Hz display whose swap waits for its next beat after the sleep.
  const Clock::duration beat = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / 144));
  FramePacer pacer;
  Clock::time_point now = t0;
  pacer.Plan(now);
  for (int i = 0; i < 600; ++i) {
    const Clock::time_point woke = pacer.Plan(now + microseconds(500));
    const auto beats = (woke - t0 + beat - Clock::duration(1)) / beat;  // the next beat at or after waking
    now = t0 + beats * beat;
  }
  const double seconds = std::chrono::duration<double>(now - t0).count();
  EXPECT_NEAR(600 / seconds, 60.0, 0.5);
}

TEST(FramePacer, AStallStartsTheGridAgainInsteadOfABurst) {
  FramePacer pacer;
  pacer.Plan(t0);
  // A frame that took half a second (or a pause while iconified).
  const Clock::time_point stalled = t0 + milliseconds(500);
  EXPECT_EQ(pacer.Plan(stalled), stalled);
  // The next quick frame waits a whole period from there: no catching up.
  EXPECT_EQ(pacer.Plan(stalled + milliseconds(1)), stalled + kPeriod);
}

TEST(FramePacer, WaitSleepsOnTheSteadyClock) {
  FramePacer pacer;
  const Clock::time_point start = Clock::now();
  pacer.Wait();
  for (int i = 0; i < 12; ++i) pacer.Wait();
  EXPECT_GE(Clock::now() - start, 12 * kPeriod);
}

}  // namespace
