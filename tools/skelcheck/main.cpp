// skelcheck: a command-line check of skeletal content files, built on the
// game's own runtime so that it reads them exactly as the game does.
#include <cstdio>
#include <cstring>

#include "Commands.h"
#include "Output.h"

namespace {

struct Verb {
    const char* name;
    int (*run)(int argc, char** argv);
    const char* usage;
    const char* help;
};

const Verb verbs[] = {
    {"json", skelcheck::JsonCommand, "json [--partial] [--strict] FILE",
     "print the JSON tree the game reads from FILE; a syntax error is shown as\n"
     "FILE:LINE:COLUMN: what was expected, and the tree only with --partial"},
    {"atlas", skelcheck::AtlasCommand, "atlas [--strict] ATLAS",
     "print every page and region of an atlas, and warn about missing page\n"
     "images, regions outside their page, entries cut short and duplicate names"},
    {"skeleton", skelcheck::SkeletonCommand, "skeleton [--strict] [--format text|json] ATLAS JSON",
     "load a character as the game does and list its bones, slots, skins,\n"
     "constraints, events and animations; report the first loading error with\n"
     "its place, and warn about what the game silently accepts"},
    {"pose", skelcheck::PoseCommand, "pose [--skin NAME] ATLAS JSON ANIMATION TIME",
     "print each bone's world transform and each slot's attachment and colour\n"
     "TIME seconds into ANIMATION, played looping as the game plays it"},
};

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
    std::printf("usage: skelcheck VERB ARGS...\n"
                "Checks a character's atlas and skeleton files the way the game reads them.\n\n");
    for (const Verb& verb : verbs) PrintVerb(verb);
    std::printf("  skelcheck help [VERB], skelcheck --help, skelcheck -h\n      print this text\n\n%s",
                exitCodes);
    return skelcheck::kClean;
}

int VerbHelp(const Verb& verb) {
    std::printf("usage:\n");
    PrintVerb(verb);
    std::printf("\n%s", exitCodes);
    return skelcheck::kClean;
}

const Verb* Find(const char* name) {
    for (const Verb& verb : verbs)
        if (std::strcmp(name, verb.name) == 0) return &verb;
    return nullptr;
}

int ShortUsage() {
    std::fprintf(stderr, "usage: skelcheck VERB ARGS...\n");
    for (const Verb& verb : verbs) std::fprintf(stderr, "  skelcheck %s\n", verb.usage);
    std::fprintf(stderr, "skelcheck --help tells more.\n");
    return skelcheck::kUsage;
}

bool IsHelp(const char* arg) {
    return !std::strcmp(arg, "--help") || !std::strcmp(arg, "-h") || !std::strcmp(arg, "help");
}

}  // namespace

namespace skelcheck {

int UsageError(const char* verb) {
    const Verb* found = Find(verb);
    std::fprintf(stderr, "usage: skelcheck %s\nskelcheck help %s tells more.\n", found ? found->usage : verb, verb);
    return kUsage;
}

}  // namespace skelcheck

int main(int argc, char** argv) {
    if (argc < 2) return ShortUsage();
    if (IsHelp(argv[1])) {
        if (argc == 2) return Help();
        if (argc > 3) return ShortUsage();
        const Verb* verb = Find(argv[2]);
        if (!verb) {
            std::fprintf(stderr, "skelcheck: no verb named %s\n", argv[2]);
            return ShortUsage();
        }
        return VerbHelp(*verb);
    }
    if (const Verb* verb = Find(argv[1])) {
        // --help after a verb is what people type as often as help VERB.
        for (int i = 2; i < argc; ++i)
            if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) return VerbHelp(*verb);
        return verb->run(argc - 2, argv + 2);
    }
    std::fprintf(stderr, "skelcheck: unknown verb %s\n", argv[1]);
    return ShortUsage();
}
