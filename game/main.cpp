// The tarn program: start-up, the frame loop, shutdown.
#include "DataDir.h"
#include "GameSystem.h"
#include "framework/core/StartUp.h"
#include "framework/core/SystemBase.h"
#include "framework/skel/SkelData.h"
#include "tarn/Report.h"

using namespace TarnFramework;

int main(int, char** argv) {
  tarn::SetProgramName(argv[0]);
  // The skeletal runtime's tracking extension serves every allocation from
  // the first one on.
  TarnSkel::StartRuntime();
  SetProgramLocale();
  if (!EnterDataDir()) return -1;
  // The pictures decode while the window opens.
  GameSystem::RequestStartPictures();
  SystemBase system;
  if (!StartUpWindow(system)) return -1;

  GameSystem game;
  g_game = &game;
  if (!game.Init()) {
    system.Release();
    return -1;
  }
  system.MainLoop();

  game.Release();
  system.Release();
  return 0;
}
