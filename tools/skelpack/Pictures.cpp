// Reading the input folder: every PNG under it, decoded with lodepng, in an
// order that does not depend on the file system's.
#include "Pictures.h"

#include <lodepng.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <filesystem>
#include <map>
#include <unordered_map>

#include "tarn/Path.h"

namespace fs = std::filesystem;

namespace skelpack {

namespace {

bool IsPng(const fs::path& path) {
  std::string ext = path.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".png";
}

// The smallest box holding every pixel that is not fully clear.
void Trim(Picture& p) {
  int left = p.width, right = -1, top = p.height, bottom = -1;
  for (int y = 0; y < p.height; ++y) {
    const unsigned char* row = &p.rgba[static_cast<size_t>(y) * p.width * 4];
    for (int x = 0; x < p.width; ++x) {
      if (!row[x * 4 + 3]) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  if (right < 0) {
    // Nothing to draw, but the name must still find a region.
    p.left = p.top = 0;
    p.keptWidth = p.keptHeight = 1;
    return;
  }
  p.left = left, p.top = top;
  p.keptWidth = right - left + 1, p.keptHeight = bottom - top + 1;
}

bool SameKeptPixels(const Picture& a, const Picture& b) {
  if (a.keptWidth != b.keptWidth || a.keptHeight != b.keptHeight) return false;
  if (IsFullyClear(a) || IsFullyClear(b)) return IsFullyClear(a) && IsFullyClear(b);
  const size_t row = static_cast<size_t>(a.keptWidth) * 4;
  for (int y = 0; y < a.keptHeight; ++y)
    if (std::memcmp(&a.rgba[((static_cast<size_t>(a.top) + y) * a.width + a.left) * 4],
                    &b.rgba[((static_cast<size_t>(b.top) + y) * b.width + b.left) * 4], row) != 0)
      return false;
  return true;
}

size_t KeptHash(const Picture& p) {
  size_t hash = std::hash<long long>()(static_cast<long long>(p.keptWidth) << 32 | p.keptHeight);
  if (IsFullyClear(p)) return hash;
  // FNV-1a over the kept rows.
  for (int y = 0; y < p.keptHeight; ++y) {
    const unsigned char* row = &p.rgba[((static_cast<size_t>(p.top) + y) * p.width + p.left) * 4];
    for (size_t i = 0; i < static_cast<size_t>(p.keptWidth) * 4; ++i) hash = (hash ^ row[i]) * 1099511628211ull;
  }
  return hash;
}

void FindDuplicates(std::vector<Picture>& pictures) {
  std::unordered_map<size_t, std::vector<int>> byHash;
  for (size_t i = 0; i < pictures.size(); ++i) {
    std::vector<int>& same = byHash[KeptHash(pictures[i])];
    for (int j : same)
      if (SameKeptPixels(pictures[j], pictures[i])) {
        pictures[i].sameAs = j;
        break;
      }
    if (pictures[i].sameAs < 0) same.push_back(static_cast<int>(i));
  }
}

bool Decode(const fs::path& path, Picture& p, std::string& why) {
  std::vector<unsigned char> bytes;
  if (!tarn::ReadFile(path.c_str(), bytes, &why)) return false;
  unsigned width = 0, height = 0;
  LodePNGState state;
  lodepng_state_init(&state);
  unsigned error = lodepng_inspect(&width, &height, &state, bytes.data(), bytes.size());
  lodepng_state_cleanup(&state);
  // A header claiming more than any page holds is not decoded at all.
  if (!error && (width > 16384 || height > 16384)) {
    why = "its header claims " + std::to_string(width) + "x" + std::to_string(height) + " pixels";
    return false;
  }
  if (!error) error = lodepng::decode(p.rgba, width, height, bytes);
  if (error) {
    why = std::string("not a PNG that decodes (") + lodepng_error_text(error) + ")";
    return false;
  }
  p.width = static_cast<int>(width), p.height = static_cast<int>(height);
  return true;
}

}  // namespace

bool IsFullyClear(const Picture& p) {
  return p.keptWidth == 1 && p.keptHeight == 1 && p.rgba[(static_cast<size_t>(p.top) * p.width + p.left) * 4 + 3] == 0;
}

bool RegionName(const std::string& relative, std::string& name, int& index) {
  name = relative.substr(0, relative.size() - fs::path(relative).extension().string().size());
  index = -1;
  // Each line of an atlas is read trimmed of leading space, and a colon or a
  // line break would make a region line into something else.
  for (char c : name)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f || c == ':') return false;
  if (name.empty() || std::isspace(static_cast<unsigned char>(name[0]))) return false;
  const size_t underscore = name.find_last_of('_');
  if (underscore == std::string::npos || underscore == 0 || underscore + 1 == name.size() ||
      name[underscore - 1] == '/')
    return true;
  const std::string digits = name.substr(underscore + 1);
  if (digits.find_first_not_of("0123456789") != std::string::npos) return true;
  // A number past an int is part of the name, not a frame.
  const std::string significant = digits.substr(std::min(digits.find_first_not_of('0'), digits.size()));
  if (significant.size() > 10 || (significant.size() == 10 && significant > std::to_string(INT_MAX))) return true;
  index = significant.empty() ? 0 : std::stoi(significant);
  name.resize(underscore);
  return true;
}

bool LoadPictures(const std::string& folder, bool trim, const std::set<std::string>& whole,
                  const std::vector<std::string>& skip, std::vector<Picture>& pictures, std::string& error) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    error = folder + ": not a folder" + (ec ? " (" + ec.message() + ")" : "");
    return false;
  }
  std::vector<std::pair<std::string, fs::path>> files;  // path under folder, full path
  fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    if (!IsPng(it->path()) || !it->is_regular_file(ec)) continue;
    const fs::path full = it->path();
    if (std::find(skip.begin(), skip.end(), fs::weakly_canonical(full, ec).string()) != skip.end()) continue;
    files.emplace_back(full.lexically_relative(folder).generic_string(), full);
  }
  if (ec) {
    error = folder + ": cannot be read (" + ec.message() + ")";
    return false;
  }
  if (files.empty()) {
    error = folder + ": no PNG pictures in it";
    return false;
  }
  std::sort(files.begin(), files.end());

  std::map<std::pair<std::string, int>, std::string> taken;
  pictures.assign(files.size(), Picture());
  for (size_t i = 0; i < files.size(); ++i) {
    Picture& p = pictures[i];
    p.file = files[i].second.string();
    if (!RegionName(files[i].first, p.name, p.index)) {
      error = p.file + ": its name cannot be a region's (a colon, a control character or a leading space)";
      return false;
    }
    auto first = taken.emplace(std::make_pair(p.name, p.index), p.file);
    if (!first.second) {
      error = p.file + ": its region \"" + p.name + "\"" +
              (p.index >= 0 ? " index " + std::to_string(p.index) : std::string()) + " is also " + first.first->second +
              "'s";
      return false;
    }
    std::string why;
    if (!Decode(files[i].second, p, why)) {
      error = p.file + ": " + why;
      return false;
    }
    if (trim && !whole.count(p.name)) {
      Trim(p);
    } else {
      p.keptWidth = p.width, p.keptHeight = p.height;
    }
  }
  FindDuplicates(pictures);
  return true;
}

}  // namespace skelpack
