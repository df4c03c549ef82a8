// skelview's clock, loading and helpers, over the project's Char01
// skeleton loaded without textures (no window needed).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Content.h"
#include "Layout.h"
#include "Pick.h"
#include "Playback.h"
#include "RenderSheet.h"
#include "TempDir.h"
#include "Text.h"
#include "framework/skel/SkelAnimation.h"
#include "skel/Animation.h"
#include "skel/AnimationState.h"
#include "skel/Atlas.h"
#include "skel/Bone.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "skel/Slot.h"
#include "skel/TrackEntry.h"
#include "skelcheck/JsonSyntax.h"
#include "tarn/Path.h"

namespace {

using skelview::Playback;
using tarn_test::TempDir;

constexpr double kFrame = skelview::kFrameSeconds;

class PlaybackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    atlas = std::make_unique<skel::Atlas>(skel::String("skel_data/Char01.atlas"), nullptr);
    skel::SkeletonJson json(atlas.get());
    data.reset(json.readSkeletonDataFile(skel::String("skel_data/Char01.json")));
    ASSERT_TRUE(data) << json.getError().buffer();
    sprite = std::make_unique<TarnSkel::SkelAnimation>(data.get());
    playback = std::make_unique<Playback>(*sprite);
    idle = playback->FindAnimation("idle");
    wave = playback->FindAnimation("wave");
    ASSERT_GE(idle, 0);
    ASSERT_GE(wave, 0);
  }
  void TearDown() override {
    playback.reset();
    sprite.reset();
  }
  // Plays on frame by frame for seconds, gathering the events fired.
  std::vector<std::string> Play(double seconds) {
    std::vector<std::string> fired;
    for (int i = 0; i < static_cast<int>(std::lround(seconds / kFrame)); ++i) {
      playback->Advance(kFrame);
      playback->Place({0, 0, 1});
      for (std::string& e : playback->TakeEvents()) fired.push_back(e);
    }
    return fired;
  }
  // World positions of every bone, after placing the skeleton.
  std::vector<float> Pose() {
    playback->Place({100, 200, 0.5f});
    std::vector<float> out;
    for (skel::Bone* bone : sprite->skeleton->getBones()) {
      out.push_back(bone->getWorldX());
      out.push_back(bone->getWorldY());
    }
    return out;
  }
  void ExpectSamePose(const std::vector<float>& a, const std::vector<float>& b, const char* what) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(a[i], b[i], 0.05f) << what << ", value " << i;
  }

  std::unique_ptr<skel::Atlas> atlas;
  std::unique_ptr<skel::SkeletonData> data;
  std::unique_ptr<TarnSkel::SkelAnimation> sprite;
  std::unique_ptr<Playback> playback;
  int idle = -1, wave = -1;
};

TEST_F(PlaybackTest, EventsFireOnceWhenPlayedAndNeverWhenSeekingOrHeld) {
  playback->Select(wave);
  // "wave" keys its event at 0.6 s and 1.1 s.
  EXPECT_EQ(Play(1.0), std::vector<std::string>{"wave \"hello\""});
  // Held: posed every frame, the state applied again, nothing new fires.
  for (int i = 0; i < 30; ++i) playback->Place({0, 0, 1});
  EXPECT_TRUE(playback->TakeEvents().empty());
  // A jump over an event does not fire it; playing on from there fires the next only.
  playback->Seek(0.7);
  EXPECT_TRUE(playback->TakeEvents().empty());
  EXPECT_EQ(Play(0.5).size(), 1u);
  // Round the loop's end, the first event fires again.
  playback->Seek(1.5);
  EXPECT_EQ(Play(1.2).size(), 1u);
  EXPECT_NEAR(playback->Time(), 0.7, 1e-6);
}

TEST_F(PlaybackTest, TheClockLoopsOrStopsAtTheEndAndSeekStaysInRange) {
  playback->Select(wave);
  EXPECT_DOUBLE_EQ(playback->Duration(), 2.0);
  EXPECT_TRUE(playback->Advance(1.5));
  EXPECT_TRUE(playback->Advance(1.0));
  EXPECT_NEAR(playback->Time(), 0.5, 1e-6);

  playback->SetLoop(false);
  EXPECT_NEAR(playback->Time(), 0.5, 1e-6) << "toggling the loop keeps the time";
  EXPECT_TRUE(playback->Advance(1.0));
  EXPECT_FALSE(playback->Advance(1.0));
  EXPECT_DOUBLE_EQ(playback->Time(), 2.0);
  const std::vector<float> last = Pose();
  EXPECT_FALSE(playback->Advance(kFrame));
  ExpectSamePose(Pose(), last, "held on the last frame");

  for (const auto& [asked, got] : {std::pair<double, double>{-1, 0}, {99, 2}, {NAN, 0}, {INFINITY, 0}}) {
    playback->Seek(asked);
    EXPECT_DOUBLE_EQ(playback->Time(), got) << asked;
  }
  // A seek poses exactly what playing to that time poses.
  playback->SetLoop(true);
  playback->Seek(0);
  Play(1.25);
  const std::vector<float> played = Pose();
  playback->Seek(1.25);
  ExpectSamePose(Pose(), played, "seek against play");
}

TEST_F(PlaybackTest, TheMixPreviewPlaysTheFirstOnceThenCrossFadesIntoTheSecond) {
  playback->Select(idle);
  playback->SetMix(wave, 0.5);
  EXPECT_DOUBLE_EQ(playback->Duration(), 3.0 + 2.0);
  Play(3.25);
  skel::TrackEntry* entry = sprite->state->getCurrent(0);
  ASSERT_NE(entry, nullptr);
  EXPECT_STREQ(entry->getAnimation()->getName().buffer(), "wave");
  ASSERT_NE(entry->getMixingFrom(), nullptr) << "the idle run was dropped instead of mixed from";
  EXPECT_STREQ(entry->getMixingFrom()->getAnimation()->getName().buffer(), "idle");
  EXPECT_NEAR(entry->getMixDuration(), 0.5, 1e-6);
  const std::vector<float> mixing = Pose();

  // Seeking into the mix gives the same cross-fade as playing into it.
  playback->Seek(3.25);
  ExpectSamePose(Pose(), mixing, "seek into the mix");
  // Neither animation alone poses it.
  playback->SetMix(-1, 0.5);
  EXPECT_DOUBLE_EQ(playback->Duration(), 3.0);
  playback->Select(wave);
  playback->Seek(0.25);
  const std::vector<float> waveAlone = Pose();
  float apart = 0;
  for (size_t i = 0; i < waveAlone.size(); ++i) apart = std::max(apart, std::fabs(waveAlone[i] - mixing[i]));
  EXPECT_GT(apart, 1.0f);

  // Looping, the preview starts over from the first animation.
  playback->Select(idle);
  playback->SetMix(wave, 0.5);
  playback->Seek(4.9);
  Play(0.2);
  EXPECT_NEAR(playback->Time(), 0.1, 1e-6);
  EXPECT_STREQ(sprite->state->getCurrent(0)->getAnimation()->getName().buffer(), "idle");
}

// wave (2 s) has events at 0.6 s (int 1) and 1.1 s (int 2).
TEST_F(PlaybackTest, EachFramesDataHoldsTheEventsThatComeWhileItShows) {
  const skel::Animation& animation = *data->findAnimation(skel::String("wave"));
  const struct {
    double fps;
    std::vector<int> frames;  // those with an event, in the first 2.5 loops
    std::vector<int> values;
  } cases[] = {
      // On a frame's own time; the loop comes round at frame 20.
      {10, {6, 11, 26, 31, 46}, {1, 2, 1, 2, 1}},
      // Between frames' times: with the frame showing then.
      {3, {1, 3, 7, 9, 13}, {1, 2, 1, 2, 1}},
      {1, {0, 1, 2, 3, 4}, {1, 2, 1, 2, 1}},
  };
  for (const auto& c : cases) {
    std::vector<int> frames, values;
    for (int k = 0; k < static_cast<int>(std::lround(5 * c.fps)); ++k) {
      for (const skelview::FrameEvent& event : skelview::FrameEvents(animation, k, c.fps)) {
        frames.push_back(k);
        values.push_back(event.intValue);
        EXPECT_EQ(event.name, "wave");
        EXPECT_EQ(event.stringValue, "hello");
      }
    }
    EXPECT_EQ(frames, c.frames) << c.fps << " fps";
    EXPECT_EQ(values, c.values) << c.fps << " fps";
  }
}

// What the viewer's red line says when a reload fails: skelcheck's first
// problem line for the same files. {a} and {j} stand for the two paths.
TEST(SkelviewContent, AFailedLoadSaysWhatSkelcheckSaysFirst) {
  TempDir dir;
  std::vector<unsigned char> atlasText;
  ASSERT_TRUE(tarn::ReadFile("skel_data/Char01.atlas", atlasText));
  const std::string atlas = dir.Write("Char01.atlas", std::string(atlasText.begin(), atlasText.end()));
  std::vector<unsigned char> page;
  ASSERT_TRUE(tarn::ReadFile("skel_data/Char01.png", page));
  dir.Write("Char01.png", std::string(page.begin(), page.end()));
  const std::string json = dir.File("Char01.json");
  const struct {
    const char* text;   // null: no file
    const char* error;  // empty: it loads
  } cases[] = {
      {"{\"bones\": [{\"name\": \"root\"}]}", ""},
      {"{\"skeleton\": {\"version\": ", "{j}:1:26: unexpected end of file, expected a value"},
      {"{\n  \"bones\": [\n    {\"name\": root}\n  ]\n}", "{j}:3:14: expected a value"},
      {"garbage", "{j}:1:1: expected a value"},
      {"{\"bones\": [{\"name\": \"root\"}, {\"name\": \"arm\", \"parent\": \"neck\"}]}",
       "{j}:1:56: bones/arm/parent: no bone named \"neck\""},
      {"{}", "{j}: the skeleton has no bones"},
      {nullptr, "cannot read {j}: No such file or directory"},
  };
  for (const auto& c : cases) {
    std::remove(json.c_str());
    if (c.text) dir.Write("Char01.json", std::string(c.text));
    std::string expected = c.error;
    for (size_t at = expected.find("{j}"); at != std::string::npos; at = expected.find("{j}"))
      expected.replace(at, 3, json);
    TarnSkel::SkelData out;
    std::string error = "stale";
    // Twice: a reload of the same broken file must fail the same way.
    for (int load = 0; load < 2; ++load) {
      const bool loaded = skelview::LoadContent(atlas, json, out, error, false);
      EXPECT_EQ(loaded, expected.empty()) << c.error;
      EXPECT_EQ(error, expected) << "load " << load;
      EXPECT_EQ(out.skeletonData != nullptr, loaded);
    }
  }
  dir.Write("Char01.json", std::string("{}"));
  std::string error;
  TarnSkel::SkelData out;
  EXPECT_FALSE(skelview::LoadContent(json, atlas, out, error, false));
  EXPECT_EQ(error, "the arguments are the wrong way round: " + json + " is a skeleton JSON and " + atlas +
                       " looks like an atlas; give the atlas first");
  // The reader keeps its last error position across parses; text read into
  // the same buffer with the error at the same place is still an error.
  const std::string cut = "{\"bones\": [";
  for (int parse = 0; parse < 2; ++parse) EXPECT_TRUE(skelcheck::CheckJsonSyntax(cut).failed) << "parse " << parse;
  EXPECT_FALSE(skelcheck::CheckJsonSyntax("{\"bones\": []}").failed);
}

// Times are seconds on the viewer's steady clock; a change is taken once the
// files have kept still for a quarter of a second, however few frames passed.
TEST(SkelviewContent, AWatchReportsAChangeOnceTheFilesKeepStill) {
  TempDir dir;
  const std::string a = dir.Write("a.json", std::string("{}")), b = dir.Write("b.png", std::string("x"));
  skelview::FileWatch watch;
  watch.Watch({a, b});
  EXPECT_FALSE(watch.Poll(0.0));
  dir.Write("b.png", std::string("xy"));
  EXPECT_FALSE(watch.Poll(1.0)) << "changed this poll: maybe still being written";
  EXPECT_FALSE(watch.Poll(1.2)) << "still for less than a quarter of a second";
  EXPECT_TRUE(watch.Poll(1.25));
  EXPECT_FALSE(watch.Poll(1.3)) << "reported once";
  // Written again while settling: the quarter second starts over.
  dir.Write("a.json", std::string("{1"));
  EXPECT_FALSE(watch.Poll(2.0));
  dir.Write("a.json", std::string("{12"));
  EXPECT_FALSE(watch.Poll(2.2));
  EXPECT_FALSE(watch.Poll(2.4));
  EXPECT_TRUE(watch.Poll(2.45));
  // A file that goes away is a change too; one poll long after is enough.
  std::remove(b.c_str());
  EXPECT_FALSE(watch.Poll(3.0));
  EXPECT_TRUE(watch.Poll(9.0));
}

// A pixel read over black and over white, and what the sheet holds for it.
TEST(SkelviewSheet, StraightAlphaComesFromTheFrameOverBlackAndOverWhite) {
  const struct {
    const char* what;
    std::vector<uint8_t> black, white, straight;
  } cases[] = {
      {"nothing drawn", {0, 0, 0, 255}, {255, 255, 255, 255}, {0, 0, 0, 0}},
      {"opaque", {12, 200, 99, 255}, {12, 200, 99, 255}, {12, 200, 99, 255}},
      // (255, 0, 0) at alpha 128: the art's own colour and alpha.
      {"half red", {128, 0, 0, 255}, {255, 127, 127, 255}, {255, 0, 0, 128}},
      {"faint grey", {3, 3, 3, 255}, {250, 250, 250, 255}, {96, 96, 96, 8}},
      // A grey Multiply over nothing darkens what is behind: black, half covering.
      {"multiply", {0, 0, 0, 255}, {128, 128, 128, 255}, {0, 0, 0, 127}},
      // Light added over nothing: the alpha its brightest channel needs.
      {"additive", {0, 64, 128, 255}, {255, 255, 255, 255}, {0, 128, 255, 128}},
      {"rounding past white", {0, 0, 0, 255}, {0, 1, 0, 255}, {0, 0, 0, 255}},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> out;
    skelview::StraightAlpha(c.black, c.white, out);
    EXPECT_EQ(out, c.straight) << c.what;
  }
}

TEST(SkelviewLayout, BoundsAreCentredAndFittedOnTheTighterSide) {
  // 100 x 200 bounds from (-50, 0) in a 400 x 400 area: height decides.
  const skelview::Placement p = skelview::FitBounds(-50, 0, 100, 200, 400, 400);
  EXPECT_FLOAT_EQ(p.scale, 0.9f * 400 / 200);
  // The bounds' centre (0, 100) lands on the area's centre (y runs down).
  EXPECT_FLOAT_EQ(p.x + 0 * p.scale, 200);
  EXPECT_FLOAT_EQ(p.y - 100 * p.scale, 200);
  EXPECT_FLOAT_EQ(skelview::FitBounds(0, 0, 0, 0, 400, 300).scale, 1.0f) << "no bounds: unscaled";
  const skelview::Area view = skelview::ViewArea(1280, 720);
  EXPECT_EQ(view.width, 1280 - skelview::kPanelWidth);
  EXPECT_EQ(view.height, 720 - skelview::kTimeBarHeight);
  EXPECT_EQ(skelview::ViewArea(100, 50).width, 1) << "a window smaller than the panel";
}

TEST(SkelviewLayout, TheCameraZoomsAboutThePointerAndStaysInItsRange) {
  const skelview::Placement fit{300, 200, 2};
  // Where the skeleton point (10, 5) shows (y runs down on screen).
  auto shown = [](const skelview::Placement& p, float x, float y) {
    return std::pair{p.x + x * p.scale, p.y - y * p.scale};
  };
  skelview::Camera camera;
  EXPECT_EQ(shown(skelview::ApplyCamera(camera, fit), 10, 5), shown(fit, 10, 5)) << "a fresh camera shows the fit";
  const auto [px, py] = shown(fit, 10, 5);
  skelview::ZoomAbout(camera, 1.25f, px, py);
  skelview::ZoomAbout(camera, 1.25f, px, py);
  const skelview::Placement zoomed = skelview::ApplyCamera(camera, fit);
  EXPECT_FLOAT_EQ(zoomed.scale, 2 * 1.5625f);
  EXPECT_NEAR(shown(zoomed, 10, 5).first, px, 1e-3);
  EXPECT_NEAR(shown(zoomed, 10, 5).second, py, 1e-3);
  // Zoomed out past the range, the point under the pointer still stays.
  skelview::ZoomAbout(camera, 1e-9f, 50, 60);
  EXPECT_FLOAT_EQ(camera.zoom, skelview::kMinZoom);
  const auto before = shown(skelview::ApplyCamera(camera, fit), 0, 0);
  skelview::ZoomAbout(camera, 1e-9f, before.first, before.second);
  EXPECT_NEAR(shown(skelview::ApplyCamera(camera, fit), 0, 0).first, before.first, 1e-3) << "held at the least zoom";
  skelview::ZoomAbout(camera, 1e30f, 0, 0);
  EXPECT_FLOAT_EQ(camera.zoom, skelview::kMaxZoom);
}

// Four slots in skeleton units (y up): a 100-unit square behind, a square
// ring with a hole over it, an L to the right and a small square in front
// over the ring's corner.
class SkelviewPick : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string atlasText = "page.png\nsize: 64,64\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n";
    for (const char* name : {"square", "ring", "ell"}) {
      atlasText += std::string(name) +
                   "\n  rotate: false\n  xy: 0, 0\n  size: 16, 16\n  orig: 16, 16\n  offset: 0, 0\n  index: -1\n";
    }
    const std::string json = R"({"skeleton": {"version": "tarn-1"},
  "bones": [{"name": "root"}],
  "slots": [{"name": "back", "bone": "root", "attachment": "square"},
            {"name": "ring", "bone": "root", "attachment": "ring"},
            {"name": "ell", "bone": "root", "attachment": "ell"},
            {"name": "front", "bone": "root", "attachment": "square"}],
  "skins": [{"name": "default", "attachments": {
    "back": {"square": {"width": 100, "height": 100}},
    "ring": {"ring": {"type": "mesh", "hull": 4,
      "uvs": [0, 1, 1, 1, 1, 0, 0, 0, 0.25, 0.75, 0.75, 0.75, 0.75, 0.25, 0.25, 0.25],
      "vertices": [-40, -40, 40, -40, 40, 40, -40, 40, -20, -20, 20, -20, 20, 20, -20, 20],
      "triangles": [0, 1, 5, 0, 5, 4, 1, 2, 6, 1, 6, 5, 2, 3, 7, 2, 7, 6, 3, 0, 4, 3, 4, 7]}},
    "ell": {"ell": {"type": "mesh",
      "uvs": [0, 1, 1, 1, 1, 0.67, 0.33, 0.67, 0.33, 0, 0, 0],
      "vertices": [100, -30, 160, -30, 160, -10, 120, -10, 120, 30, 100, 30],
      "triangles": [0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 5]}},
    "front": {"square": {"x": 30, "y": 30, "width": 20, "height": 20}}}}]})";
    const std::string atlasPath = dir.Write("pick.atlas", atlasText), jsonPath = dir.Write("pick.json", json);
    atlas = std::make_unique<skel::Atlas>(skel::String(atlasPath.c_str()), nullptr);
    skel::SkeletonJson reader(atlas.get());
    data.reset(reader.readSkeletonDataFile(skel::String(jsonPath.c_str())));
    ASSERT_TRUE(data) << reader.getError().buffer();
    skeleton = std::make_unique<skel::Skeleton>(data.get());
    // Posed as the viewer poses it: y turned down, here about the origin.
    skeleton->setScaleY(-1);
    skeleton->updateWorldTransform();
  }
  // The slot's name under the skeleton point, or "" for none.
  std::string At(float x, float y, const std::vector<bool>& hidden = {}) {
    return skelview::SlotName(*skeleton, skelview::PickSlot(*skeleton, x, -y, hidden));
  }

  TempDir dir;
  std::unique_ptr<skel::Atlas> atlas;
  std::unique_ptr<skel::SkeletonData> data;
  std::unique_ptr<skel::Skeleton> skeleton;
};

TEST_F(SkelviewPick, TheTopMostShownTriangleUnderThePointerNamesTheSlot) {
  const std::vector<bool> frontHidden = {false, false, false, true}, bothHidden = {false, true, false, true};
  const struct {
    float x, y;
    std::vector<bool> hidden;
    const char* slot;
  } cases[] = {
      {30, 30, {}, "front"},          // over the ring's corner
      {30, 30, frontHidden, "ring"},  // hidden, it lets the pointer through
      {30, 30, bothHidden, "back"},
      {-30, 0, {}, "ring"},          // the ring's left side
      {0, 0, {}, "back"},            // through the ring's hole
      {19.9f, -19.9f, {}, "back"},   // just inside the hole's corner
      {45, 45, {}, "back"},          // outside the ring, on the back
      {-49.9f, -49.9f, {}, "back"},  // near the region's corner
      {110, 20, {}, "ell"},          // the L's upright
      {150, -20, {}, "ell"},         // its foot
      {135, 5, {}, ""},              // the notch of the L
      {70, 0, {}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(At(c.x, c.y, c.hidden), c.slot) << c.x << ", " << c.y;
  EXPECT_EQ(skelview::AttachmentName(*skeleton, skelview::PickSlot(*skeleton, 30, -30, {})), "square");
  EXPECT_EQ(skelview::AttachmentName(*skeleton, -1), "");

  // Draw order decides, not the slots' order: with the back drawn last it
  // is on top everywhere it reaches.
  auto& order = skeleton->getDrawOrder();
  std::swap(order[0], order[3]);
  EXPECT_EQ(At(30, 30), "back");
  EXPECT_EQ(At(110, 20), "ell");
  // A slot without an attachment is never under the pointer.
  skeleton->getSlots()[0]->setAttachment(nullptr);
  EXPECT_EQ(At(0, 0), "");
}

TEST_F(SkelviewPick, TrianglesHoldTheirEdgesWhicheverWayTheyWindAndFlatOnesHoldNothing) {
  EXPECT_TRUE(skelview::InTriangle(1, 1, 0, 0, 4, 0, 0, 4));
  EXPECT_TRUE(skelview::InTriangle(1, 1, 0, 0, 0, 4, 4, 0)) << "the other winding";
  EXPECT_TRUE(skelview::InTriangle(2, 2, 0, 0, 4, 0, 0, 4)) << "on the long edge";
  EXPECT_FALSE(skelview::InTriangle(2.01f, 2.01f, 0, 0, 4, 0, 0, 4));
  EXPECT_FALSE(skelview::InTriangle(1, 1, 0, 0, 2, 2, 4, 4)) << "no area";
  EXPECT_FALSE(skelview::InTriangle(1, 1, 0, 0, NAN, 0, 0, 4));
}

TEST(SkelviewText, Utf8BecomesOneUnitPerCharacterAndBadBytesAReplacement) {
  EXPECT_EQ(skelview::Utf16("wave"), u"wave");
  EXPECT_EQ(skelview::Utf16("\xE6\x89\x8B\xE3\x82\x92\xE6\x8C\xAF\xE3\x82\x8B"), u"手を振る");
  EXPECT_EQ(skelview::Utf16("a\xFF"
                            "b"),
            u"a\uFFFDb");
  EXPECT_EQ(skelview::Utf16("\xE6\x89"), u"\uFFFD\uFFFD") << "cut short";
  EXPECT_EQ(skelview::Utf16("\xF0\x9F\x98\x80"), u"\uFFFD") << "beyond 16 bits";
  EXPECT_EQ(skelview::Utf16("\xED\xA0\x80"), u"\uFFFD") << "an encoded surrogate";
}

TEST(SkelviewText, ALongLineWrapsAtSpacesAndInsideAWordTooLongNeverSplittingACharacter) {
  // Ten pixels a character.
  auto measure = [](const std::string& text) { return static_cast<int32_t>(skelview::Utf16(text).size()) * 10; };
  using Lines = std::vector<std::string>;
  EXPECT_EQ(skelview::WrapText("reload failed: a b", 100, measure, 8), (Lines{"reload", "failed: a", "b"}));
  EXPECT_EQ(skelview::WrapText("short", 100, measure, 8), (Lines{"short"}));
  EXPECT_EQ(skelview::WrapText("no \"xxxxxxxxxxxxxxxxxxxxxxxx\"", 100, measure, 8),
            (Lines{"no", "\"xxxxxxxxx", "xxxxxxxxxx", "xxxxx\""}));
  // Three-byte characters stay whole.
  EXPECT_EQ(skelview::WrapText("\xE6\x89\x8B\xE3\x82\x92\xE6\x8C\xAF", 20, measure, 8),
            (Lines{"\xE6\x89\x8B\xE3\x82\x92", "\xE6\x8C\xAF"}));
  // Past the last line allowed, the text ends in "...".
  EXPECT_EQ(skelview::WrapText("one two three four", 50, measure, 2), (Lines{"one", "tw..."}));
  // Narrower than one character: one a line, not none.
  EXPECT_EQ(skelview::WrapText("ab", 5, measure, 8), (Lines{"a", "b"}));
}

}  // namespace
