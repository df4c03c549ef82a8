// skelview's editing: one edit of Char01 as the window makes it while a bone
// is dragged (the command on the document, then the skeleton loaded again
// from the document), and the reload alone. Both must fit in one frame.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchSupport.h"
#include "skel/SkeletonData.h"
#include "skeledit/Editor.h"

namespace {

bool OpenChar01(skeledit::Editor& editor, benchmark::State& state) {
  EnterWorkdir();
  std::string error;
  if (editor.Open("skel_data/Char01.atlas", "skel_data/Char01.json", error)) return true;
  state.SkipWithError(error.c_str());
  return false;
}

void EditChar01(benchmark::State& state) {
  skeledit::Editor editor;
  if (!OpenChar01(editor, state)) return;
  editor.BeginGesture();
  int turn = 0;
  for (auto _ : state) {
    std::string error;
    if (!editor.Execute({"set", "bone", "upperarm-L", "rotation", std::to_string(-170 + turn++ % 40)}, error)) {
      state.SkipWithError(error.c_str());
      break;
    }
    benchmark::DoNotOptimize(editor.Data());
  }
}

void ReloadChar01(benchmark::State& state) {
  skeledit::Editor editor;
  if (!OpenChar01(editor, state)) return;
  std::string error;
  for (auto _ : state) {
    if (!editor.Reload(error)) {
      state.SkipWithError(error.c_str());
      break;
    }
    benchmark::DoNotOptimize(editor.Data());
  }
}

}  // namespace

BENCHMARK(EditChar01)->Name("Edit_Char01/command_and_reload")->Unit(benchmark::kMillisecond);
BENCHMARK(ReloadChar01)->Name("Edit_Char01/reload")->Unit(benchmark::kMillisecond);
