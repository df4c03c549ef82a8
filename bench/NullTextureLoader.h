#pragma once

#include "skel/AtlasPage.h"
#include "skel/TextureLoader.h"

namespace {

// Pages without textures: loading and posing need none.
class NullTextureLoader : public skel::TextureLoader {
 public:
  void loadPageTexture(skel::AtlasPage&, const skel::String&) override {}
  void releasePageTexture(void*) override {}
};

}  // namespace
