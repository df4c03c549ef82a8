/// @class tarn::ThreadSignalStack
/// An alternate signal stack for the thread that makes one. A crash handler
/// installed with SA_ONSTACK runs there, so a thread that overflows its own
/// stack still gets its crash reported; the alternate stack set at start-up
/// belongs to the thread that set it, not to threads started later.
#pragma once

#include <cstddef>

namespace tarn {

class ThreadSignalStack {
 public:
  /// Room for a handler that prints a backtrace.
  static constexpr size_t kSize = 64 * 1024;

  /// Gives the calling thread its own alternate stack unless it has one
  /// already; without memory the thread goes on without one.
  ThreadSignalStack();
  /// Takes the stack away from the thread again and frees it; on the same
  /// thread that made it.
  ~ThreadSignalStack();
  ThreadSignalStack(const ThreadSignalStack&) = delete;
  ThreadSignalStack& operator=(const ThreadSignalStack&) = delete;

  /// Whether this object set the thread's alternate stack.
  bool Active() const { return memory_ != nullptr; }

 private:
  void* memory_ = nullptr;
};

}  // namespace tarn
