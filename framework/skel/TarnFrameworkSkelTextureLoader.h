// Turns every atlas page into a framework sprite, so skeletons draw with the
// framework's own textures.
#pragma once

#include "skel/TextureLoader.h"

class TarnFrameworkSkelTextureLoader : public skel::TextureLoader {
 public:
  TarnFrameworkSkelTextureLoader() = default;
  ~TarnFrameworkSkelTextureLoader() override = default;

  // Hangs a new Graphic2D on the page; a page whose image cannot be loaded
  // gets a sprite without a texture, which draws nothing.
  void loadPageTexture(skel::AtlasPage& page, const skel::String& path) override;
  // Releases and deletes a sprite made above; null is ignored.
  void releasePageTexture(void* texture) override;
};
