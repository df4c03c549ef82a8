#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "TempDir.h"
#include "skel/Animation.h"
#include "skel/Atlas.h"
#include "skel/AttachmentTimeline.h"
#include "skel/Bone.h"
#include "skel/BoneData.h"
#include "skel/BoundingBoxAttachment.h"
#include "skel/ClippingAttachment.h"
#include "skel/CurveTimeline.h"
#include "skel/DebugExtension.h"
#include "skel/DeformTimeline.h"
#include "skel/DrawOrderTimeline.h"
#include "skel/Event.h"
#include "skel/EventData.h"
#include "skel/EventTimeline.h"
#include "skel/IkConstraintData.h"
#include "skel/IkConstraintTimeline.h"
#include "skel/MeshAttachment.h"
#include "skel/PathAttachment.h"
#include "skel/PathConstraintData.h"
#include "skel/PathConstraintSpacingTimeline.h"
#include "skel/PointAttachment.h"
#include "skel/RegionAttachment.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "skel/Skin.h"
#include "skel/SlotData.h"
#include "skel/TransformConstraintData.h"
#include "skel/TransformConstraintTimeline.h"

using namespace skel;

namespace {

const std::string atlasText =
    "page.png\nsize: 256, 256\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n"
    "head\n  rotate: false\n  xy: 0, 0\n  size: 64, 32\n  orig: 64, 32\n  offset: 0, 0\n  index: -1\n"
    "skin\n  rotate: false\n  xy: 64, 0\n  size: 128, 128\n  orig: 128, 128\n  offset: 0, 0\n  index: -1\n";

// JSON written with single quotes, to keep the cases readable.
std::string J(std::string text) {
  for (char& c : text)
    if (c == '\'') c = '"';
  return text;
}

// Two bones and three slots for the sections that refer to them.
const std::string rig =
    "'bones':[{'name':'root'},{'name':'arm','parent':'root'}],"
    "'slots':[{'name':'s0','bone':'root'},{'name':'s1','bone':'arm'},{'name':'s2','bone':'arm'}]";

std::string withRig(const std::string& rest) { return J("{" + rig + (rest.empty() ? "" : "," + rest) + "}"); }

std::vector<float> floats(const Vector<float>& v) { return std::vector<float>(v.begin(), v.end()); }

template <typename T>
T* attachmentAs(const Skin* skin, size_t slot, const char* name) {
  Attachment* a = skin ? skin->getAttachment(slot, String(name)) : nullptr;
  return a && a->getRTTI().instanceOf(T::rtti) ? static_cast<T*>(a) : nullptr;
}

template <typename T>
T* timelineAs(const Animation* animation, size_t index) {
  if (!animation || index >= animation->getTimelines().size()) return nullptr;
  Timeline* t = animation->getTimelines()[index];
  return t->getRTTI().isExactly(T::rtti) ? static_cast<T*>(t) : nullptr;
}

class SkeletonJsonTest : public testing::Test {
 protected:
  std::unique_ptr<SkeletonData> load(const std::string& json, float scale = 1) {
    reader.setScale(scale);
    return std::unique_ptr<SkeletonData>(reader.readSkeletonData(json.c_str()));
  }

  // The read fails with exactly this text and gives back all it took.
  void expectError(const std::string& json, const std::string& error) {
    load("{}");
    auto* tracker = dynamic_cast<DebugExtension*>(SkelExtension::getInstance());
    const size_t live = tracker ? tracker->getLiveCount() : 0;
    EXPECT_EQ(load(json), nullptr) << json;
    EXPECT_STREQ(reader.getError().buffer(), error.c_str()) << json;
    // The error text is the one block the failed read may keep.
    if (tracker) {
      EXPECT_EQ(tracker->getLiveCount(), live + 1) << json;
    }
  }

  void expectErrors(const std::vector<std::pair<std::string, std::string>>& cases) {
    for (const auto& c : cases) expectError(c.first, c.second);
  }

  Atlas atlas{atlasText.data(), atlasText.size(), String(""), nullptr};
  SkeletonJson reader{&atlas};
};

}  // namespace

TEST_F(SkeletonJsonTest, SkeletonSectionIsStoredAndOneVersionIsRefused) {
  auto data = load(J("{'skeleton':{'hash':'h1','version':'tarn-1','x':-5,'y':2,'width':100,'height':50,'fps':24,"
                     "'audio':'sounds/','images':'img/'}}"),
                   2);
  ASSERT_NE(data, nullptr);
  EXPECT_STREQ(data->getHash().buffer(), "h1");
  EXPECT_STREQ(data->getVersion().buffer(), "tarn-1");
  EXPECT_EQ(data->getX(), -5);  // the bounding box is not scaled
  EXPECT_EQ(data->getWidth(), 100);
  EXPECT_EQ(data->getFps(), 24);
  EXPECT_STREQ(data->getAudioPath().buffer(), "sounds/");
  EXPECT_STREQ(data->getImagesPath().buffer(), "img/");
  EXPECT_EQ(load("{}")->getFps(), 30);

  expectError(J("{'skeleton':{'version':'3.8.75'}}"),
              "Unsupported skeleton data, please export with a newer version of the editor.");
  EXPECT_NE(load(J("{'skeleton':{'version':'3.8.75 '}}")), nullptr);
  EXPECT_TRUE(reader.getError().isEmpty());
}

TEST_F(SkeletonJsonTest, BonesAndSlotsTakeTheirSetupPose) {
  auto data = load(J("{'bones':["
                     "{'name':'root','x':5,'y':-1,'length':3,'rotation':30,'scaleX':2,'shearY':7,'transform':'noScale',"
                     "'skin':'true'},"
                     "{'name':'child','parent':'root','transform':'sideways','skin':1},"
                     "{'name':'lit','parent':'child','transform':'onlyTranslation','skin':true}],"
                     "'slots':[{'name':'s','bone':'lit','color':'FF000080','dark':'FF8000','attachment':'head',"
                     "'blend':'additive'},"
                     "{'name':'t','bone':'root','color':'ffzz00','blend':'multiply'},"
                     "{'name':'u','bone':'root','blend':'screen'},{'name':'v','bone':'root','blend':'Screen'}]}"),
                   2);
  ASSERT_NE(data, nullptr);
  ASSERT_EQ(data->getBones().size(), 3u);
  const BoneData& root = *data->getBones()[0];
  EXPECT_EQ(root.getX(), 10);
  EXPECT_EQ(root.getY(), -2);
  EXPECT_EQ(root.getLength(), 6);
  EXPECT_EQ(root.getRotation(), 30);
  EXPECT_EQ(root.getScaleX(), 2);
  EXPECT_EQ(root.getScaleY(), 1);
  EXPECT_EQ(root.getShearY(), 7);
  EXPECT_EQ(root.getTransformMode(), TransformMode::NoScale);
  EXPECT_EQ(root.getParent(), nullptr);
  const BoneData& child = *data->getBones()[1];
  EXPECT_EQ(child.getIndex(), 1);
  EXPECT_EQ(child.getParent(), &root);
  EXPECT_EQ(child.getTransformMode(), TransformMode::Normal);
  EXPECT_EQ(data->getBones()[2]->getTransformMode(), TransformMode::OnlyTranslation);
  // The skin flag is the text "true" or a nonzero number, not the JSON literal.
  EXPECT_TRUE(root.isSkinRequired());
  EXPECT_TRUE(child.isSkinRequired());
  EXPECT_FALSE(data->getBones()[2]->isSkinRequired());

  ASSERT_EQ(data->getSlots().size(), 4u);
  const SlotData& s = *data->getSlots()[0];
  EXPECT_EQ(&s.getBoneData(), data->getBones()[2]);
  EXPECT_EQ(s.getColor(), Color(1, 0, 0, 128 / 255.0f));
  EXPECT_TRUE(s.hasDarkColor());
  EXPECT_EQ(s.getDarkColor(), Color(1, 128 / 255.0f, 0, 1));
  EXPECT_STREQ(s.getAttachmentName().buffer(), "head");
  EXPECT_EQ(s.getBlendMode(), BlendMode::Additive);
  // A pair that is missing or not hexadecimal reads as -1, unclamped.
  const SlotData& t = *data->getSlots()[1];
  EXPECT_EQ(t.getColor(), Color(1, -1, 0, -1));
  EXPECT_FALSE(t.hasDarkColor());
  EXPECT_EQ(t.getDarkColor(), Color(0, 0, 0, 0));
  EXPECT_EQ(t.getBlendMode(), BlendMode::Multiply);
  EXPECT_EQ(data->getSlots()[2]->getColor(), Color(1, 1, 1, 1));
  EXPECT_EQ(data->getSlots()[2]->getBlendMode(), BlendMode::Screen);
  EXPECT_EQ(data->getSlots()[3]->getBlendMode(), BlendMode::Normal);
  EXPECT_EQ(data->getSlots()[3]->getIndex(), 3);
}

TEST_F(SkeletonJsonTest, ConstraintsTakeTheirValuesAndDefaults) {
  auto data = load(withRig("'ik':[{'name':'k','order':2,'bones':['root','arm'],'target':'arm','mix':0.5,'softness':3,"
                           "'bendPositive':false,'compress':1,'stretch':true,'uniform':1,'skin':'true'},"
                           "{'name':'k2','bones':['arm'],'target':'root'}],"
                           "'transform':[{'name':'t','skin':'true','bones':['arm'],'target':'root','local':1,"
                           "'rotation':90,'x':4,'y':5,'scaleX':0.5,'shearY':9,'translateMix':0.25},{'name':'t2',"
                           "'bones':['arm'],'target':'root'}],"
                           "'path':[{'name':'p','order':1,'bones':['arm'],'target':'s2','positionMode':'fixed',"
                           "'spacingMode':'percent','rotateMode':'chainScale','position':10,'spacing':10,"
                           "'rotation':15,'rotateMix':0.5},"
                           "{'name':'p2','bones':['arm'],'target':'s1','position':10,'spacing':10,"
                           "'positionMode':'FIXED','spacingMode':'fixed','rotateMode':'chain'}]"),
                   0.5f);
  ASSERT_NE(data, nullptr);
  const IkConstraintData& k = *data->getIkConstraints()[0];
  EXPECT_EQ(k.getOrder(), 2u);
  EXPECT_EQ(k.getBones().size(), 2u);
  EXPECT_EQ(k.getTarget(), data->getBones()[1]);
  EXPECT_EQ(k.getMix(), 0.5f);
  EXPECT_EQ(k.getSoftness(), 1.5f);
  EXPECT_EQ(k.getBendDirection(), -1);
  EXPECT_TRUE(k.getCompress() && k.getStretch() && k.getUniform());
  EXPECT_FALSE(k.isSkinRequired());  // IK constraints have no skin flag
  const IkConstraintData& k2 = *data->getIkConstraints()[1];
  EXPECT_EQ(k2.getMix(), 1);
  EXPECT_EQ(k2.getBendDirection(), 1);
  EXPECT_FALSE(k2.getCompress() || k2.getStretch() || k2.getUniform());

  const TransformConstraintData& t = *data->getTransformConstraints()[0];
  EXPECT_TRUE(t.isSkinRequired());
  EXPECT_TRUE(t.isLocal());
  EXPECT_FALSE(t.isRelative());
  EXPECT_EQ(t.getOffsetRotation(), 90);
  EXPECT_EQ(t.getOffsetX(), 2);
  EXPECT_EQ(t.getOffsetY(), 2.5f);
  EXPECT_EQ(t.getOffsetScaleX(), 0.5f);
  EXPECT_EQ(t.getOffsetScaleY(), 0);
  EXPECT_EQ(t.getOffsetShearY(), 9);
  EXPECT_EQ(t.getTranslateMix(), 0.25f);
  const TransformConstraintData& t2 = *data->getTransformConstraints()[1];
  EXPECT_EQ(t2.getRotateMix(), 1);  // the loader's default, not the constructor's 0
  EXPECT_EQ(t2.getScaleMix(), 1);
  EXPECT_EQ(t2.getShearMix(), 1);

  // A fixed position and a length or fixed spacing are lengths, so they scale.
  const PathConstraintData& p = *data->getPathConstraints()[0];
  EXPECT_EQ(p.getTarget(), data->getSlots()[2]);
  EXPECT_EQ(p.getPositionMode(), PositionMode::Fixed);
  EXPECT_EQ(p.getSpacingMode(), SpacingMode::Percent);
  EXPECT_EQ(p.getRotateMode(), RotateMode::ChainScale);
  EXPECT_EQ(p.getPosition(), 5);
  EXPECT_EQ(p.getSpacing(), 10);
  EXPECT_EQ(p.getOffsetRotation(), 15);
  EXPECT_EQ(p.getRotateMix(), 0.5f);
  EXPECT_EQ(p.getTranslateMix(), 1);
  const PathConstraintData& p2 = *data->getPathConstraints()[1];
  EXPECT_EQ(p2.getPositionMode(), PositionMode::Fixed);  // unknown texts give the first mode
  EXPECT_EQ(p2.getPosition(), 5);
  EXPECT_EQ(p2.getSpacingMode(), SpacingMode::Fixed);
  EXPECT_EQ(p2.getSpacing(), 5);
  EXPECT_EQ(p2.getRotateMode(), RotateMode::Chain);

  auto defaults = load(withRig("'path':[{'name':'p','bones':['arm'],'target':'s0','position':10,'spacing':10}]"), 0.5f);
  ASSERT_NE(defaults, nullptr);
  const PathConstraintData& d = *defaults->getPathConstraints()[0];
  EXPECT_EQ(d.getPositionMode(), PositionMode::Percent);
  EXPECT_EQ(d.getPosition(), 10);
  EXPECT_EQ(d.getSpacingMode(), SpacingMode::Length);
  EXPECT_EQ(d.getSpacing(), 5);
  EXPECT_EQ(d.getRotateMode(), RotateMode::Tangent);
}

TEST_F(SkeletonJsonTest, ConstraintsWithoutBonesLoadAndMoveNothing) {
  const std::string setup =
      "'bones':[{'name':'root','x':3},{'name':'arm','parent':'root','x':5,'rotation':30,'length':4},"
      "{'name':'aim','parent':'root','x':-4,'y':7,'scaleX':2}],"
      "'slots':[{'name':'s0','bone':'arm','attachment':'curve'}],"
      "'skins':[{'name':'default','attachments':{'s0':{'curve':{'type':'path','vertexCount':6,"
      "'vertices':[0,0,1,0,2,0,3,0,4,0,5,0],'lengths':[5,10]}}}}]";
  auto plain = load(J("{" + setup + "}"));
  auto idle = load(J("{" + setup +
                     ",'ik':[{'name':'k','target':'aim'}],"
                     "'transform':[{'name':'t','bones':[],'target':'aim','order':1},"
                     "{'name':'l','target':'aim','local':1,'order':2}],"
                     "'path':[{'name':'p','target':'s0','rotateMode':'chain','order':3}]}"));
  ASSERT_NE(plain, nullptr) << reader.getError().buffer();
  ASSERT_NE(idle, nullptr) << reader.getError().buffer();
  EXPECT_TRUE(idle->getIkConstraints()[0]->getBones().isEmpty());
  EXPECT_TRUE(idle->getTransformConstraints()[0]->getBones().isEmpty());
  EXPECT_TRUE(idle->getTransformConstraints()[1]->getBones().isEmpty());
  EXPECT_TRUE(idle->getPathConstraints()[0]->getBones().isEmpty());

  // Each takes its place in the update order and leaves every bone as it was.
  Skeleton without(plain.get()), with(idle.get());
  EXPECT_EQ(with.getUpdateCacheList().size(), without.getUpdateCacheList().size() + 4);
  without.updateWorldTransform();
  with.updateWorldTransform();
  for (size_t i = 0; i < with.getBones().size(); ++i) {
    const Bone &a = *without.getBones()[i], &b = *with.getBones()[i];
    SCOPED_TRACE(b.getData().getName().buffer());
    EXPECT_EQ(b.getA(), a.getA());
    EXPECT_EQ(b.getB(), a.getB());
    EXPECT_EQ(b.getC(), a.getC());
    EXPECT_EQ(b.getD(), a.getD());
    EXPECT_EQ(b.getWorldX(), a.getWorldX());
    EXPECT_EQ(b.getWorldY(), a.getWorldY());
    EXPECT_EQ(b.getAScaleX(), a.getAScaleX());
    EXPECT_EQ(b.isAppliedValid(), a.isAppliedValid());
  }
}

TEST_F(SkeletonJsonTest, SetupSectionsReportWhatTheyCannotFind) {
  expectErrors({
      {J("{'bones':[{'name':'a','parent':'b'},{'name':'b'}]}"), "Parent bone not found: b"},
      {J("{'bones':[{'name':'a'}],'slots':[{'name':'s','bone':'nope'}]}"), "Slot bone not found: nope"},
      {J("{'bones':[{'name':'a'}],'slots':[{'name':'s'}]}"), "Slot bone not found: "},
      {withRig("'ik':[{'name':'k','bones':['root','leg'],'target':'arm'}]"), "IK bone not found: leg"},
      {withRig("'ik':[{'name':'k','bones':['root'],'target':'leg'}]"), "Target bone not found: leg"},
      {withRig("'transform':[{'name':'t','bones':['leg'],'target':'arm'}]"), "Transform bone not found: leg"},
      {withRig("'transform':[{'name':'t','bones':['arm']}]"), "Target bone not found: "},
      {withRig("'path':[{'name':'p','bones':['leg'],'target':'s0'}]"), "Path bone not found: leg"},
      {withRig("'path':[{'name':'p','bones':['arm'],'target':'arm'}]"), "Target slot not found: arm"},
      {withRig("'skins':[{'name':'x','bones':['leg']}]"), "Skin bone not found: leg"},
      {withRig("'skins':[{'name':'x','ik':['nope']}]"), "Skin IK constraint not found: nope"},
      {withRig("'skins':[{'name':'x','transform':['nope']}]"), "Skin transform constraint not found: nope"},
      {withRig("'skins':[{'name':'x','path':['nope']}]"), "Skin path constraint not found: nope"},
      {withRig("'skins':[{'name':'x','attachments':{'s9':{'a':{'type':'point'}}}}]"), "Slot not found: s9"},
      {withRig("'skins':[{'name':'x','attachments':{'s0':{'a':{}}}}]"), "Error reading attachment: a"},
      {withRig("'skins':[{'name':'x','attachments':{'s0':{'a':{'type':'mesh','path':'nope'}}}}]"),
       "Error reading attachment: a"},
      {withRig("'skins':[{'name':'x','attachments':{'s0':{'a':{'type':'sprite'}}}}]"),
       "Unknown attachment type: sprite"},
  });
}

TEST_F(SkeletonJsonTest, SkinsHoldTheirAttachmentsAndSwitches) {
  auto data = load(withRig("'ik':[{'name':'k','bones':['arm'],'target':'root'}],"
                           "'transform':[{'name':'t','bones':['arm'],'target':'root'}],"
                           "'path':[{'name':'p','bones':['arm'],'target':'s0'}],"
                           "'skins':[{'name':'default','attachments':{"
                           "'s0':{'head':{},'big':{'name':'head','width':100,'height':50,'color':'00FF00FF'}},"
                           "'s1':{'dot':{'type':'point','x':1,'y':2,'rotation':45}},"
                           "'s2':{'clip':{'type':'clipping','end':'s1','vertexCount':3,'vertices':[0,0,1,0,1,1]},"
                           "'clip2':{'type':'clipping','end':'s7'}}}},"
                           "{'name':'armour','bones':['arm'],'ik':['k'],'transform':['t'],'path':['p'],"
                           "'attachments':{'s0':{'head':{'path':'head','x':3,'rotation':90}}}}]"),
                   2);
  ASSERT_NE(data, nullptr);
  ASSERT_EQ(data->getSkins().size(), 2u);
  const Skin* defaults = data->getDefaultSkin();
  EXPECT_EQ(defaults, data->getSkins()[0]);
  // Without type, path or name a region looks up its own key, 32 units square.
  auto* head = attachmentAs<RegionAttachment>(defaults, 0, "head");
  ASSERT_NE(head, nullptr);
  EXPECT_STREQ(head->getName().buffer(), "head");
  EXPECT_STREQ(head->getPath().buffer(), "head");
  EXPECT_EQ(head->getWidth(), 64);
  EXPECT_EQ(head->getHeight(), 64);
  EXPECT_EQ(head->getRendererObject(), atlas.findRegion(String("head")));
  EXPECT_EQ(head->getRefCount(), 1);
  auto* big = attachmentAs<RegionAttachment>(defaults, 0, "big");
  ASSERT_NE(big, nullptr);
  EXPECT_STREQ(big->getName().buffer(), "head");
  EXPECT_EQ(big->getColor(), Color(0, 1, 0, 1));
  EXPECT_EQ(floats(big->getOffset()), (std::vector<float>{-100, -50, -100, 50, 100, 50, 100, -50}));

  auto* dot = attachmentAs<PointAttachment>(defaults, 1, "dot");
  ASSERT_NE(dot, nullptr);
  EXPECT_EQ(dot->getX(), 2);
  EXPECT_EQ(dot->getY(), 4);
  EXPECT_EQ(dot->getRotation(), 45);
  auto* clip = attachmentAs<ClippingAttachment>(defaults, 2, "clip");
  ASSERT_NE(clip, nullptr);
  EXPECT_EQ(clip->getEndSlot(), data->getSlots()[1]);
  EXPECT_EQ(floats(clip->getVertices()), (std::vector<float>{0, 0, 2, 0, 2, 2}));
  EXPECT_EQ(clip->getWorldVerticesLength(), 6u);
  EXPECT_EQ(attachmentAs<ClippingAttachment>(defaults, 2, "clip2")->getEndSlot(), nullptr);

  const Skin* armour = data->getSkins()[1];
  EXPECT_STREQ(armour->getName().buffer(), "armour");
  EXPECT_EQ(armour->getBones().size(), 1u);
  ASSERT_EQ(armour->getConstraints().size(), 3u);
  EXPECT_EQ(armour->getConstraints()[0], data->getIkConstraints()[0]);
  EXPECT_EQ(armour->getConstraints()[2], data->getPathConstraints()[0]);
  auto* turned = attachmentAs<RegionAttachment>(armour, 0, "head");
  ASSERT_NE(turned, nullptr);
  EXPECT_EQ(turned->getX(), 6);
  EXPECT_NE(turned, head);
}

TEST_F(SkeletonJsonTest, VertexAttachmentsArePlainOrWeighted) {
  auto data = load(withRig("'skins':[{'name':'default','attachments':{'s0':{"
                           "'quad':{'type':'mesh','path':'skin','uvs':[0,0,1,0,1,1,0,1],'triangles':[0,1,2,2,3,0],"
                           "'vertices':[0,0,10,0,10,10,0,10],'hull':4,'edges':[0,2,2,4],'width':20,"
                           "'color':'FFFFFF00'},"
                           "'bent':{'type':'mesh','path':'skin','uvs':[0,0,1,1],'triangles':[],"
                           "'vertices':[1,0,1,2,1, 2,0,3,4,0.25,1,5,6,0.75]},"
                           "'box':{'type':'boundingbox','vertexCount':2,'vertices':[1,2,3,4]},"
                           "'rail':{'type':'path','closed':1,'constantSpeed':0,'vertexCount':6,"
                           "'vertices':[0,0,1,1,2,2,3,3,4,4,5,5],'lengths':[7,8,9]}}}}]"),
                   2);
  ASSERT_NE(data, nullptr);
  const Skin* skin = data->getDefaultSkin();
  auto* quad = attachmentAs<MeshAttachment>(skin, 0, "quad");
  ASSERT_NE(quad, nullptr);
  EXPECT_TRUE(quad->getBones().isEmpty());
  EXPECT_EQ(floats(quad->getVertices()), (std::vector<float>{0, 0, 20, 0, 20, 20, 0, 20}));
  EXPECT_EQ(quad->getWorldVerticesLength(), 8u);
  EXPECT_EQ(floats(quad->getUVs()), (std::vector<float>{0.25f, 0, 0.75f, 0, 0.75f, 0.5f, 0.25f, 0.5f}));
  EXPECT_EQ(quad->getTriangles().size(), 6u);
  EXPECT_EQ(quad->getEdges().size(), 4u);
  EXPECT_EQ(quad->getHullLength(), 4);
  EXPECT_EQ(quad->getWidth(), 40);
  EXPECT_EQ(quad->getHeight(), 64);
  EXPECT_EQ(quad->getColor().a, 0);
  EXPECT_EQ(quad->getDeformAttachment(), quad);

  // Weighted: per vertex a bone count, then (bone, x, y, weight) per bone.
  auto* bent = attachmentAs<MeshAttachment>(skin, 0, "bent");
  ASSERT_NE(bent, nullptr);
  EXPECT_EQ((std::vector<unsigned long long>(bent->getBones().begin(), bent->getBones().end())),
            (std::vector<unsigned long long>{1, 0, 2, 0, 1}));
  EXPECT_EQ(floats(bent->getVertices()), (std::vector<float>{2, 4, 1, 6, 8, 0.25f, 10, 12, 0.75f}));
  EXPECT_EQ(bent->getWorldVerticesLength(), 4u);

  auto* box = attachmentAs<BoundingBoxAttachment>(skin, 0, "box");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(floats(box->getVertices()), (std::vector<float>{2, 4, 6, 8}));
  auto* rail = attachmentAs<PathAttachment>(skin, 0, "rail");
  ASSERT_NE(rail, nullptr);
  EXPECT_TRUE(rail->isClosed());
  EXPECT_FALSE(rail->isConstantSpeed());
  EXPECT_EQ(rail->getWorldVerticesLength(), 12u);
  EXPECT_EQ(floats(rail->getLengths()), (std::vector<float>{14, 16}));
}

TEST_F(SkeletonJsonTest, BrokenGeometryIsRefusedBeforeAnythingCanIndexIt) {
  auto mesh = [](const std::string& fields) {
    return withRig("'skins':[{'name':'default','attachments':{'s0':{'m':{'type':'mesh','path':'skin'," + fields +
                   "}}}}]");
  };
  auto other = [](const std::string& fields) {
    return withRig("'skins':[{'name':'default','attachments':{'s0':{'m':{" + fields + "}}}}]");
  };
  const std::string bad = "Error reading attachment: m";
  expectErrors({
      {mesh("'uvs':[0,0,1,0,1,1],'triangles':[0,1,3],'vertices':[0,0,1,0,1,1]"), bad},
      {mesh("'uvs':[0,0,1,0,1,1],'triangles':[0,1,-1],'vertices':[0,0,1,0,1,1]"), bad},
      {mesh("'uvs':[0,0,1,0,1,1],'triangles':[0,1],'vertices':[0,0,1,0,1,1]"), bad},
      {mesh("'uvs':[0,0,1],'triangles':[],'vertices':[0,0,1]"), bad},
      {mesh("'uvs':[0,0,1,0],'triangles':[],'vertices':[0,0,1]"), bad},
      {mesh("'uvs':[0,0,1,0],'triangles':[]"), bad},
      // Weighted vertices naming a bone that does not exist, or running past the end.
      {mesh("'uvs':[0,0],'triangles':[],'vertices':[1,2,0,0,1]"), bad},
      {mesh("'uvs':[0,0],'triangles':[],'vertices':[1,-1,0,0,1]"), bad},
      {mesh("'uvs':[0,0],'triangles':[],'vertices':[2,0,0,0,1,1,0,0]"), bad},
      {mesh("'uvs':[0,0],'triangles':[],'vertices':[1e30,0,0,0,1]"), bad},
      {mesh("'uvs':[0,0,1,1],'triangles':[],'vertices':[1,0,0,0,1]"), bad},
      {other("'type':'boundingbox','vertexCount':3,'vertices':[0,0,1,1]"), bad},
      {other("'type':'boundingbox','vertexCount':-1,'vertices':[]"), bad},
      {other("'type':'clipping','vertexCount':2000000000,'vertices':[1,0,0,0,1]"), bad},
      {other("'type':'path','vertexCount':6,'vertices':[0,0,1,1,2,2,3,3,4,4,5,5],'lengths':[1]"), bad},
      {other("'type':'path','vertexCount':3,'vertices':[0,0,1,1,2,2]"), bad},
  });
}

TEST_F(SkeletonJsonTest, LinkedMeshesShareTheirParentOnceAllSkinsAreRead) {
  auto data =
      load(withRig("'skins':[{'name':'default','attachments':{'s0':{"
                   "'copy':{'type':'linkedmesh','parent':'base','path':'skin','width':8},"
                   "'base':{'type':'mesh','path':'skin','uvs':[0,0,1,0,1,1],'triangles':[0,1,2],"
                   "'vertices':[0,0,4,0,4,4],'width':30}}}},"
                   "{'name':'red','attachments':{'s0':{"
                   "'own':{'type':'mesh','parent':'base','skin':'red','deform':0,'path':'head'},"
                   "'base':{'type':'mesh','path':'head','uvs':[0,0,1,0],'triangles':[],"
                   "'vertices':[1,1,2,2]}}}}]"));
  ASSERT_NE(data, nullptr);
  auto* base = attachmentAs<MeshAttachment>(data->getDefaultSkin(), 0, "base");
  auto* copy = attachmentAs<MeshAttachment>(data->getDefaultSkin(), 0, "copy");
  ASSERT_TRUE(base && copy);
  EXPECT_EQ(copy->getParentMesh(), base);
  EXPECT_EQ(copy->getDeformAttachment(), base);
  EXPECT_EQ(floats(copy->getVertices()), floats(base->getVertices()));
  EXPECT_EQ(copy->getTriangles().size(), 3u);
  EXPECT_EQ(copy->getUVs().size(), 6u);
  EXPECT_EQ(copy->getWidth(), 30);  // the parent's size wins

  const Skin* red = data->findSkin(String("red"));
  auto* own = attachmentAs<MeshAttachment>(red, 0, "own");
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(own->getParentMesh(), attachmentAs<MeshAttachment>(red, 0, "base"));
  EXPECT_EQ(own->getDeformAttachment(), own);
  EXPECT_EQ(floats(own->getVertices()), (std::vector<float>{1, 1, 2, 2}));

  // A later entry of the same name replaces a waiting linked mesh without trouble.
  auto replaced =
      load(withRig("'skins':[{'name':'default','attachments':{'s0':{"
                   "'m':{'type':'mesh','parent':'gone','path':'skin'},'m':{'path':'head'}}}}]"));
  ASSERT_NE(replaced, nullptr);
  EXPECT_NE(attachmentAs<RegionAttachment>(replaced->getDefaultSkin(), 0, "m"), nullptr);

  auto linked = [](const std::string& attachments) {
    return withRig("'skins':[{'name':'default','attachments':{'s0':{" + attachments + "}}}]");
  };
  const std::string base3 =
      "'b':{'type':'mesh','path':'skin','uvs':[0,0,1,0,1,1],'triangles':[0,1,2],'vertices':[0,0,1,0,1,1]}";
  expectErrors({
      {linked("'a':{'type':'mesh','parent':'b','skin':'blue','path':'skin'}," + base3), "Skin not found: blue"},
      {withRig("'skins':[{'name':'x','attachments':{'s0':{'a':{'type':'mesh','parent':'b','path':'skin'}}}}]"),
       "Skin not found: default"},
      {linked("'a':{'type':'mesh','parent':'c','path':'skin'}," + base3), "Parent mesh not found: c"},
      {linked("'a':{'type':'mesh','parent':'head','path':'skin'},'head':{}"), "Parent mesh not found: head"},
      {linked("'a':{'type':'mesh','parent':'a','path':'skin'}"), "Parent mesh not found: a"},
      // Meshes that wait for each other have no geometry to share.
      {linked("'x':{'type':'mesh','parent':'a','path':'skin'},'a':{'type':'mesh','parent':'c','path':'skin'},"
              "'c':{'type':'mesh','parent':'a','path':'skin'}," +
              base3),
       "Parent mesh not found: a"},
  });

  // A parent that is itself a linked mesh links first, wherever it stands.
  const std::string grand =
      "'g':{'type':'mesh','path':'skin','uvs':[0,0,1,0,1,1],'triangles':[0,1,2],"
      "'vertices':[0,0,2,0,2,2],'width':12}";
  const std::string middle = "'m':{'type':'linkedmesh','parent':'g','path':'head'}";
  const std::string leaf = "'l':{'type':'linkedmesh','parent':'m','path':'skin','deform':0}";
  for (const std::string& members :
       {grand + "," + middle + "," + leaf, leaf + "," + middle + "," + grand, middle + "," + grand + "," + leaf}) {
    SCOPED_TRACE(members);
    auto chained = load(linked(members));
    ASSERT_NE(chained, nullptr) << reader.getError().buffer();
    const Skin* skin = chained->getDefaultSkin();
    auto* g = attachmentAs<MeshAttachment>(skin, 0, "g");
    auto* m = attachmentAs<MeshAttachment>(skin, 0, "m");
    auto* l = attachmentAs<MeshAttachment>(skin, 0, "l");
    ASSERT_TRUE(g && m && l);
    EXPECT_EQ(m->getParentMesh(), g);
    EXPECT_EQ(l->getParentMesh(), m);
    EXPECT_EQ(m->getDeformAttachment(), g);
    EXPECT_EQ(l->getDeformAttachment(), l);
    EXPECT_EQ(floats(l->getVertices()), (std::vector<float>{0, 0, 2, 0, 2, 2}));
    EXPECT_EQ(l->getTriangles().size(), 3u);
    EXPECT_EQ(l->getUVs().size(), 6u);
    EXPECT_EQ(l->getWidth(), 12);
  }
}

TEST_F(SkeletonJsonTest, EventsKeepAudioSettingsOnlyWithAudio) {
  auto data =
      load(J("{'events':{'step':{'int':3,'float':1.5,'string':'left','volume':0.5},"
             "'boom':{'audio':'boom.wav','volume':0.5,'balance':-1}}}"));
  ASSERT_NE(data, nullptr);
  const EventData* step = data->findEvent(String("step"));
  ASSERT_NE(step, nullptr);
  EXPECT_EQ(step->getIntValue(), 3);
  EXPECT_EQ(step->getFloatValue(), 1.5f);
  EXPECT_STREQ(step->getStringValue().buffer(), "left");
  EXPECT_EQ(step->getVolume(), 1);
  const EventData* boom = data->findEvent(String("boom"));
  ASSERT_NE(boom, nullptr);
  EXPECT_STREQ(boom->getAudioPath().buffer(), "boom.wav");
  EXPECT_EQ(boom->getVolume(), 0.5f);
  EXPECT_EQ(boom->getBalance(), -1);
}

TEST_F(SkeletonJsonTest, BoneAndSlotTimelinesHoldTheirKeys) {
  auto data = load(withRig("'animations':{'walk':{"
                           "'slots':{'s1':{'attachment':[{'time':0,'name':'head'},{'time':3,'name':null}],"
                           "'color':[{'time':0,'color':'FF000080'},{'time':1}],"
                           "'twoColor':[{'light':'00FF00FF','dark':'0000FF'}]}},"
                           "'bones':{'arm':{'rotate':[{'time':0,'angle':10,'curve':'stepped'},"
                           "{'time':0.5,'angle':-10,'curve':0.25,'c3':0.75},{'time':1,'angle':5,'curve':'stepped'}],"
                           "'translate':[{'time':0,'x':1,'y':2},{'time':2}],"
                           "'scale':[{'x':3}],'shear':[{'time':0.25,'y':4}],'rotate':[]}}},"
                           "'idle':{}}"),
                   2);
  ASSERT_NE(data, nullptr);
  ASSERT_EQ(data->getAnimations().size(), 2u);
  const Animation* walk = data->findAnimation(String("walk"));
  ASSERT_NE(walk, nullptr);
  EXPECT_EQ(walk->getDuration(), 3);
  EXPECT_EQ(walk->getTimelines().size(), 7u);  // a timeline without keys is left out
  const Animation* idle = data->findAnimation(String("idle"));
  ASSERT_NE(idle, nullptr);
  EXPECT_EQ(idle->getDuration(), 0);
  EXPECT_TRUE(idle->getTimelines().isEmpty());

  auto* attachment = timelineAs<AttachmentTimeline>(walk, 0);
  ASSERT_NE(attachment, nullptr);
  EXPECT_EQ(attachment->getSlotIndex(), 1);
  EXPECT_EQ(floats(attachment->getFrames()), (std::vector<float>{0, 3}));
  EXPECT_STREQ(attachment->getAttachmentNames()[0].buffer(), "head");
  EXPECT_TRUE(attachment->getAttachmentNames()[1].isEmpty());
  EXPECT_EQ(floats(walk->getTimelines()[1]->getFrames()),
            (std::vector<float>{0, 1, 0, 0, 128 / 255.0f, 1, 1, 1, 1, 1}));
  EXPECT_EQ(floats(walk->getTimelines()[2]->getFrames()), (std::vector<float>{0, 0, 1, 0, 1, 0, 0, 1}));

  auto* rotate = static_cast<CurveTimeline*>(walk->getTimelines()[3]);
  EXPECT_EQ(floats(rotate->getFrames()), (std::vector<float>{0, 10, 0.5f, -10, 1, 5}));
  // The last key starts no interval, so its curve has nowhere to go.
  EXPECT_EQ(rotate->getCurves().size(), 2 * CurveTimeline::CurveSize);
  EXPECT_EQ(rotate->getCurveType(0), CurveTimeline::Stepped);
  EXPECT_EQ(rotate->getCurveType(1), CurveTimeline::Bezier);
  EXPECT_NEAR(rotate->getCurvePercent(1, 0.5f), 0.5f, 1e-3f);  // a symmetric ease passes the middle
  EXPECT_LT(rotate->getCurvePercent(1, 0.2f), 0.2f);
  auto* translate = static_cast<CurveTimeline*>(walk->getTimelines()[4]);
  EXPECT_EQ(floats(translate->getFrames()), (std::vector<float>{0, 2, 4, 2, 0, 0}));
  EXPECT_EQ(translate->getCurveType(0), CurveTimeline::Linear);
  EXPECT_EQ(floats(walk->getTimelines()[5]->getFrames()), (std::vector<float>{0, 3, 1}));  // factors, unscaled
  EXPECT_EQ(floats(walk->getTimelines()[6]->getFrames()), (std::vector<float>{0.25f, 0, 4}));
}

TEST_F(SkeletonJsonTest, ConstraintTimelinesFindTheirConstraints) {
  auto data = load(withRig("'ik':[{'name':'k','bones':['arm'],'target':'root'},"
                           "{'name':'k2','bones':['arm'],'target':'root'}],"
                           "'transform':[{'name':'t','bones':['arm'],'target':'root'}],"
                           "'path':[{'name':'p','bones':['arm'],'target':'s0','positionMode':'fixed',"
                           "'spacingMode':'percent'}],"
                           "'animations':{'a':{"
                           "'ik':{'k2':[{'mix':0.5,'softness':2,'bendPositive':false,'compress':1},{'time':1}]},"
                           "'transform':{'t':[{'time':0.5,'rotateMix':0.25}]},"
                           "'path':{'p':{'position':[{'position':4}],'spacing':[{'spacing':4}],"
                           "'mix':[{'time':2,'translateMix':0.5}],'wobble':[{'time':9}]}}}}"),
                   2);
  ASSERT_NE(data, nullptr);
  const Animation* a = data->getAnimations()[0];
  ASSERT_EQ(a->getTimelines().size(), 5u);
  EXPECT_EQ(a->getDuration(), 2);
  auto* ik = timelineAs<IkConstraintTimeline>(a, 0);
  ASSERT_NE(ik, nullptr);
  EXPECT_EQ(ik->getIkConstraintIndex(), 1);
  EXPECT_EQ(floats(ik->getFrames()), (std::vector<float>{0, 0.5f, 4, -1, 1, 0, 1, 1, 0, 1, 0, 0}));
  auto* transform = timelineAs<TransformConstraintTimeline>(a, 1);
  ASSERT_NE(transform, nullptr);
  EXPECT_EQ(transform->getTransformConstraintIndex(), 0);
  EXPECT_EQ(floats(transform->getFrames()), (std::vector<float>{0.5f, 0.25f, 1, 1, 1}));
  // Position and spacing scale under the same rule as the constraint's own values.
  EXPECT_EQ(floats(a->getTimelines()[2]->getFrames()), (std::vector<float>{0, 8}));
  EXPECT_NE(timelineAs<PathConstraintSpacingTimeline>(a, 3), nullptr);
  EXPECT_EQ(floats(a->getTimelines()[3]->getFrames()), (std::vector<float>{0, 4}));
  EXPECT_EQ(floats(a->getTimelines()[4]->getFrames()), (std::vector<float>{2, 1, 0.5f}));
}

TEST_F(SkeletonJsonTest, DeformKeysAreFullVertexLists) {
  auto data = load(withRig("'skins':[{'name':'default','attachments':{'s1':{"
                           "'quad':{'type':'mesh','path':'skin','uvs':[0,0,1,0,1,1,0,1],'triangles':[0,1,2],"
                           "'vertices':[0,0,10,0,10,10,0,10]},"
                           "'bent':{'type':'mesh','path':'skin','uvs':[0,0,1,1],'triangles':[],"
                           "'vertices':[1,0,1,2,1,2,0,3,4,0.5,1,5,6,0.5]}}}}],"
                           "'animations':{'d':{'deform':{'default':{'s1':{"
                           "'quad':[{'time':0},{'time':1,'offset':2,'vertices':[1,1]},"
                           "{'time':2,'vertices':[1,2,3,4,5,6,7,8]}],"
                           "'bent':[{'time':0},{'time':1,'offset':4,'vertices':[1,2]}]}}}}}"),
                   2);
  ASSERT_NE(data, nullptr);
  const Animation* d = data->getAnimations()[0];
  auto* quad = timelineAs<DeformTimeline>(d, 0);
  ASSERT_NE(quad, nullptr);
  EXPECT_EQ(quad->getSlotIndex(), 1);
  EXPECT_EQ(quad->getAttachment(), data->getDefaultSkin()->getAttachment(1, String("quad")));
  // Unweighted keys are positions: the setup vertices plus the keyed values.
  EXPECT_EQ(floats(quad->getVertices()[0]), (std::vector<float>{0, 0, 20, 0, 20, 20, 0, 20}));
  EXPECT_EQ(floats(quad->getVertices()[1]), (std::vector<float>{0, 0, 22, 2, 20, 20, 0, 20}));
  EXPECT_EQ(floats(quad->getVertices()[2]), (std::vector<float>{2, 4, 26, 8, 30, 32, 14, 36}));
  // Weighted keys are offsets, one pair per bone entry.
  auto* bent = timelineAs<DeformTimeline>(d, 1);
  ASSERT_NE(bent, nullptr);
  EXPECT_EQ(floats(bent->getVertices()[0]), (std::vector<float>(6, 0)));
  EXPECT_EQ(floats(bent->getVertices()[1]), (std::vector<float>{0, 0, 0, 0, 2, 4}));
  EXPECT_EQ(d->getDuration(), 2);
}

TEST_F(SkeletonJsonTest, DrawOrderKeysMoveNamedSlotsAndKeepTheRestInOrder) {
  const std::string slots =
      "'bones':[{'name':'root'}],'slots':[{'name':'a','bone':'root'},{'name':'b','bone':'root'},"
      "{'name':'c','bone':'root'},{'name':'d','bone':'root'},{'name':'e','bone':'root'}]";
  auto data = load(J("{" + slots +
                     ",'animations':{'o':{'draworder':[{'time':0.5,'offsets':[{'slot':'b','offset':2},"
                     "{'slot':'d','offset':-3}]},{'time':1},{'time':2,'offsets':[]}]}}}"));
  ASSERT_NE(data, nullptr);
  auto* order = timelineAs<DrawOrderTimeline>(data->getAnimations()[0], 0);
  ASSERT_NE(order, nullptr);
  const Vector<Vector<int>>& keys = order->getDrawOrders();
  EXPECT_EQ(std::vector<int>(keys[0].begin(), keys[0].end()), (std::vector<int>{3, 0, 2, 1, 4}));
  EXPECT_TRUE(keys[1].isEmpty());  // the setup order
  EXPECT_EQ(std::vector<int>(keys[2].begin(), keys[2].end()), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(data->getAnimations()[0]->getDuration(), 2);

  auto key = [&](const std::string& offsets) {
    return J("{" + slots + ",'animations':{'o':{'drawOrder':[{'offsets':[" + offsets + "]}]}}}");
  };
  expectErrors({
      {key("{'slot':'e','offset':1}"), "Draw order offset out of range: e"},
      {key("{'slot':'a','offset':-1}"), "Draw order offset out of range: a"},
      {key("{'slot':'b','offset':1},{'slot':'c'}"), "Draw order position taken twice: c"},
      {key("{'slot':'d','offset':-1},{'slot':'b','offset':1}"), "Draw order slot out of order: b"},
      {key("{'slot':'b','offset':1},{'slot':'b','offset':2}"), "Draw order slot out of order: b"},
      {key("{'slot':'z','offset':1}"), "Slot not found: z"},
  });
}

TEST_F(SkeletonJsonTest, EventKeysStartFromTheirEventData) {
  auto data =
      load(J("{'events':{'step':{'int':3,'float':1.5,'string':'left'},'boom':{'audio':'boom.wav'}},"
             "'animations':{'e':{'events':[{'time':0.5,'name':'step','volume':0.5},"
             "{'time':1,'name':'step','int':7,'string':'right'},"
             "{'time':1,'name':'boom','volume':0.25}]}}}"));
  ASSERT_NE(data, nullptr);
  auto* timeline = timelineAs<EventTimeline>(data->getAnimations()[0], 0);
  ASSERT_NE(timeline, nullptr);
  EXPECT_EQ(floats(timeline->getFrames()), (std::vector<float>{0.5f, 1, 1}));
  const Vector<Event*>& events = timeline->getEvents();
  EXPECT_EQ(&events[0]->getData(), data->findEvent(String("step")));
  EXPECT_EQ(events[0]->getIntValue(), 3);
  EXPECT_STREQ(events[0]->getStringValue().buffer(), "left");
  EXPECT_EQ(events[0]->getVolume(), 1);  // no audio, so no volume
  EXPECT_EQ(events[1]->getIntValue(), 7);
  EXPECT_EQ(events[1]->getFloatValue(), 1.5f);
  EXPECT_STREQ(events[1]->getStringValue().buffer(), "right");
  EXPECT_EQ(events[2]->getVolume(), 0.25f);
  EXPECT_EQ(events[2]->getBalance(), 0);
}

TEST_F(SkeletonJsonTest, AnimationsReportWhatTheyCannotFind) {
  auto animation = [](const std::string& body) {
    return withRig(
        "'ik':[{'name':'k','bones':['arm'],'target':'root'}],"
        "'skins':[{'name':'default','attachments':{'s0':{'head':{},"
        "'box':{'type':'boundingbox','vertexCount':2,'vertices':[0,0,1,1]}}}}],"
        "'animations':{'ok':{'bones':{'arm':{'rotate':[{'time':1}]}}},'bad':{" +
        body + "}}");
  };
  expectErrors({
      {animation("'slots':{'s9':{'color':[{}]}}"), "Slot not found: s9"},
      {animation("'slots':{'s0':{'blink':[{}]}}"), "Invalid timeline type for a slot: blink"},
      {animation("'bones':{'leg':{'rotate':[{}]}}"), "Bone not found: leg"},
      {animation("'bones':{'arm':{'bend':[{}]}}"), "Invalid timeline type for a bone: bend"},
      {animation("'ik':{'k9':[{}]}"), "IK constraint not found: k9"},
      {animation("'transform':{'k':[{}]}"), "Transform constraint not found: k"},
      {animation("'path':{'k':{'mix':[{}]}}"), "Path constraint not found: k"},
      {animation("'deform':{'blue':{'s0':{'box':[{}]}}}"), "Skin not found: blue"},
      {animation("'deform':{'default':{'s9':{'box':[{}]}}}"), "Slot not found: s9"},
      {animation("'deform':{'default':{'s1':{'box':[{}]}}}"), "Attachment not found: box"},
      {animation("'deform':{'default':{'s0':{'head':[{}]}}}"), "Attachment not found: head"},
      {animation("'deform':{'default':{'s0':{'box':[{'offset':3,'vertices':[1,1]}]}}}"),
       "Deform key too long for attachment: box"},
      {animation("'deform':{'default':{'s0':{'box':[{'offset':-1,'vertices':[1]}]}}}"),
       "Deform key too long for attachment: box"},
      {animation("'events':[{'name':'nope'}]"), "Event not found: nope"},
  });
}

TEST_F(SkeletonJsonTest, FilesAreReadWholeAndFailuresNameThePath) {
  tarn_test::TempDir dir;
  std::string path = dir.Write("char.json", J("{'bones':[{'name':'root'}]}"));
  std::unique_ptr<SkeletonData> data(reader.readSkeletonDataFile(String(path.c_str())));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->getBones().size(), 1u);

  std::string missing = dir.File("missing.json");
  EXPECT_EQ(reader.readSkeletonDataFile(String(missing.c_str())), nullptr);
  EXPECT_EQ(std::string(reader.getError().buffer()), "Unable to read skeleton file: " + missing);
  std::string empty = dir.Write("empty.json", "");
  EXPECT_EQ(reader.readSkeletonDataFile(String(empty.c_str())), nullptr);
  EXPECT_EQ(std::string(reader.getError().buffer()), "Unable to read skeleton file: " + empty);
}

TEST_F(SkeletonJsonTest, SyntaxErrorsAreRefusedAtTheirLineAndColumn) {
  // The reader would keep what came before the error: a skeleton with parts
  // silently missing. The column counts bytes.
  expectErrors({
      {J("{'bones':[{'name':'root'},{'name':'arm','parent':'root','x':"), "Invalid skeleton JSON: line 1, column 61"},
      {J("{'bones':[{'name':'root'}\n  {'name':'arm'}]}"), "Invalid skeleton JSON: line 2, column 3"},
      {J("{'bones':[{'name':'\xe8\x85\x95' 'parent':'root'}]}"), "Invalid skeleton JSON: line 1, column 25"},
      {"not json at all", "Invalid skeleton JSON: line 1, column 1"},
      {"  \n", "Invalid skeleton JSON: line 2, column 1"},
      // Whole texts, but no skeleton.
      {J("[{'bones':[{'name':'root'}]}]"), "Invalid skeleton JSON: the text is not an object"},
      {"7", "Invalid skeleton JSON: the text is not an object"},
      {"null", "Invalid skeleton JSON: the text is not an object"},
  });
  // Sections of the wrong kind read as what their children hold.
  auto odd = load(J("{'skeleton':7,'bones':5,'slots':'x','skins':{'a':1},'events':[1],'animations':[[],{}]}"));
  ASSERT_NE(odd, nullptr);
  EXPECT_EQ(odd->getSkins().size(), 1u);
  EXPECT_EQ(odd->getAnimations().size(), 2u);
}
