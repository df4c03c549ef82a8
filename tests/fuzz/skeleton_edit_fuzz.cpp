// Any bytes opened as a skeleton document, and every editing command run over
// what opens: no command may crash or leave the document unreadable, and an
// undo of everything gives back the bytes opened.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "skeledit/Editor.h"
#include "skeledit/Script.h"

namespace {

const char atlasText[] =
    "fuzz.png\nsize: 128, 128\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n"
    "head\n  rotate: false\n  xy: 0, 0\n  size: 32, 32\n  orig: 32, 32\n  offset: 0, 0\n  index: -1\n";

// Names the fuzzer's texts are likely to hold, from the dictionary's words.
const char* const kScript =
    "set bone root rotation 12.5\nadd bone fz parent root x 1 y 2\nadd slot fzs bone fz attachment head\n"
    "attach fzs head\norder slot fzs to 0\nkey a bone fz rotate 0.5 3\nkey a bone root translate 0 1 2\n"
    "key a bone root scale 1 2 2\nmove key a bone root scale 1 2\nunkey a bone fz rotate 0.5\n"
    "rename bone root base\nrename slot fzs fzt\nrename animation a b\nretime b 2\ndelete bone fz\n"
    "rename event e f\nrename skin s t\nrename animation idle walk\nrename bone hip pelvis\n"
    "delete bone hip\nretime idle 0.5\nunkey idle bone hip rotate 0\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  skeledit::Editor editor;
  std::string error;
  if (!editor.OpenText(atlasText, "", text, "fuzz.json", error)) return 0;
  size_t from = 0;
  int done = 0;
  while (from < sizeof kScript - 1) {
    const size_t end = std::string(kScript).find('\n', from);
    std::vector<std::string> words;
    const std::string line(kScript + from, kScript + end);
    from = end + 1;
    if (!skeledit::SplitWords(line, words, error)) std::abort();
    if (editor.Execute(words, error)) ++done;
    if (!editor.Data()) std::abort();  // every command leaves a skeleton that loads
  }
  while (editor.Undo()) --done;
  if (editor.Text() != text) std::abort();
  return 0;
}
