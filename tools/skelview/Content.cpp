#include "Content.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "skel/Atlas.h"
#include "skel/Json.h"
#include "skel/AtlasPage.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "tarn/Path.h"

namespace skelview {

std::string JsonSyntaxError(const std::string& path) {
  std::vector<unsigned char> bytes;
  if (!tarn::ReadFile(path.c_str(), bytes)) return "";  // the loader says why
  bytes.push_back('\0');
  const char* text = reinterpret_cast<const char*>(bytes.data());
  // The reader's error position is process-wide and never cleared; point it
  // at static text first, so an old one cannot seem to lie in this buffer.
  static const char kReset[] = "!";
  { skel::Json reset(kReset); }
  { skel::Json root(text); }
  const char* at = skel::Json::getError();
  const size_t length = std::strlen(text);
  std::less_equal<const char*> before;
  if (!at || !before(text, at) || !before(at, text + length)) return "";
  int line = 1, column = 1;
  for (const char* p = text; p < at; ++p) {
    if (*p == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  // What follows on that line, to recognise the place by.
  std::string near;
  for (const char* p = at; *p && *p != '\n' && *p != '\r' && near.size() < 24; ++p) {
    near += static_cast<unsigned char>(*p) < 32 ? ' ' : *p;
  }
  return "JSON syntax error at line " + std::to_string(line) + ", column " + std::to_string(column) +
         (near.empty() ? std::string(" (the file ends early)") : ": " + near);
}

bool LoadContent(const std::string& atlasPath, const std::string& jsonPath, TarnSkel::SkelData& out,
                 std::string& error) {
  out.Release();
  error.clear();
  // The atlas reader takes an unreadable file for an empty atlas, which would
  // only show up later as a region the skeleton cannot find.
  for (const std::string* path : {&atlasPath, &jsonPath}) {
    std::string why;
    if (!tarn::CheckRegularFile(path->c_str(), &why)) {
      error = "cannot read " + *path + ": " + why;
      return false;
    }
  }
  error = JsonSyntaxError(jsonPath);
  if (!error.empty()) return false;
  out.textureLoader = new TarnFrameworkSkelTextureLoader();
  out.atlas = new skel::Atlas(skel::String(atlasPath.c_str()), out.textureLoader);
  skel::SkeletonJson json(out.atlas);
  out.skeletonData = json.readSkeletonDataFile(skel::String(jsonPath.c_str()));
  if (!out.skeletonData) {
    const char* text = json.getError().buffer();
    error = text && *text ? text : "the skeleton could not be loaded";
    out.Release();
    return false;
  }
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
