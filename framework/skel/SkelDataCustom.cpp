#include "skel/SkelDataCustom.h"

#include "skel/SkelData.h"

namespace TarnSkelCustom {

SkelData::~SkelData() { Release(); }

int SkelData::Release() {
  TarnSkel::ReleaseSkelParts(textureLoader, atlas, skeletonData);
  return 0;
}

}  // namespace TarnSkelCustom
