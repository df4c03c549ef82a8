/// @class skel::AtlasAttachmentLoader
/// The attachment factory over a texture atlas: region and mesh attachments
/// refer to the atlas region named by their path.
#pragma once

#include "skel/AttachmentLoader.h"

namespace skel {

class Atlas;

class AtlasAttachmentLoader : public AttachmentLoader {
  SKEL_RTTI_DECL

 public:
  /// A loader finding regions in the atlas.
  /// The atlas is not owned and must outlive the loader.
  explicit AtlasAttachmentLoader(Atlas* atlas);
  ~AtlasAttachmentLoader() override;

  RegionAttachment* createRegionAttachment(Skin& skin, const String& name, const String& path) override;
  MeshAttachment* createMeshAttachment(Skin& skin, const String& name, const String& path) override;
  BoundingBoxAttachment* createBoundingBoxAttachment(Skin& skin, const String& name) override;
  PathAttachment* createPathAttachment(Skin& skin, const String& name) override;
  PointAttachment* createPointAttachment(Skin& skin, const String& name) override;
  ClippingAttachment* createClippingAttachment(Skin& skin, const String& name) override;
  void configureAttachment(Attachment* attachment) override;

 private:
  Atlas* _atlas;
};

}  // namespace skel
