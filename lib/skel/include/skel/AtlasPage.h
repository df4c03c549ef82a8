/// @class skel::AtlasPage
/// One texture image of an atlas, as described by its page block.
#pragma once

#include "skel/HasRendererObject.h"
#include "skel/SkelObject.h"
#include "skel/String.h"

namespace skel {

/// Indexes in the atlas format's name tables.
enum AtlasFormat {
  Format_Unknown = 0,
  Format_Alpha,
  Format_Intensity,
  Format_LuminanceAlpha,
  Format_RGB565,
  Format_RGBA4444,
  Format_RGB888,
  Format_RGBA8888
};

/// Indexes in the atlas format's filter name table.
enum TextureFilter {
  TextureFilter_Unknown = 0,
  TextureFilter_Nearest,
  TextureFilter_Linear,
  TextureFilter_MipMap,
  TextureFilter_MipMapNearestNearest,
  TextureFilter_MipMapLinearNearest,
  TextureFilter_MipMapNearestLinear,
  TextureFilter_MipMapLinearLinear
};

/// How a page's texture repeats beyond its edges.
enum TextureWrap { TextureWrap_ClampToEdge = 1, TextureWrap_Repeat = 2 };

/// The names an atlas writes for a format and a filter; "" for Unknown and for
/// values outside the enumeration.
/// @{
const char* atlasFormatName(int format);
const char* textureFilterName(int filter);
/// @}

class AtlasPage : public SkelObject, public HasRendererObject {
 public:
  /// A page of the image file pageName, with no texture yet.
  explicit AtlasPage(const String& pageName);
  ~AtlasPage() override;

  /// The image file name as written in the atlas.
  String name;
  /// A path for the renderer's own use; left empty by the atlas reader.
  String texturePath;
  /// The pixel format (AtlasFormat) the atlas asks for.
  int format;
  /// The filters (TextureFilter) and wrap modes (TextureWrap) the atlas asks for.
  /// @{
  int minFilter, magFilter;
  int uWrap, vWrap;
  /// @}
  /// The image's size in pixels; only used to compute region texture coordinates.
  /// @{
  int width, height;
  /// @}
};

}  // namespace skel
