#include "CharacterFrame.h"

#include "framework/skel/SkelAnimation.h"
#include "skel/Skeleton.h"
#include "skel/Slot.h"

size_t CharacterFrame(TarnSkel::SkelAnimation& animation, int32_t frame) {
  animation.PoseFrame(frame, 640.0f, 695.0f, 0.4f);
  size_t built = 0;
  skel::Vector<skel::Slot*>& drawOrder = animation.skeleton->getDrawOrder();
  // One list for every slot and frame, as the renderer keeps it.
  static std::vector<TarnFramework::Graphic2D::Vertex> vertices;
  for (size_t i = 0; i < drawOrder.size(); ++i) {
    if (!drawOrder[i] || !drawOrder[i]->getAttachment()) continue;
    TarnSkel::BuildSlotVertices(*drawOrder[i], vertices);
    built += vertices.size();
  }
  return built;
}
