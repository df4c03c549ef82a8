#include "framework/core/FramePacer.h"

#include <thread>

namespace TarnFramework {

FramePacer::Clock::time_point FramePacer::Plan(Clock::time_point now) {
  if (!started_) {
    started_ = true;
    lastEnd_ = now;
    return now;
  }
  const Clock::time_point due = lastEnd_ + kPeriod;
  if (now <= due) {
    lastEnd_ = due;
    return due;
  }
  lastEnd_ = now - due > kPeriod ? now : due;
  return now;
}

void FramePacer::Wait() {
  const Clock::time_point now = Clock::now();
  const Clock::time_point until = Plan(now);
  if (until > now) std::this_thread::sleep_until(until);
}

}  // namespace TarnFramework
