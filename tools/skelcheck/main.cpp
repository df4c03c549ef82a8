// skelcheck: a command-line check of skeletal content files, built on the
// game's own runtime so that it reads them exactly as the game does.
#include <cstdio>
#include <cstring>

#include "Commands.h"
#include "Output.h"
#include "tarn/Report.h"

namespace {

using skelcheck::Verb;

const char* const exitCodes =
    "Exit codes: 0 clean; 1 the content has a problem (with --strict, a warning\n"
    "too); 2 a usage error or a file that cannot be read.\n";

void PrintVerb(const Verb& verb) {
  std::printf("  skelcheck %s\n", verb.usage);
  for (const char* line = verb.help; *line;) {
    const char* end = std::strchr(line, '\n');
    size_t length = end ? static_cast<size_t>(end - line) : std::strlen(line);
    std::printf("      %.*s\n", static_cast<int>(length), line);
    line += length + (end ? 1 : 0);
  }
}

int Help() {
  std::printf(
      "usage: skelcheck VERB ARGS...\n"
      "Checks a character's atlas and skeleton files the way the game reads them.\n\n");
  for (size_t i = 0; i < skelcheck::kVerbCount; ++i) PrintVerb(skelcheck::kVerbs[i]);
  std::printf("  skelcheck help [VERB], skelcheck --help, skelcheck -h\n      print this text\n\n%s", exitCodes);
  return skelcheck::kClean;
}

int VerbHelp(const Verb& verb) {
  std::printf("usage:\n");
  PrintVerb(verb);
  std::printf("\n%s", exitCodes);
  return skelcheck::kClean;
}

int ShortUsage() {
  std::fprintf(stderr, "usage: skelcheck VERB ARGS...\n");
  for (size_t i = 0; i < skelcheck::kVerbCount; ++i)
    std::fprintf(stderr, "  skelcheck %s\n", skelcheck::kVerbs[i].usage);
  std::fprintf(stderr, "skelcheck --help tells more.\n");
  return skelcheck::kUsage;
}

bool IsHelp(const char* arg) {
  return !std::strcmp(arg, "--help") || !std::strcmp(arg, "-h") || !std::strcmp(arg, "help");
}

}  // namespace

int main(int argc, char** argv) {
  tarn::SetProgramName("skelcheck");
  if (argc < 2) return ShortUsage();
  if (IsHelp(argv[1])) {
    if (argc == 2) return Help();
    if (argc > 3) return ShortUsage();
    const Verb* verb = skelcheck::FindVerb(argv[2]);
    if (!verb) {
      std::fprintf(stderr, "skelcheck: no verb named %s\n", argv[2]);
      return ShortUsage();
    }
    return VerbHelp(*verb);
  }
  if (const Verb* verb = skelcheck::FindVerb(argv[1])) {
    // --help after a verb is what people type as often as help VERB.
    for (int i = 2; i < argc; ++i)
      if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) return VerbHelp(*verb);
    return verb->run(argc - 2, argv + 2);
  }
  std::fprintf(stderr, "skelcheck: unknown verb %s\n", argv[1]);
  return ShortUsage();
}
