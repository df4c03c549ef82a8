// skelview's editing with no window: the document gives back its bytes, an
// edit touches only its own text, and every command is checked by loading the
// saved text with the runtime and posing it, not through the editor's code.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "skel/Animation.h"
#include "skel/Atlas.h"
#include "skel/Bone.h"
#include "skel/BoneData.h"
#include "skel/Json.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "skel/Slot.h"
#include "skel/VertexAttachment.h"
#include "skeledit/Editor.h"
#include "skeledit/JsonWriter.h"
#include "skeledit/Script.h"

namespace {

using tarn_test::TempDir;

const char* const kAtlas = "skel_data/Char01.atlas";
const char* const kJson = "skel_data/Char01.json";

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream s(text);
  for (std::string line; std::getline(s, line);) lines.push_back(line);
  return lines;
}

// Every bone's world transform, in bone order, then the world vertices of
// every slot's mesh or other vertex attachment.
using Pose = std::vector<float>;

// The text loaded by the runtime and posed as the game poses it: the setup
// pose, then the animation (if any) at time.
Pose PoseOf(const std::string& json, const char* animation = nullptr, float time = 0, bool vertices = false) {
  skel::Atlas atlas(skel::String(kAtlas), nullptr);
  skel::SkeletonJson reader(&atlas);
  std::unique_ptr<skel::SkeletonData> data(reader.readSkeletonData(json.c_str()));
  EXPECT_TRUE(data) << reader.getError().buffer();
  if (!data) return {};
  skel::Skeleton skeleton(data.get());
  skeleton.setBonesToSetupPose();
  if (animation) {
    skel::Animation* found = data->findAnimation(skel::String(animation));
    EXPECT_TRUE(found) << animation;
    if (found) found->apply(skeleton, time, time, false, nullptr, 1, skel::MixBlend::Setup, skel::MixDirection::In);
  }
  skeleton.updateWorldTransform();
  Pose pose;
  for (skel::Bone* bone : skeleton.getBones())
    for (float v : {bone->getA(), bone->getB(), bone->getC(), bone->getD(), bone->getWorldX(), bone->getWorldY()})
      pose.push_back(v);
  if (vertices) {
    pose.clear();
    skeleton.setSlotsToSetupPose();
    for (skel::Slot* slot : skeleton.getSlots()) {
      skel::Attachment* attachment = slot->getAttachment();
      if (!attachment || !attachment->getRTTI().instanceOf(skel::VertexAttachment::rtti)) continue;
      auto* mesh = static_cast<skel::VertexAttachment*>(attachment);
      std::vector<float> world(mesh->getWorldVerticesLength());
      mesh->computeWorldVertices(*slot, 0, world.size(), world.data(), 0, 2);
      pose.insert(pose.end(), world.begin(), world.end());
    }
  }
  return pose;
}

void ExpectSamePose(const Pose& a, const Pose& b, const std::string& what) {
  ASSERT_EQ(a.size(), b.size()) << what;
  for (size_t i = 0; i < a.size(); ++i) ASSERT_NEAR(a[i], b[i], 1e-3f) << what << " at value " << i;
}

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    original_ = Slurp(kJson);
    json_ = dir_.Write("Char01.json", original_);
    std::string error;
    ASSERT_TRUE(editor_.Open(kAtlas, json_, error)) << error;
  }
  // Runs the lines as a script and expects them done.
  void Run(const std::string& script) {
    std::string error;
    ASSERT_TRUE(skeledit::RunScript(editor_, script, error)) << error;
  }
  // Which line of Char01 the edited text changed, the texts having the same lines count.
  std::vector<size_t> ChangedLines() const {
    const std::vector<std::string> before = Lines(original_), after = Lines(editor_.Text());
    std::vector<size_t> changed;
    EXPECT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size() && i < after.size(); ++i)
      if (before[i] != after[i]) changed.push_back(i);
    return changed;
  }

  TempDir dir_;
  std::string original_, json_;
  skeledit::Editor editor_;
};

TEST_F(EditorTest, SavesTheSameBytesWithNoEditOrAnEditUndone) {
  std::string error;
  ASSERT_TRUE(editor_.Save("", error)) << error;
  EXPECT_EQ(Slurp(json_), original_);
  Run("set bone hip rotation 12\nrename bone torso chest\nundo\nundo\n");
  EXPECT_FALSE(editor_.Modified());
  ASSERT_TRUE(editor_.Save("", error)) << error;
  EXPECT_EQ(Slurp(json_), original_);
  // The file replaced is kept beside the new one.
  Run("set bone hip rotation 12");
  ASSERT_TRUE(editor_.Save("", error)) << error;
  EXPECT_EQ(Slurp(json_ + ".bak"), original_);
  EXPECT_EQ(Slurp(json_), editor_.Text());
  EXPECT_FALSE(editor_.Modified());
}

TEST_F(EditorTest, ASaveThatCannotBeWrittenSaysWhyAndLeavesTheFile) {
  Run("set bone hip rotation 12");
  std::string error;
  EXPECT_FALSE(editor_.Save(dir_.File("none/x.json"), error));
  EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
  ASSERT_TRUE(tarn_test::MakeOddFile(dir_.File("odd.json"), tarn_test::OddFile::Directory));
  EXPECT_FALSE(editor_.Save(dir_.File("odd.json"), error));
  EXPECT_NE(error.find("is not a regular file"), std::string::npos) << error;
  EXPECT_TRUE(editor_.Modified());
  EXPECT_EQ(Slurp(json_), original_);
}

TEST_F(EditorTest, AnEditChangesOnlyItsOwnLine) {
  Run("set bone hip rotation 95.5");
  ASSERT_EQ(ChangedLines(), std::vector<size_t>{4});
  EXPECT_EQ(Lines(editor_.Text())[4],
            R"(    {"name": "hip", "parent": "root", "length": 90, "y": 700, "rotation": 95.5},)");
  // A field the bone did not have goes into the bone's own object, on its line.
  Run("undo\nset bone torso shearY 0.1");
  ASSERT_EQ(ChangedLines(), std::vector<size_t>{5});
  EXPECT_NE(Lines(editor_.Text())[5].find(R"("x": 90, "shearY": 0.1})"), std::string::npos);
}

TEST(JsonNumber, ReadsBackAsTheSameFloatAndIsShortest) {
  EXPECT_EQ(skeledit::JsonNumber(0.1f), "0.1");
  EXPECT_EQ(skeledit::JsonNumber(-173.1f), "-173.1");
  EXPECT_EQ(skeledit::JsonNumber(90.f), "90");
  EXPECT_EQ(skeledit::JsonNumber(-0.f), "0");
  std::mt19937 random(36);
  std::uniform_int_distribution<uint32_t> bits;
  std::vector<float> values = {1e-45f, 3.4028235e38f, 1.17549435e-38f, 0.3f, 2.2f, 1e10f, 123456.789f};
  for (int i = 0; i < 20000; ++i) {
    float value;
    uint32_t b = bits(random);
    std::memcpy(&value, &b, sizeof value);
    if (std::isfinite(value)) values.push_back(value);
  }
  for (float value : values) {
    const std::string text = skeledit::JsonNumber(value);
    ASSERT_EQ(skel::Json(text.c_str()).getValueFloat(), value) << text;
  }
}

TEST_F(EditorTest, EachCommandPosesAsTheRuntimeReadsIt) {
  const Pose setup = PoseOf(original_);
  // A set turns the bone: the hip's world rotation follows its new angle.
  Run("set bone hip rotation 45");
  {
    const Pose turned = PoseOf(editor_.Text());
    const size_t hip = 1 * 6;
    EXPECT_NEAR(std::atan2(turned[hip + 2], turned[hip]) * 180 / M_PI, 45, 1e-3);
  }
  // Undo and redo give back each pose.
  Run("undo");
  ExpectSamePose(PoseOf(editor_.Text()), setup, "undone");
  Run("redo");
  EXPECT_NEAR(PoseOf(editor_.Text())[1 * 6 + 2], std::sin(45 * M_PI / 180), 1e-5);

  // A key poses the bone at its time: the angle adds to the setup rotation.
  Run("undo\nkey lean bone hip rotate 0.5 30\nkey lean bone hip translate 0.5 10 -4\nkey lean bone hip scale 1 2 1");
  const Pose keyed = PoseOf(editor_.Text(), "lean", 0.5f);
  EXPECT_NEAR(std::atan2(keyed[6 + 2], keyed[6]) * 180 / M_PI, 120, 1e-3);
  EXPECT_NEAR(keyed[6 + 4], setup[6 + 4] + 10, 1e-3);
  EXPECT_NEAR(keyed[6 + 5], setup[6 + 5] - 4, 1e-3);
  // A key at a time already keyed replaces it; unkey takes it away.
  Run("key lean bone hip rotate 0.5 -10");
  EXPECT_NEAR(std::atan2(PoseOf(editor_.Text(), "lean", 0.5f)[8], PoseOf(editor_.Text(), "lean", 0.5f)[6]) * 180 / M_PI,
              80, 1e-3);
  // A key moved poses at its new time as it did at its old.
  Run("unkey lean bone hip scale 1");
  const Pose before = PoseOf(editor_.Text(), "lean", 0.5f);
  Run("key lean bone hip translate 0 0 0\nmove key lean bone hip translate 0.5 2");
  ExpectSamePose(PoseOf(editor_.Text(), "lean", 2), before, "moved key");
  Run("move key lean bone hip translate 2 0.5\nunkey lean bone hip translate 0");
  Run("unkey lean bone hip rotate 0.5\nunkey lean bone hip translate 0.5");
  ExpectSamePose(PoseOf(editor_.Text(), "lean", 0.5f), setup, "unkeyed");
}

TEST_F(EditorTest, RenameLeavesEveryPoseAndRetimeStretchesTime) {
  const float times[] = {0, 0.3f, 0.75f, 1.1f, 2.5f};
  const char* const animations[] = {"idle", "wave"};
  // Bones, and the meshes with their deform keys (the scarf's slot is renamed).
  std::vector<Pose> before;
  for (const char* animation : animations)
    for (float t : times)
      for (bool vertices : {false, true}) before.push_back(PoseOf(original_, animation, t, vertices));
  Run("rename bone hip pelvis\nrename bone head Head2\nrename slot scarf \"long scarf\"\nrename event wave greet\n"
      "rename animation idle \"stand still\"\nrename skin 0_1 captain");
  size_t i = 0;
  for (const char* animation : {"stand still", "wave"})
    for (float t : times)
      for (bool vertices : {false, true})
        ExpectSamePose(PoseOf(editor_.Text(), animation, t, vertices), before[i++], animation);
  Run("retime wave 2");
  i = 2 * std::size(times);
  for (float t : times)
    for (bool vertices : {false, true})
      ExpectSamePose(PoseOf(editor_.Text(), "wave", 2 * t, vertices), before[i++], "retimed");
}

TEST_F(EditorTest, RefusesWhatCannotBeDoneAndNamesTheLine) {
  const struct {
    const char* script;
    const char* why;
  } cases[] = {
      {"set bone hip rotation 1\n# fine so far\nset bone nobody x 1", "line 3: no bone named \"nobody\""},
      {"set bone hip rotation ten", "line 1: rotation must be a number, not \"ten\""},
      {"set bone hip rotation 1e999", "line 1: rotation must be a number"},
      {"add bone torso parent root", "line 1: there is already a bone named \"torso\""},
      {"delete bone hip",
       "line 1: bone \"hip\" is used by bone \"torso\", bone \"thigh-R\", bone \"thigh-L\", slot "
       "\"coat-skirt\""},
      {"rename slot coat head", "line 1: there is already a slot named \"head\""},
      {"attach coat no-such-region", "line 1: the atlas has no region named \"no-such-region\""},
      {"order slot coat to 3", "line 1: animation \"wave\" keys the draw order"},
      {"key idle bone hip rotate -1 5", "line 1: a key's time cannot be below 0"},
      {"unkey idle bone hip rotate 7", "line 1: animation \"idle\" has no rotate key"},
      {"undo", "line 1: nothing to undo"},
      {"add bone \"open quote parent root", "line 1: a quote is not closed"},
      {"frobnicate", "line 1: unknown command: frobnicate"},
  };
  for (const auto& c : cases) {
    std::string error;
    skeledit::Editor editor;
    ASSERT_TRUE(editor.Open(kAtlas, json_, error)) << error;
    EXPECT_FALSE(skeledit::RunScript(editor, c.script, error)) << c.script;
    EXPECT_EQ(error.rfind(c.why, 0), 0u) << c.script << "\n  gave: " << error;
  }
}

TEST_F(EditorTest, DeletesAnUnusedBoneAndAddsWhereTheLoaderLooks) {
  // Weighted meshes count bones by place: those after Face are renumbered.
  const Pose meshes = PoseOf(original_, "idle", 0.5f, true);
  ASSERT_FALSE(meshes.empty());
  Run("add bone \"tail tip\" parent hip x 10 rotation 0.1\nadd slot tail bone \"tail tip\" attachment hat\n"
      "delete bone Face");
  ExpectSamePose(PoseOf(editor_.Text(), "idle", 0.5f, true), meshes, "meshes after a delete");
  skel::Atlas atlas(skel::String(kAtlas), nullptr);
  std::unique_ptr<skel::SkeletonData> data(skel::SkeletonJson(&atlas).readSkeletonData(editor_.Text().c_str()));
  ASSERT_TRUE(data);
  EXPECT_FALSE(data->findBone(skel::String("Face")));
  ASSERT_TRUE(data->findBone(skel::String("tail tip")));
  EXPECT_FLOAT_EQ(data->findBone(skel::String("tail tip"))->getRotation(), 0.1f);
}

TEST(NewSkeleton, StartsWithOneRootBone) {
  TempDir dir;
  skeledit::Editor editor;
  std::string error;
  ASSERT_TRUE(editor.Open(kAtlas, dir.File("new.json"), error)) << error;
  EXPECT_TRUE(editor.IsNew());
  EXPECT_TRUE(editor.Modified());
  ASSERT_EQ(editor.Data()->getBones().size(), 1u);
  EXPECT_STREQ(editor.Data()->getBones()[0]->getName().buffer(), "root");
}

}  // namespace
