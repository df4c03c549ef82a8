#include "skel/AtlasPage.h"

namespace skel {

// The format is always replaced by the page's format line.
AtlasPage::AtlasPage(const String& pageName)
    : name(pageName),
      format(Format_RGB888),
      minFilter(TextureFilter_Nearest),
      magFilter(TextureFilter_Nearest),
      uWrap(TextureWrap_ClampToEdge),
      vWrap(TextureWrap_ClampToEdge),
      width(0),
      height(0) {}

AtlasPage::~AtlasPage() = default;

}  // namespace skel
