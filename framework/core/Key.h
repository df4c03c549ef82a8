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
  /// The named slots, the raw slots (one per GLFW key code) and the two together.
  /// @{
  static constexpr int kNamedSlots = 47;
  static constexpr int kRawSlots = 349;
  static constexpr int kSize = kNamedSlots + kRawSlots;
  /// @}

  /// The named slot of a GLFW key code, or -1.
  static int NamedSlot(int key);

  /// One flag per slot: nonzero when set.
  uint8_t flags[kSize] = {};
};

class Key {
 public:
  virtual ~Key() = default;

  /// Sets key's raw slot and, if it has one, its named slot.
  static void SetKey(KeyTable* table, int key, uint8_t value);
  /// Clears the pressed and released tables, at the end of a frame.
  void ClearEdges();

  /// Keys that went down this frame, keys held, and keys that went up this frame.
  /// @{
  KeyTable pressed;
  KeyTable down;
  KeyTable released;
  /// @}
};

}  // namespace TarnFramework
