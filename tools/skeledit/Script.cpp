#include "Script.h"

#include "Editor.h"

namespace skeledit {

bool SplitWords(const std::string& line, std::vector<std::string>& words, std::string& error) {
  words.clear();
  size_t i = 0;
  for (;;) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i == line.size() || line[i] == '#') return true;
    std::string word;
    if (line[i] == '"') {
      // A quoted name may hold spaces, '#', and \" or \\ for a quote or a backslash.
      for (++i;; ++i) {
        if (i == line.size()) {
          error = "a quote is not closed";
          return false;
        }
        if (line[i] == '"') break;
        if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) ++i;
        word += line[i];
      }
      ++i;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '#')
        word += line[i++];
    }
    words.push_back(word);
  }
}

bool RunScript(Editor& editor, const std::string& script, std::string& error) {
  size_t lineNumber = 0;
  for (size_t from = 0; from < script.size();) {
    const size_t end = std::min(script.find('\n', from), script.size());
    const std::string line = script.substr(from, end - from);
    from = end + 1;
    ++lineNumber;
    std::vector<std::string> words;
    std::string why;
    if (!SplitWords(line, words, why) || !editor.Execute(words, why)) {
      error = "line " + std::to_string(lineNumber) + ": " + why;
      return false;
    }
  }
  return true;
}

const char* CommandSummary() {
  return "  set bone NAME FIELD VALUE          setup pose; FIELD: x y rotation scaleX scaleY shearX shearY length\n"
         "  add bone NAME parent PARENT [x X] [y Y] [rotation R] [length L]\n"
         "  delete bone NAME                   refused, naming what uses it, while anything does\n"
         "  add slot NAME bone BONE [attachment REGION]   drawn on top; REGION from the atlas\n"
         "  attach SLOT REGION                 the slot's setup attachment\n"
         "  order slot NAME to N               draw order place, 0 drawn first\n"
         "  key ANIM bone NAME rotate TIME ANGLE\n"
         "  key ANIM bone NAME translate TIME X Y\n"
         "  key ANIM bone NAME scale TIME X Y  adds or replaces the key at TIME\n"
         "  unkey ANIM bone NAME rotate|translate|scale TIME\n"
         "  move key ANIM bone NAME rotate|translate|scale FROM TO   the key keeps its values and curve\n"
         "  rename bone|slot|skin|animation|event OLD NEW   every reference follows\n"
         "  retime ANIM FACTOR                 every key and event time times FACTOR\n"
         "  undo\n"
         "  redo\n"
         "  One command a line; # starts a comment; \"a name\" with spaces in double quotes.\n";
}

}  // namespace skeledit
