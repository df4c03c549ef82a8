// A screen that records its visits and the clicks it receives.
#pragma once

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/Screen.h"

namespace tarn_test {

inline std::vector<std::string>* g_screenLog = nullptr;

struct LoggingScreen : TarnFramework::Screen {
  explicit LoggingScreen(const char* screenName) { SetName(screenName); }
  ~LoggingScreen() override { Log("delete"); }

  void OnEnter(Screen* previous) override { Log(std::string("enter from ") + (previous ? previous->name : "null")); }
  void OnLeave(Screen* next) override { Log(std::string("leave to ") + (next ? next->name : "null")); }
  bool OnEvent(int32_t kind, Widget* sender, int32_t atX, int32_t atY, int64_t) override {
    Log("event " + std::to_string(kind) + " " + sender->name + " " + std::to_string(atX) + "," + std::to_string(atY));
    return onEvent ? onEvent(sender) : true;
  }
  bool Update() override {
    ++updates;
    bool ok = Screen::Update();
    return updateResult && ok;
  }
  bool Draw() override {
    ++draws;
    if (logDraws) Log("draw");
    bool ok = Screen::Draw();
    return drawResult && ok;
  }

  void Log(const std::string& line) const {
    if (g_screenLog) g_screenLog->push_back(std::string(name) + ": " + line);
  }

  std::function<bool(Widget*)> onEvent;
  bool updateResult = true;
  bool drawResult = true;
  bool logDraws = false;
  int updates = 0;
  int draws = 0;
};

}  // namespace tarn_test
