// Off-screen render targets: orientation, nesting and the stack.
#include <GL/glew.h>
#include <lodepng.h>

#include "TestImages.h"
#include "framework/graphics/Graphic2D.h"
#include "framework/graphics/Primitives.h"
#include "framework/graphics/ReadBack.h"

using namespace tarn_test;
using TarnFramework::EndRender;
using TarnFramework::FillRect;
using TarnFramework::Graphic2D;
using TarnFramework::ReadPixels;
using TarnFramework::SavePng;

namespace {

class RenderTargetTest : public GLTest {
 protected:
  void ExpectRgb(int x, int y, const Pixel& expected) {
    EXPECT_PRED2([](const Pixel& a, const Pixel& b) { return SameRgb(a, b); }, ReadPixel(x, y), expected)
        << "at (" << x << ", " << y << ")";
  }
  int StackDepth() const { return system->graphicManager.renderTargetStack.count; }
  static void Clear(float r, float g, float b) {
    glClearColor(r, g, b, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }

  TempDir dir;
};

TEST_F(RenderTargetTest, WhatIsDrawnAtTheTopLeftOfATargetShowsAtItsTopLeft) {
  Graphic2D sprite;
  sprite.LoadImage(WriteQuadrants(dir, 20, 20).c_str());
  Graphic2D target;
  target.SetRenderTarget(300, 200);
  ASSERT_TRUE(target.targetReady);

  target.BeginRender();
  EXPECT_EQ(StackDepth(), 1);
  Clear(0, 0, 0);
  sprite.Draw(0, 0);
  FillRect({290, 190, 10, 10}, 255, 255, 0, 255);
  EndRender();
  EXPECT_EQ(StackDepth(), 0);

  // Drawing goes to the window again, y downwards.
  FillRect({0, 0, 10, 10}, 255, 0, 255, 255);
  ExpectRgb(5, 5, Pixel{255, 0, 255, 255});

  target.Draw(100, 50);
  ExpectRgb(102, 52, kRed);
  ExpectRgb(117, 52, kGreen);
  ExpectRgb(102, 67, kBlue);
  ExpectRgb(395, 245, Pixel{255, 255, 0, 255});
  ExpectRgb(250, 150, Pixel{0, 0, 0, 255});
}

TEST_F(RenderTargetTest, NestedTargetsReturnToTheEnclosingTargetThenTheWindow) {
  Graphic2D outer, inner;
  outer.SetRenderTarget(200, 200);
  inner.SetRenderTarget(50, 50);

  outer.BeginRender();
  Clear(0, 0, 1);
  inner.BeginRender();
  EXPECT_EQ(StackDepth(), 2);
  Clear(1, 0, 0);
  FillRect({0, 0, 10, 10}, 0, 255, 0, 255);
  EndRender();
  EXPECT_EQ(StackDepth(), 1);
  // Back in the outer target, with its own size and orientation.
  inner.Draw(20, 30);
  FillRect({150, 150, 10, 10}, 255, 255, 255, 255);
  EndRender();
  EXPECT_EQ(StackDepth(), 0);

  outer.Draw(0, 0);
  ExpectRgb(5, 5, kBlue);
  ExpectRgb(25, 35, kGreen);
  ExpectRgb(60, 70, kRed);
  ExpectRgb(155, 155, kWhite);
  ExpectRgb(199, 199, kBlue);
}

TEST_F(RenderTargetTest, EndRenderOnAnEmptyStackRestoresTheWindow) {
  Graphic2D target;
  target.SetRenderTarget(64, 64);
  // Leave the target bound with its projection but off the stack.
  target.BeginRender();
  system->graphicManager.renderTargetStack.Pop();

  EndRender();
  EXPECT_EQ(StackDepth(), 0);
  FillRect({600, 10, 10, 10}, 255, 0, 0, 255);
  ExpectRgb(605, 15, kRed);
}

TEST_F(RenderTargetTest, ATargetWithoutSizeGetsNoFramebufferAndBeginRenderDoesNothing) {
  Graphic2D target;
  target.SetRenderTarget(0, 0);
  EXPECT_FALSE(target.targetReady);
  EXPECT_EQ(target.framebuffer, Graphic2D::kNoFramebuffer);
  target.BeginRender();
  EXPECT_EQ(StackDepth(), 0);
  // Drawing lands in the window.
  FillRect({10, 10, 10, 10}, 0, 255, 0, 255);
  ExpectRgb(15, 15, kGreen);
  target.Draw(0, 0);
  target.Release();
}

TEST_F(RenderTargetTest, ResizingRebuildsAndReleaseFreesTheTarget) {
  Graphic2D target;
  target.SetRenderTarget(100, 100);
  target.SetRenderTarget(50, 40);
  ASSERT_TRUE(target.targetReady);
  EXPECT_EQ(target.GetWidth(), 50);
  EXPECT_EQ(target.GetHeight(), 40);

  target.BeginRender();
  Clear(1, 1, 1);
  EndRender();
  target.Draw(10, 10);
  ExpectRgb(59, 49, kWhite);
  ExpectRgb(60, 49, Pixel{0, 0, 0, 255});

  target.Release();
  EXPECT_FALSE(target.targetReady);
  EXPECT_EQ(target.framebuffer, Graphic2D::kNoFramebuffer);
  target.BeginRender();
  EXPECT_EQ(StackDepth(), 0);
}

TEST_F(RenderTargetTest, ATargetDestroyedWhileBoundLeavesTheStack) {
  auto* target = new Graphic2D;
  target->SetRenderTarget(32, 32);
  target->BeginRender();
  delete target;
  EXPECT_EQ(StackDepth(), 0);
  EndRender();
  FillRect({10, 10, 10, 10}, 0, 255, 0, 255);
  ExpectRgb(15, 15, kGreen);
}

// Read-back gives the picture's rows top first, in a target and in the
// window alike, and refuses areas that reach outside.
TEST_F(RenderTargetTest, ReadPixelsReadsTheAreaAsItShowsAndSavePngKeepsIt) {
  auto paint = [] {
    FillRect({2, 1, 3, 2}, 255, 0, 0, 255);  // red near the top
    FillRect({0, 6, 8, 2}, 0, 0, 255, 255);  // blue along the bottom
  };
  auto expectPicture = [](const std::vector<uint8_t>& rgba, const char* where) {
    ASSERT_EQ(rgba.size(), 8u * 8 * 4) << where;
    auto at = [&](int x, int y) {
      return Pixel{rgba[(y * 8 + x) * 4], rgba[(y * 8 + x) * 4 + 1], rgba[(y * 8 + x) * 4 + 2], 255};
    };
    EXPECT_PRED2([](const Pixel& a, const Pixel& b) { return SameRgb(a, b); }, at(3, 1), kRed) << where;
    EXPECT_PRED2([](const Pixel& a, const Pixel& b) { return SameRgb(a, b); }, at(3, 7), kBlue) << where;
    EXPECT_PRED2([](const Pixel& a, const Pixel& b) { return SameRgb(a, b); }, at(3, 4), (Pixel{0, 0, 0, 255}))
        << where;
  };
  Graphic2D target;
  target.SetRenderTarget(40, 30);
  target.BeginRender();
  Clear(0, 0, 0);
  paint();
  std::vector<uint8_t> inTarget;
  EXPECT_TRUE(ReadPixels({0, 0, 8, 8}, inTarget));
  EXPECT_FALSE(ReadPixels({35, 0, 8, 8}, inTarget));
  EXPECT_FALSE(ReadPixels({0, 0, 0, 8}, inTarget));
  std::vector<uint8_t> picture;
  ASSERT_TRUE(ReadPixels({0, 0, 8, 8}, picture));
  EndRender();
  expectPicture(picture, "target");

  Clear(0, 0, 0);
  paint();
  std::vector<uint8_t> inWindow;
  ASSERT_TRUE(ReadPixels({0, 0, 8, 8}, inWindow));
  expectPicture(inWindow, "window");
  EXPECT_FALSE(ReadPixels({1275, 0, 8, 8}, inWindow));
  EXPECT_FALSE(ReadPixels({-1, 0, 8, 8}, inWindow));

  const std::string path = dir.File("read.png");
  std::string why;
  ASSERT_TRUE(SavePng(path.c_str(), picture, 8, 8, &why)) << why;
  std::vector<unsigned char> decoded;
  unsigned w = 0, h = 0;
  ASSERT_EQ(lodepng::decode(decoded, w, h, path), 0u);
  EXPECT_EQ(w, 8u);
  EXPECT_EQ(h, 8u);
  EXPECT_TRUE(std::equal(decoded.begin(), decoded.end(), picture.begin()));
  EXPECT_FALSE(SavePng(dir.File("no/such/folder.png").c_str(), picture, 8, 8, &why));
  EXPECT_NE(why.find("No such file"), std::string::npos) << why;
  EXPECT_FALSE(SavePng(path.c_str(), picture, 9, 8, &why)) << "a size that does not match the pixels";
}

}  // namespace
