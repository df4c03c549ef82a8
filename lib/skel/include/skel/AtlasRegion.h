/// @class skel::AtlasRegion
/// A named rectangle on an atlas page.
#pragma once

#include "skel/SkelObject.h"
#include "skel/String.h"
#include "skel/Vector.h"

namespace skel {

class AtlasPage;

class AtlasRegion : public SkelObject {
 public:
  AtlasRegion();
  ~AtlasRegion() override;

  /// The page the region lies on (not owned).
  AtlasPage* page;
  /// The region's name, which attachments' paths refer to.
  String name;
  /// Top-left pixel and size on the page, before rotation is undone.
  /// @{
  int x, y;
  int width, height;
  /// @}
  /// Normalised corners on the page: left, top, right, bottom.
  /// @{
  float uMin, vMin, uMax, vMax;
  /// @}
  /// Whitespace stripped on the left and bottom, in pixels, and the size before stripping.
  /// @{
  float offsetX, offsetY;
  int untrimmedWidth, untrimmedHeight;
  /// @}
  /// Frame number of an image sequence, as written.
  int index;
  /// Whether the region is stored turned on the page, and by how many degrees.
  /// @{
  bool rotate;
  int degrees;
  /// @}
  /// Nine-patch values; empty when absent, else four each.
  /// @{
  Vector<int> splits;
  Vector<int> pads;
  /// @}
};

/// The name the atlas indexes a region by, kept in a field.
inline const String& itemName(const AtlasRegion& region) { return region.name; }

}  // namespace skel
