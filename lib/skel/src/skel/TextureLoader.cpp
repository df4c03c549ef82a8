#include "skel/TextureLoader.h"

namespace skel {

TextureLoader::TextureLoader() = default;

TextureLoader::~TextureLoader() = default;

}  // namespace skel
