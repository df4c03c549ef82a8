// skelcheck skeleton ATLAS JSON: loads a skeleton the way the game does (the
// atlas without textures, attachments made over it, scale 1) and prints what
// it holds, or the loader's error.
#include <cstdio>

#include "Commands.h"
#include "Output.h"
#include "skel/Animation.h"
#include "skel/Atlas.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "skel/SkelExtension.h"

namespace skelcheck {

namespace {

// The atlas reader takes an unreadable file for an empty atlas; here that is
// a mistake on the command line, not something to load against.
bool Readable(const char* path) {
    size_t length = 0;
    char* data = skel::SkelExtension::readFileData(skel::String(path), &length);
    skel::SkelExtension::free(data, __FILE__, __LINE__);
    return data != nullptr;
}

void PrintSummary(const skel::SkeletonData& data) {
    const size_t constraints =
        data.getIkConstraints().size() + data.getTransformConstraints().size() + data.getPathConstraints().size();
    std::printf("skeleton bones=%zu slots=%zu skins=%zu constraints=%zu events=%zu animations=%zu\n",
                data.getBones().size(), data.getSlots().size(), data.getSkins().size(), constraints,
                data.getEvents().size(), data.getAnimations().size());
    for (const skel::Animation* animation : data.getAnimations())
        std::printf("animation name=%s duration=%s\n", Quoted(animation->getName().buffer()).c_str(),
                    Number(animation->getDuration()).c_str());
}

}  // namespace

int SkeletonCommand(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skelcheck skeleton ATLAS JSON\n");
        return 2;
    }
    if (!Readable(argv[0])) {
        std::fprintf(stderr, "skelcheck: cannot read %s\n", argv[0]);
        return 2;
    }
    skel::Atlas atlas(skel::String(argv[0]), nullptr);
    skel::SkeletonJson json(&atlas);
    skel::SkeletonData* data = json.readSkeletonDataFile(skel::String(argv[1]));
    if (!data) {
        std::fprintf(stderr, "%s\n", json.getError().buffer() ? json.getError().buffer() : "");
        return 1;
    }
    PrintSummary(*data);
    delete data;
    return 0;
}

}  // namespace skelcheck
