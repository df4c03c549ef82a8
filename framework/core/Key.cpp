#include "framework/core/Key.h"

#include <GLFW/glfw3.h>

#include <cstring>

namespace TarnFramework {

static_assert(KeyTable::kRawSlots == GLFW_KEY_LAST + 1, "a raw slot for every GLFW key");

int KeyTable::NamedSlot(int key) {
  if (key >= GLFW_KEY_0 && key <= GLFW_KEY_9) return key - GLFW_KEY_0;
  if (key >= GLFW_KEY_A && key <= GLFW_KEY_Z) return 10 + key - GLFW_KEY_A;
  switch (key) {
    case GLFW_KEY_ESCAPE: return 39;
    case GLFW_KEY_ENTER: return 40;
    case GLFW_KEY_BACKSPACE: return 41;
    case GLFW_KEY_DELETE: return 42;
    case GLFW_KEY_UP: return 43;
    case GLFW_KEY_DOWN: return 44;
    case GLFW_KEY_LEFT: return 45;
    case GLFW_KEY_RIGHT: return 46;
    default: return -1;
  }
}

void Key::SetKey(KeyTable* table, int key, uint8_t value) {
  if (!table) return;
  if (key >= 0 && key < KeyTable::kRawSlots) table->flags[KeyTable::kNamedSlots + key] = value;
  int named = KeyTable::NamedSlot(key);
  if (named >= 0) table->flags[named] = value;
}

void Key::ClearEdges() {
  std::memset(pressed.flags, 0, sizeof pressed.flags);
  std::memset(released.flags, 0, sizeof released.flags);
}

}  // namespace TarnFramework
