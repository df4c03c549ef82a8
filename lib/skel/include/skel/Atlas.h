/// @class skel::Atlas
/// A texture atlas: the pages of an atlas text file and the named regions on them.
#pragma once

#include <cstddef>

#include "skel/AtlasPage.h"
#include "skel/AtlasRegion.h"
#include "skel/NameIndex.h"
#include "skel/SkelObject.h"
#include "skel/String.h"
#include "skel/TextureLoader.h"
#include "skel/Vector.h"

namespace skel {

class Atlas : public SkelObject {
 public:
  /// Reads the atlas file; a file that cannot be read gives an atlas without
  /// pages. Page images are looked for next to the atlas. The texture loader
  /// is not owned and may be null.
  Atlas(const String& path, TextureLoader* textureLoader);
  /// Parses atlas text held in memory (length bytes, no terminator needed).
  Atlas(const char* data, size_t length, const String& dir, TextureLoader* textureLoader);
  Atlas(const Atlas&) = delete;
  Atlas& operator=(const Atlas&) = delete;
  ~Atlas() override;

  /// The first region in file order with this name, or null.
  AtlasRegion* findRegion(const String& name) const;

  /// The pages and the regions, in file order.
  /// @{
  const Vector<AtlasPage*>& getPages() const { return _pages; }
  const Vector<AtlasRegion*>& getRegions() const { return _regions; }
  /// @}

  /// Whether memory ran out while reading: the atlas then holds no pages and
  /// no regions rather than some of them.
  bool ranOutOfMemory() const { return _outOfMemory; }

  /// The folder part of an atlas path: up to the last '/' or '\'; a leading
  /// slash stays; empty without a slash.
  static String directoryOf(const String& path);

 private:
  void load(const char* data, size_t length, const String& dir);
  // Releases every page and region.
  void clear();

  Vector<AtlasPage*> _pages;
  Vector<AtlasRegion*> _regions;
  NameIndex _regionIndex;
  TextureLoader* _textureLoader;
  bool _outOfMemory = false;
};

}  // namespace skel
