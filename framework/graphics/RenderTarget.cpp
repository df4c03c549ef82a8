// Off-screen render targets: a framebuffer object with a texture as its colour
// buffer, and the graphic manager's stack of targets being drawn into.
//
// NOTE: inside a target the projection runs y upwards. Framebuffer row 0 is the
// bottom row while a sprite shows texture row 0 at its top, so the two flips
// cancel: what is drawn at (x, y) from the top-left of the target shows at
// (x, y) from the top-left of the sprite.
#include <GL/glew.h>

#include "framework/graphics/GLCheck.h"
#include "framework/graphics/Graphic2D.h"
#include "framework/graphics/GraphicManager.h"

namespace TarnFramework {

namespace {

VArray<Graphic2D>* TargetStack() {
  GraphicManager* manager = GraphicManager::Active();
  return manager ? &manager->renderTargetStack : nullptr;
}

void SetTargetProjection(int32_t width, int32_t height) {
  TARN_GL(glViewport(0, 0, width, height));
  TARN_GL(glMatrixMode(GL_PROJECTION));
  TARN_GL(glLoadIdentity());
  TARN_GL(glOrtho(0, width, 0, height, -10, 10));
  TARN_GL(glMatrixMode(GL_MODELVIEW));
  TARN_GL(glLoadIdentity());
}

void BindWindow() {
  TARN_GL(glBindFramebuffer(GL_FRAMEBUFFER, 0));
  if (GraphicManager* manager = GraphicManager::Active()) manager->SetWindowProjection();
  TARN_GL(glFlush());
}

}  // namespace

void Graphic2D::CreateRenderTarget() {
  GLuint fbo = 0;
  TARN_GL(glGenFramebuffers(1, &fbo));
  framebuffer = fbo;
  TARN_GL(glBindFramebuffer(GL_FRAMEBUFFER, fbo));
  GLuint name = 0;
  TARN_GL(glGenTextures(1, &name));
  texture = name;
  TARN_GL(glBindTexture(GL_TEXTURE_2D, name));
  TARN_GL(glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR));
  TARN_GL(glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR));
  TARN_GL(glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP));
  TARN_GL(glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP));
  TARN_GL(glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr));
  TARN_GL(glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, name, 0));
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) {
    targetReady = true;
  } else {
    TARN_GL(glDeleteTextures(1, &name));
    TARN_GL(glDeleteFramebuffers(1, &fbo));
    texture = 0;
    framebuffer = kNoFramebuffer;
  }

  // Creation may happen while another target is being drawn into.
  VArray<Graphic2D>* stack = TargetStack();
  Graphic2D* enclosing = stack ? stack->Last() : nullptr;
  TARN_GL(glBindFramebuffer(GL_FRAMEBUFFER, enclosing && enclosing->targetReady ? enclosing->framebuffer : 0));
  TARN_GL(glFlush());
}

void Graphic2D::BeginRender() {
  if (!targetReady) return;
  TARN_GL(glBindFramebuffer(GL_FRAMEBUFFER, framebuffer));
  if (VArray<Graphic2D>* stack = TargetStack()) stack->Push(this);
  TARN_GL(glFlush());
  SetTargetProjection(width, height);
  SetBlendMode(BlendMode::Normal);
}

void EndRender() {
  VArray<Graphic2D>* stack = TargetStack();
  if (stack) stack->Pop();
  Graphic2D* enclosing = stack ? stack->Last() : nullptr;
  if (!enclosing) {
    BindWindow();
    return;
  }
  // An enclosing target that lost its framebuffer keeps the current binding.
  if (enclosing->targetReady) {
    TARN_GL(glBindFramebuffer(GL_FRAMEBUFFER, enclosing->framebuffer));
    SetTargetProjection(enclosing->width, enclosing->height);
    TARN_GL(glFlush());
  }
}

}  // namespace TarnFramework
