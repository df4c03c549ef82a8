#include <gtest/gtest.h>

#include "ScreenTestSupport.h"
#include "framework/core/ScreenManager.h"
#include "framework/core/SystemBase.h"

using namespace TarnFramework;
using tarn_test::LoggingScreen;

namespace {

class ScreenManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { tarn_test::g_screenLog = &log; }
  void TearDown() override {
    manager.Release();
    tarn_test::g_screenLog = nullptr;
  }

  LoggingScreen* Register(int32_t slot, const char* name) {
    LoggingScreen* screen = new LoggingScreen(name);
    manager.RegisterScreen(slot, screen);
    return screen;
  }

  std::vector<std::string> log;
  ScreenManager manager;
};

TEST_F(ScreenManagerTest, FirstChangeIsImmediateWithNullPrevious) {
  LoggingScreen* main = Register(0, "Main");
  EXPECT_EQ(main->manager, &manager);
  manager.ChangeScreen(0);
  EXPECT_EQ(manager.currentScreen, main);
  EXPECT_FALSE(manager.changeRequested);
  EXPECT_EQ(log, std::vector<std::string>{"Main: enter from null"});
}

TEST_F(ScreenManagerTest, LaterChangesWaitForFrameStartAndOnlyTheLastCounts) {
  Register(0, "Main");
  Register(1, "Select");
  Register(4, "CharMattingScreen");
  manager.ChangeScreen(0);
  log.clear();

  manager.currentScreen->ChangeScreen("Select");
  manager.currentScreen->ChangeScreen("CharMattingScreen");
  EXPECT_STREQ(manager.currentScreen->name, "Main") << "deferred";
  manager.ApplyPendingSwitch();
  EXPECT_STREQ(manager.currentScreen->name, "CharMattingScreen");
  EXPECT_EQ(log, (std::vector<std::string>{"Main: leave to CharMattingScreen", "CharMattingScreen: enter from Main"}));

  log.clear();
  manager.ApplyPendingSwitch();
  EXPECT_TRUE(log.empty()) << "a switch is applied once";
}

TEST_F(ScreenManagerTest, UnknownOrMisspelledNameIsIgnored) {
  Register(4, "CharMattingScreen");
  LoggingScreen* main = Register(0, "Main");
  manager.ChangeScreen(0);
  main->ChangeScreen("CharMatingScreen");
  EXPECT_FALSE(manager.changeRequested);

  LoggingScreen orphan("Orphan");
  orphan.ChangeScreen("Main");  // no manager: nothing happens
  EXPECT_FALSE(manager.changeRequested);
}

TEST_F(ScreenManagerTest, SwitchToSameScreenRunsLeaveAndEnter) {
  LoggingScreen* main = Register(0, "Main");
  manager.ChangeScreen(0);
  log.clear();
  main->ChangeScreen("Main");
  manager.ApplyPendingSwitch();
  EXPECT_EQ(log, (std::vector<std::string>{"Main: leave to Main", "Main: enter from Main"}));
}

TEST_F(ScreenManagerTest, SwitchToEmptySlotLeavesNoCurrentScreen) {
  Register(0, "Main");
  manager.ChangeScreen(0);
  manager.ChangeScreen(7);
  manager.ApplyPendingSwitch();
  EXPECT_EQ(manager.currentScreen, nullptr);
  manager.ChangeScreen(99);  // out of range: no screen, no crash
  EXPECT_EQ(manager.currentScreen, nullptr);
}

TEST_F(ScreenManagerTest, RegisteringIntoOccupiedSlotDeletesThePreviousScreen) {
  Register(2, "Old");
  Register(2, "New");
  EXPECT_EQ(log, std::vector<std::string>{"Old: delete"});
  EXPECT_STREQ(manager.screens[2]->name, "New");
}

TEST_F(ScreenManagerTest, QueuedWidgetsAreDeletedBeforeOnLeave) {
  LoggingScreen* main = Register(0, "Main");
  Register(1, "Select");
  manager.ChangeScreen(0);
  LoggingScreen* child = new LoggingScreen("child");
  main->AddChild(child);
  child->Close();
  main->ChangeScreen("Select");
  log.clear();
  manager.ApplyPendingSwitch();
  EXPECT_EQ(log, (std::vector<std::string>{"child: delete", "Main: leave to Select", "Select: enter from Main"}));
}

TEST_F(ScreenManagerTest, ReleaseDeletesEveryScreenInSlotOrder) {
  Register(5, "Five");
  Register(1, "One");
  manager.ChangeScreen(1);
  log.clear();
  manager.Release();
  EXPECT_EQ(log, (std::vector<std::string>{"One: delete", "Five: delete"}));
  EXPECT_EQ(manager.currentScreen, nullptr);
  EXPECT_EQ(manager.screens[5], nullptr);
}

}  // namespace
