// The window half of the program's start-up: GLFW, the 1280 x 720 window and
// its context, GLEW, the fixed-function state and the input callbacks.
#pragma once

namespace TarnFramework {

class SystemBase;

// Japanese character-type locale, falling back to UTF-8; failure is harmless.
void SetProgramLocale();

// On failure everything created so far is released, the reason is said on
// standard error (with what GLFW said) and false returned.
bool StartUpWindow(SystemBase& system);

}  // namespace TarnFramework
