/// @class TarnFramework::Key
/// Keyboard state: three tables of flags (pressed this frame, held, released
/// this frame), written by the key callback and read by any screen.
#pragma once

#include <cstdint>

namespace TarnFramework {

/// 47 named slots (digits, letters, a few editing keys) followed by a raw slot
/// for every GLFW key code, Tab, the function keys, the modifiers, Page Up and
/// the keypad among them.
struct KeyTable {
  static constexpr int kNamedSlots = 47;
  static constexpr int kRawSlots = 349;
  static constexpr int kSize = kNamedSlots + kRawSlots;

  /// The named slot of a GLFW key code, or -1.
  static int NamedSlot(int key);

  uint8_t flags[kSize] = {};
};

class Key {
 public:
  virtual ~Key() = default;

  static void SetKey(KeyTable* table, int key, uint8_t value);
  void ClearEdges();

  KeyTable pressed;
  KeyTable down;
  KeyTable released;
};

}  // namespace TarnFramework
