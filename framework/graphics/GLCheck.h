// Inside the graphics module only: every GL call is written TARN_GL(call), so
// that a Debug build checks glGetError after it in one place.
#pragma once

#include "framework/graphics/DrawState.h"

#ifdef NDEBUG
#define TARN_GL(call) call
#else
#define TARN_GL(call)                                          \
  do {                                                         \
    call;                                                      \
    ::TarnFramework::CheckGlErrors(#call, __FILE__, __LINE__); \
  } while (0)
#endif
