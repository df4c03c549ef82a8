#include <gtest/gtest.h>

#include <vector>

#include "PoseTestSupport.h"
#include "skel/BoundingBoxAttachment.h"
#include "skel/ClippingAttachment.h"
#include "skel/MeshAttachment.h"
#include "skel/PathAttachment.h"
#include "skel/PointAttachment.h"
#include "skel/RegionAttachment.h"
#include "skel/Skeleton.h"
#include "skel/Slot.h"

using namespace skel;
using posetest::addBone;
using posetest::addSlot;

namespace {

std::vector<float> values(const Vector<float>& v) { return std::vector<float>(v.begin(), v.end()); }

void expectPairs(const std::vector<float>& actual, const std::vector<float>& expected, float tolerance = 1e-4f) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "index " << i;
}

void setRegion(RegionAttachment& region, float width, float height, float packedWidth, float packedHeight,
               float untrimmedWidth, float untrimmedHeight, float offsetX, float offsetY) {
  region.setWidth(width);
  region.setHeight(height);
  region.setRegionWidth(packedWidth);
  region.setRegionHeight(packedHeight);
  region.setRegionUntrimmedWidth(untrimmedWidth);
  region.setRegionUntrimmedHeight(untrimmedHeight);
  region.setRegionOffsetX(offsetX);
  region.setRegionOffsetY(offsetY);
}

// A skeleton with a root at (10, 20) turned by 90 degrees and one slot on it.
struct OneSlot {
  OneSlot() {
    BoneData* root = addBone(data, "root", nullptr, 10, 20, 90);
    BoneData* other = addBone(data, "other", root, 0, 0, 0);
    other->setScaleX(2);
    addSlot(data, "slot", *root);
    skeleton = new Skeleton(&data);
    skeleton->updateWorldTransform();
  }
  ~OneSlot() { delete skeleton; }
  Slot& slot() { return *skeleton->getSlots()[0]; }

  SkeletonData data;
  Skeleton* skeleton;
};

}  // namespace

TEST(RegionAttachment, OffsetsOfAnUnstrippedRegionAreItsHalfSizes) {
  RegionAttachment region("r");
  setRegion(region, 100, 50, 100, 50, 100, 50, 0, 0);
  region.updateOffset();
  expectPairs(values(region.getOffset()), {-50, -25, -50, 25, 50, 25, 50, -25});

  region.setRotation(90);
  region.updateOffset();
  EXPECT_NEAR(region.getOffset()[0], 25, 1e-4);
  EXPECT_NEAR(region.getOffset()[1], -50, 1e-4);
}

TEST(RegionAttachment, OffsetsOfAStrippedRegionCoverOnlyTheKeptPixels) {
  // 200 x 100 pixels shown at 100 x 50 units; 100 x 50 pixels kept, 20 from
  // the left and 10 from the bottom. Position and scale move and stretch it.
  RegionAttachment region("r");
  setRegion(region, 100, 50, 100, 50, 200, 100, 20, 10);
  region.updateOffset();
  expectPairs(values(region.getOffset()), {-40, -20, -40, 5, 10, 5, 10, -20});

  region.setX(1);
  region.setY(2);
  region.setScaleX(2);
  region.updateOffset();
  expectPairs(values(region.getOffset()), {-79, -18, -79, 7, 21, 7, 21, -18});
}

TEST(RegionAttachment, WorldVerticesStartAtTheBottomRightCorner) {
  OneSlot fixture;
  RegionAttachment region("r");
  setRegion(region, 100, 50, 100, 50, 100, 50, 0, 0);
  region.updateOffset();
  // The bone maps (x, y) to (10 - y, 20 + x).
  float out[10] = {0};
  region.computeWorldVertices(fixture.slot().getBone(), out, 1, 2);
  expectPairs(std::vector<float>(out + 1, out + 9), {35, 70, 35, -30, -15, -30, -15, 70});

  Vector<float> small;
  small.setSize(5, -1);
  region.computeWorldVertices(fixture.slot().getBone(), small, 0, 2);
  expectPairs(values(small), {35, 70, 35, -30, -1});
}

TEST(RegionAttachment, UVsFollowTheCornerOrder) {
  RegionAttachment region("r");
  region.setUVs(0.1f, 0.2f, 0.3f, 0.4f, false);
  expectPairs(values(region.getUVs()), {0.3f, 0.4f, 0.1f, 0.4f, 0.1f, 0.2f, 0.3f, 0.2f});
  region.setUVs(0.1f, 0.2f, 0.3f, 0.4f, true);
  expectPairs(values(region.getUVs()), {0.3f, 0.2f, 0.3f, 0.4f, 0.1f, 0.4f, 0.1f, 0.2f});
}

TEST(RegionAttachment, CopyKeepsEveryValueAndTheRendererObject) {
  int page = 0;
  RegionAttachment region("r");
  region.setRendererObject(&page);
  setRegion(region, 100, 50, 80, 40, 200, 100, 20, 10);
  region.setX(3);
  region.setRotation(45);
  region.setPath("images/r");
  region.getColor().set(0.5f, 0.25f, 1, 1);
  region.setUVs(0.1f, 0.2f, 0.3f, 0.4f, true);
  region.updateOffset();

  Attachment* copied = region.copy();
  ASSERT_TRUE(copied->getRTTI().isExactly(RegionAttachment::rtti));
  auto* copy = static_cast<RegionAttachment*>(copied);
  EXPECT_EQ(copy->getName(), region.getName());
  EXPECT_EQ(copy->getRendererObject(), &page);
  EXPECT_EQ(copy->getRegionWidth(), 80);
  EXPECT_EQ(copy->getRegionUntrimmedHeight(), 100);
  EXPECT_EQ(copy->getX(), 3);
  EXPECT_EQ(copy->getRotation(), 45);
  EXPECT_EQ(copy->getPath(), region.getPath());
  EXPECT_EQ(copy->getColor(), region.getColor());
  EXPECT_EQ(values(copy->getUVs()), values(region.getUVs()));
  EXPECT_EQ(values(copy->getOffset()), values(region.getOffset()));
  EXPECT_EQ(copy->getRefCount(), 0);
  delete copy;
}

// Each stored rotation must map the kept pixels of the image onto exactly the
// region's rectangle on the page, whatever whitespace was stripped.
TEST(MeshAttachment, UVsMapTheKeptPixelsOntoThePageRectangleAtEachRotation) {
  const float uA = 0.25f, vA = 0.5f, uB = 0.75f, vB = 1.0f;
  // Image 40 x 20; kept 24 x 12 pixels, 10 from the left and 4 from the bottom.
  const float W = 40, H = 20, w = 24, h = 12, offX = 10, offY = 4;
  const float left = offX / W, right = (offX + w) / W, top = (H - offY - h) / H, bottom = (H - offY) / H;
  struct Case {
    int degrees;
    float topLeft[2], topRight[2], bottomLeft[2], bottomRight[2];
  };
  const Case cases[] = {
      {0, {uA, vA}, {uB, vA}, {uA, vB}, {uB, vB}},
      {90, {uA, vB}, {uA, vA}, {uB, vB}, {uB, vA}},
      {180, {uB, vB}, {uA, vB}, {uB, vA}, {uA, vA}},
      {270, {uB, vA}, {uB, vB}, {uA, vA}, {uA, vB}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.degrees);
    MeshAttachment mesh("m");
    mesh.setRegionUMin(uA);
    mesh.setRegionVMin(vA);
    mesh.setRegionUMax(uB);
    mesh.setRegionVMax(vB);
    mesh.setRegionDegrees(c.degrees);
    mesh.setRegionRotate(c.degrees == 90);
    mesh.setRegionWidth(w);
    mesh.setRegionHeight(h);
    mesh.setRegionUntrimmedWidth(W);
    mesh.setRegionUntrimmedHeight(H);
    mesh.setRegionOffsetX(offX);
    mesh.setRegionOffsetY(offY);
    for (float v : {left, top, right, top, left, bottom, right, bottom}) mesh.getRegionUVs().add(v);
    mesh.updateUVs();
    expectPairs(values(mesh.getUVs()),
                {c.topLeft[0], c.topLeft[1], c.topRight[0], c.topRight[1], c.bottomLeft[0], c.bottomLeft[1],
                 c.bottomRight[0], c.bottomRight[1]},
                1e-6f);
  }
}

TEST(MeshAttachment, RegionUVOriginAtNinetyDegreesIsTheRectanglesLowerLeft) {
  MeshAttachment mesh("m");
  mesh.setRegionUMin(0.5f);
  mesh.setRegionVMin(0);
  mesh.setRegionUMax(1);
  mesh.setRegionVMax(0.25f);
  mesh.setRegionDegrees(90);
  mesh.setRegionWidth(10);
  mesh.setRegionHeight(20);
  mesh.setRegionUntrimmedWidth(10);
  mesh.setRegionUntrimmedHeight(20);
  mesh.getRegionUVs().add(0);
  mesh.getRegionUVs().add(0);
  mesh.getRegionUVs().add(0.5f);  // an odd value without its pair is left alone
  mesh.updateUVs();
  ASSERT_EQ(mesh.getUVs().size(), 3u);
  EXPECT_FLOAT_EQ(mesh.getUVs()[0], 0.5f);
  EXPECT_FLOAT_EQ(mesh.getUVs()[1], 0.25f);
}

TEST(MeshAttachment, LinkedMeshSharesItsParentsGeometryAndCopiesStayLinked) {
  int page = 0;
  MeshAttachment parent("parent");
  parent.getVertices().add(1);
  parent.getVertices().add(2);
  parent.getBones().add(7);
  parent.setWorldVerticesLength(2);
  parent.getRegionUVs().add(0.5f);
  parent.getRegionUVs().add(0.5f);
  parent.getTriangles().add(0);
  parent.getEdges().add(3);
  parent.setHullLength(4);
  parent.setWidth(30);
  parent.setHeight(40);

  MeshAttachment linked("linked");
  linked.setRendererObject(&page);
  linked.setRegionUMax(1);
  linked.setRegionVMax(1);
  linked.setRegionWidth(1);
  linked.setRegionHeight(1);
  linked.setRegionUntrimmedWidth(1);
  linked.setRegionUntrimmedHeight(1);
  linked.setParentMesh(&parent);
  EXPECT_EQ(linked.getParentMesh(), &parent);
  EXPECT_EQ(values(linked.getVertices()), values(parent.getVertices()));
  EXPECT_EQ(linked.getBones().size(), 1u);
  EXPECT_EQ(linked.getWorldVerticesLength(), 2u);
  EXPECT_EQ(linked.getTriangles().size(), 1u);
  EXPECT_EQ(linked.getEdges().size(), 1u);
  EXPECT_EQ(linked.getHullLength(), 4);
  EXPECT_EQ(linked.getWidth(), 30);
  EXPECT_EQ(linked.getHeight(), 40);
  EXPECT_EQ(linked.getUVs().size(), 0u);  // recomputed by the loader, not copied

  auto* copy = static_cast<MeshAttachment*>(linked.copy());
  EXPECT_EQ(copy->getParentMesh(), &parent);
  EXPECT_EQ(copy->getRendererObject(), &page);
  EXPECT_EQ(copy->getDeformAttachment(), &linked);
  expectPairs(values(copy->getUVs()), {0.5f, 0.5f});
  delete copy;

  auto* plain = static_cast<MeshAttachment*>(parent.copy());
  EXPECT_EQ(plain->getParentMesh(), nullptr);
  EXPECT_EQ(values(plain->getVertices()), values(parent.getVertices()));
  EXPECT_EQ(plain->getHullLength(), 4);
  EXPECT_NE(plain->getId(), parent.getId());
  delete plain;
}

TEST(VertexAttachment, IdsStepBy2048AndWrapAfter65536Attachments) {
  BoundingBoxAttachment first("a");
  ClippingAttachment second("b");
  EXPECT_EQ(second.getId() - first.getId(), 2048);
  for (int i = 0; i < 65534; ++i) PathAttachment("x");
  MeshAttachment wrapped("c");
  EXPECT_EQ(wrapped.getId(), first.getId());
  EXPECT_EQ(first.getDeformAttachment(), &first);
}

TEST(VertexAttachment, UnweightedVerticesFollowTheSlotBoneAndItsDeform) {
  OneSlot fixture;
  BoundingBoxAttachment box("box");
  for (float v : {1, 0, 0, 2}) box.getVertices().add(v);
  box.setWorldVerticesLength(4);
  Vector<float> out;
  box.computeWorldVertices(fixture.slot(), out);
  expectPairs(values(out), {10, 21, 8, 20});

  for (float v : {0, 0, 3, 3}) fixture.slot().getDeform().add(v);
  box.computeWorldVertices(fixture.slot(), out);
  expectPairs(values(out), {10, 20, 7, 23});

  // From the second vertex, into every third float.
  float strided[4] = {-1, -1, -1, -1};
  box.computeWorldVertices(fixture.slot(), 2, 2, strided, 1, 3);
  expectPairs(std::vector<float>(strided, strided + 4), {-1, 7, 23, -1});
}

TEST(VertexAttachment, WeightedVerticesBlendTheirBonesAndAddTheDeform) {
  OneSlot fixture;
  Slot& slot = fixture.slot();
  BoundingBoxAttachment plain("plain");
  for (float v : {3, -1}) plain.getVertices().add(v);
  plain.setWorldVerticesLength(2);
  Vector<float> expected;
  plain.computeWorldVertices(slot, expected);

  // The same vertex bound to bone 0 with weight 1.
  BoundingBoxAttachment weighted("weighted");
  for (unsigned long long b : {1ull, 0ull}) weighted.getBones().add(b);
  for (float v : {3, -1, 1}) weighted.getVertices().add(v);
  weighted.setWorldVerticesLength(2);
  Vector<float> out;
  weighted.computeWorldVertices(slot, out);
  expectPairs(values(out), values(expected));

  // Half on the root, half on "other" (scaled by 2 along the root's x).
  BoundingBoxAttachment blended("blended");
  for (unsigned long long b : {1ull, 0ull, 2ull, 0ull, 1ull}) blended.getBones().add(b);
  for (float v : {5.0f, 5.0f, 1.0f, 1.0f, 0.0f, 0.5f, 1.0f, 0.0f, 0.5f}) blended.getVertices().add(v);
  blended.setWorldVerticesLength(4);
  blended.computeWorldVertices(slot, out);
  // Vertex 0: root (5, 5) -> (5, 25). Vertex 1: root (1, 0) -> (10, 21), other (2, 0) -> (10, 22).
  expectPairs(values(out), {5, 25, 10, 21.5f});

  // Deform pairs are added per bone entry; starting at the second vertex skips the first one's entries.
  for (float v : {0, 0, 0, 2, 0, 2}) slot.getDeform().add(v);
  blended.computeWorldVertices(slot, 2, 2, out, 0);
  EXPECT_NEAR(out[0], 8, 1e-4);
  EXPECT_NEAR(out[1], 21.5f, 1e-4);
}

TEST(VertexAttachment, ShortOrCorruptArraysAreNeverOverrun) {
  OneSlot fixture;
  BoundingBoxAttachment shortPlain("short");
  shortPlain.getVertices().add(1);
  shortPlain.setWorldVerticesLength(6);
  Vector<float> out;
  shortPlain.computeWorldVertices(fixture.slot(), out);
  expectPairs(values(out), {10, 20, 10, 20, 10, 20});

  // A bone count past the end, a bone index past the skeleton and too few weights.
  BoundingBoxAttachment corrupt("corrupt");
  for (unsigned long long b : {2ull, 0ull, 99ull, 1000000ull, 0ull}) corrupt.getBones().add(b);
  for (float v : {1, 0, 1}) corrupt.getVertices().add(v);
  corrupt.setWorldVerticesLength(8);
  corrupt.computeWorldVertices(fixture.slot(), out);
  ASSERT_EQ(out.size(), 8u);
  EXPECT_NEAR(out[0], 10, 1e-4);
  EXPECT_NEAR(out[1], 21, 1e-4);
  corrupt.computeWorldVertices(fixture.slot(), 1000, 8, out, 0);

  // The output vector bounds what is written.
  Vector<float> tiny;
  tiny.setSize(3, -1);
  shortPlain.computeWorldVertices(fixture.slot(), 0, 6, tiny, 0);
  expectPairs(values(tiny), {10, 20, -1});
}

TEST(Attachments, CopiesKeepTheirOwnValues) {
  PathAttachment path("path");
  path.getVertices().add(1);
  path.setWorldVerticesLength(1);
  path.getLengths().add(5);
  path.setClosed(true);
  path.setConstantSpeed(true);
  auto* pathCopy = static_cast<PathAttachment*>(path.copy());
  EXPECT_TRUE(pathCopy->getRTTI().isExactly(PathAttachment::rtti));
  EXPECT_TRUE(pathCopy->isClosed());
  EXPECT_TRUE(pathCopy->isConstantSpeed());
  EXPECT_EQ(values(pathCopy->getLengths()), std::vector<float>{5});
  EXPECT_EQ(pathCopy->getDeformAttachment(), &path);
  delete pathCopy;

  PointAttachment point("point");
  point.setX(1);
  point.setY(2);
  point.setRotation(30);
  auto* pointCopy = static_cast<PointAttachment*>(point.copy());
  EXPECT_EQ(pointCopy->getX(), 1);
  EXPECT_EQ(pointCopy->getY(), 2);
  EXPECT_EQ(pointCopy->getRotation(), 30);
  delete pointCopy;

  SkeletonData data;
  BoneData* root = addBone(data, "root");
  SlotData* end = addSlot(data, "end", *root);
  ClippingAttachment clip("clip");
  clip.setEndSlot(end);
  clip.getVertices().add(4);
  auto* clipCopy = static_cast<ClippingAttachment*>(clip.copy());
  EXPECT_EQ(clipCopy->getEndSlot(), end);
  EXPECT_EQ(clipCopy->getVertices().size(), 1u);
  EXPECT_TRUE(clipCopy->getRTTI().instanceOf(VertexAttachment::rtti));
  delete clipCopy;
}

TEST(PointAttachment, WorldPositionAndRotationFollowTheBone) {
  OneSlot fixture;
  PointAttachment point("p");
  point.setX(2);
  point.setRotation(10);
  float x, y;
  point.computeWorldPosition(fixture.slot().getBone(), x, y);
  EXPECT_NEAR(x, 10, 1e-4);
  EXPECT_NEAR(y, 22, 1e-4);
  EXPECT_NEAR(point.computeWorldRotation(fixture.slot().getBone()), 100, 1e-3);
}
