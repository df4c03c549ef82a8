// skelcheck: a command-line check of skeletal content files, built on the
// game's own runtime so that it reads them exactly as the game does.
#include <cstdio>
#include <cstring>

#include "Commands.h"

namespace {

struct Verb {
    const char* name;
    int (*run)(int argc, char** argv);
    const char* help;
};

const Verb verbs[] = {
    {"json", skelcheck::JsonCommand, "json FILE    print the JSON tree the runtime reads from FILE"},
    {"atlas", skelcheck::AtlasCommand, "atlas FILE   print every page and region of an atlas"},
    {"skeleton", skelcheck::SkeletonCommand, "skeleton ATLAS JSON   load a skeleton as the game does and list it"},
    {"pose", skelcheck::PoseCommand,
     "pose ATLAS JSON ANIMATION TIME [--skin NAME]   print the pose the game shows TIME seconds in"},
};

int Usage() {
    std::fprintf(stderr, "usage: skelcheck VERB ARGS...\n");
    for (const Verb& verb : verbs) std::fprintf(stderr, "  skelcheck %s\n", verb.help);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    for (const Verb& verb : verbs)
        if (std::strcmp(argv[1], verb.name) == 0) return verb.run(argc - 2, argv + 2);
    std::fprintf(stderr, "skelcheck: unknown verb %s\n", argv[1]);
    return Usage();
}
