// The pictures of an input folder: decoded, named and trimmed.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace skelpack {

struct Picture {
  std::string file;  // as found under the input folder, for messages
  std::string name;  // the region's name
  int index = -1;    // frame of a sequence, -1 for none
  int width = 0, height = 0;
  std::vector<unsigned char> rgba;  // the whole picture, rows top down
  // The part kept: whole unless trimmed; 1 x 1 for a fully clear picture.
  int left = 0, top = 0, keptWidth = 0, keptHeight = 0;
  int sameAs = -1;  // the first picture with the same kept pixels, if another
};

// A fully clear picture, kept as one clear pixel wherever it was.
bool IsFullyClear(const Picture& picture);

// The region name and index of a path under the input folder ("walk_3.png":
// "walk", 3). False when the name cannot be written in an atlas line.
bool RegionName(const std::string& relative, std::string& name, int& index);

// Every PNG under folder, in the byte order of their paths, decoded and
// trimmed (when trim is set, except for the regions named in whole), with
// duplicates found. skip lists files not to read (the pages of an earlier
// run). False with the refusal in error.
bool LoadPictures(const std::string& folder, bool trim, const std::set<std::string>& whole,
                  const std::vector<std::string>& skip, std::vector<Picture>& pictures, std::string& error);

}  // namespace skelpack
