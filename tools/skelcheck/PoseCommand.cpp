// skelcheck pose ATLAS JSON ANIMATION TIME [--skin NAME]: poses a skeleton the
// way the game does (a fresh skeleton, the skin, the animation looping on
// track 0 with no mix, advanced by TIME seconds) and prints every bone's world
// transform and every slot's attachment and colour.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Commands.h"
#include "skel/Animation.h"
#include "skel/AnimationState.h"
#include "skel/AnimationStateData.h"
#include "skel/Atlas.h"
#include "skel/Attachment.h"
#include "skel/Bone.h"
#include "skel/BoneData.h"
#include "skel/SkelExtension.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "skel/Skin.h"
#include "skel/Slot.h"
#include "skel/SlotData.h"

namespace skelcheck {

namespace {

struct PoseArguments {
    const char* atlas = nullptr;
    const char* json = nullptr;
    const char* animation = nullptr;
    const char* skin = nullptr;
    float time = 0;
};

int PoseUsage() {
    std::fprintf(stderr, "usage: skelcheck pose ATLAS JSON ANIMATION TIME [--skin NAME]\n");
    return 2;
}

// A finite decimal number and nothing else.
bool ParseTime(const char* text, float& time) {
    char* end = nullptr;
    time = std::strtof(text, &end);
    return end != text && *end == '\0' && std::isfinite(time);
}

bool ParseArguments(int argc, char** argv, PoseArguments& args) {
    const char* positional[4];
    int count = 0;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--skin") == 0) {
            if (i + 1 >= argc || args.skin) return false;
            args.skin = argv[++i];
        } else if (count < 4) {
            positional[count++] = argv[i];
        } else {
            return false;
        }
    }
    if (count != 4 || !ParseTime(positional[3], args.time)) return false;
    args.atlas = positional[0];
    args.json = positional[1];
    args.animation = positional[2];
    return true;
}

// The atlas reader takes an unreadable file for an empty atlas.
bool Readable(const char* path) {
    size_t length = 0;
    char* data = skel::SkelExtension::readFileData(skel::String(path), &length);
    skel::SkelExtension::free(data, __FILE__, __LINE__);
    return data != nullptr;
}

double Out(float value) { return static_cast<double>(value); }

const char* Text(const skel::String& text) { return text.buffer() ? text.buffer() : ""; }

void PrintPose(skel::Skeleton& skeleton) {
    for (const skel::Bone* bone : skeleton.getBones())
        std::printf("bone %s %.6g %.6g %.6g %.6g %.6g %.6g\n", Text(bone->getData().getName()), Out(bone->getA()),
                    Out(bone->getB()), Out(bone->getC()), Out(bone->getD()), Out(bone->getWorldX()),
                    Out(bone->getWorldY()));
    for (skel::Slot* slot : skeleton.getDrawOrder()) {
        const skel::Attachment* attachment = slot->getAttachment();
        const char* name = attachment ? Text(attachment->getName()) : "-";
        const skel::Color& color = slot->getColor();
        std::printf("slot %s %s %.6g %.6g %.6g %.6g\n", Text(slot->getData().getName()), name, Out(color.r),
                    Out(color.g), Out(color.b), Out(color.a));
    }
}

// Everything after loading; 1 with a message when the data lacks a name.
int Pose(skel::SkeletonData& data, const PoseArguments& args) {
    skel::Animation* animation = data.findAnimation(skel::String(args.animation));
    if (!animation) {
        std::fprintf(stderr, "skelcheck: no animation named %s\n", args.animation);
        return 1;
    }
    skel::Skin* skin = nullptr;
    if (args.skin) {
        skin = data.findSkin(skel::String(args.skin));
        if (!skin) {
            std::fprintf(stderr, "skelcheck: no skin named %s\n", args.skin);
            return 1;
        }
    }

    skel::Skeleton skeleton(&data);
    if (skin) skeleton.setSkin(skin);
    skel::AnimationStateData stateData(&data);
    skel::AnimationState state(&stateData);
    state.setAnimation(0, animation, true);
    state.update(args.time);
    state.apply(skeleton);
    skeleton.updateWorldTransform();
    PrintPose(skeleton);
    return 0;
}

}  // namespace

int PoseCommand(int argc, char** argv) {
    PoseArguments args;
    if (!ParseArguments(argc, argv, args)) return PoseUsage();
    if (!Readable(args.atlas)) {
        std::fprintf(stderr, "skelcheck: cannot read %s\n", args.atlas);
        return 1;
    }
    skel::Atlas atlas(skel::String(args.atlas), nullptr);
    skel::SkeletonJson json(&atlas);
    skel::SkeletonData* data = json.readSkeletonDataFile(skel::String(args.json));
    if (!data) {
        std::fprintf(stderr, "%s\n", json.getError().buffer() ? json.getError().buffer() : "");
        return 1;
    }
    const int code = Pose(*data, args);
    delete data;
    return code;
}

}  // namespace skelcheck
