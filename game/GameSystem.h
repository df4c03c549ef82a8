// GameSystem: the game's own system object, reached through g_game.
// For now it registers one plain screen so the program opens its window.
#pragma once

class GameSystem {
 public:
  GameSystem() = default;
  GameSystem(const GameSystem&) = delete;
  GameSystem& operator=(const GameSystem&) = delete;
  virtual ~GameSystem() = default;

  // Builds and registers the screens; false after releasing itself on failure.
  bool Init();
  virtual void Release();
};

extern GameSystem* g_game;
