#include "Content.h"

#include <sys/stat.h>

#include <memory>

#include "skel/Atlas.h"
#include "skel/AtlasPage.h"
#include "skel/SkeletonData.h"
#include "skelcheck/Character.h"
#include "skelcheck/Output.h"
#include "tarn/Path.h"

namespace skelview {

bool LoadContent(const std::string& atlasPath, const std::string& jsonPath, TarnSkel::SkelData& out, std::string& error,
                 bool textures, bool printWarnings) {
  out.Release();
  error.clear();
  // Before the character: its atlas gives the pages back to the loader.
  std::unique_ptr<TarnFrameworkSkelTextureLoader> pages(textures ? new TarnFrameworkSkelTextureLoader() : nullptr);
  skelcheck::Report report(false);
  skelcheck::Character character;
  // With skelcheck's checks: an atlas the runtime reads without complaint can
  // still be broken (a page image that does not decode), and then the view
  // would show nothing while saying all is well.
  if (skelcheck::LoadCharacter(atlasPath.c_str(), jsonPath.c_str(), true, report, character, pages.get()) !=
          skelcheck::kClean ||
      report.hasProblems()) {
    error = report.firstProblem();
    return false;
  }
  // The checks of the loaded character too, as at the start.
  skelcheck::CheckLoadedCharacter(character, report);
  if (report.hasProblems()) {
    error = report.firstProblem();
    return false;
  }
  // Written as the report goes.
  report.setPrint(printWarnings);
  out.textureLoader = pages.release();
  out.atlas = character.atlas.release();
  out.skeletonData = character.data;
  character.data = nullptr;
  return true;
}

std::vector<std::string> PageImagePaths(const std::string& atlasPath, const TarnSkel::SkelData& content) {
  std::vector<std::string> paths;
  if (!content.atlas) return paths;
  const size_t cut = atlasPath.find_last_of("/\\");
  const std::string dir = cut == std::string::npos ? std::string() : atlasPath.substr(0, cut + 1);
  for (skel::AtlasPage* page : content.atlas->getPages()) {
    if (page && page->name.buffer()) paths.push_back(dir + page->name.buffer());
  }
  return paths;
}

FileWatch::Stamp FileWatch::Take(const std::string& path) {
  Stamp stamp;
  struct stat info;
  if (stat(tarn::NativePath(path.c_str()).c_str(), &info) != 0) return stamp;
  stamp.exists = true;
  stamp.size = info.st_size;
  stamp.seconds = info.st_mtim.tv_sec;
  stamp.nanoseconds = info.st_mtim.tv_nsec;
  return stamp;
}

void FileWatch::Watch(const std::vector<std::string>& paths) {
  paths_ = paths;
  known_.clear();
  for (const std::string& path : paths_) known_.push_back(Take(path));
  pending_.clear();
  changing_ = false;
}

bool FileWatch::Poll(double now) {
  std::vector<Stamp> stamps;
  for (const std::string& path : paths_) stamps.push_back(Take(path));
  if (stamps == known_) {
    changing_ = false;
    return false;
  }
  if (!changing_ || stamps != pending_) {
    pending_ = stamps;
    pendingSince_ = now;
    changing_ = true;
    return false;
  }
  if (now - pendingSince_ < kSettleSeconds) return false;
  known_ = stamps;
  changing_ = false;
  return true;
}

}  // namespace skelview
