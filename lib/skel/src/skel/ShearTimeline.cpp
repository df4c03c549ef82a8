#include "skel/ShearTimeline.h"

#include "skel/Bone.h"
#include "skel/BoneData.h"

namespace skel {

SKEL_RTTI_IMPL(ShearTimeline, TranslateTimeline)

ShearTimeline::ShearTimeline(size_t frameCount) : TranslateTimeline(frameCount) {}

ShearTimeline::~ShearTimeline() {}

int ShearTimeline::getPropertyId() const { return propertyId(TimelineType::Shear, _boneIndex); }

void ShearTimeline::apply(Skeleton& skeleton, float, float time, Vector<Event*>*, float alpha, MixBlend blend,
                          MixDirection) {
    Bone* bone = activeBone(skeleton, _boneIndex);
    if (!bone || getFrameCount() == 0) return;
    const BoneData& data = bone->getData();

    if (time < _frames[0]) {
        if (blend == MixBlend::Setup) {
            bone->setShearX(data.getShearX());
            bone->setShearY(data.getShearY());
        } else if (blend == MixBlend::First) {
            bone->setShearX(bone->getShearX() + (data.getShearX() - bone->getShearX()) * alpha);
            bone->setShearY(bone->getShearY() + (data.getShearY() - bone->getShearY()) * alpha);
        }
        return;
    }

    float x, y;
    valueAt(time, x, y);
    switch (blend) {
    case MixBlend::Setup:
        bone->setShearX(data.getShearX() + x * alpha);
        bone->setShearY(data.getShearY() + y * alpha);
        break;
    case MixBlend::First:
    case MixBlend::Replace:
        bone->setShearX(bone->getShearX() + (data.getShearX() + x - bone->getShearX()) * alpha);
        bone->setShearY(bone->getShearY() + (data.getShearY() + y - bone->getShearY()) * alpha);
        break;
    case MixBlend::Add:
        bone->setShearX(bone->getShearX() + x * alpha);
        bone->setShearY(bone->getShearY() + y * alpha);
        break;
    }
}

}  // namespace skel
