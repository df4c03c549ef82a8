// The editing commands over an editor's document: each checks its words and
// the names they give, then changes only the text of what it touches.
#pragma once

#include <string>
#include <vector>

namespace skeledit {

class Editor;

class EditCommands {
 public:
  // One command's words (undo and redo are the editor's own); false with the
  // reason, the document then possibly half changed for the caller to restore.
  static bool Run(Editor& editor, const std::vector<std::string>& words, std::string& error);
};

}  // namespace skeledit
