#include "framework/skel/SkelData.h"

#include <unistd.h>

#include <string>

#include "skel/Atlas.h"
#include "skel/SkelExtension.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "tarn/Path.h"
#include "tarn/Report.h"

namespace {

// The runtime's reader does not say why it could not read a file: why it
// cannot, or empty when the file opens and holds something.
std::string ReadFailure(const char* path) {
  size_t size = 0;
  std::string why;
  const int fd = tarn::OpenRegularFile(path, &size, &why);
  if (fd < 0) return why;
  ::close(fd);
  return size == 0 ? "empty file" : "";
}

}  // namespace

namespace TarnSkel {

void StartRuntime() { skel::SkelExtension::getInstance(); }

void ReleaseSkelParts(TarnFrameworkSkelTextureLoader*& textureLoader, skel::Atlas*& atlas,
                      skel::SkeletonData*& skeletonData) {
  delete skeletonData;
  skeletonData = nullptr;
  // The atlas hands every page sprite back to the loader, so it goes first.
  delete atlas;
  atlas = nullptr;
  delete textureLoader;
  textureLoader = nullptr;
}

SkelData::~SkelData() { Release(); }

int SkelData::Release() {
  ReleaseSkelParts(textureLoader, atlas, skeletonData);
  return 0;
}

bool SkelData::Load() { return Load(kAtlasPath, kSkeletonPath); }

bool SkelData::Load(const char* atlasPath, const char* skeletonPath) {
  Release();
  if (!atlasPath || !skeletonPath) return false;
  const std::string atlasFailure = ReadFailure(atlasPath);
  textureLoader = new TarnFrameworkSkelTextureLoader();
  atlas = new skel::Atlas(skel::String(atlasPath), textureLoader);
  // The reader owns the attachment loader it makes and frees it on return.
  skel::SkeletonJson json(atlas);
  skeletonData = json.readSkeletonDataFile(skel::String(skeletonPath));

  // One warning per broken file. Without its atlas a skeleton fails for want
  // of regions, which says nothing new; page pictures only matter to a
  // skeleton that loaded (a garbled atlas names pages that never existed).
  if (!atlasFailure.empty()) tarn::ReportWarning("cannot read " + tarn::FileName(atlasPath), atlasFailure);
  if (!skeletonData) {
    const std::string why = ReadFailure(skeletonPath);
    if (!why.empty()) {
      tarn::ReportWarning("cannot read " + tarn::FileName(skeletonPath), why);
    } else if (atlasFailure.empty()) {
      const skel::String& error = json.getError();
      tarn::ReportWarning("cannot read " + tarn::FileName(skeletonPath),
                          error.isEmpty() ? "no skeleton read" : error.buffer());
    }
    Release();
    return false;
  }
  // JSON without a skeleton in it (an empty object) reads as one with no bones.
  if (skeletonData->getBones().size() == 0) {
    tarn::ReportWarning("cannot read " + tarn::FileName(skeletonPath), "holds no bones: nothing to draw");
  }
  for (const auto& page : textureLoader->failedPages) {
    tarn::ReportWarning("cannot read " + tarn::FileName(page.path.c_str()), page.why);
  }
  textureLoader->failedPages.clear();
  return true;
}

}  // namespace TarnSkel
