// The tarn program: the command line, start-up, the frame loop, shutdown.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "CommandLine.h"
#include "CrashReport.h"
#include "DataDir.h"
#include "GameKeys.h"
#include "GameSystem.h"
#include "GameWindow.h"
#include "framework/core/StartUp.h"
#include "framework/core/SystemBase.h"
#include "framework/graphics/DrawState.h"
#include "framework/skel/SkelData.h"
#include "tarn/Report.h"

using namespace TarnFramework;

int main(int argc, char** argv) {
  tarn::SetProgramName(argv[0]);
  const std::string program = tarn::ProgramName();
  switch (ParseCommandLine(argc, argv)) {
    case CommandLineAction::Play: break;
    case CommandLineAction::Help: std::fputs(HelpText(program).c_str(), stdout); return 0;
    case CommandLineAction::Version: std::fputs(VersionText(program).c_str(), stdout); return 0;
    case CommandLineAction::Misuse: std::fputs(MisuseText(program, argc, argv).c_str(), stderr); return kExitMisuse;
  }
  InstallCrashReport(program.c_str());
  // Before the first thread: setenv is not safe while another thread runs.
  SetSoftwareRendererDefaults();
  // The game reads no typed text, so the input method GLFW opens need not
  // parse the locale's compose table (5,700 lines under UTF-8: some 13 ms
  // of start-up). A player's own choice of file stands.
  setenv("XCOMPOSEFILE", "/dev/null", 0);
  // The skeletal runtime's tracking extension serves every allocation from
  // the first one on.
  TarnSkel::StartRuntime();
  if (!EnterDataDir()) return -1;
  // The pictures decode while the window opens.
  GameSystem::RequestStartPictures();
  SystemBase system;
  system.framePacing = FramePacingWanted(std::getenv("TARN_FRAME_PACING"));
  if (!StartUpWindow(system, GameWindowRequest())) return -1;
  InstallGameKeys(system.graphicManager.window);
  // After the window: GLFW opens the X input method in the locale of the
  // moment, which is then the environment's, as for any GLFW program.
  SetProgramLocale();

  GameSystem game;
  g_game = &game;
  if (!game.Init()) {
    system.Release();
    return -1;
  }
  if (system.RunFrame()) {
    game.AfterFirstFrame();
    system.MainLoop();
  }

  game.Release();
  system.Release();
  return 0;
}
