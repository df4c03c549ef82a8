/// @class TarnFramework::Font
/// One FreeType face opened at one pixel size, turning characters into
/// glyph sprites and texts.
#pragma once

#include <cstdint>
#include <string>

struct FT_FaceRec_;

namespace TarnFramework {

struct FontFile;
class GlyphDrawer;
class TextString;

class Font {
 public:
  Font() = default;
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;
  virtual ~Font();
  /// Closes the face; the font can be opened again.
  virtual void Release();

  /// Opens the face of the font file at path, size pixels high.
  /// path uses '\' separators. False (and closed) when the path is not a
  /// regular file or on any FreeType error, with the reason in why, or
  /// without why in a warning naming the path.
  bool Open(const char* path, int32_t size, std::string* why = nullptr);
  /// Whether a face is open.
  bool IsOpen() const { return face != nullptr; }

  /// One character as a glyph sprite in color.
  /// Caller owns the result. Null when the font is closed; a FreeType error
  /// while rendering closes the font for good.
  GlyphDrawer* CreateGlyph(char16_t code, uint32_t color);
  /// The text laid out in one colour: bytes read as Latin-1, or UTF-16 units.
  /// Caller owns the result; null when the font is not open.
  /// @{
  TextString* CreateText(const char* text, uint32_t color);
  TextString* CreateTextW(const char16_t* text, uint32_t color);
  /// @}

  /// The file's bytes and FreeType library, shared by every open size of it.
  FontFile* file = nullptr;
  /// The FreeType face (null while closed) and the pixel size it was opened at.
  /// @{
  FT_FaceRec_* face = nullptr;
  int32_t pixelSize = 0;
  /// @}

 private:
  bool OpenFace(const char* path, int32_t size, std::string& why);
};

}  // namespace TarnFramework
