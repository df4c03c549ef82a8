// Input, update and draw through real frame passes in the real window: events
// are fed through the real GLFW callbacks, as the event poll would.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <chrono>

#include "GLTestFixture.h"
#include "ScreenTestSupport.h"
#include "framework/core/FramePacer.h"
#include "framework/core/InputCallbacks.h"
#include "framework/core/StartUp.h"
#include "framework/core/SystemBase.h"
#include "tarn/Report.h"

using namespace TarnFramework;
using tarn_test::LoggingScreen;

namespace {

class FrameLoopTest : public tarn_test::GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    tarn_test::g_screenLog = &log;
    // Only synthetic events: the virtual display's own pointer and focus
    // changes must not reach the state between frames.
    glfwSetCursorPosCallback(system->graphicManager.window, nullptr);
    glfwSetMouseButtonCallback(system->graphicManager.window, nullptr);
    glfwSetScrollCallback(system->graphicManager.window, nullptr);
    glfwSetKeyCallback(system->graphicManager.window, nullptr);
    main = new LoggingScreen("Main");
    other = new LoggingScreen("Other");
    system->screenManager.RegisterScreen(0, main);
    system->screenManager.RegisterScreen(1, other);
    system->screenManager.ChangeScreen(0);
    button = AddButton(main, "UP_B01", 10, 10);
  }
  void TearDown() override {
    GLTest::TearDown();
    tarn_test::g_screenLog = nullptr;
  }

  LoggingScreen* AddButton(Widget* parent, const char* name, int32_t x, int32_t y) {
    LoggingScreen* widget = new LoggingScreen(name);
    widget->x = x;
    widget->y = y;
    widget->width = 100;
    widget->height = 30;
    widget->handler = main;
    parent->AddChild(widget);
    return widget;
  }

  void Move(int x, int y) { OnCursorPos(nullptr, x, y); }
  void Press(int which = GLFW_MOUSE_BUTTON_LEFT) { OnMouseButton(nullptr, which, GLFW_PRESS, 0); }
  void Release(int which = GLFW_MOUSE_BUTTON_LEFT) { OnMouseButton(nullptr, which, GLFW_RELEASE, 0); }
  bool Frame() { return system->RunFrame(); }
  int Events() const {
    int n = 0;
    for (const std::string& line : log) n += line.rfind("Main: event", 0) == 0;
    return n;
  }

  std::vector<std::string> log;
  LoggingScreen* main = nullptr;
  LoggingScreen* other = nullptr;
  LoggingScreen* button = nullptr;
};

TEST_F(FrameLoopTest, ClickFiresOnReleaseInsideAfterPressInside) {
  Move(50, 20);
  Press();
  Frame();
  EXPECT_TRUE(button->leftArmed);
  EXPECT_EQ(Events(), 0);
  Move(60, 25);
  Release();
  Frame();
  ASSERT_EQ(Events(), 1);
  EXPECT_NE(std::find(log.begin(), log.end(), "Main: event 0 UP_B01 60,25"), log.end());
  EXPECT_FALSE(button->leftArmed);
}

TEST_F(FrameLoopTest, RightClickSendsKindOne) {
  Move(50, 20);
  Press(GLFW_MOUSE_BUTTON_RIGHT);
  Frame();
  Release(GLFW_MOUSE_BUTTON_RIGHT);
  Frame();
  EXPECT_NE(std::find(log.begin(), log.end(), "Main: event 1 UP_B01 50,20"), log.end());
}

TEST_F(FrameLoopTest, ReleaseOutsideOrPressOutsideSendsNothing) {
  Move(50, 20);
  Press();
  Frame();
  Move(500, 500);
  Release();
  Frame();
  EXPECT_EQ(Events(), 0);
  EXPECT_FALSE(button->leftArmed);

  Press();
  Frame();
  Move(50, 20);
  Frame();  // held while moving in: arms
  Release();
  Frame();
  EXPECT_EQ(Events(), 1) << "held over the widget in an earlier frame, released over it";

  Move(500, 500);
  Press();
  Frame();
  Move(50, 20);
  Release();
  Frame();
  EXPECT_EQ(Events(), 1) << "an earlier click must not arm a later press outside";
}

TEST_F(FrameLoopTest, PressAndReleaseInOnePollAreAClick) {
  Move(50, 20);
  Press();
  Move(60, 25);
  Release();
  const MouseButtonState& left = system->leftButton;
  EXPECT_TRUE(left.pressed) << "a quick click or a tap keeps its press";
  EXPECT_TRUE(left.released);
  EXPECT_FALSE(left.down);
  EXPECT_EQ(left.pressX, 50);
  EXPECT_EQ(left.pressY, 20);
  EXPECT_EQ(left.releaseX, 60);
  EXPECT_EQ(left.releaseY, 25);
  Frame();
  ASSERT_EQ(Events(), 1);
  EXPECT_NE(std::find(log.begin(), log.end(), "Main: event 0 UP_B01 60,25"), log.end());
  EXPECT_FALSE(left.pressed);
  EXPECT_FALSE(left.released);
  Frame();
  EXPECT_EQ(Events(), 1) << "once";
}

TEST_F(FrameLoopTest, DisabledParentBlocksItsChildrenAndInvisibleChildGetsNoInput) {
  LoggingScreen* panel = AddButton(main, "Panel_A", 200, 200);
  LoggingScreen* inner = AddButton(panel, "UP_Inner", 0, 0);
  panel->enabled = false;
  Move(210, 210);
  Press();
  Frame();
  Release();
  Frame();
  EXPECT_EQ(Events(), 0);
  EXPECT_FALSE(inner->leftArmed);

  panel->enabled = true;
  inner->visible = false;
  Press();
  Frame();
  Release();
  Frame();
  ASSERT_EQ(Events(), 1);
  EXPECT_NE(std::find(log.begin(), log.end(), "Main: event 0 Panel_A 210,210"), log.end());
}

TEST_F(FrameLoopTest, TopmostChildGetsTheClickAndFalseStopsThePass) {
  LoggingScreen* below = AddButton(main, "UP_Below", 10, 10);
  LoggingScreen* top = AddButton(main, "UP_Top", 10, 10);
  main->onEvent = [](Widget*) { return false; };
  Move(20, 20);
  Press();
  Frame();
  Release();
  Frame();
  ASSERT_EQ(Events(), 1);
  EXPECT_NE(std::find(log.begin(), log.end(), "Main: event 0 UP_Top 20,20"), log.end());
  EXPECT_TRUE(below->leftArmed) << "the pass stopped before the widgets below";
  (void)top;
}

TEST_F(FrameLoopTest, WidgetClosingItselfInItsHandlerIsDeletedAfterDrawing) {
  button->onEvent = nullptr;
  main->onEvent = [this](Widget* sender) {
    sender->Close();
    return true;
  };
  button->logDraws = true;
  Move(50, 20);
  Press();
  Frame();
  log.clear();
  Release();
  Frame();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], "Main: event 0 UP_B01 50,20");
  EXPECT_EQ(log[1], "UP_B01: delete") << "not drawn, deleted after the frame's drawing";
  EXPECT_EQ(main->children.count, 0);
}

TEST_F(FrameLoopTest, SwitchRequestedByClickRunsOnNextFrameStart) {
  main->onEvent = [this](Widget*) {
    main->ChangeScreen("Other");
    main->ChangeScreen("Other");
    return true;
  };
  Move(50, 20);
  Press();
  Frame();
  Release();
  int updates = main->updates;
  int draws = main->draws;
  Frame();
  EXPECT_EQ(system->screenManager.currentScreen, main);
  EXPECT_EQ(main->updates, updates + 1) << "the old screen finishes its frame";
  EXPECT_EQ(main->draws, draws + 1);
  log.clear();
  Frame();
  EXPECT_EQ(system->screenManager.currentScreen, other);
  EXPECT_EQ(log[0], "Main: leave to Other");
  EXPECT_EQ(log[1], "Other: enter from Main");
  EXPECT_EQ(other->updates, 1) << "the new screen gets that frame";
}

TEST_F(FrameLoopTest, UpdateReturningFalseStillDrawsThenStops) {
  main->updateResult = false;
  EXPECT_TRUE(Frame());
  EXPECT_EQ(main->draws, 1);
  EXPECT_TRUE(system->quitRequested);
  EXPECT_FALSE(Frame());
}

TEST_F(FrameLoopTest, NoCurrentScreenEndsTheLoop) {
  system->screenManager.ChangeScreen(9);
  Frame();
  EXPECT_EQ(system->screenManager.currentScreen, nullptr);
  EXPECT_TRUE(system->quitRequested);
  EXPECT_FALSE(Frame());
}

void KeepLine(tarn::LogLevel, const char* message, void* user) { *static_cast<std::string*>(user) += message; }

// A program that forgot its screen learns why its window only flashed.
TEST_F(FrameLoopTest, MainLoopWithoutAScreenSaysWhyItEnds) {
  std::string said;
  tarn::SetLogCallback(KeepLine, &said);
  system->screenManager.Release();
  system->screenManager.currentScreen = nullptr;
  system->screenManager.changeRequested = false;
  system->MainLoop();
  EXPECT_NE(said.find("no screen to run: none registered"), std::string::npos) << said;

  said.clear();
  system->quitRequested = false;
  system->screenManager.RegisterScreen(3, new LoggingScreen("Unpicked"));
  system->MainLoop();
  EXPECT_NE(said.find("no screen to run: none picked"), std::string::npos) << said;

  // With a screen picked, nothing is said.
  said.clear();
  system->quitRequested = false;
  system->screenManager.ChangeScreen(3);
  glfwSetWindowShouldClose(system->graphicManager.window, GLFW_TRUE);
  system->MainLoop();
  tarn::SetLogCallback(nullptr);
  EXPECT_EQ(said, "");
}

TEST_F(FrameLoopTest, CloseFlagEndsTheLoopAtTheNextPass) {
  glfwSetWindowShouldClose(system->graphicManager.window, GLFW_TRUE);
  EXPECT_FALSE(Frame());
  EXPECT_EQ(main->updates, 0);
}

TEST_F(FrameLoopTest, MouseEdgesLastOneFrameAndStillCounterCounts) {
  Move(5, 5);
  Press();
  EXPECT_TRUE(system->leftButton.pressed);
  EXPECT_TRUE(system->leftButton.down);
  EXPECT_EQ(system->lastButtonAction, 1);
  Frame();
  EXPECT_FALSE(system->leftButton.pressed);
  EXPECT_TRUE(system->leftButton.down);
  EXPECT_EQ(system->mouseStillFrames, 0) << "first frame end: the cursor has just appeared";
  Frame();
  Frame();
  EXPECT_EQ(system->mouseStillFrames, 2);
  Move(6, 5);
  Frame();
  EXPECT_EQ(system->mouseStillFrames, 0);

  system->mouseStillFrames = 2147483647;
  Frame();
  EXPECT_EQ(system->mouseStillFrames, 2147483647) << "saturates";

  OnMouseButton(nullptr, 7, GLFW_PRESS, 0);  // no such button: ignored
  EXPECT_FALSE(system->middleButton.pressed);
}

TEST_F(FrameLoopTest, ScrollTruncatesAndAccumulatesUntilFrameEnd) {
  OnScroll(nullptr, 0.0, 0.5);
  EXPECT_EQ(system->scrollY, 0);
  OnScroll(nullptr, -1.7, 1.0);
  OnScroll(nullptr, 0.0, 1.0);
  EXPECT_EQ(system->scrollY, 2);
  EXPECT_EQ(system->scrollX, -1);
  Frame();
  EXPECT_EQ(system->scrollY, 0);
  EXPECT_EQ(system->scrollX, 0);
}

TEST_F(FrameLoopTest, KeysSetNamedAndRawSlotsAndRepeatChangesNothing) {
  Key& keys = system->keyboard;
  OnKey(nullptr, GLFW_KEY_A, 0, GLFW_PRESS, 0);
  EXPECT_EQ(keys.pressed.flags[10], 1);
  EXPECT_EQ(keys.pressed.flags[47 + 65], 1);
  EXPECT_EQ(keys.down.flags[10], 1);
  Frame();
  EXPECT_EQ(keys.pressed.flags[10], 0);
  OnKey(nullptr, GLFW_KEY_A, 0, GLFW_REPEAT, 0);
  EXPECT_EQ(keys.pressed.flags[10], 0);
  EXPECT_EQ(keys.down.flags[10], 1);
  OnKey(nullptr, GLFW_KEY_A, 0, GLFW_RELEASE, 0);
  EXPECT_EQ(keys.down.flags[10], 0);
  EXPECT_EQ(keys.released.flags[10], 1);
  Frame();
  EXPECT_EQ(keys.released.flags[10], 0);

  OnKey(nullptr, GLFW_KEY_ESCAPE, 0, GLFW_PRESS, 0);
  EXPECT_EQ(keys.pressed.flags[39], 1);
  EXPECT_EQ(keys.pressed.flags[47 + GLFW_KEY_ESCAPE], 1);
  Frame();

  // Every key GLFW knows has its raw slot, and only that one.
  for (int key : {GLFW_KEY_TAB, GLFW_KEY_F1, GLFW_KEY_F12, GLFW_KEY_LEFT_SHIFT, GLFW_KEY_RIGHT_CONTROL,
                  GLFW_KEY_PAGE_UP, GLFW_KEY_KP_0, GLFW_KEY_KP_ENTER, GLFW_KEY_LAST}) {
    OnKey(nullptr, key, 0, GLFW_PRESS, 0);
    EXPECT_EQ(keys.down.flags[47 + key], 1) << key;
    int set = 0;
    for (uint8_t flag : keys.pressed.flags) set += flag;
    EXPECT_EQ(set, 1) << key;
    OnKey(nullptr, key, 0, GLFW_RELEASE, 0);
    Frame();
  }
  OnKey(nullptr, -1, 0, GLFW_PRESS, 0);
  OnKey(nullptr, GLFW_KEY_LAST + 1, 0, GLFW_PRESS, 0);
  int set = 0;
  for (uint8_t flag : keys.pressed.flags) set += flag;
  EXPECT_EQ(set, 0) << "unknown key codes have no slot";

  OnKey(nullptr, GLFW_KEY_B, 0, GLFW_PRESS, 0);
  OnKey(nullptr, GLFW_KEY_B, 0, GLFW_RELEASE, 0);
  EXPECT_EQ(keys.pressed.flags[11], 1) << "a release in the same poll keeps the press edge";
  EXPECT_EQ(keys.released.flags[11], 1);
}

TEST_F(FrameLoopTest, WindowResizeReachesScreensAndEveryDescendant) {
  struct Sized : Widget {
    void OnResize(int32_t w, int32_t h) override { seen = w * 10000 + h; }
    int seen = 0;
  };
  Sized* deep = new Sized;
  button->AddChild(deep);
  OnWindowSize(nullptr, 800, 600);
  EXPECT_EQ(system->windowWidth, 800);
  EXPECT_EQ(system->graphicManager.viewportHeight, 600);
  EXPECT_EQ(other->width, 800);
  EXPECT_EQ(main->height, 600);
  EXPECT_EQ(deep->seen, 800 * 10000 + 600);
}

TEST_F(FrameLoopTest, PacedFramesRunAtMostSixtyASecond) {
  system->framePacing = true;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 13; ++i) ASSERT_TRUE(Frame());
  // The first frame sets the grid; each of the twelve after it ends at least
  // a sixtieth of a second after the one before.
  EXPECT_GE(std::chrono::steady_clock::now() - start, 12 * FramePacer::kPeriod);
  EXPECT_EQ(main->updates, 13);
  EXPECT_EQ(main->draws, 13);
}

TEST_F(FrameLoopTest, IconifiedWindowRunsNoUpdateOrDrawAndWaitsForAnEvent) {
  Frame();
  ASSERT_EQ(main->updates, 1);
  OnWindowIconify(nullptr, GLFW_TRUE);
  EXPECT_TRUE(system->iconified);
  // The pass waits for the next event: here one posted beforehand.
  Move(50, 20);
  Press();
  glfwPostEmptyEvent();
  EXPECT_TRUE(Frame());
  EXPECT_EQ(main->updates, 1);
  EXPECT_EQ(main->draws, 1);
  EXPECT_TRUE(system->leftButton.pressed) << "input that came meanwhile waits for the next drawn frame";
  // Restored: frames run again and see that input.
  OnWindowIconify(nullptr, GLFW_FALSE);
  EXPECT_FALSE(system->iconified);
  EXPECT_TRUE(Frame());
  EXPECT_EQ(main->updates, 2);
  EXPECT_EQ(main->draws, 2);
  EXPECT_TRUE(button->leftArmed);
}

TEST_F(FrameLoopTest, CloseWhileIconifiedEndsTheLoop) {
  OnWindowIconify(nullptr, GLFW_TRUE);
  glfwSetWindowShouldClose(system->graphicManager.window, GLFW_TRUE);
  EXPECT_FALSE(Frame());
  EXPECT_EQ(main->updates, 0);
}

}  // namespace

// A program of its own asks for its window's size and title; the system's
// size and the viewport follow the window.
TEST(StartUpWindow, TakesTheSizeAndTitleAsked) {
  TarnFramework::SystemBase system;
  TarnFramework::WindowRequest request;
  request.width = 800;
  request.height = 600;
  request.title = "Elsewhere";
  ASSERT_TRUE(TarnFramework::StartUpWindow(system, request));
  int w = 0, h = 0;
  glfwGetWindowSize(system.graphicManager.window, &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  EXPECT_EQ(system.windowWidth, 800);
  EXPECT_EQ(system.windowHeight, 600);
  EXPECT_EQ(system.graphicManager.viewportWidth, 800);
  EXPECT_EQ(system.graphicManager.viewportHeight, 600);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 800);
  EXPECT_EQ(viewport[3], 600);
  system.Release();
  TarnFramework::g_system = nullptr;
}
