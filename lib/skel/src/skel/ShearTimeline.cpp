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
  applyOffsets(skeleton, time, alpha, blend,
               {&Bone::getShearX, &Bone::getShearY, &Bone::setShearX, &Bone::setShearY, &BoneData::getShearX,
                &BoneData::getShearY});
}

}  // namespace skel
