// An OpenGL context with no window and no display: EGL on Mesa's surfaceless
// platform. The render mode draws only into render targets, so it needs
// nothing more, and runs where no X server is.
#pragma once

#include <string>

namespace skelview {

class OffscreenContext {
 public:
  OffscreenContext() = default;
  ~OffscreenContext();
  OffscreenContext(const OffscreenContext&) = delete;
  OffscreenContext& operator=(const OffscreenContext&) = delete;

  // Makes a compatibility-profile context current, as the window's is;
  // false with the reason in why.
  bool Open(std::string& why);
  // Lets go of what Open made, current or not; safe to call again.
  void Close();

 private:
  void* display_ = nullptr;
  void* context_ = nullptr;
};

}  // namespace skelview
