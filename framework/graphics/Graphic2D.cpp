// Graphic2D: PNG textures (lodepng) and the sprite draws, one quad and one
// glFlush per draw through client-side arrays.
#include "framework/graphics/Graphic2D.h"

#include <GL/glew.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#include "framework/graphics/GLCheck.h"
#include "framework/graphics/GraphicManager.h"
#include "framework/graphics/PictureDecoder.h"
#include "tarn/Report.h"

namespace TarnFramework {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Without a context the real limit is unknown: refuse only what none takes.
constexpr unsigned kLargestWithoutContext = 32768;

void SetTextureParameters() {
  TARN_GL(glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR));
  TARN_GL(glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR));
  TARN_GL(glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP));
  TARN_GL(glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP));
}

// Texture coordinates of a sub-rectangle, corner order as the quad, mirrored by the flips.
void CellCoordinates(float u0, float v0, float u1, float v1, bool flipH, bool flipV, float uvs[8]) {
  if (flipH) std::swap(u0, u1);
  if (flipV) std::swap(v0, v1);
  const float out[8] = {u0, v0, u1, v0, u1, v1, u0, v1};
  std::memcpy(uvs, out, sizeof out);
}

void LoadTransform(int32_t x, int32_t y, double scale, double angle) {
  ResetModelView();
  TARN_GL(glTranslatef(static_cast<float>(x), static_cast<float>(y), 0.0f));
  TARN_GL(glRotated(angle * 180.0 / kPi, 0.0, 0.0, 1.0));
  const float s = static_cast<float>(scale);
  TARN_GL(glScalef(s, s, 1.0f));
}

}  // namespace

Graphic2D::~Graphic2D() {
  // A target destroyed while still on the stack must not be left there for
  // the next EndRender to touch.
  GraphicManager* manager = GraphicManager::Active();
  if (kind == kRenderTarget && manager) manager->renderTargetStack.Remove(this);
  Graphic2D::Release();
}

bool Graphic2D::HasTexture() const { return texture != 0 && glIsTexture(texture) == GL_TRUE; }

void Graphic2D::Release() {
  loadRequested = false;
  path[0] = '\0';
  if (kind == kRenderTarget) {
    if (targetReady) {
      GLuint name = texture;
      TARN_GL(glDeleteTextures(1, &name));
      GLuint fbo = framebuffer;
      TARN_GL(glDeleteFramebuffers(1, &fbo));
      targetReady = false;
    }
    framebuffer = kNoFramebuffer;
  } else if (HasTexture()) {
    GLuint name = texture;
    TARN_GL(glDeleteTextures(1, &name));
  }
  // A deleted name can be handed out again to another sprite; forget it so
  // this one cannot draw someone else's picture.
  texture = 0;
  waitingPixels.reset();
}

void Graphic2D::LoadImage(const char* imagePath) {
  // Copied first (here and below): the caller may pass our own path, which
  // Release empties.
  const std::string requested = imagePath ? imagePath : "";
  std::string why;
  if (!LoadImage(requested.c_str(), &why) && !requested.empty()) {
    tarn::ReportWarning("cannot read " + tarn::FileName(requested.c_str()), why);
  }
}

bool Graphic2D::LoadImage(const char* imagePath, std::string* why) {
  const std::string requested = imagePath ? imagePath : "";
  Release();
  // A truncated path would name some other file: refuse paths that do not fit.
  if (requested.size() < kPathSize - 1) std::strcpy(path, requested.c_str());
  loadRequested = true;
  kind = kImage;
  if (!path[0]) {
    if (why) *why = requested.empty() ? std::strerror(ENOENT) : std::strerror(ENAMETOOLONG);
    return false;
  }
  // Released above, so there is no texture yet: the load runs as Create's would.
  return LoadImageFile(why);
}

void Graphic2D::SetRenderTarget(int32_t targetWidth, int32_t targetHeight) {
  Release();
  width = targetWidth;
  height = targetHeight;
  loadRequested = true;
  kind = kRenderTarget;
  Create();
}

void Graphic2D::Create() {
  if (!loadRequested) return;
  if (kind == kImage) {
    // Loading again would orphan the texture we already have.
    if (!TextureReady() && !waitingPixels) LoadImageFile();
  } else if (kind == kRenderTarget) {
    if (!targetReady && width >= 1 && height >= 1) CreateRenderTarget();
  }
}

bool Graphic2D::LoadImageFile(std::string* why) {
  PictureDecoder::Picture picture;
  // No context yet (data loaded before the window opens): the picture is
  // decoded now, so that a bad file is named now, and becomes a texture at
  // the first draw, when the context's largest texture is known.
  if (!glGetString(GL_VERSION)) {
    PictureDecoder::Decode(path, kLargestWithoutContext, picture);
  } else if (!PictureDecoder::Take(path, picture)) {
    // Decoded ahead on a worker when start-up asked for this picture.
    GLint maxSize = 0;
    TARN_GL(glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize));
    PictureDecoder::Decode(path, maxSize > 0 ? static_cast<unsigned>(maxSize) : 0, picture);
  }
  // A file that made no picture makes no texture rather than one of undefined content.
  if (!picture.pixels) {
    if (why) *why = picture.why;
    return false;
  }
  width = static_cast<int32_t>(picture.width);
  height = static_cast<int32_t>(picture.height);
  waitingPixels = std::move(picture.pixels);
  TextureReady();
  return true;
}

bool Graphic2D::TextureReady() {
  if (waitingPixels && glGetString(GL_VERSION)) {
    const std::unique_ptr<unsigned char, PictureDecoder::FreeBlock> pixels = std::move(waitingPixels);
    GLint largest = 0;
    TARN_GL(glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest));
    if (width > largest || height > largest) {
      tarn::ReportWarning("cannot read " + tarn::FileName(path),
                          PictureDecoder::TooLarge(static_cast<unsigned>(width), static_cast<unsigned>(height),
                                                   static_cast<unsigned>(largest)));
      return false;
    }
    GLuint name = 0;
    TARN_GL(glGenTextures(1, &name));
    texture = name;
    TARN_GL(glBindTexture(GL_TEXTURE_2D, name));
    SetTextureParameters();
    TARN_GL(glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.get()));
    TARN_GL(glFlush());
  }
  return HasTexture();
}

void Graphic2D::SetColor(uint32_t rgba) {
  for (int i = 0; i < 4; ++i) color[i] = static_cast<uint8_t>(rgba >> (8 * i));
}

void Graphic2D::ResetColor() { SetColor(0xFFFFFFFF); }

void Graphic2D::DrawQuad(const int32_t corners[8], const float uvs[8]) {
  TARN_GL(glBindTexture(GL_TEXTURE_2D, texture));
  uint8_t colors[16];
  for (int i = 0; i < 4; ++i) std::memcpy(colors + 4 * i, color, 4);
  TARN_GL(glVertexPointer(2, GL_INT, 0, corners));
  TARN_GL(glColorPointer(4, GL_UNSIGNED_BYTE, 0, colors));
  TARN_GL(glTexCoordPointer(2, GL_FLOAT, 0, uvs));
  TARN_GL(glDrawArrays(GL_QUADS, 0, 4));
  TARN_GL(glFlush());
}

void Graphic2D::Draw(int32_t x, int32_t y) {
  if (!TextureReady()) return;
  ResetModelView();
  const int32_t corners[8] = {x, y, x + width, y, x + width, y + height, x, y + height};
  float uvs[8];
  CellCoordinates(0, 0, 1, 1, false, false, uvs);
  DrawQuad(corners, uvs);
}

void Graphic2D::DrawScaled(int32_t x, int32_t y, double scaleX, double scaleY) {
  if (!TextureReady()) return;
  ResetModelView();
  const int32_t right = x + static_cast<int32_t>(width * scaleX);
  const int32_t bottom = y + static_cast<int32_t>(height * scaleY);
  const int32_t corners[8] = {x, y, right, y, right, bottom, x, bottom};
  float uvs[8];
  CellCoordinates(0, 0, 1, 1, false, false, uvs);
  DrawQuad(corners, uvs);
}

void Graphic2D::DrawScaledUniform(int32_t x, int32_t y, double scale) { DrawScaled(x, y, scale, scale); }

void Graphic2D::DrawTransformed(int32_t x, int32_t y, double scale, double angle, int32_t pivotX, int32_t pivotY,
                                bool flipH, bool flipV) {
  if (!TextureReady()) return;
  LoadTransform(x, y, scale, angle);
  const int32_t l = -pivotX, t = -pivotY, r = width - pivotX, b = height - pivotY;
  const int32_t corners[8] = {l, t, r, t, r, b, l, b};
  float uvs[8];
  CellCoordinates(0, 0, 1, 1, flipH, flipV, uvs);
  DrawQuad(corners, uvs);
}

void Graphic2D::DrawPart(int32_t x, int32_t y, double scale, double angle, int32_t pivotX, int32_t pivotY, bool flipH,
                         bool flipV, const Rect& source) {
  if (!TextureReady()) return;
  LoadTransform(x, y, scale, angle);
  const int32_t l = -pivotX, t = -pivotY, r = source.width - pivotX, b = source.height - pivotY;
  const int32_t corners[8] = {l, t, r, t, r, b, l, b};
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  float uvs[8];
  CellCoordinates(source.x / w, source.y / h, (source.x + source.width) / w, (source.y + source.height) / h, flipH,
                  flipV, uvs);
  DrawQuad(corners, uvs);
}

void Graphic2D::DrawTriangles(const std::vector<Vertex>& vertices) {
  if (vertices.empty() || !TextureReady()) return;
  ResetModelView();
  TARN_GL(glBindTexture(GL_TEXTURE_2D, texture));
  // The arrays are read in place from the interleaved list.
  const size_t n = vertices.size();
  const GLsizei stride = static_cast<GLsizei>(sizeof(Vertex));
  TARN_GL(glVertexPointer(2, GL_FLOAT, stride, &vertices[0].x));
  TARN_GL(glColorPointer(4, GL_UNSIGNED_BYTE, stride, &vertices[0].r));
  TARN_GL(glTexCoordPointer(2, GL_FLOAT, stride, &vertices[0].u));
  TARN_GL(glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(n)));
  TARN_GL(glFlush());
}

}  // namespace TarnFramework
