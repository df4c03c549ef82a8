/// @class skel::AttachmentLoader
/// The attachment factory the skeleton loader asks for every attachment it reads.
#pragma once

#include "skel/RTTI.h"
#include "skel/SkelObject.h"
#include "skel/String.h"

namespace skel {

class Attachment;
class BoundingBoxAttachment;
class ClippingAttachment;
class MeshAttachment;
class PathAttachment;
class PointAttachment;
class RegionAttachment;
class Skin;

class AttachmentLoader : public SkelObject {
  SKEL_RTTI_ROOT_DECL

 public:
  AttachmentLoader();
  ~AttachmentLoader() override;

  /// A new attachment of each kind for the skin; path names its picture.
  /// Null when the attachment cannot be made (for example its region is missing).
  /// @{
  virtual RegionAttachment* createRegionAttachment(Skin& skin, const String& name, const String& path) = 0;
  virtual MeshAttachment* createMeshAttachment(Skin& skin, const String& name, const String& path) = 0;
  virtual BoundingBoxAttachment* createBoundingBoxAttachment(Skin& skin, const String& name) = 0;
  virtual PathAttachment* createPathAttachment(Skin& skin, const String& name) = 0;
  virtual PointAttachment* createPointAttachment(Skin& skin, const String& name) = 0;
  virtual ClippingAttachment* createClippingAttachment(Skin& skin, const String& name) = 0;
  /// @}
  /// Called once the loader has read all of the attachment's values.
  virtual void configureAttachment(Attachment* attachment) = 0;
};

}  // namespace skel
