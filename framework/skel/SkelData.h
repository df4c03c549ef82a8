/// @class TarnSkel::SkelData
/// One skeletal character's data: the texture loader, the atlas with its page
/// sprites and the skeleton data, loaded and released together.
#pragma once

#include <string>

#include "framework/skel/TarnFrameworkSkelTextureLoader.h"

namespace skel {
class Atlas;
class SkeletonData;
}  // namespace skel

namespace TarnSkel {

/// Makes the runtime's allocation layer (its tracking extension) before
/// anything allocates through it; a program calls it first thing.
void StartRuntime();

class SkelData {
 public:
  /// The character's atlas and skeleton files, which Load() reads.
  /// @{
  static constexpr const char* kAtlasPath = "skel_data\\Char01.atlas";
  static constexpr const char* kSkeletonPath = "skel_data\\Char01.json";
  /// @}

  SkelData() = default;
  SkelData(const SkelData&) = delete;
  SkelData& operator=(const SkelData&) = delete;
  virtual ~SkelData();

  /// Deletes what is held.
  /// Skeleton data first: its attachments point into the atlas, whose pages
  /// hold the loader's sprites. Returns 0.
  virtual int Release();

  /// Loads the character's fixed files; as the Load below.
  bool Load(std::string* why = nullptr);
  /// Loads any atlas and skeleton file (paths written with '\'). Whatever was
  /// held before is released first. False leaves the holder empty: an atlas
  /// or skeleton file that cannot be read (missing, empty, not understood) or
  /// a page image that cannot be loaded. The reason begins with the file it
  /// concerns ("skel_data/Char01.png: No such file or directory") and goes to
  /// why, or without why to the log as one warning.
  bool Load(const char* atlasPath, const char* skeletonPath, std::string* why = nullptr);

  /// The owned parts: the page loader, the atlas and the skeleton data; null when not loaded.
  /// @{
  TarnFrameworkSkelTextureLoader* textureLoader = nullptr;
  skel::Atlas* atlas = nullptr;
  skel::SkeletonData* skeletonData = nullptr;
  /// @}

 private:
  // The load; on failure the file concerned and why, the parts not yet released.
  bool LoadParts(const char* atlasPath, const char* skeletonPath, std::string& file, std::string& reason);
};

/// The release both holders share: each part deleted when present, then null.
void ReleaseSkelParts(TarnFrameworkSkelTextureLoader*& textureLoader, skel::Atlas*& atlas,
                      skel::SkeletonData*& skeletonData);

}  // namespace TarnSkel
