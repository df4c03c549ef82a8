#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/core/InputCallbacks.h"
#include "framework/core/SystemBase.h"
#include "framework/core/Widget.h"
#include "framework/widgets/WidgetAnimeBase.h"

using namespace TarnFramework;

namespace {

// Counts destructions so tests can tell when a widget is really deleted.
struct Probe : Widget {
  explicit Probe(int* counter) : deaths(counter) {}
  ~Probe() override { ++*deaths; }
  int* deaths;
};

Widget* MakeChild(Widget& parent, int32_t x, int32_t y, int32_t w, int32_t h, int32_t anchor) {
  Widget* child = new Widget;
  child->x = x;
  child->y = y;
  child->width = w;
  child->height = h;
  child->anchor = anchor;
  parent.AddChild(child);
  return child;
}

class WidgetTest : public ::testing::Test {
 protected:
  SystemBase system;  // supplies the window rectangle of root widgets
};

TEST_F(WidgetTest, AnchorsPlaceChildRelativeToParentRectangle) {
  Widget parent;
  parent.x = 50;
  parent.y = 20;
  parent.width = 400;
  parent.height = 300;

  struct Case {
    int32_t anchor, x, y;
  } cases[] = {
      {kAnchorTopLeft, 60, 30},
      {kAnchorTopCentre, 50 + 150 + 10, 30},
      {kAnchorTopRight, 50 + 400 - 100 - 10, 30},
      {kAnchorRightCentre, 340, 20 + 135 + 10},
      {kAnchorBottomRight, 340, 20 + 300 - 30 - 10},
      {kAnchorBottomCentre, 210, 280},
      {kAnchorBottomLeft, 60, 280},
      {kAnchorLeftCentre, 60, 165},
      {kAnchorCentre, 210, 165},
      {3, 50, 20},  // not an anchor value: the parent's corner
  };
  for (const Case& c : cases) {
    Widget* child = MakeChild(parent, 10, 10, 100, 30, c.anchor);
    Rect r = child->GetRect();
    EXPECT_EQ(r.x, c.x) << "anchor " << c.anchor;
    EXPECT_EQ(r.y, c.y) << "anchor " << c.anchor;
    EXPECT_EQ(r.width, 100);
  }
}

TEST_F(WidgetTest, CentreAnchorTruncatesOddDifferenceAndRootUsesWindow) {
  Widget parent;
  parent.width = 200;
  parent.height = 100;
  Widget* child = MakeChild(parent, 0, 0, 101, 100, kAnchorCentre);
  EXPECT_EQ(child->GetRect().x, 49);

  Widget root;
  root.width = 100;
  root.height = 50;
  root.anchor = kAnchorBottomRight;
  system.windowWidth = 800;
  system.windowHeight = 600;
  EXPECT_EQ(root.GetRect().x, 700);
  EXPECT_EQ(root.GetRect().y, 550);
}

TEST_F(WidgetTest, ContainmentIncludesBothEdgesAndIgnoresFarCursor) {
  Widget w;
  w.x = 10;
  w.y = 20;
  w.width = 100;
  w.height = 30;
  EXPECT_TRUE(w.Contains(10, 20));
  EXPECT_TRUE(w.Contains(110, 50)) << "a widget of width w accepts w + 1 columns";
  EXPECT_FALSE(w.Contains(111, 50));
  EXPECT_FALSE(w.Contains(9, 20));
  EXPECT_FALSE(w.Contains(SystemBase::kNoCursor, SystemBase::kNoCursor));
}

TEST_F(WidgetTest, AnimationOffsetMovesWidgetAndChildren) {
  Widget parent;
  parent.SetAnimation(new WidgetAnimeBase(-300, 0, 10, false));
  Widget* child = MakeChild(parent, 5, 0, 10, 10, kAnchorTopLeft);
  EXPECT_EQ(child->GetRect().x, -295);
  parent.Update();
  EXPECT_EQ(parent.GetRect().x, -270);
  EXPECT_EQ(child->GetRect().x, -265);
  for (int i = 0; i < 20; ++i) parent.Update();
  EXPECT_EQ(child->GetRect().x, 5) << "the end value holds past the duration";
}

TEST_F(WidgetTest, RemoveChildHidesAtOnceAndDeletesOnApply) {
  int deaths = 0;
  Widget root;
  Widget* middle = MakeChild(root, 0, 0, 10, 10, kAnchorTopLeft);
  Probe* leaf = new Probe(&deaths);
  middle->AddChild(leaf);

  EXPECT_TRUE(root.RemoveChild(leaf)) << "found among the descendants";
  EXPECT_FALSE(leaf->visible);
  EXPECT_EQ(middle->children.count, 1) << "still in the tree until applied";
  EXPECT_EQ(deaths, 0);

  root.ApplyPendingChanges();
  EXPECT_EQ(deaths, 1);
  EXPECT_EQ(middle->children.count, 0);

  Widget stranger;
  EXPECT_FALSE(root.RemoveChild(&stranger));
  EXPECT_FALSE(root.RemoveChild(nullptr));
}

TEST_F(WidgetTest, WidgetQueuedTwiceIsDeletedOnce) {
  int deaths = 0;
  Widget root;
  Probe* child = new Probe(&deaths);
  root.AddChild(child);
  child->Close();
  child->Close();
  root.ApplyPendingChanges();
  EXPECT_EQ(deaths, 1);
  EXPECT_EQ(root.children.count, 0);
}

TEST_F(WidgetTest, ReleaseDeletesChildrenAndAnimationAndLeavesWidgetUsable) {
  int deaths = 0;
  Widget root;
  root.AddChild(new Probe(&deaths));
  root.AddChild(new Probe(&deaths));
  root.SetAnimation(new WidgetAnimeBase(0, 10, 5, false));
  root.Release();
  EXPECT_EQ(deaths, 2);
  EXPECT_EQ(root.children.count, 0);
  EXPECT_EQ(root.animation, nullptr);
  root.AddChild(new Probe(&deaths));
  EXPECT_EQ(root.children.count, 1);
}

TEST_F(WidgetTest, AnimationWithRemoveAtEndRemovesItsWidget) {
  int deaths = 0;
  Widget root;
  Probe* sliding = new Probe(&deaths);
  sliding->SetAnimation(new WidgetAnimeBase(0, 100, 3, true));
  root.AddChild(sliding);
  root.Update();
  root.Update();
  EXPECT_TRUE(sliding->visible);
  root.Update();
  EXPECT_FALSE(sliding->visible) << "hidden on the frame it reaches its end";
  root.ApplyPendingChanges();
  EXPECT_EQ(deaths, 1);
}

TEST_F(WidgetTest, UpdateAndDrawSkipInvisibleChildrenAndAndTheirResults) {
  struct Result : Widget {
    bool result = true;
    int updates = 0;
    bool Update() override {
      ++updates;
      return result;
    }
  };
  Widget root;
  Result* failing = new Result;
  failing->result = false;
  Result* after = new Result;
  Result* hidden = new Result;
  hidden->visible = false;
  root.AddChild(failing);
  root.AddChild(after);
  root.AddChild(hidden);
  EXPECT_FALSE(root.Update());
  EXPECT_EQ(after->updates, 1) << "children after a failing one still update";
  EXPECT_EQ(hidden->updates, 0);
}

// Input through the real callbacks, in separate polls (a frame between) or
// in one. A script's steps: "mX" moves the cursor to (X, 20), "pB" and "rB"
// press and release button B (L, R or M), "|" is a frame: the widget's input
// pass and the frame end.
TEST_F(WidgetTest, ClickFiresOnReleaseInsideAfterPressInsideHeldOrQuick) {
  struct Heard : Widget {
    bool OnEvent(int32_t kind, Widget*, int32_t atX, int32_t, int64_t) override {
      kinds.push_back(kind);
      xs.push_back(atX);
      return true;
    }
    std::vector<int32_t> kinds, xs;
  };
  struct Case {
    const char* what;
    const char* script;
    std::vector<int32_t> kinds;
  } cases[] = {
      {"held inside", "m50 pL | m60 rL | |", {kEventLeftClick}},
      {"held, released outside", "m50 pL | m500 rL | |", {}},
      {"held, released outside, back inside", "m50 pL | m500 rL m50 | |", {}},
      {"pressed outside, released inside", "m500 pL | m50 rL | |", {}},
      {"quick inside", "m50 pL rL | |", {kEventLeftClick}},
      {"quick, moved out", "m50 pL m500 rL | |", {}},
      {"quick, moved in", "m500 pL m50 rL | |", {}},
      {"quick, dragged out and back in", "m50 pL m500 rL m50 | |", {}},
      {"quick inside, then moved out", "m50 pL m60 rL m500 | |", {kEventLeftClick}},
      {"quick right", "m50 pR rR | |", {kEventRightClick}},
      {"quick left and right in one poll", "m50 pL rL pR rR | |", {kEventLeftClick, kEventRightClick}},
      {"middle", "m50 pM rM | |", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Heard w;
    w.x = 10;
    w.y = 10;
    w.width = 100;
    w.height = 30;
    int releasedAt = 0;
    for (const char* step = c.script; *step; ++step) {
      if (*step == ' ') continue;
      const int button = step[1] == 'L'   ? GLFW_MOUSE_BUTTON_LEFT
                         : step[1] == 'R' ? GLFW_MOUSE_BUTTON_RIGHT
                                          : GLFW_MOUSE_BUTTON_MIDDLE;
      switch (*step) {
        case 'm': OnCursorPos(nullptr, std::atoi(step + 1), 20); break;
        case 'p': OnMouseButton(nullptr, button, GLFW_PRESS, 0); break;
        case 'r':
          releasedAt = system.mouseX;
          OnMouseButton(nullptr, button, GLFW_RELEASE, 0);
          break;
        case '|':
          EXPECT_TRUE(w.Input());
          system.EndFrameInput();
          break;
      }
      while (step[1] && step[1] != ' ') ++step;
    }
    EXPECT_EQ(w.kinds, c.kinds);
    // Each click reports where its button went up.
    for (int32_t x : w.xs) EXPECT_EQ(x, releasedAt);
    EXPECT_FALSE(w.leftArmed);
    EXPECT_FALSE(w.rightArmed);
  }
}

TEST(WidgetAnimeBase, ValuesFollowTheLineAndHoldTheEnd) {
  WidgetAnimeBase anime(-300, 0, 10, false);
  EXPECT_EQ(anime.CurrentX(), -300);
  anime.Advance();
  EXPECT_EQ(anime.CurrentX(), -270);
  anime.Advance();
  EXPECT_EQ(anime.CurrentX(), -240);
  EXPECT_EQ(anime.CurrentY(), 0);

  WidgetAnimeBase instant(5, 9, 0, false);
  EXPECT_EQ(instant.CurrentX(), 9) << "duration 0 is at its end before any advance";
  WidgetAnimeBase negative(5, 9, -4, false);
  EXPECT_EQ(negative.frame, -4);
  EXPECT_EQ(negative.CurrentX(), 9);

  WidgetAnimeBase curveless(10, 20, 2, false);
  curveless.Release();
  curveless.Advance();
  EXPECT_EQ(curveless.CurrentX(), 10) << "without a curve the start holds until the end";
  curveless.Advance();
  EXPECT_EQ(curveless.CurrentX(), 20);
}

}  // namespace
