// Going back to the screen that opened another one.
#pragma once

namespace TarnFramework {
class Screen;
}

// Switches from self to target, found by identity among the manager's slots;
// to the screen named fallback when target is null. Nothing happens when
// target is in no slot.
void ReturnToScreen(TarnFramework::Screen* self, TarnFramework::Screen* target, const char* fallback);
