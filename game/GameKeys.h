// The game's keys. F11 and Alt+Enter toggle fullscreen on any screen, the
// moment they are pressed; Escape is each screen's own: it closes the main
// screen's character panel and does what 戻る does elsewhere.
#pragma once

struct GLFWwindow;

// Puts the fullscreen keys before the framework's key callback.
void InstallGameKeys(GLFWwindow* window);

// Whether the key that toggles fullscreen is this one (a GLFW key, action
// and modifier bits).
bool IsFullscreenKey(int key, int action, int mods);

// Escape went down this frame.
bool EscapePressed();
