#include "skel/AtlasPage.h"

namespace skel {

namespace {

const char* const formatNames[] = {"",       "Alpha",    "Intensity", "LuminanceAlpha",
                                   "RGB565", "RGBA4444", "RGB888",    "RGBA8888"};
const char* const filterNames[] = {"",
                                   "Nearest",
                                   "Linear",
                                   "MipMap",
                                   "MipMapNearestNearest",
                                   "MipMapLinearNearest",
                                   "MipMapNearestLinear",
                                   "MipMapLinearLinear"};

}  // namespace

const char* atlasFormatName(int format) { return format > 0 && format < 8 ? formatNames[format] : ""; }

const char* textureFilterName(int filter) { return filter > 0 && filter < 8 ? filterNames[filter] : ""; }

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
