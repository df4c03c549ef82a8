#include "CharGraphicManager.h"

#include "CharGraphicPNG.h"
#include "CharGraphicSkel.h"
#include "PictureCharacters.h"
#include "framework/graphics/Graphic2D.h"
#include "framework/graphics/PictureDecoder.h"

namespace {

// The skeletal character's atlas page, under the path its atlas makes for it.
constexpr const char* kSkelPage = "skel_data/Char01.png";

}  // namespace

void CharGraphicManager::RequestSkelPage() { TarnFramework::PictureDecoder::Request(kSkelPage); }

void CharGraphicManager::RequestPictures() {
  for (const PictureCharacter& p : kPictureCharacters) TarnFramework::PictureDecoder::Request(p.path);
}

CharGraphicManager::CharGraphicManager() {
  int32_t index = 0;
  for (const PictureCharacter& p : kPictureCharacters) {
    CharGraphicPNG* graphic = SetPNG(index++, p.path, p.centreX, p.centreY, p.portraitSize);
    if (!graphic) continue;
    graphic->scale = p.scale;
    graphic->footOffsetY = p.footOffsetY;
  }
  SetSkel();
}

CharGraphicManager::~CharGraphicManager() { CharGraphicManager::Clear(); }

void CharGraphicManager::Clear() {
  for (int32_t i = 0; i < kSlots; ++i) Remove(i);
}

void CharGraphicManager::Remove(int32_t index) {
  if (index < 0 || index >= kSlots || !entries[index]) return;
  entries[index]->Release();
  delete entries[index];
  entries[index] = nullptr;
}

CharGraphicPNG* CharGraphicManager::SetPNG(int32_t index, const char* file, int32_t centreX, int32_t centreY,
                                           int32_t portraitSize) {
  if (index < 0 || index >= kSlots) return nullptr;
  Remove(index);
  if (!file || !file[0]) return nullptr;
  CharGraphicPNG* graphic = new CharGraphicPNG;
  graphic->SetPicture(file);
  graphic->portraitRect = {centreX - portraitSize / 2, centreY - portraitSize / 2, portraitSize, portraitSize};
  entries[index] = graphic;
  return graphic;
}

void CharGraphicManager::SetSkel() {
  Remove(kSkelSlot);
  CharGraphicSkel* graphic = new CharGraphicSkel;
  if (!graphic->Build()) {
    delete graphic;
    return;
  }
  graphic->scale = 0.4;
  graphic->footOffsetY = 25;
  graphic->SetSkin("0_1");
  entries[kSkelSlot] = graphic;
}

CharGraphic* CharGraphicManager::Find(int32_t index) const {
  return index >= 0 && index < kSlots ? entries[index] : nullptr;
}
