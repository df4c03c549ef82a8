#include "skel/AtlasRegion.h"

namespace skel {

AtlasRegion::AtlasRegion()
    : page(nullptr),
      x(0),
      y(0),
      width(0),
      height(0),
      uMin(0),
      vMin(0),
      uMax(0),
      vMax(0),
      offsetX(0),
      offsetY(0),
      untrimmedWidth(0),
      untrimmedHeight(0),
      index(0),
      rotate(false),
      degrees(0) {}

AtlasRegion::~AtlasRegion() = default;

}  // namespace skel
