// Preloaded into the real program: a picture decoded on any thread but the
// main one overflows that thread's stack, as a decoder recursing without end
// would. The main thread decodes as usual.
#include <dlfcn.h>
#include <lodepng.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
volatile unsigned g_bottom = 0xFFFFFFFFu;  // never reached: the stack ends first
}  // namespace

// Exported, so that the crash report can name it.
extern "C" __attribute__((noinline, visibility("default"))) unsigned DeeperAndDeeper(unsigned depth);
extern "C" unsigned DeeperAndDeeper(unsigned depth) {
  volatile char frame[1024];
  frame[0] = static_cast<char>(depth);
  if (depth == g_bottom) return frame[0];
  return DeeperAndDeeper(depth + 1) + frame[0];
}

unsigned lodepng_decode32(unsigned char** out, unsigned* w, unsigned* h, const unsigned char* in, size_t size) {
  if (syscall(SYS_gettid) != getpid()) return DeeperAndDeeper(0);
  using Decode = unsigned (*)(unsigned char**, unsigned*, unsigned*, const unsigned char*, size_t);
  static const auto real = reinterpret_cast<Decode>(dlsym(RTLD_NEXT, "lodepng_decode32"));
  return real ? real(out, w, h, in, size) : 1;
}
