#include "framework/skel/SkelDataCustom.h"

#include "framework/skel/SkelData.h"

namespace TarnSkelCustom {

SkelData::~SkelData() { Release(); }

int SkelData::Release() {
  TarnSkel::ReleaseSkelParts(textureLoader, atlas, skeletonData);
  return 0;
}

}  // namespace TarnSkelCustom
