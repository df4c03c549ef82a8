// CharGraphicManager: the table of character graphics a unit's graphic index
// points into. Slots 0 to 3 are picture characters, slot 4 the skeletal one.
#pragma once

#include <cstdint>

class CharGraphic;
class CharGraphicPNG;

class CharGraphicManager {
 public:
  static constexpr int32_t kSlots = 256;
  static constexpr int32_t kSkelSlot = 4;

  // Ask for pictures to be decoded ahead on the decoder's thread; need no GL
  // context. The skeletal character's page, which the constructor uploads;
  // and the picture characters' pictures, which become textures when first
  // drawn.
  static void RequestSkelPage();
  static void RequestPictures();
  // Loads every character graphic; needs a current GL context.
  CharGraphicManager();
  CharGraphicManager(const CharGraphicManager&) = delete;
  CharGraphicManager& operator=(const CharGraphicManager&) = delete;
  virtual ~CharGraphicManager();
  // Releases and deletes every graphic.
  virtual void Clear();

  // Replaces slot index with a picture character whose portrait is the square
  // of side portraitSize centred on (centreX, centreY). Null (and nothing
  // changed) outside 0 to 255; with no file the slot is left empty.
  CharGraphicPNG* SetPNG(int32_t index, const char* file, int32_t centreX, int32_t centreY, int32_t portraitSize);
  // Builds the skeletal character in slot kSkelSlot; the slot stays empty
  // when it cannot be built.
  void SetSkel();
  // Empties one slot; out-of-range indexes are ignored.
  void Remove(int32_t index);

  // The graphic of a unit's graphic index, or null outside 0 to 255 or for an
  // empty slot.
  CharGraphic* Find(int32_t index) const;

  CharGraphic* entries[kSlots] = {};
};
