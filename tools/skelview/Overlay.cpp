#include "Overlay.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

#include "framework/graphics/DrawState.h"
#include "framework/graphics/Primitives.h"
#include "framework/skel/SkelAnimation.h"
#include "skel/Bone.h"
#include "skel/BoneData.h"
#include "skel/IkConstraint.h"
#include "skel/Skeleton.h"
#include "skel/Slot.h"
#include "skel/SlotData.h"

using TarnFramework::DrawLine;
using TarnFramework::FillRect;
using TarnFramework::OutlineRect;

namespace skelview {

namespace {

constexpr uint32_t kBoneColor = 0xFF1E90FF;  // orange
constexpr uint32_t kJointColor = 0xFFFFFFFF;
constexpr uint32_t kJointRim = 0xFF202020;
constexpr uint32_t kTargetColor = 0xFFFF30FF;  // magenta
constexpr uint32_t kBoundsColor = 0xFFFFC800;  // sky blue

// Far-off or broken positions would only make huge lines and int overflow.
bool Drawable(float x, float y) {
  return std::isfinite(x) && std::isfinite(y) && std::fabs(x) < 1e6f && std::fabs(y) < 1e6f;
}

using Vertex = TarnFramework::Graphic2D::Vertex;

uint8_t Scale(uint8_t value, uint32_t byte) { return static_cast<uint8_t>((value * (byte & 0xFF) + 127) / 255); }

void DrawShown(skel::Skeleton& skeleton, const std::vector<bool>& hidden, const uint32_t* tint) {
  std::vector<Vertex> vertices;
  for (skel::Slot* slot : skeleton.getDrawOrder()) {
    if (!slot) continue;
    const int index = slot->getData().getIndex();
    if (index >= 0 && static_cast<size_t>(index) < hidden.size() && hidden[index]) continue;
    // Glows and shades would lay a tinted haze over the pose even where it
    // stands still; a ghost shows shapes only.
    const skel::BlendMode blend = slot->getData().getBlendMode();
    if (tint && blend != skel::BlendMode::Normal) continue;
    TarnFramework::Graphic2D* page = TarnSkel::BuildSlotVertices(*slot, vertices);
    if (!page) continue;
    if (tint) {
      for (Vertex& v : vertices) {
        v.r = Scale(v.r, *tint);
        v.g = Scale(v.g, *tint >> 8);
        v.b = Scale(v.b, *tint >> 16);
        v.a = Scale(v.a, *tint >> 24);
      }
    }
    TarnFramework::SetBlendMode(TarnSkel::ToBlendMode(blend));
    page->DrawTriangles(vertices);
    TarnFramework::SetBlendMode(TarnFramework::BlendMode::Normal);
  }
}

}  // namespace

void DrawSlots(skel::Skeleton& skeleton, const std::vector<bool>& hidden) { DrawShown(skeleton, hidden, nullptr); }

void DrawGhost(skel::Skeleton& skeleton, const std::vector<bool>& hidden, uint32_t tint) {
  DrawShown(skeleton, hidden, &tint);
}

void OutlineSlot(skel::Skeleton& skeleton, int index, uint32_t color) {
  auto& slots = skeleton.getSlots();
  if (index < 0 || static_cast<size_t>(index) >= slots.size() || !slots[index]) return;
  std::vector<Vertex> vertices;
  TarnSkel::BuildSlotVertices(*slots[index], vertices);
  for (size_t i = 0; i + 2 < vertices.size(); i += 3) {
    for (size_t k = 0; k < 3; ++k) {
      const Vertex &a = vertices[i + k], &b = vertices[i + (k + 1) % 3];
      if (Drawable(a.x, a.y) && Drawable(b.x, b.y)) DrawLine(a.x, a.y, b.x, b.y, color, 1.0f);
    }
  }
}

void DrawCheckerboard(const Area& area) {
  FillRect({area.x, area.y, area.width, area.height}, kCheckerLight);
  for (int32_t row = 0; row * kCheckerCell < area.height; ++row) {
    for (int32_t col = (row & 1); col * kCheckerCell < area.width; col += 2) {
      const int32_t x = col * kCheckerCell, y = row * kCheckerCell;
      FillRect(
          {area.x + x, area.y + y, std::min(kCheckerCell, area.width - x), std::min(kCheckerCell, area.height - y)},
          kCheckerDark);
    }
  }
}

void DrawBones(skel::Skeleton& skeleton, const Area& area) {
  const float ox = static_cast<float>(area.x), oy = static_cast<float>(area.y);
  for (skel::Bone* bone : skeleton.getBones()) {
    if (!bone) continue;
    const float x = bone->getWorldX() + ox, y = bone->getWorldY() + oy;
    const float length = bone->getData().getLength();
    const float tipX = x + bone->getA() * length, tipY = y + bone->getC() * length;
    if (length > 0 && Drawable(x, y) && Drawable(tipX, tipY)) DrawLine(x, y, tipX, tipY, kBoneColor, 2.0f);
  }
  for (skel::Bone* bone : skeleton.getBones()) {
    if (!bone) continue;
    const float x = bone->getWorldX() + ox, y = bone->getWorldY() + oy;
    if (!Drawable(x, y)) continue;
    const int32_t jx = static_cast<int32_t>(std::lround(x)), jy = static_cast<int32_t>(std::lround(y));
    FillRect({jx - 3, jy - 3, 7, 7}, kJointRim);
    FillRect({jx - 2, jy - 2, 5, 5}, kJointColor);
  }
  for (skel::IkConstraint* ik : skeleton.getIkConstraints()) {
    skel::Bone* target = ik ? ik->getTarget() : nullptr;
    if (!target) continue;
    const float x = target->getWorldX() + ox, y = target->getWorldY() + oy;
    if (!Drawable(x, y)) continue;
    DrawLine(x - 9, y - 9, x + 9, y + 9, kTargetColor, 2.0f);
    DrawLine(x - 9, y + 9, x + 9, y - 9, kTargetColor, 2.0f);
    const int32_t tx = static_cast<int32_t>(std::lround(x)), ty = static_cast<int32_t>(std::lround(y));
    OutlineRect({tx - 11, ty - 11, 22, 22}, kTargetColor);
  }
}

bool VisibleBounds(skel::Skeleton& skeleton, float& minX, float& minY, float& maxX, float& maxY) {
  minX = minY = FLT_MAX;
  maxX = maxY = -FLT_MAX;
  std::vector<TarnFramework::Graphic2D::Vertex> vertices;
  for (skel::Slot* slot : skeleton.getDrawOrder()) {
    if (!slot) continue;
    TarnSkel::BuildSlotVertices(*slot, vertices);
    for (const auto& v : vertices) {
      if (!Drawable(v.x, v.y)) continue;
      minX = std::min(minX, v.x);
      maxX = std::max(maxX, v.x);
      minY = std::min(minY, v.y);
      maxY = std::max(maxY, v.y);
    }
  }
  return minX <= maxX;
}

void DrawBounds(skel::Skeleton& skeleton, const Area& area) {
  float minX, minY, maxX, maxY;
  if (!VisibleBounds(skeleton, minX, minY, maxX, maxY)) return;
  const float left = std::floor(minX) + area.x, top = std::floor(minY) + area.y;
  const float right = std::ceil(maxX) + area.x, bottom = std::ceil(maxY) + area.y;
  DrawLine(left, top, right, top, kBoundsColor, 2.0f);
  DrawLine(right, top, right, bottom, kBoundsColor, 2.0f);
  DrawLine(right, bottom, left, bottom, kBoundsColor, 2.0f);
  DrawLine(left, bottom, left, top, kBoundsColor, 2.0f);
}

}  // namespace skelview
