/// @class TarnFramework::FramePacer
/// Holds the frame loop to 60 frames a second when the buffer swap
/// does not wait for the display (vsync off in the driver, a virtual display,
/// some compositors) or the display runs faster than 60 Hz. Motion is counted
/// in frames, so the frame rate is the game's speed.
#pragma once

#include <chrono>

namespace TarnFramework {

class FramePacer {
 public:
  /// The clock frames are timed by.
  using Clock = std::chrono::steady_clock;
  /// One frame: 1/60 s.
  static constexpr Clock::duration kPeriod =
      std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / 60.0));

  /// Called once per frame after the swap: sleeps until one period after the
  /// previous frame's end.
  void Wait();

  /// The schedule behind Wait, for a frame ending at now: the time to sleep
  /// until (now itself when the frame is late), which becomes this frame's end.
  /// Frames end on a fixed grid of periods from the first: a frame a little
  /// late is made up by the next one's shorter sleep, so the average stays at
  /// 60 a second even when swaps land on a display's own beat. A frame more
  /// than a whole period late (a stall, a pause while iconified) starts the
  /// grid again from now: what was lost is not caught up in a burst of frames.
  Clock::time_point Plan(Clock::time_point now);

 private:
  Clock::time_point lastEnd_{};
  bool started_ = false;
};

}  // namespace TarnFramework
