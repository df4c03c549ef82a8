// A skeleton JSON file being edited: its document, the atlas its regions come
// from, the history of commands for undo and redo, and the skeleton as the
// runtime loads it from the document after every change. Every change is a
// command, one line of words (see Script.h), whether it comes from a script or
// from a gesture in the window.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "JsonDocument.h"

namespace skel {
class Atlas;
class SkeletonData;
}  // namespace skel

namespace skeledit {

class Editor {
 public:
  Editor();
  ~Editor();
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  // Reads the atlas (no textures) and the skeleton; a skeleton file that does
  // not exist yet starts as an empty skeleton with one bone, root. False with
  // the reason when either cannot be read or the skeleton does not load.
  bool Open(const std::string& atlasPath, const std::string& jsonPath, std::string& error);
  // The same from texts in memory, named path (for saving) and with the
  // atlas's pages beside it in atlasDir.
  bool OpenText(const std::string& atlasText, const std::string& atlasDir, const std::string& jsonText,
                const std::string& jsonPath, std::string& error);
  // The text an empty skeleton starts from.
  static std::string NewSkeletonText();

  // Runs one command; false with the reason, and the document as it was,
  // when it cannot be done or leaves a skeleton the runtime does not load.
  bool Execute(const std::vector<std::string>& words, std::string& error);
  bool Undo();
  bool Redo();
  bool CanUndo() const { return done_ > 0; }
  bool CanRedo() const { return done_ < history_.size(); }
  // The commands between these make one step of the history (one gesture).
  void BeginGesture();
  void EndGesture();

  // Writes the document atomically (a temporary file renamed over the old),
  // keeping the file it replaces as PATH.bak; with no path, over the file opened.
  bool Save(const std::string& path, std::string& error);
  bool Modified() const { return document_.Text() != savedText_; }
  // The file on disk still holds what was opened or last saved.
  bool FileUnchanged() const;
  bool IsNew() const { return isNew_; }
  const std::string& JsonPath() const { return jsonPath_; }
  const std::string& Text() const { return document_.Text(); }
  const JsonDocument& Document() const { return document_; }

  // Loads the skeleton again from the document (every command does).
  bool Reload(std::string& error);
  // The skeleton as last loaded from the document (owned by the editor).
  const skel::SkeletonData* Data() const { return data_.get(); }
  // Loads the document's skeleton over another atlas (the window's, which has
  // the page textures); null with the loader's error when it does not load.
  skel::SkeletonData* ReadSkeleton(skel::Atlas& atlas, std::string& error) const;
  // The size of an atlas region, for region attachments; false when the atlas has none of that name.
  bool RegionSize(const std::string& name, float& width, float& height) const;

 private:
  struct Step {
    std::string before, after;
  };
  bool Restore(const std::string& text);
  friend class EditCommands;

  std::string jsonPath_;
  std::string savedText_;
  bool isNew_ = false;
  JsonDocument document_;
  std::unique_ptr<skel::Atlas> atlas_;
  std::unique_ptr<skel::SkeletonData> data_;
  std::vector<Step> history_;
  size_t done_ = 0;  // steps of history_ in effect
  bool inGesture_ = false;
  std::string gestureStart_;
};

}  // namespace skeledit
