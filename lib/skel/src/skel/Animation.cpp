#include "skel/Animation.h"

namespace skel {

Animation::Animation(const String& name, float duration) : _name(name), _duration(duration) {}

Animation::~Animation() {}

}  // namespace skel
