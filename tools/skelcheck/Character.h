// Loads a character (an atlas and a skeleton JSON) as the game does, reading
// both files through the shared safe reader, and says what is wrong with it.
#pragma once

#include <memory>
#include <string>

#include "AtlasCheck.h"
#include "Output.h"

namespace skel {
class Atlas;
class SkeletonData;
class TextureLoader;
}  // namespace skel

namespace skelcheck {

struct Character {
  Character();
  ~Character();
  Character(const Character&) = delete;
  Character& operator=(const Character&) = delete;

  std::string atlasPath, jsonPath;
  std::string atlasText, jsonText;
  AtlasLines atlasLines;  // filled when checking
  std::unique_ptr<skel::Atlas> atlas;
  skel::SkeletonData* data = nullptr;  // owned
};

// kClean with character.data set, or the exit code after saying why in
// report: kUsage for unreadable files, swapped arguments or an atlas that is
// no atlas text (an image, binary data), kProblem for content the game would
// not load or that holds no skeleton, or (when checking) an atlas in a shape
// the reader misreads. Warnings about the atlas and the JSON text go to
// report too; checks is false for pose, which reports only what stops it.
// The atlas's pages are loaded through pages when one is given (it must
// outlive character.atlas).
int LoadCharacter(const char* atlasPath, const char* jsonPath, bool checks, Report& report, Character& character,
                  skel::TextureLoader* pages = nullptr);

// The checks of a loaded character beyond loading (with the skeleton verb):
// the names the game looks for, regions stretched or used by nothing, and
// colours keyed that the game does not show.
void CheckLoadedCharacter(const Character& character, Report& report);

}  // namespace skelcheck
