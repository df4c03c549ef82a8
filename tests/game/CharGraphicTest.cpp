// The table of character graphics and how a picture character is drawn.
#include <GL/glew.h>

#include "CharGraphicManager.h"
#include "CharGraphicPNG.h"
#include "CharGraphicSkel.h"
#include "CharList.h"
#include "GameTestSupport.h"
#include "framework/graphics/Graphic2D.h"
#include "framework/graphics/Primitives.h"
#include "framework/skel/SkelAnimation.h"
#include "skel/Bone.h"
#include "skel/Skeleton.h"
#include "skel/Skin.h"

namespace {

using game_test::GameTest;
using game_test::WriteSolidPng;
using tarn_test::Pixel;

constexpr uint32_t kRed = 0xFF0000FF;
constexpr Pixel kRedPixel{255, 0, 0, 255};
constexpr Pixel kBlack{0, 0, 0, 0};
constexpr Pixel kLineFill{120, 120, 150, 255};

// A 100-unit body on a hip 100 units above the feet, and a 40-unit face
// higher up when the skeleton has a "Face" bone; every picture is one green
// region.
std::string SmallSkeleton(bool face, bool animated) {
  std::string json = R"({"skeleton": {"version": "tarn-1"},
  "bones": [{"name": "root"}, {"name": "hip", "parent": "root", "y": 100})";
  if (face) json += R"(, {"name": "Face", "parent": "root", "y": 170})";
  json += R"(], "slots": [{"name": "body", "bone": "hip", "attachment": "green"})";
  if (face) json += R"(, {"name": "face", "bone": "Face", "attachment": "green"})";
  json += R"(], "skins": [{"name": "default", "attachments": {"body": {"green": {"width": 100, "height": 100}})";
  if (face) json += R"(, "face": {"green": {"width": 40, "height": 40}})";
  json += "}}]";
  if (animated) {
    json += R"(, "animations": {"sway": {"bones": {"hip": {"rotate": [{"time": 0}, {"time": 1, "angle": 5}]}}}})";
  }
  return json + "}";
}

// The skeletal character built from those files in a temporary folder.
std::unique_ptr<CharGraphicSkel> BuildSkeleton(const tarn_test::TempDir& dir, const std::string& json) {
  game_test::WriteSolidPng(dir, "page.png", 16, 16, 0xFF00FF00);
  const std::string atlas = dir.Write("small.atlas",
                                      "page.png\nsize: 16,16\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n"
                                      "green\n  rotate: false\n  xy: 0, 0\n  size: 16, 16\n  orig: 16, 16\n"
                                      "  offset: 0, 0\n  index: -1\n");
  const std::string skeleton = dir.Write("small.json", json);
  auto graphic = std::make_unique<CharGraphicSkel>();
  if (!graphic->Build(atlas.c_str(), skeleton.c_str())) return nullptr;
  return graphic;
}

int Drawn(const std::vector<Pixel>& pixels) {
  int drawn = 0;
  for (const Pixel& p : pixels) drawn += p.a != 0;
  return drawn;
}

TEST_F(GameTest, TableHoldsTheFourPictureCharactersAndTheSkeletalOne) {
  struct Expected {
    int width, height;
    TarnFramework::Rect portrait;
    double scale;
    int footOffsetY;
  };
  const Expected expected[] = {
      {640, 800, {280, 90, 80, 80}, 0.72, 0},
      {1180, 740, {550, 50, 80, 80}, 0.78, 0},
      {400, 780, {158, 27, 85, 85}, 0.73, 20},
      {370, 800, {135, 90, 100, 100}, 0.78, 25},
  };
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    auto* png = dynamic_cast<CharGraphicPNG*>(game->charGraphics.Find(i));
    ASSERT_NE(png, nullptr);
    ASSERT_NE(png->image, nullptr);
    // The picture is loaded when the character is first drawn.
    EXPECT_FALSE(png->image->HasTexture());
    png->LoadPicture();
    EXPECT_TRUE(png->image->HasTexture());
    EXPECT_EQ(png->image->GetWidth(), expected[i].width);
    EXPECT_EQ(png->image->GetHeight(), expected[i].height);
    EXPECT_EQ(png->portraitRect.x, expected[i].portrait.x);
    EXPECT_EQ(png->portraitRect.y, expected[i].portrait.y);
    EXPECT_EQ(png->portraitRect.width, expected[i].portrait.width);
    EXPECT_EQ(png->portraitRect.height, expected[i].portrait.height);
    EXPECT_DOUBLE_EQ(png->scale, expected[i].scale);
    EXPECT_EQ(png->footOffsetX, 0);
    EXPECT_EQ(png->footOffsetY, expected[i].footOffsetY);
  }
  auto* skel = dynamic_cast<CharGraphicSkel*>(game->charGraphics.Find(4));
  ASSERT_NE(skel, nullptr);
  EXPECT_DOUBLE_EQ(skel->scale, 0.4);
  EXPECT_EQ(skel->footOffsetY, 25);
  ASSERT_NE(skel->animation->skeleton->getSkin(), nullptr);
  EXPECT_EQ(skel->animation->skeleton->getSkin()->getName(), skel::String("0_1"));
  skel::Bone* face = skel->animation->skeleton->findBone(skel::String("Face"));
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(skel->faceRect.width, 200);
  EXPECT_TRUE(skel->canvas.targetReady);
  for (int i = 5; i < CharGraphicManager::kSlots; ++i) EXPECT_EQ(game->charGraphics.entries[i], nullptr) << i;
  EXPECT_EQ(game->charGraphics.Find(-1), nullptr);
  EXPECT_EQ(game->charGraphics.Find(256), nullptr);
}

TEST_F(GameTest, SetPNGOutsideTheTableOrWithoutFile) {
  CharGraphicManager& table = game->charGraphics;
  CharGraphic* before[CharGraphicManager::kSlots];
  std::copy(std::begin(table.entries), std::end(table.entries), before);
  EXPECT_EQ(table.SetPNG(256, "gfx\\testchar.png", 10, 10, 10), nullptr);
  EXPECT_EQ(table.SetPNG(-1, "gfx\\testchar.png", 10, 10, 10), nullptr);
  EXPECT_TRUE(std::equal(std::begin(table.entries), std::end(table.entries), before));

  EXPECT_EQ(table.SetPNG(1, nullptr, 0, 0, 0), nullptr);
  EXPECT_EQ(table.entries[1], nullptr);

  // A missing file still makes an entry; it draws nothing.
  CharGraphicPNG* missing = table.SetPNG(7, "gfx\\no_such.png", 0, 0, 10);
  ASSERT_NE(missing, nullptr);
  BeginFrame();
  missing->DrawFull(0, 640, 720, 1.0);
  missing->DrawPortrait(0, 0, 0, 84);
  EXPECT_EQ(ReadPixel(0, 0), kBlack);
}

TEST_F(GameTest, FullBodyStandsOnItsPointScaledByBothScales) {
  tarn_test::TempDir dir;
  CharGraphicPNG* graphic =
      game->charGraphics.SetPNG(10, WriteSolidPng(dir, "body.png", 400, 600, kRed).c_str(), 200, 100, 80);
  ASSERT_NE(graphic, nullptr);
  graphic->scale = 0.72;

  // Top-left at (640 - 200 * 0.72, 720 - 600 * 0.72) = (496, 288), 288 x 432.
  BeginFrame();
  graphic->DrawFull(0, 640, 720, 1.0);
  EXPECT_EQ(ReadPixel(496, 288), kRedPixel);
  EXPECT_EQ(ReadPixel(783, 719), kRedPixel);
  EXPECT_EQ(ReadPixel(495, 400), kBlack);
  EXPECT_EQ(ReadPixel(600, 287), kBlack);
  EXPECT_EQ(ReadPixel(784, 400), kBlack);

  // Feet 100 picture pixels above the bottom edge, moved 50 to the left, at
  // half size: top-left (640 - 150 * 0.36, 720 - 500 * 0.36) = (586, 540).
  graphic->footOffsetY = 100;
  graphic->footOffsetX = 50;
  BeginFrame();
  graphic->DrawFull(0, 640, 720, 0.5);
  EXPECT_EQ(ReadPixel(586, 540), kRedPixel);
  EXPECT_EQ(ReadPixel(585, 600), kBlack);
  EXPECT_EQ(ReadPixel(600, 539), kBlack);
}

TEST_F(GameTest, PortraitFillsItsSquareFromTheFaceCut) {
  // A 200 x 200 picture: red square from (50, 50) to (135, 135), white elsewhere.
  std::vector<unsigned char> pixels(200 * 200 * 4, 255);
  for (int y = 50; y < 135; ++y) {
    for (int x = 50; x < 135; ++x) {
      unsigned char* p = &pixels[(size_t(y) * 200 + x) * 4];
      p[1] = p[2] = 0;
    }
  }
  tarn_test::TempDir dir;
  std::vector<unsigned char> png;
  lodepng::encode(png, pixels, 200, 200);
  // An 85-pixel cut shown in an 84-pixel square: the ratio is below one.
  CharGraphicPNG* graphic = game->charGraphics.SetPNG(10, dir.Write("face.png", png).c_str(), 92, 92, 85);
  ASSERT_NE(graphic, nullptr);
  EXPECT_EQ(graphic->portraitRect.x, 50);

  BeginFrame();
  graphic->DrawPortrait(0, 20, 30, 84);
  for (auto [x, y] : {std::pair{21, 31}, {102, 31}, {21, 112}, {102, 112}, {60, 70}}) {
    EXPECT_TRUE(Near(ReadPixel(x, y), kRedPixel, 40)) << x << "," << y << " " << ReadPixel(x, y);
  }
  EXPECT_EQ(ReadPixel(19, 70), kBlack);
  EXPECT_EQ(ReadPixel(105, 70), kBlack);
  EXPECT_EQ(ReadPixel(60, 115), kBlack);
}

TEST_F(GameTest, SkeletonWithoutFaceDrawsNoPortraitAndLeavesTheTargetsAlone) {
  tarn_test::TempDir dir;
  std::unique_ptr<CharGraphicSkel> noFace = BuildSkeleton(dir, SmallSkeleton(false, true));
  ASSERT_NE(noFace, nullptr);
  EXPECT_FALSE(noFace->canvas.targetReady);
  game->charGraphics.Remove(CharGraphicManager::kSkelSlot);
  game->charGraphics.entries[CharGraphicManager::kSkelSlot] = noFace.release();

  // The list with that character in its middle line looks exactly as with no
  // graphic there: the other portraits, the lines and the frame in place.
  const auto& stack = system->graphicManager.renderTargetStack;
  CharList list(0, 0, 300, 600);
  list.source = &game->barrack.units;
  list.Rebuild();
  auto drawList = [&] {
    BeginFrame();
    list.Draw();
    EXPECT_EQ(stack.count, 0);
    return ReadRect(0, 0, 1280, 720);
  };
  Unit(4)->graphicIndex = 3;   // a picture after it
  Unit(2)->graphicIndex = 11;  // an empty slot
  const std::vector<Pixel> empty = drawList();
  Unit(2)->graphicIndex = CharGraphicManager::kSkelSlot;
  EXPECT_TRUE(drawList() == empty);
  const TarnFramework::Rect r = list.GetRect();
  for (int line : {0, 1, 3, 4}) {
    int face = 0;
    for (const Pixel& p : ReadRect(r.x + 12, r.y + 12 + line * 104, 84, 84)) face += !(p == kLineFill);
    EXPECT_GT(face, 84 * 84 / 2) << line;
  }

  // Inside an enclosing target: that target stays current and untouched.
  TarnFramework::Graphic2D outer;
  outer.SetRenderTarget(200, 200);
  outer.Create();
  ASSERT_TRUE(outer.targetReady);
  BeginFrame();
  outer.BeginRender();
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  game->charGraphics.Find(CharGraphicManager::kSkelSlot)->DrawPortrait(0, 0, 0, 84);
  ASSERT_EQ(stack.count, 1);
  EXPECT_EQ(stack.items[0], &outer);
  TarnFramework::EndRender();
  outer.Draw(0, 0);
  for (const Pixel& p : ReadRect(0, 0, 200, 200)) {
    if (!(p == kRedPixel)) {
      ADD_FAILURE() << "the enclosing target was drawn over: " << p;
      break;
    }
  }
}

TEST_F(GameTest, SkeletonWithoutAnimationsIsDrawnInItsSetupPose) {
  tarn_test::TempDir dir;
  std::unique_ptr<CharGraphicSkel> still = BuildSkeleton(dir, SmallSkeleton(true, false));
  ASSERT_NE(still, nullptr);
  ASSERT_TRUE(still->canvas.targetReady);
  ASSERT_TRUE(still->animation->animationNames.empty());

  // Feet at (640, 700): the body's square spans 590..690 across, 550..650 down.
  BeginFrame();
  still->DrawFull(0, 640, 700, 1.0);
  EXPECT_GT(Drawn(ReadRect(590, 550, 100, 100)), 100 * 100 * 9 / 10);
  const std::vector<Pixel> first = ReadRect(0, 0, 1280, 720);
  BeginFrame();
  still->DrawFull(90, 640, 700, 1.0);
  EXPECT_TRUE(ReadRect(0, 0, 1280, 720) == first) << "no animation, no motion";

  BeginFrame();
  still->DrawPortrait(0, 20, 30, 84);
  EXPECT_GT(Drawn(ReadRect(20, 30, 84, 84)), 200);
  EXPECT_EQ(Drawn(ReadRect(110, 0, 1170, 720)), 0) << "the portrait stays in its square";
}

}  // namespace

TEST_F(GameTest, SkeletalCharacterLoopsEveryAnimationLength) {
  CharGraphic* skel = game->charGraphics.Find(4);
  ASSERT_NE(skel, nullptr);
  auto drawAt = [&](int frame) {
    BeginFrame();
    skel->DrawFull(frame, 640, 720, 1.0);
    return ReadRect(440, 100, 400, 620);
  };
  const int n = 3 * 60;  // the idle loop lasts three seconds
  const std::vector<Pixel> first = drawAt(0);
  int drawn = 0;
  for (const Pixel& p : first) drawn += p.a != 0;
  EXPECT_GT(drawn, 20000) << "the character stands in the middle of the window";
  EXPECT_EQ(drawAt(n), first) << "frame n shows frame 0";
  EXPECT_EQ(drawAt(-n), first) << "a negative counter wraps too";
  EXPECT_NE(drawAt(n / 4), first) << "the idle loop moves";
}

// The portrait passes through its transparent canvas; on the screen it must
// show what the skeleton drawn straight onto the screen shows: soft edges
// blended once (not thinned, not darkened) and opaque pixels as they are.
TEST_F(GameTest, SkeletalPortraitBlendsItsSoftEdgesAsTheFullBodyDoes) {
  auto* skel = static_cast<CharGraphicSkel*>(game->charGraphics.Find(CharGraphicManager::kSkelSlot));
  ASSERT_NE(skel, nullptr);
  ASSERT_TRUE(skel->canvas.targetReady);
  const int x = 300, y = 200, size = CharGraphicSkel::kCanvasSize;  // drawn unscaled
  auto over = [&](uint32_t background, bool portrait) {
    BeginFrame();
    TarnFramework::FillRect({0, 0, 1280, 720}, background);
    if (portrait) {
      skel->DrawPortrait(0, x, y, size);
    } else {
      skel->animation->PoseFrame(0, static_cast<float>(x + size - skel->faceRect.x),
                                 static_cast<float>(y + skel->faceRect.y + size), 1.0f);
      skel->animation->DrawPosed();
    }
    return ReadRect(x, y, size, size);
  };
  for (uint32_t background : {0xFFD0D0D0u, 0xFF402010u}) {
    const std::vector<Pixel> portrait = over(background, true), direct = over(background, false);
    int differ = 0;
    // The screen's own alpha is never shown.
    for (size_t i = 0; i < portrait.size(); ++i)
      differ += !tarn_test::Near(Pixel{direct[i].r, direct[i].g, direct[i].b, 0},
                                 Pixel{portrait[i].r, portrait[i].g, portrait[i].b, 0}, 2);
    EXPECT_EQ(differ, 0) << "of " << portrait.size() << " pixels over " << std::hex << background;
  }
}
