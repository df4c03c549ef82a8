#include "Editor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "EditCommands.h"
#include "skel/Atlas.h"
#include "skel/AtlasRegion.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "tarn/Path.h"

namespace skeledit {

namespace {

std::string Directory(const std::string& path) {
  const size_t cut = path.find_last_of("/\\");
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// bytes to path through a temporary file beside it and a rename, so the path
// holds either the old file or the new one whole, never a part.
bool WriteAtomically(const std::string& path, const std::string& bytes, mode_t mode, std::string& error) {
  std::string temp = path + ".XXXXXX";
  const int fd = mkstemp(&temp[0]);
  if (fd < 0) {
    error = "cannot write beside " + path + ": " + std::strerror(errno);
    return false;
  }
  const bool written = WriteAll(fd, bytes) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
  const int writeErrno = errno;
  if (close(fd) != 0 || !written) {
    error = "cannot write " + temp + ": " + std::strerror(written ? errno : writeErrno);
    unlink(temp.c_str());
    return false;
  }
  if (rename(temp.c_str(), path.c_str()) != 0) {
    error = "cannot replace " + path + ": " + std::strerror(errno);
    unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace

Editor::Editor() = default;
Editor::~Editor() = default;

std::string Editor::NewSkeletonText() {
  return "{\n"
         "  \"skeleton\": {\"version\": \"tarn-1\"},\n"
         "  \"bones\": [\n"
         "    {\"name\": \"root\"}\n"
         "  ]\n"
         "}\n";
}

bool Editor::Open(const std::string& atlasPath, const std::string& jsonPath, std::string& error) {
  std::vector<unsigned char> bytes;
  std::string why;
  if (!tarn::ReadFile(atlasPath.c_str(), bytes, &why)) {
    error = atlasPath + ": " + why;
    return false;
  }
  const std::string atlasText(bytes.begin(), bytes.end());
  struct stat info;
  const bool missing = stat(tarn::NativePath(jsonPath.c_str()).c_str(), &info) != 0 && errno == ENOENT;
  std::string text;
  if (missing) {
    text = NewSkeletonText();
  } else {
    if (!tarn::ReadFile(jsonPath.c_str(), bytes, &why)) {
      error = jsonPath + ": " + why;
      return false;
    }
    text.assign(bytes.begin(), bytes.end());
  }
  if (!OpenText(atlasText, Directory(atlasPath), text, jsonPath, error)) {
    error = jsonPath + ": " + error;
    return false;
  }
  isNew_ = missing;
  // A new file is unsaved until it is written.
  if (missing) savedText_.clear();
  return true;
}

bool Editor::OpenText(const std::string& atlasText, const std::string& atlasDir, const std::string& jsonText,
                      const std::string& jsonPath, std::string& error) {
  atlas_.reset(new skel::Atlas(atlasText.data(), atlasText.size(), skel::String(atlasDir.c_str()), nullptr));
  jsonPath_ = jsonPath;
  isNew_ = false;
  data_.reset();
  history_.clear();
  done_ = 0;
  inGesture_ = false;
  if (!document_.Load(jsonText, error)) return false;
  savedText_ = jsonText;
  return Reload(error);
}

skel::SkeletonData* Editor::ReadSkeleton(skel::Atlas& atlas, std::string& error) const {
  skel::SkeletonJson json(&atlas);
  skel::SkeletonData* data = json.readSkeletonData(document_.Text().c_str());
  if (!data) error = json.getError().buffer() ? json.getError().buffer() : "the skeleton does not load";
  return data;
}

bool Editor::Reload(std::string& error) {
  skel::SkeletonData* data = ReadSkeleton(*atlas_, error);
  if (!data) return false;
  data_.reset(data);
  return true;
}

bool Editor::RegionSize(const std::string& name, float& width, float& height) const {
  skel::AtlasRegion* region = atlas_ ? atlas_->findRegion(skel::String(name.c_str())) : nullptr;
  if (!region) return false;
  width = static_cast<float>(region->untrimmedWidth);
  height = static_cast<float>(region->untrimmedHeight);
  return true;
}

bool Editor::FileUnchanged() const {
  std::vector<unsigned char> bytes;
  if (!tarn::ReadFile(jsonPath_.c_str(), bytes)) return isNew_;
  return !isNew_ && bytes.size() == savedText_.size() && std::equal(bytes.begin(), bytes.end(), savedText_.begin());
}

bool Editor::Restore(const std::string& text) {
  std::string error;
  return document_.Load(text, error) && Reload(error);
}

bool Editor::Execute(const std::vector<std::string>& words, std::string& error) {
  if (words.empty()) return true;
  if (words[0] == "undo" || words[0] == "redo") {
    if (words.size() != 1) {
      error = words[0] + " takes nothing after it";
      return false;
    }
    const bool undo = words[0] == "undo";
    if (undo ? Undo() : Redo()) return true;
    error = undo ? "nothing to undo" : "nothing to redo";
    return false;
  }
  const std::string before = document_.Text();
  if (!EditCommands::Run(*this, words, error)) {
    Restore(before);
    return false;
  }
  if (document_.Text() == before) return true;
  std::string why;
  if (!Reload(why)) {
    error = "the skeleton would not load after it: " + why;
    Restore(before);
    return false;
  }
  if (inGesture_) return true;
  history_.resize(done_);
  history_.push_back({before, document_.Text()});
  ++done_;
  return true;
}

void Editor::BeginGesture() {
  if (inGesture_) return;
  inGesture_ = true;
  gestureStart_ = document_.Text();
}

void Editor::EndGesture() {
  if (!inGesture_) return;
  inGesture_ = false;
  if (document_.Text() == gestureStart_) return;
  history_.resize(done_);
  history_.push_back({gestureStart_, document_.Text()});
  ++done_;
}

bool Editor::Undo() {
  EndGesture();
  if (!done_) return false;
  --done_;
  return Restore(history_[done_].before);
}

bool Editor::Redo() {
  EndGesture();
  if (done_ >= history_.size()) return false;
  ++done_;
  return Restore(history_[done_ - 1].after);
}

bool Editor::Save(const std::string& path, std::string& error) {
  const std::string target = path.empty() ? jsonPath_ : path;
  const std::string native = tarn::NativePath(target.c_str());
  mode_t mode = 0644;
  struct stat info;
  if (stat(native.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) {
      error = target + " is not a regular file";
      return false;
    }
    mode = info.st_mode & 07777;
    // The file replaced stays beside the new one.
    std::vector<unsigned char> old;
    std::string why;
    if (!tarn::ReadFile(target.c_str(), old, &why)) {
      error = "cannot keep a backup of " + target + ": " + why;
      return false;
    }
    if (!WriteAtomically(native + ".bak", std::string(old.begin(), old.end()), mode, error)) return false;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  if (!WriteAtomically(native, document_.Text(), mode, error)) return false;
  if (target == jsonPath_) {
    savedText_ = document_.Text();
    isNew_ = false;
  }
  return true;
}

}  // namespace skeledit
