// skelcheck pose ATLAS JSON ANIMATION TIME [--skin NAME]: poses a skeleton the
// way the game does (a fresh skeleton, the skin, the animation looping on
// track 0 with no mix, advanced by TIME seconds) and prints every bone's world
// transform and every slot's attachment and colour.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Character.h"
#include "Commands.h"
#include "Output.h"
#include "skel/Animation.h"
#include "skel/AnimationState.h"
#include "skel/AnimationStateData.h"
#include "skel/Attachment.h"
#include "skel/Bone.h"
#include "skel/BoneData.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
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

double Out(float value) { return static_cast<double>(value); }

const char* Text(const skel::String& text) { return text.buffer() ? text.buffer() : ""; }

template <typename Item>
std::string NameList(const skel::Vector<Item*>& items) {
  if (items.size() == 0) return "none";
  std::string out;
  for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + std::string(Text(items[i]->getName()));
  return out;
}

void PrintPose(skel::Skeleton& skeleton) {
  std::printf("# bone NAME a b c d worldX worldY, then slot NAME ATTACHMENT r g b a in draw order\n");
  for (const skel::Bone* bone : skeleton.getBones())
    std::printf("bone %s %.6g %.6g %.6g %.6g %.6g %.6g\n", Text(bone->getData().getName()), Out(bone->getA()),
                Out(bone->getB()), Out(bone->getC()), Out(bone->getD()), Out(bone->getWorldX()),
                Out(bone->getWorldY()));
  for (skel::Slot* slot : skeleton.getDrawOrder()) {
    const skel::Attachment* attachment = slot->getAttachment();
    const char* name = attachment ? Text(attachment->getName()) : "-";
    const skel::Color& color = slot->getColor();
    std::printf("slot %s %s %.6g %.6g %.6g %.6g\n", Text(slot->getData().getName()), name, Out(color.r), Out(color.g),
                Out(color.b), Out(color.a));
  }
}

// Everything after loading; 1 with a message when the data lacks a name.
int Pose(skel::SkeletonData& data, const PoseArguments& args) {
  skel::Animation* animation = data.findAnimation(skel::String(args.animation));
  if (!animation) {
    std::fprintf(stderr, "skelcheck: no animation named %s; the animations are: %s\n", args.animation,
                 NameList(data.getAnimations()).c_str());
    return kProblem;
  }
  skel::Skin* skin = nullptr;
  if (args.skin) {
    skin = data.findSkin(skel::String(args.skin));
    if (!skin) {
      std::fprintf(stderr, "skelcheck: no skin named %s; the skins are: %s\n", args.skin,
                   NameList(data.getSkins()).c_str());
      return kProblem;
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
  if (!ParseArguments(argc, argv, args)) return UsageError("pose");
  Report report;
  Character character;
  const int loaded = LoadCharacter(args.atlas, args.json, false, report, character);
  if (loaded != kClean) return loaded;
  return Pose(*character.data, args);
}

}  // namespace skelcheck
