/// @class TarnFrameworkSkelTextureLoader
/// Turns every atlas page into a framework sprite, so skeletons draw with the
/// framework's own textures.
#pragma once

#include <string>
#include <vector>

#include "skel/TextureLoader.h"

class TarnFrameworkSkelTextureLoader : public skel::TextureLoader {
 public:
  TarnFrameworkSkelTextureLoader() = default;
  ~TarnFrameworkSkelTextureLoader() override = default;

  /// Hangs a new Graphic2D on the page; a page whose image cannot be loaded
  /// gets a sprite without a texture, which draws nothing, and is listed in
  /// failedPages.
  void loadPageTexture(skel::AtlasPage& page, const skel::String& path) override;
  /// Releases and deletes a sprite made above; null is ignored.
  void releasePageTexture(void* texture) override;

  /// Page images that could not be loaded, not yet reported: whether they
  /// matter depends on whether the skeleton loads at all.
  struct FailedPage {
    /// The page image's path and why it could not be loaded.
    /// @{
    std::string path;
    std::string why;
    /// @}
  };
  /// Pages whose image could not be loaded, in atlas order.
  std::vector<FailedPage> failedPages;
};
