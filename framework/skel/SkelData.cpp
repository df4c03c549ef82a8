#include "skel/SkelData.h"

#include "skel/Atlas.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"

namespace TarnSkel {

void ReleaseSkelParts(TarnFrameworkSkelTextureLoader*& textureLoader, skel::Atlas*& atlas,
                      skel::SkeletonData*& skeletonData) {
  delete skeletonData;
  skeletonData = nullptr;
  // The atlas hands every page sprite back to the loader, so it goes first.
  delete atlas;
  atlas = nullptr;
  delete textureLoader;
  textureLoader = nullptr;
}

SkelData::~SkelData() { Release(); }

int SkelData::Release() {
  ReleaseSkelParts(textureLoader, atlas, skeletonData);
  return 0;
}

bool SkelData::Load() { return Load(kAtlasPath, kSkeletonPath); }

bool SkelData::Load(const char* atlasPath, const char* skeletonPath) {
  Release();
  if (!atlasPath || !skeletonPath) return false;
  textureLoader = new TarnFrameworkSkelTextureLoader();
  atlas = new skel::Atlas(skel::String(atlasPath), textureLoader);
  // The reader owns the attachment loader it makes and frees it on return;
  // its error text is not reported.
  skel::SkeletonJson json(atlas);
  skeletonData = json.readSkeletonDataFile(skel::String(skeletonPath));
  if (!skeletonData) {
    Release();
    return false;
  }
  return true;
}

}  // namespace TarnSkel
