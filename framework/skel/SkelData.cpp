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

bool SkelData::Load(std::string* why) { return Load(kAtlasPath, kSkeletonPath, why); }

bool SkelData::Load(const char* atlasPath, const char* skeletonPath, std::string* why) {
  std::string file, reason;
  if (LoadParts(atlasPath, skeletonPath, file, reason)) return true;
  Release();
  if (why) {
    *why = file.empty() ? reason : tarn::FileName(file.c_str()) + ": " + reason;
  } else {
    tarn::ReportWarning(file.empty() ? "cannot load a skeleton" : "cannot read " + tarn::FileName(file.c_str()),
                        reason);
  }
  return false;
}

bool SkelData::LoadParts(const char* atlasPath, const char* skeletonPath, std::string& file, std::string& reason) {
  Release();
  if (!atlasPath || !skeletonPath) {
    reason = "no atlas or skeleton file named";
    return false;
  }
  // Without its atlas a skeleton fails for want of regions, which would
  // blame the first attachment: the atlas is named first.
  file = atlasPath;
  reason = ReadFailure(atlasPath);
  if (!reason.empty()) return false;
  textureLoader = new TarnFrameworkSkelTextureLoader();
  atlas = new skel::Atlas(skel::String(atlasPath), textureLoader);
  // The reader owns the attachment loader it makes and frees it on return.
  skel::SkeletonJson json(atlas);
  skeletonData = json.readSkeletonDataFile(skel::String(skeletonPath));
  file = skeletonPath;
  if (!skeletonData) {
    reason = ReadFailure(skeletonPath);
    if (reason.empty()) {
      const skel::String& error = json.getError();
      reason = error.isEmpty() ? "no skeleton read" : error.buffer();
    }
    return false;
  }
  // Page images only matter to a skeleton that loaded: a garbled atlas
  // names pages that never existed, and the skeleton says what is wrong.
  if (!textureLoader->failedPages.empty()) {
    file = textureLoader->failedPages.front().path;
    reason = textureLoader->failedPages.front().why;
    return false;
  }
  // JSON without a skeleton in it (an empty object) reads as one with no
  // bones: loaded, but worth a word.
  if (skeletonData->getBones().size() == 0) {
    tarn::ReportWarning("cannot read " + tarn::FileName(skeletonPath), "holds no bones: nothing to draw");
  }
  return true;
}

}  // namespace TarnSkel
