#include "Character.h"

#include <utility>

#include "AtlasCheck.h"
#include "JsonSyntax.h"
#include "Lint.h"
#include "Locate.h"
#include "skel/Atlas.h"
#include "skel/Json.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"

namespace skelcheck {

Character::Character() = default;

Character::~Character() { delete data; }

int LoadCharacter(const char* atlasPath, const char* jsonPath, bool checks, Report& report, Character& character,
                  skel::TextureLoader* pages) {
  character.atlasPath = atlasPath;
  character.jsonPath = jsonPath;
  const std::pair<const char*, std::string*> files[] = {{atlasPath, &character.atlasText},
                                                        {jsonPath, &character.jsonText}};
  for (auto [path, text] : files) {
    std::string why;
    if (!ReadText(path, *text, why)) {
      report.failure(std::string("cannot read ") + path + ": " + why);
      return kUsage;
    }
  }
  if (LooksLikeJson(character.atlasText) && !LooksLikeJson(character.jsonText)) {
    report.failure(std::string("the arguments are the wrong way round: ") + atlasPath + " is a skeleton JSON and " +
                   jsonPath + " looks like an atlas; give the atlas first");
    return kUsage;
  }
  const std::string notAtlas = NotAnAtlas(character.atlasText);
  if (!notAtlas.empty()) {
    report.failure(std::string(atlasPath) + " " + notAtlas);
    return kUsage;
  }

  if (checks) {
    character.atlasLines = CheckAtlasText(character.atlasText, atlasPath, report);
    // Whatever the game makes of such an atlas, the shape was said once.
    if (character.atlasLines.misread) return kProblem;
  }
  character.atlas.reset(new (__FILE__, __LINE__) skel::Atlas(character.atlasText.data(), character.atlasText.size(),
                                                             skel::Atlas::directoryOf(skel::String(atlasPath)), pages));
  if (checks) CheckAtlasContent(*character.atlas, character.atlasLines, atlasPath, report);

  if (LooksLikeUtf16(character.jsonText)) {
    report.error("file-utf16", Place(jsonPath, 1, 1), "the file is UTF-16: save it as UTF-8");
    return kProblem;
  }
  // The game goes on with whatever the reader built before a syntax
  // error; a content maker must not.
  const JsonSyntax syntax = CheckJsonSyntax(character.jsonText);
  if (syntax.failed) {
    report.error("json-syntax", AtOffset(jsonPath, character.jsonText, syntax.offset), syntax.message);
    return kProblem;
  }
  if (syntax.trailing && checks)
    report.warning("json-trailing-text", AtOffset(jsonPath, character.jsonText, syntax.trailingOffset),
                   "text after the end of the JSON value is ignored");

  // Every mistake in the file at once; the loader would stop at the first.
  const int before = report.errorCount();
  if (checks) LintSkeleton(character.jsonText, jsonPath, character.atlas.get(), report);
  const bool linted = report.errorCount() > before;

  skel::SkeletonJson json(character.atlas.get());
  character.data = json.readSkeletonData(character.jsonText.c_str());
  if (linted) return kProblem;
  if (!character.data) {
    const std::string error = json.getError().buffer() ? json.getError().buffer() : "";
    skel::Json root(character.jsonText.c_str());
    const std::string place = LocateLoaderError(error, &root, *character.atlas);
    report.error("loader", Place{jsonPath}, place.empty() ? error : place);
    return kProblem;
  }
  if (character.data->getBones().size() == 0) {
    report.error("no-bones", Place{jsonPath}, "the skeleton has no bones");
    return kProblem;
  }
  return kClean;
}

}  // namespace skelcheck
