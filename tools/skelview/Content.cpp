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
                 bool textures) {
  out.Release();
  error.clear();
  // Before the character: its atlas gives the pages back to the loader.
  std::unique_ptr<TarnFrameworkSkelTextureLoader> pages(textures ? new TarnFrameworkSkelTextureLoader() : nullptr);
  skelcheck::Report report(false);
  skelcheck::Character character;
  if (skelcheck::LoadCharacter(atlasPath.c_str(), jsonPath.c_str(), false, report, character, pages.get()) !=
      skelcheck::kClean) {
    error = report.firstProblem();
    return false;
  }
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

bool FileWatch::Poll() {
  std::vector<Stamp> now;
  for (const std::string& path : paths_) now.push_back(Take(path));
  if (now == known_) {
    changing_ = false;
    return false;
  }
  if (changing_ && now == pending_) {
    // Still since the last poll: take it as the new state.
    known_ = now;
    changing_ = false;
    return true;
  }
  pending_ = now;
  changing_ = true;
  return false;
}

}  // namespace skelview
