// Loading a skeleton for the viewer: the glue's holder filled the way the
// game fills it, with skelcheck's account of what stops a load, and a watch on
// the files a load read.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "framework/skel/SkelData.h"

namespace skelview {

// Loads the atlas (its pages through the glue's texture loader, unless
// textures is false) and the skeleton, as skelcheck loads them, and fails on
// any error skelcheck's checks find. On failure out is left empty and error
// holds skelcheck's first problem line: the file, and the line and column or
// the entry, with what is wrong there. With printWarnings, a load that
// succeeds prints skelcheck's warnings on stderr, as the start does.
bool LoadContent(const std::string& atlasPath, const std::string& jsonPath, TarnSkel::SkelData& out, std::string& error,
                 bool textures = true, bool printWarnings = false);

// The page image files of a loaded atlas, as the atlas reader looks them up.
std::vector<std::string> PageImagePaths(const std::string& atlasPath, const TarnSkel::SkelData& content);

// Notices when any of a set of files changes (size, time, or it comes or
// goes). A change is reported once the files have kept still for a quarter
// of a second, so a file caught half-written is not loaded.
class FileWatch {
 public:
  static constexpr double kSettleSeconds = 0.25;

  void Watch(const std::vector<std::string>& paths);
  // Call now and then with the time in seconds on a steady clock; true once
  // after the files changed and settled.
  bool Poll(double now);

 private:
  struct Stamp {
    bool exists = false;
    off_t size = 0;
    long long seconds = 0;
    long nanoseconds = 0;
    bool operator==(const Stamp& o) const {
      return exists == o.exists && size == o.size && seconds == o.seconds && nanoseconds == o.nanoseconds;
    }
  };
  static Stamp Take(const std::string& path);
  std::vector<std::string> paths_;
  std::vector<Stamp> known_;    // as last loaded
  std::vector<Stamp> pending_;  // the change last seen
  double pendingSince_ = 0;     // when it was first seen
  bool changing_ = false;
};

}  // namespace skelview
