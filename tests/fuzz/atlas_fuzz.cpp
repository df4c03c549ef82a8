// Any bytes given to the atlas reader, in a block of exactly their size: it
// must stay inside them and build pages and regions that hang together.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "skel/Atlas.h"

namespace {

class CountingLoader : public skel::TextureLoader {
 public:
  void loadPageTexture(skel::AtlasPage& page, const skel::String& path) override {
    if (!path.buffer()) std::abort();
    page.setRendererObject(&textures);
    ++loaded;
  }
  void releasePageTexture(void* texture) override {
    if (texture != &textures) std::abort();
    ++released;
  }
  int textures = 0;
  size_t loaded = 0, released = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CountingLoader loader;
  {
    skel::Atlas atlas(reinterpret_cast<const char*>(data), size, skel::String("skel_data"), &loader);
    if (loader.loaded != atlas.getPages().size()) std::abort();
    for (skel::AtlasRegion* region : atlas.getRegions()) {
      if (!atlas.getPages().contains(region->page)) std::abort();
      if (region->splits.size() != 0 && region->splits.size() != 4) std::abort();
      if (region->pads.size() != 0 && region->pads.size() != 4) std::abort();
      if (atlas.findRegion(region->name) == nullptr) std::abort();
    }
  }
  if (loader.released != loader.loaded) std::abort();
  return 0;
}
