#include "GameSystem.h"

#include "core/Screen.h"
#include "core/SystemBase.h"

using namespace TarnFramework;

GameSystem* g_game = nullptr;

bool GameSystem::Init() {
  g_game = this;
  Screen* main = new Screen;
  main->SetName("GameMainScreen");
  main->SetSize(g_system->windowWidth, g_system->windowHeight);
  g_system->screenManager.RegisterScreen(0, main);
  g_system->screenManager.ChangeScreen(0);
  return true;
}

void GameSystem::Release() {}
