// The examples of the format reference (docs/format.md) pass skelcheck's
// strict checks: the atlas on its own, the whole character with it, and the
// whole character with each other example put in place of its sections.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "SkelcheckRun.h"
#include "TempDir.h"

namespace {

using skelcheck_test::Result;
using skelcheck_test::RunSkelcheck;

struct Block {
  std::string language, text;
  size_t line;  // of the opening fence, for messages
};

std::vector<Block> FencedBlocks(const std::string& doc) {
  std::vector<Block> blocks;
  Block* open = nullptr;
  size_t number = 0;
  for (size_t at = 0; at < doc.size();) {
    size_t end = doc.find('\n', at);
    if (end == std::string::npos) end = doc.size();
    const std::string line = doc.substr(at, end - at);
    ++number;
    if (line.rfind("```", 0) == 0) {
      if (open) {
        open = nullptr;
      } else {
        blocks.push_back({line.substr(3), "", number});
        open = &blocks.back();
      }
    } else if (open) {
      open->text += line + "\n";
    }
    at = end + 1;
  }
  EXPECT_EQ(open, nullptr) << "a fence left open";
  return blocks;
}

// The top-level sections of a JSON object written one section a line at an
// indent of two ("  \"key\": ..."), in order, each without its trailing comma.
std::vector<std::pair<std::string, std::string>> Sections(const std::string& object) {
  std::vector<std::pair<std::string, std::string>> sections;
  for (size_t at = object.find("\n  \""); at != std::string::npos;) {
    const size_t next = object.find("\n  \"", at + 1);
    std::string text = object.substr(at + 1, (next == std::string::npos ? object.rfind('}') : next) - at - 1);
    while (!text.empty() && (text.back() == '\n' || text.back() == ',')) text.pop_back();
    sections.push_back({text.substr(3, text.find('"', 3) - 3), text});
    at = next;
  }
  return sections;
}

// The whole character with each of example's sections in place of its own.
std::string Merged(const std::string& whole, const std::string& example) {
  std::vector<std::pair<std::string, std::string>> sections = Sections(whole);
  for (const auto& [key, text] : Sections(example)) {
    bool replaced = false;
    for (auto& section : sections)
      if (section.first == key) section.second = text, replaced = true;
    if (!replaced) sections.push_back({key, text});
  }
  std::string out = "{\n";
  for (size_t i = 0; i < sections.size(); ++i) out += sections[i].second + (i + 1 < sections.size() ? ",\n" : "\n");
  return out + "}\n";
}

}  // namespace

TEST(SkelcheckFormat, EveryExampleOfTheReferencePasses) {
  const std::string doc = skelcheck_test::Slurp(FORMAT_DOC);
  ASSERT_FALSE(doc.empty());
  std::string atlas, whole;
  std::vector<Block> examples;
  for (const Block& block : FencedBlocks(doc)) {
    if (block.language == "atlas") {
      EXPECT_TRUE(atlas.empty()) << "line " << block.line << ": one atlas example";
      atlas = block.text;
    } else if (block.language == "json" && block.text.find("\n  \"skeleton\"") != std::string::npos) {
      EXPECT_TRUE(whole.empty()) << "line " << block.line << ": one whole character";
      whole = block.text;
    } else {
      EXPECT_EQ(block.language, "json") << "line " << block.line << ": an example nothing checks";
      examples.push_back(block);
    }
  }
  ASSERT_FALSE(atlas.empty());
  ASSERT_FALSE(whole.empty());
  EXPECT_GE(examples.size(), 4u);

  tarn_test::TempDir dir;
  // The page image: its name and size as the atlas gives them.
  const std::string page = atlas.substr(0, atlas.find('\n'));
  const size_t size = atlas.find("size: ") + 6;
  const unsigned width = static_cast<unsigned>(std::atoi(atlas.c_str() + size));
  const unsigned height = static_cast<unsigned>(std::atoi(atlas.c_str() + atlas.find(',', size) + 1));
  dir.Write(page, skelcheck_test::Png(width, height));
  const std::string atlasPath = dir.Write("hero.atlas", atlas);
  Result r = RunSkelcheck(dir, "atlas --strict '" + atlasPath + "'");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err, "");

  r = RunSkelcheck(dir, "skeleton --strict '" + atlasPath + "' '" + dir.Write("hero.json", whole) + "'");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.rfind("skeleton bones=7 slots=3 skins=2 ", 0), 0u) << r.out;

  for (const Block& example : examples) {
    const std::string json = Merged(whole, example.text);
    r = RunSkelcheck(dir, "skeleton --strict '" + atlasPath + "' '" + dir.Write("example.json", json) + "'");
    EXPECT_EQ(r.code, 0) << "line " << example.line << "\n" << json;
    EXPECT_EQ(r.err, "") << "line " << example.line;
  }
}
