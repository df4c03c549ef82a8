// Font: FreeType faces and the glyph textures made from them.
#include "framework/text/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/DrawState.h"
#include "framework/text/GlyphDrawer.h"
#include "framework/text/TextString.h"
#include "tarn/Path.h"
#include "tarn/Report.h"

namespace TarnFramework {

namespace {

// Uploads a coverage bitmap as an alpha texture of rows x pitch texels.
void UploadCoverage(GlyphDrawer& glyph, int32_t pitch, int32_t rows, const unsigned char* coverage) {
  glyph.Release();
  glyph.width = pitch;
  glyph.height = rows;
  glyph.loadRequested = true;
  glyph.kind = Graphic2D::kGlyph;
  glyph.texture = CreateAlphaTexture(pitch, rows, coverage);
}

// FreeType's own words for its error codes.
const char* FreeTypeMessage(FT_Error error) {
// clang-format off
#undef FTERRORS_H_
#define FT_ERROR_START_LIST switch (error) {
#define FT_ERRORDEF(e, v, s) case v: return s;
#define FT_ERROR_END_LIST }
// clang-format on
#include FT_ERRORS_H
  return "unknown FreeType error";
}

// Fonts with embedded bitmap strikes render one bit per pixel; spread those
// to full bytes so they upload like outline glyphs.
std::vector<unsigned char> ExpandMono(const FT_Bitmap& bitmap) {
  std::vector<unsigned char> out(static_cast<size_t>(bitmap.width) * bitmap.rows);
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const unsigned char* bits = bitmap.buffer + static_cast<size_t>(row) * bitmap.pitch;
    for (unsigned col = 0; col < bitmap.width; ++col) {
      out[static_cast<size_t>(row) * bitmap.width + col] = (bits[col >> 3] & (0x80 >> (col & 7))) ? 255 : 0;
    }
  }
  return out;
}

}  // namespace

// Every size of a font file reads it once: FreeType would otherwise map the
// whole file again for each face, and each face needs its library.
struct FontFile {
  // The file as it was read: a path is no identity once the working folder
  // changes or the file is replaced.
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified = {};
  std::vector<unsigned char> bytes;
  FT_Library library = nullptr;
  int users = 0;
};

namespace {

std::vector<std::unique_ptr<FontFile>>& OpenFiles() {
  static std::vector<std::unique_ptr<FontFile>> files;
  return files;
}

FontFile* AcquireFile(const char* path, std::string* why) {
  size_t size = 0;
  const int fd = tarn::OpenRegularFile(path, &size, why);
  if (fd < 0) return nullptr;
  // The identity of the file whose bytes are read: the path may name another
  // file by the time it is looked at again.
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    if (why) *why = std::strerror(errno);
    ::close(fd);
    return nullptr;
  }
  for (const std::unique_ptr<FontFile>& open : OpenFiles())
    if (open->device == st.st_dev && open->inode == st.st_ino && open->size == st.st_size &&
        open->modified.tv_sec == st.st_mtim.tv_sec && open->modified.tv_nsec == st.st_mtim.tv_nsec) {
      ::close(fd);
      ++open->users;
      return open.get();
    }
  auto file = std::make_unique<FontFile>();
  const bool read = tarn::ReadOpenFile(fd, size, file->bytes, why);
  ::close(fd);
  if (!read) return nullptr;
  if (const FT_Error error = FT_Init_FreeType(&file->library)) {
    if (why) *why = FreeTypeMessage(error);
    return nullptr;
  }
  file->device = st.st_dev;
  file->inode = st.st_ino;
  file->size = st.st_size;
  file->modified = st.st_mtim;
  file->users = 1;
  OpenFiles().push_back(std::move(file));
  return OpenFiles().back().get();
}

void ReleaseFile(FontFile* file) {
  if (--file->users > 0) return;
  FT_Done_FreeType(file->library);
  std::vector<std::unique_ptr<FontFile>>& files = OpenFiles();
  for (auto it = files.begin(); it != files.end(); ++it)
    if (it->get() == file) {
      files.erase(it);
      return;
    }
}

}  // namespace

Font::~Font() { Font::Release(); }

void Font::Release() {
  if (face) FT_Done_Face(face);
  if (file) ReleaseFile(file);
  face = nullptr;
  file = nullptr;
}

bool Font::Open(const char* path, int32_t size, std::string* why) {
  std::string reason;
  if (OpenFace(path, size, reason)) return true;
  if (why) {
    *why = reason;
  } else {
    tarn::ReportWarning("cannot read " + tarn::FileName(path ? path : ""), reason);
  }
  return false;
}

bool Font::OpenFace(const char* path, int32_t size, std::string& why) {
  Release();
  if (!path || size < 1) {
    why = "no font path or size";
    return false;
  }
  file = AcquireFile(path, &why);
  if (!file) return false;
  FT_Error error =
      FT_New_Memory_Face(file->library, file->bytes.data(), static_cast<FT_Long>(file->bytes.size()), 0, &face);
  if (error == 0) error = FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size));
  if (error != 0) {
    why = FreeTypeMessage(error);
    Release();
    return false;
  }
  pixelSize = size;
  return true;
}

GlyphDrawer* Font::CreateGlyph(char16_t code, uint32_t color) {
  if (!face) return nullptr;
  if (FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_RENDER) != 0) {
    Release();
    return nullptr;
  }
  GlyphDrawer* glyph = new GlyphDrawer;

  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  const int32_t rows = static_cast<int32_t>(bitmap.rows);
  // A glyph without pixels (the space) keeps its metrics but has no texture.
  if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.pitch > 0 && rows > 0) {
    UploadCoverage(*glyph, bitmap.pitch, rows, bitmap.buffer);
  } else if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO && bitmap.pitch > 0 && rows > 0 && bitmap.width > 0) {
    UploadCoverage(*glyph, static_cast<int32_t>(bitmap.width), rows, ExpandMono(bitmap).data());
  }

  const FT_Glyph_Metrics& m = slot->metrics;
  glyph->fontSize = pixelSize;
  glyph->bearingX = static_cast<int32_t>(m.horiBearingX / 64);
  glyph->bearingY = static_cast<int32_t>(m.horiBearingY / 64);
  glyph->advance = static_cast<int32_t>(m.horiAdvance / 64);
  glyph->vertBearingX = static_cast<int32_t>(m.vertBearingX / 64);
  glyph->vertBearingY = static_cast<int32_t>(m.vertBearingY / 64);
  glyph->vertAdvance = static_cast<int32_t>(m.vertAdvance / 64);
  glyph->SetColor(color);
  return glyph;
}

TextString* Font::CreateText(const char* text, uint32_t color) {
  if (!face) return nullptr;
  TextString* string = new TextString;
  string->AppendText(this, text, color, 0);
  return string;
}

TextString* Font::CreateTextW(const char16_t* text, uint32_t color) {
  if (!face) return nullptr;
  TextString* string = new TextString;
  string->AppendTextW(this, text, color, 0);
  return string;
}

}  // namespace TarnFramework
