#include "Pick.h"

#include <cmath>

#include "framework/skel/SkelAnimation.h"
#include "skel/Attachment.h"
#include "skel/Skeleton.h"
#include "skel/Slot.h"
#include "skel/SlotData.h"

namespace skelview {

namespace {

skel::Slot* SlotAt(skel::Skeleton& skeleton, int index) {
  auto& slots = skeleton.getSlots();
  return index >= 0 && static_cast<size_t>(index) < slots.size() ? slots[index] : nullptr;
}

std::string Text(const skel::String& text) { return text.buffer() ? std::string(text.buffer(), text.length()) : ""; }

}  // namespace

bool InTriangle(float x, float y, float ax, float ay, float bx, float by, float cx, float cy) {
  // Doubles: a point on a shared edge must land in one of the two
  // triangles, not fall through a rounding gap between them.
  const double area = (double{bx} - ax) * (double{cy} - ay) - (double{by} - ay) * (double{cx} - ax);
  if (area == 0 || std::isnan(area)) return false;
  const double d1 = (double{bx} - ax) * (double{y} - ay) - (double{by} - ay) * (double{x} - ax);
  const double d2 = (double{cx} - bx) * (double{y} - by) - (double{cy} - by) * (double{x} - bx);
  const double d3 = (double{ax} - cx) * (double{y} - cy) - (double{ay} - cy) * (double{x} - cx);
  return area > 0 ? d1 >= 0 && d2 >= 0 && d3 >= 0 : d1 <= 0 && d2 <= 0 && d3 <= 0;
}

int PickSlot(skel::Skeleton& skeleton, float x, float y, const std::vector<bool>& hidden) {
  std::vector<TarnFramework::Graphic2D::Vertex> vertices;
  auto& drawOrder = skeleton.getDrawOrder();
  for (size_t i = drawOrder.size(); i-- > 0;) {
    skel::Slot* slot = drawOrder[i];
    if (!slot) continue;
    const int index = slot->getData().getIndex();
    if (index >= 0 && static_cast<size_t>(index) < hidden.size() && hidden[index]) continue;
    TarnSkel::BuildSlotVertices(*slot, vertices);
    for (size_t v = 0; v + 2 < vertices.size(); v += 3) {
      const auto &a = vertices[v], &b = vertices[v + 1], &c = vertices[v + 2];
      if (InTriangle(x, y, a.x, a.y, b.x, b.y, c.x, c.y)) return index;
    }
  }
  return -1;
}

std::string SlotName(skel::Skeleton& skeleton, int index) {
  skel::Slot* slot = SlotAt(skeleton, index);
  return slot ? Text(slot->getData().getName()) : "";
}

std::string AttachmentName(skel::Skeleton& skeleton, int index) {
  skel::Slot* slot = SlotAt(skeleton, index);
  return slot && slot->getAttachment() ? Text(slot->getAttachment()->getName()) : "";
}

}  // namespace skelview
