// Barrack: the player's characters.
#pragma once

#include "CharUnitManager.h"

class Barrack {
 public:
  Barrack() = default;
  Barrack(const Barrack&) = delete;
  Barrack& operator=(const Barrack&) = delete;
  virtual ~Barrack();
  virtual void Clear();

  CharUnitManager units;
};
