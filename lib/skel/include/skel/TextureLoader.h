/// @class skel::TextureLoader
/// Makes and frees the texture of an atlas page; the renderer supplies it.
#pragma once

#include "skel/SkelObject.h"
#include "skel/String.h"

namespace skel {

class AtlasPage;

class TextureLoader : public SkelObject {
 public:
  TextureLoader();
  ~TextureLoader() override;

  /// Sets the page's renderer object to the texture made from the image at path.
  virtual void loadPageTexture(AtlasPage& page, const String& path) = 0;
  /// Frees a texture loadPageTexture made: a page's renderer object.
  virtual void releasePageTexture(void* texture) = 0;
};

}  // namespace skel
