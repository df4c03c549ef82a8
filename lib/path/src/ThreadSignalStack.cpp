#include "tarn/ThreadSignalStack.h"

#include <signal.h>
#include <sys/mman.h>

namespace tarn {

ThreadSignalStack::ThreadSignalStack() {
  stack_t current{};
  if (sigaltstack(nullptr, &current) != 0 || !(current.ss_flags & SS_DISABLE)) return;
  void* memory = mmap(nullptr, kSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) return;
  stack_t stack{};
  stack.ss_sp = memory;
  stack.ss_size = kSize;
  if (sigaltstack(&stack, nullptr) != 0) {
    munmap(memory, kSize);
    return;
  }
  memory_ = memory;
}

ThreadSignalStack::~ThreadSignalStack() {
  if (!memory_) return;
  stack_t off{};
  off.ss_flags = SS_DISABLE;
  sigaltstack(&off, nullptr);
  munmap(memory_, kSize);
}

}  // namespace tarn
