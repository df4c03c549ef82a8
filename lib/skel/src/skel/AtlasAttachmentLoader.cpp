#include "skel/AtlasAttachmentLoader.h"

#include "skel/Atlas.h"
#include "skel/BoundingBoxAttachment.h"
#include "skel/ClippingAttachment.h"
#include "skel/MeshAttachment.h"
#include "skel/PathAttachment.h"
#include "skel/PointAttachment.h"
#include "skel/RegionAttachment.h"

namespace skel {

SKEL_RTTI_IMPL(AtlasAttachmentLoader, AttachmentLoader)

AtlasAttachmentLoader::AtlasAttachmentLoader(Atlas* atlas) : _atlas(atlas) {}

AtlasAttachmentLoader::~AtlasAttachmentLoader() = default;

RegionAttachment* AtlasAttachmentLoader::createRegionAttachment(Skin&, const String& name, const String& path) {
  AtlasRegion* region = _atlas ? _atlas->findRegion(path) : nullptr;
  if (!region) return nullptr;
  RegionAttachment* attachment = new (__FILE__, __LINE__) RegionAttachment(name);
  if (!attachment) return nullptr;
  attachment->setRendererObject(region);
  attachment->setUVs(region->uMin, region->vMin, region->uMax, region->vMax, region->rotate);
  attachment->setRegionOffsetX(region->offsetX);
  attachment->setRegionOffsetY(region->offsetY);
  attachment->setRegionWidth(static_cast<float>(region->width));
  attachment->setRegionHeight(static_cast<float>(region->height));
  attachment->setRegionUntrimmedWidth(static_cast<float>(region->untrimmedWidth));
  attachment->setRegionUntrimmedHeight(static_cast<float>(region->untrimmedHeight));
  return attachment;
}

MeshAttachment* AtlasAttachmentLoader::createMeshAttachment(Skin&, const String& name, const String& path) {
  AtlasRegion* region = _atlas ? _atlas->findRegion(path) : nullptr;
  if (!region) return nullptr;
  MeshAttachment* attachment = new (__FILE__, __LINE__) MeshAttachment(name);
  if (!attachment) return nullptr;
  attachment->setRendererObject(region);
  attachment->setRegionUMin(region->uMin);
  attachment->setRegionVMin(region->vMin);
  attachment->setRegionUMax(region->uMax);
  attachment->setRegionVMax(region->vMax);
  attachment->setRegionRotate(region->rotate);
  attachment->setRegionDegrees(region->degrees);
  attachment->setRegionOffsetX(region->offsetX);
  attachment->setRegionOffsetY(region->offsetY);
  attachment->setRegionWidth(static_cast<float>(region->width));
  attachment->setRegionHeight(static_cast<float>(region->height));
  attachment->setRegionUntrimmedWidth(static_cast<float>(region->untrimmedWidth));
  attachment->setRegionUntrimmedHeight(static_cast<float>(region->untrimmedHeight));
  return attachment;
}

BoundingBoxAttachment* AtlasAttachmentLoader::createBoundingBoxAttachment(Skin&, const String& name) {
  return new (__FILE__, __LINE__) BoundingBoxAttachment(name);
}

PathAttachment* AtlasAttachmentLoader::createPathAttachment(Skin&, const String& name) {
  return new (__FILE__, __LINE__) PathAttachment(name);
}

PointAttachment* AtlasAttachmentLoader::createPointAttachment(Skin&, const String& name) {
  return new (__FILE__, __LINE__) PointAttachment(name);
}

ClippingAttachment* AtlasAttachmentLoader::createClippingAttachment(Skin&, const String& name) {
  return new (__FILE__, __LINE__) ClippingAttachment(name);
}

void AtlasAttachmentLoader::configureAttachment(Attachment*) {}

}  // namespace skel
