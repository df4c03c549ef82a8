// Scripts of editing commands: one command a line, '#' starts a comment,
// names with spaces in double quotes.
#pragma once

#include <string>
#include <vector>

namespace skeledit {

class Editor;

// The words of one line; false when a quote is left open.
bool SplitWords(const std::string& line, std::vector<std::string>& words, std::string& error);

// Runs every line in order; at the first that cannot be done stops with
// "line N: reason" in error and returns false. The editor then holds the
// commands before that line; the caller decides whether to save.
bool RunScript(Editor& editor, const std::string& script, std::string& error);

// The commands a script may use, one line each, for usage texts.
const char* CommandSummary();

}  // namespace skeledit
