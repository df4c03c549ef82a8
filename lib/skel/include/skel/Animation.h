// A named, timed animation of a skeleton.
#pragma once

#include "skel/SkelObject.h"
#include "skel/String.h"

namespace skel {

class Animation : public SkelObject {
public:
    Animation(const String& name, float duration);
    ~Animation() override;

    const String& getName() const { return _name; }
    float getDuration() const { return _duration; }
    void setDuration(float v) { _duration = v; }

private:
    const String _name;
    float _duration;
};

}  // namespace skel
