/// @class TarnFramework::Graphic2D
/// A textured rectangle. Its texture comes from a PNG file, from an
/// off-screen render target (drawn into between BeginRender and EndRender), or
/// from a glyph bitmap made by the text subsystem.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/Drawer.h"
#include "framework/graphics/PictureDecoder.h"

namespace TarnFramework {

class Graphic2D : public Drawer {
 public:
  /// Where the texture comes from: a PNG file, drawing into it, or a glyph.
  enum Kind : int32_t { kImage = 0, kRenderTarget = 1, kGlyph = 2 };
  /// The value of framebuffer while there is none.
  static constexpr uint32_t kNoFramebuffer = 0xFFFFFFFF;
  /// Bytes of path, the terminator included.
  static constexpr int kPathSize = 512;

  /// One corner of the triangle-list path; colour bytes red, green, blue, alpha.
  struct Vertex {
    /// Window position, texture position (0 to 1) and colour.
    /// @{
    float x, y;
    float u, v;
    uint8_t r, g, b, a;
    /// @}
  };

  Graphic2D() = default;
  ~Graphic2D() override;

  void Release() override;
  void DrawPart(int32_t x, int32_t y, double scale, double angle, int32_t pivotX, int32_t pivotY, bool flipH,
                bool flipV, const Rect& source) override;
  void DrawTransformed(int32_t x, int32_t y, double scale, double angle, int32_t pivotX, int32_t pivotY, bool flipH,
                       bool flipV) override;
  void DrawScaled(int32_t x, int32_t y, double scaleX, double scaleY) override;
  void DrawScaledUniform(int32_t x, int32_t y, double scale) override;
  void Draw(int32_t x, int32_t y) override;
  int32_t GetWidth() override { return width; }
  int32_t GetHeight() override { return height; }
  void SetColor(uint32_t rgba) override;
  void ResetColor() override;

  /// Loads a PNG (path with '\' separators). A file that cannot be read or
  /// decoded leaves no texture (the sprite draws nothing) and one warning on
  /// standard error.
  void LoadImage(const char* imagePath);
  /// The same without the warning: false, with the reason in why, for the
  /// caller to report.
  bool LoadImage(const char* imagePath, std::string* why);
  /// Makes this an off-screen target of the given size; below 1 makes nothing.
  void SetRenderTarget(int32_t targetWidth, int32_t targetHeight);
  /// Builds the GPU object for the assigned source, if not built yet.
  void Create();
  /// Textured triangles, three vertices each; this sprite's tint is not used.
  void DrawTriangles(const std::vector<Vertex>& vertices);

  /// Redirects drawing into this target (pushed on the render-target stack);
  /// does nothing unless the target is ready. Pair with EndRender().
  void BeginRender();

  /// True while glIsTexture accepts our texture.
  bool HasTexture() const;

  /// The tint: red, green, blue, alpha.
  uint8_t color[4] = {255, 255, 255, 255};
  /// A source was assigned; Create builds its GPU object.
  bool loadRequested = false;
  /// A Kind.
  int32_t kind = kImage;
  /// The size in pixels.
  /// @{
  int32_t width = 0;
  int32_t height = 0;
  /// @}
  /// The PNG file's path, as given to LoadImage.
  char path[kPathSize] = {};
  /// The GL texture, or 0.
  uint32_t texture = 0;
  /// A render target's framebuffer is built, and its GL name.
  /// @{
  bool targetReady = false;
  uint32_t framebuffer = kNoFramebuffer;
  /// @}
  /// A decoded picture waiting for a context to become the texture.
  std::unique_ptr<unsigned char, PictureDecoder::FreeBlock> waitingPixels;

 protected:
  /// Binds the texture and draws one quad: corners top-left, top-right,
  /// bottom-right, bottom-left with the matching texture coordinates.
  void DrawQuad(const int32_t corners[8], const float uvs[8]);

 private:
  bool LoadImageFile(std::string* why = nullptr);
  // Makes the texture of a picture decoded while there was no context, once
  // there is one; true when there is a texture to draw.
  bool TextureReady();
  void CreateRenderTarget();
};

/// Ends the innermost render target: drawing returns to the enclosing target,
/// or to the window when none is left (also when the stack is already empty).
void EndRender();

}  // namespace TarnFramework
