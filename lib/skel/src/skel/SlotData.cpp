#include "skel/SlotData.h"

namespace skel {

SlotData::SlotData(int index, const String& name, BoneData& boneData)
    : _index(index),
      _name(name),
      _boneData(boneData),
      _color(1, 1, 1, 1),
      _darkColor(0, 0, 0, 0),
      _hasDarkColor(false),
      _attachmentName(),
      _blendMode(BlendMode::Normal) {}

}  // namespace skel
