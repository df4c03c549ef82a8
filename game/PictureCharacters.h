// The four picture characters and the numbers they were drawn for: the game
// cuts each portrait as a square around the face centre and stands the full
// body on the picture's bottom centre, raised by the foot offset. The game,
// its tests and the asset generator all read this one table.
#pragma once

#include <cstdint>

struct PictureCharacter {
  const char* path;  // as the game opens it
  const char* file;  // the name inside gfx
  int32_t centreX, centreY, portraitSize;
  double scale;         // full-body scale in the game's layout
  int32_t footOffsetY;  // feet this far above the picture's bottom edge
};

constexpr PictureCharacter kPictureCharacters[] = {
    {"gfx\\testchar.png", "testchar.png", 320, 130, 80, 0.72, 0},
    {"gfx\\testchar2.png", "testchar2.png", 590, 90, 80, 0.78, 0},
    {"gfx\\testchar3.png", "testchar3.png", 200, 69, 85, 0.73, 20},
    {"gfx\\testchar4.png", "testchar4.png", 185, 140, 100, 0.78, 25},
};
