#include "framework/skel/TarnFrameworkSkelTextureLoader.h"

#include "framework/graphics/Graphic2D.h"
#include "skel/AtlasPage.h"

using TarnFramework::Graphic2D;

void TarnFrameworkSkelTextureLoader::loadPageTexture(skel::AtlasPage& page, const skel::String& path) {
  Graphic2D* sprite = new Graphic2D();
  std::string why;
  if (path.length() > 0 && !sprite->LoadImage(path.buffer(), &why)) failedPages.push_back({path.buffer(), why});
  page.setRendererObject(sprite);
}

void TarnFrameworkSkelTextureLoader::releasePageTexture(void* texture) {
  Graphic2D* sprite = static_cast<Graphic2D*>(texture);
  if (!sprite) return;
  sprite->Release();
  delete sprite;
}
