/// @class TarnSkelCustom::SkelData
/// A second holder of skeletal data with the same parts and release as
/// TarnSkel::SkelData, filled by its owner rather than by a load of its own.
#pragma once

#include "framework/skel/TarnFrameworkSkelTextureLoader.h"

namespace skel {
class Atlas;
class SkeletonData;
}  // namespace skel

namespace TarnSkelCustom {

class SkelData {
 public:
  SkelData() = default;
  SkelData(const SkelData&) = delete;
  SkelData& operator=(const SkelData&) = delete;
  virtual ~SkelData();

  /// Deletes what is held, skeleton data first. Returns 0.
  virtual int Release();

  /// The owned parts, set by the owner: the page loader, the atlas and the skeleton data.
  /// @{
  TarnFrameworkSkelTextureLoader* textureLoader = nullptr;
  skel::Atlas* atlas = nullptr;
  skel::SkeletonData* skeletonData = nullptr;
  /// @}
};

}  // namespace TarnSkelCustom
