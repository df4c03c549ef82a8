#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "skel/Atlas.h"
#include "skel/AtlasAttachmentLoader.h"
#include "skel/BoundingBoxAttachment.h"
#include "skel/ClippingAttachment.h"
#include "skel/MeshAttachment.h"
#include "skel/PathAttachment.h"
#include "skel/PointAttachment.h"
#include "skel/RegionAttachment.h"
#include "skel/Skin.h"

using skel::String;

namespace {

const std::string atlasText =
    "p.png\nsize: 100, 200\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n"
    "flat\n rotate: false\n xy: 10, 20\n size: 30, 40\n orig: 34, 46\n offset: 1, 2\n index: -1\n"
    "turned\n rotate: true\n xy: 50, 60\n size: 20, 10\n orig: 20, 10\n offset: 0, 0\n index: -1\n";

std::vector<float> values(const skel::Vector<float>& v) { return std::vector<float>(v.begin(), v.end()); }

class AtlasAttachmentLoaderTest : public testing::Test {
 protected:
  skel::Atlas atlas{atlasText.data(), atlasText.size(), String(""), nullptr};
  skel::AtlasAttachmentLoader loader{&atlas};
  skel::Skin skin{String("default")};
};

}  // namespace

TEST_F(AtlasAttachmentLoaderTest, RegionAttachmentTakesItsRegionAndCornerUVs) {
  std::unique_ptr<skel::RegionAttachment> flat(loader.createRegionAttachment(skin, String("name"), String("flat")));
  ASSERT_NE(flat, nullptr);
  const skel::AtlasRegion* region = atlas.findRegion(String("flat"));
  EXPECT_EQ(flat->getRendererObject(), region);
  EXPECT_EQ(flat->getDisposer(), nullptr);
  EXPECT_STREQ(flat->getName().buffer(), "name");
  EXPECT_EQ(values(flat->getUVs()), (std::vector<float>{0.4f, 0.3f, 0.1f, 0.3f, 0.1f, 0.1f, 0.4f, 0.1f}));
  EXPECT_EQ(flat->getRegionOffsetX(), 1);
  EXPECT_EQ(flat->getRegionOffsetY(), 2);
  EXPECT_EQ(flat->getRegionWidth(), 30);
  EXPECT_EQ(flat->getRegionHeight(), 40);
  EXPECT_EQ(flat->getRegionUntrimmedWidth(), 34);
  EXPECT_EQ(flat->getRegionUntrimmedHeight(), 46);

  std::unique_ptr<skel::RegionAttachment> turned(loader.createRegionAttachment(skin, String("t"), String("turned")));
  ASSERT_NE(turned, nullptr);
  const skel::AtlasRegion* t = atlas.findRegion(String("turned"));
  EXPECT_EQ(values(turned->getUVs()),
            (std::vector<float>{t->uMax, t->vMin, t->uMax, t->vMax, t->uMin, t->vMax, t->uMin, t->vMin}));

  EXPECT_EQ(loader.createRegionAttachment(skin, String("x"), String("missing")), nullptr);
}

TEST_F(AtlasAttachmentLoaderTest, MeshAttachmentTakesTheRegionRectangleAndRotation) {
  std::unique_ptr<skel::MeshAttachment> mesh(loader.createMeshAttachment(skin, String("m"), String("turned")));
  ASSERT_NE(mesh, nullptr);
  const skel::AtlasRegion* t = atlas.findRegion(String("turned"));
  EXPECT_EQ(mesh->getRendererObject(), t);
  EXPECT_EQ(mesh->getRegionUMin(), t->uMin);
  EXPECT_EQ(mesh->getRegionVMax(), t->vMax);
  EXPECT_TRUE(mesh->getRegionRotate());
  EXPECT_EQ(mesh->getRegionDegrees(), 90);
  EXPECT_EQ(mesh->getRegionWidth(), 20);
  EXPECT_EQ(mesh->getRegionUntrimmedHeight(), 10);
  EXPECT_EQ(loader.createMeshAttachment(skin, String("m"), String("flat ")), nullptr);
}

TEST_F(AtlasAttachmentLoaderTest, OtherAttachmentsAndClassIdentity) {
  std::unique_ptr<skel::PathAttachment> path(loader.createPathAttachment(skin, String("p")));
  EXPECT_FALSE(path->isClosed());
  EXPECT_FALSE(path->isConstantSpeed());
  EXPECT_TRUE(path->getLengths().isEmpty());
  std::unique_ptr<skel::PointAttachment> point(loader.createPointAttachment(skin, String("pt")));
  EXPECT_EQ(point->getX(), 0);
  EXPECT_EQ(point->getRotation(), 0);
  std::unique_ptr<skel::ClippingAttachment> clip(loader.createClippingAttachment(skin, String("c")));
  EXPECT_EQ(clip->getEndSlot(), nullptr);
  std::unique_ptr<skel::BoundingBoxAttachment> box(loader.createBoundingBoxAttachment(skin, String("b")));
  EXPECT_STREQ(box->getName().buffer(), "b");
  loader.configureAttachment(box.get());

  skel::AttachmentLoader& base = loader;
  EXPECT_STREQ(base.getRTTI().getClassName(), "AtlasAttachmentLoader");
  EXPECT_TRUE(base.getRTTI().instanceOf(skel::AttachmentLoader::rtti));

  skel::AtlasAttachmentLoader empty(nullptr);
  EXPECT_EQ(empty.createRegionAttachment(skin, String("x"), String("flat")), nullptr);
}
