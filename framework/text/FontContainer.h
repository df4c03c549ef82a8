/// @class TarnFramework::FontContainer
/// One font file and its fonts by pixel size, opened on first use.
#pragma once

#include <cstdint>
#include <string>

namespace TarnFramework {

class Font;

class FontContainer {
 public:
  /// Bytes of path, the terminator included.
  static constexpr int kPathSize = 1024;

  FontContainer() = default;
  FontContainer(const FontContainer&) = delete;
  FontContainer& operator=(const FontContainer&) = delete;
  virtual ~FontContainer() { FontContainer::Release(); }
  /// Closes and frees every font and forgets the path.
  virtual void Release();

  /// Takes sizes 12 to 42 of the font file at path ('\' separators), none opened yet.
  void Setup(const char* fontPath);
  /// Opens the font of this size if not open yet; false, with the reason in
  /// why, when it cannot be.
  bool Preload(int32_t size, std::string* why = nullptr);
  /// The font of this size, opened on demand; null outside the range or when
  /// the file cannot be opened (the reason in why).
  Font* GetFont(int32_t size, std::string* why = nullptr);

  /// The fonts by size from minSize (null until opened), their number, and the size range.
  /// @{
  Font** fonts = nullptr;
  int32_t count = 0;
  int32_t minSize = 0;
  int32_t maxSize = 0;
  /// @}
  /// The font file's path.
  char path[kPathSize] = {};
  /// The size a program uses when it names none (12 after Setup).
  int32_t defaultSize = 0;

 private:
  Font** Slot(int32_t size);
};

}  // namespace TarnFramework
