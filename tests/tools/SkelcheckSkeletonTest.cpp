#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "SkelcheckRun.h"
#include "TempDir.h"

namespace {

using skelcheck_test::Result;
using skelcheck_test::RunSkelcheck;

Result RunSkeleton(const tarn_test::TempDir& dir, const std::string& atlas, const std::string& json) {
  return RunSkelcheck(dir, "skeleton '" + atlas + "' '" + json + "'");
}

const char* const atlasText =
    "page.png\nsize: 64, 64\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n"
    "head\n  rotate: false\n  xy: 0, 0\n  size: 32, 32\n  orig: 32, 32\n  offset: 0, 0\n  index: -1\n";

}  // namespace

TEST(SkelcheckSkeleton, ListsWhatTheSkeletonHolds) {
  tarn_test::TempDir dir;
  std::string atlas = dir.Write("char.atlas", atlasText);
  std::string json = dir.Write(
      "char.json",
      "{\"bones\":[{\"name\":\"root\"},{\"name\":\"arm\",\"parent\":\"root\"}],"
      "\"slots\":[{\"name\":\"body\",\"bone\":\"arm\",\"attachment\":\"head\"}],"
      "\"ik\":[{\"name\":\"k\",\"bones\":[\"arm\"],\"target\":\"root\"}],"
      "\"transform\":[{\"name\":\"t\",\"order\":1,\"bones\":[\"arm\"],\"target\":\"root\"}],"
      "\"skins\":[{\"name\":\"default\",\"attachments\":{\"body\":{\"head\":{}}}}],"
      "\"events\":{\"step\":{}},"
      "\"animations\":{\"walk\":{\"bones\":{\"arm\":{\"rotate\":[{\"time\":0},{\"time\":1.5,\"angle\":90}]}}},"
      "\"idle\":{\"events\":[{\"time\":0,\"name\":\"step\"}]}}}");
  dir.Write("page.png", skelcheck_test::Png(64, 64));
  Result r = RunSkeleton(dir, atlas, json);
  EXPECT_EQ(r.code, 0);
  // Warnings leave the exit code at 0 unless --strict.
  EXPECT_EQ(r.err, json +
                       ": warning: no bone named \"Face\": the game frames the portrait around it and shows none "
                       "without it [game-no-face]\n" +
                       json +
                       ": warning: no skin named \"0_1\": the game shows this skin and falls back to the "
                       "default skin [game-no-skin]\n");
  EXPECT_EQ(RunSkelcheck(dir, "skeleton --strict '" + atlas + "' '" + json + "'").code, 1);
  EXPECT_EQ(r.out,
            "skeleton bones=2 slots=1 skins=1 constraints=2 events=1 animations=2\n"
            "bones:\n"
            "  root\n"
            "    arm\n"
            "slots:\n"
            "  body  bone arm  blend normal  attachment head\n"
            "skins:\n"
            "  default  attachments 1\n"
            "constraints:\n"
            "  ik k\n"
            "  transform t\n"
            "events:\n"
            "  step\n"
            "animations:\n"
            "  walk  duration 1.5  bones arm  slots -\n"
            "  idle  duration 0  bones -  slots -\n");

  r = RunSkelcheck(dir, "skeleton --format json '" + atlas + "' '" + json + "'");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(
      r.out,
      "{\n"
      "  \"problems\": [\n"
      "    {\"severity\": \"warning\", \"code\": \"game-no-face\", \"message\": \"no bone named \\\"Face\\\": the "
      "game frames the portrait around it and shows none without it\", \"file\": \"" +
          json +
          "\", \"line\": 0, \"column\": 0, \"path\": \"\"},\n"
          "    {\"severity\": \"warning\", \"code\": \"game-no-skin\", \"message\": \"no skin named "
          "\\\"0_1\\\": the game shows this skin and falls back to the default skin\", \"file\": \"" +
          json +
          "\", \"line\": 0, \"column\": 0, \"path\": \"\"}\n"
          "  ],\n"
          "  \"bones\": [\n"
          "    {\"name\": \"root\", \"parent\": null},\n"
          "    {\"name\": \"arm\", \"parent\": \"root\"}\n"
          "  ],\n"
          "  \"slots\": [\n"
          "    {\"name\": \"body\", \"bone\": \"arm\", \"blend\": \"normal\", \"attachment\": \"head\"}\n"
          "  ],\n"
          "  \"skins\": [\n"
          "    {\"name\": \"default\", \"attachments\": 1}\n"
          "  ],\n"
          "  \"constraints\": {\"ik\": [\"k\"], \"transform\": [\"t\"], \"path\": []},\n"
          "  \"events\": [\"step\"],\n"
          "  \"animations\": [\n"
          "    {\"name\": \"walk\", \"duration\": 1.5, \"bones\": [\"arm\"], \"slots\": []},\n"
          "    {\"name\": \"idle\", \"duration\": 0, \"bones\": [], \"slots\": []}\n"
          "  ]\n"
          "}\n");
}

// What the loader would stop at, each at the value that names the missing
// thing: its line and column, the path of names to it, and the message.
// "at" is the text the column points to.
TEST(SkelcheckSkeleton, LoaderErrorsNameTheirPlace) {
  tarn_test::TempDir dir;
  const std::string atlas = dir.Write("char.atlas", atlasText);
  dir.Write("page.png", skelcheck_test::Png(64, 64));
  const std::string bones =
      "\"bones\":[{\"name\":\"root\"},{\"name\":\"arm\",\"parent\":\"root\"}],"
      "\"slots\":[{\"name\":\"body\",\"bone\":\"arm\"}],";
  const std::string skin = "\"skins\":[{\"name\":\"default\",\"attachments\":{\"body\":{\"head\":{}}}}],";
  const std::string bonesWithPath = bones + "\"path\":[{\"name\":\"p\",\"bones\":[],\"target\":\"bdy\"}],";
  const struct {
    std::string json, at, path, message;
  } cases[] = {
      {"{\"bones\":[{\"name\":\"arm\",\"parent\":\"root\"},{\"name\":\"root\"}]}", "\"root\"}", "bones/arm/parent",
       "its parent \"root\" comes later in \"bones\"; a parent must come before its children"},
      {"{\"bones\":[{\"name\":\"arm\",\"parent\":\"arm\"}]}", "\"arm\"}", "bones/arm/parent",
       "the bone \"arm\" is its own parent"},
      {"{" + bones + "\"ik\":[{\"name\":\"k\",\"bones\":[\"arn\"],\"target\":\"root\"}]}", "\"arn\"", "ik/k/bones/0",
       "no bone named \"arn\" (did you mean \"arm\"?)"},
      {"{" + bones + "\"transform\":[{\"name\":\"t\",\"bones\":[\"arm\"],\"target\":\"rot\"}]}", "\"rot\"",
       "transform/t/target", "no bone named \"rot\" (did you mean \"root\"?)"},
      {"{" + bones + "\"skins\":[{\"name\":\"s\",\"bones\":[\"leg\"]}]}", "\"leg\"", "skins/s/bones/0",
       "no bone named \"leg\""},
      {"{" + bones + "\"skins\":[{\"name\":\"default\",\"attachments\":{\"body\":{\"head\":{\"type\":\"sprite\"}}}}]}",
       "\"sprite\"", "skins/default/attachments/body/head/type",
       "\"sprite\" is not an attachment type (region, mesh, linkedmesh, boundingbox, path, point, clipping)"},
      {"{" + bones +
           "\"skins\":[{\"name\":\"default\",\"attachments\":{\"body\":{\"cap\":{\"type\":\"linkedmesh\","
           "\"path\":\"head\",\"parent\":\"hood\"}}}}]}",
       "\"hood\"", "skins/default/attachments/body/cap/parent",
       "no mesh \"hood\" to be its parent under slot \"body\" in the skin \"default\""},
      {"{" + bones + skin + "\"animations\":{\"walk\":{\"bones\":{\"leg\":{\"rotate\":[]}}}}}", "\"leg\"",
       "animations/walk/bones/leg", "no bone named \"leg\""},
      {"{" + bones + skin + "\"animations\":{\"walk\":{\"bones\":{\"arm\":{\"spin\":[]}}}}}", "\"spin\"",
       "animations/walk/bones/arm/spin", "\"spin\" is not a timeline of a bone"},
      {"{" + bones + skin + "\"animations\":{\"walk\":{\"slots\":{\"bdy\":{\"color\":[]}}}}}", "\"bdy\"",
       "animations/walk/slots/bdy", "no slot named \"bdy\" (did you mean \"body\"?)"},
      {"{" + bones + skin + "\"animations\":{\"walk\":{\"drawOrder\":[{\"offsets\":[{\"slot\":\"bod\"}]}]}}}",
       "\"bod\"", "animations/walk/drawOrder/0/offsets/0/slot", "no slot named \"bod\" (did you mean \"body\"?)"},
      {"{" + bones + skin + "\"events\":{\"step\":{}},\"animations\":{\"walk\":{\"events\":[{\"name\":\"stpe\"}]}}}",
       "\"stpe\"", "animations/walk/events/0/name", "no event named \"stpe\" (did you mean \"step\"?)"},
      {"{" + bones + skin + "\"animations\":{\"walk\":{\"deform\":{\"default\":{\"body\":{\"hat\":[]}}}}}}", "\"hat\"",
       "animations/walk/deform/default/body/hat", "the skin \"default\" has no attachment \"hat\" under slot \"body\""},
      {"{" + bonesWithPath.substr(0, bonesWithPath.size() - 1) + "}", "\"bdy\"", "path/p/target",
       "no slot named \"bdy\" (did you mean \"body\"?)"},
      {"{" + bones +
           "\"ik\":[{\"name\":\"k\",\"bones\":[\"arm\"],\"target\":\"root\"}],"
           "\"skins\":[{\"name\":\"s\",\"ik\":[\"kk\"]}]}",
       "\"kk\"", "skins/s/ik/0", "no IK constraint named \"kk\" (did you mean \"k\"?)"},
      {"{" + bones + "\"skins\":[{\"name\":\"default\",\"attachments\":{\"bdy\":{\"head\":{}}}}]}", "\"bdy\"",
       "skins/default/attachments/bdy", "no slot named \"bdy\" (did you mean \"body\"?)"},
      {"{" + bones +
           "\"skins\":[{\"name\":\"default\",\"attachments\":{\"body\":{\"m\":{\"type\":\"mesh\","
           "\"path\":\"head\",\"uvs\":[],\"triangles\":[],\"vertices\":[]},\"cap\":{\"type\":\"linkedmesh\","
           "\"path\":\"head\",\"parent\":\"m\",\"skin\":\"defualt\"}}}}]}",
       "\"defualt\"", "skins/default/attachments/body/cap/skin",
       "its parent mesh's skin \"defualt\" does not exist (did you mean \"default\"?)"},
      {"{" + bones + skin + "\"animations\":{\"walk\":{\"slots\":{\"body\":{\"colour\":[]}}}}}", "\"colour\"",
       "animations/walk/slots/body/colour", "\"colour\" is not a timeline of a slot (did you mean \"color\"?)"},
      {"{" + bonesWithPath.substr(0, bonesWithPath.find("\"bdy\"")) + "\"body\"}]," + skin +
           "\"animations\":{\"walk\":{\"path\":{\"q\":{\"mix\":[]}}}}}",
       "\"q\"", "animations/walk/path/q", "no path constraint named \"q\" (did you mean \"p\"?)"},
  };
  for (const auto& c : cases) {
    const std::string json = dir.Write("char.json", c.json);
    Result r = RunSkeleton(dir, atlas, json);
    EXPECT_EQ(r.code, 1) << c.json;
    ASSERT_NE(c.json.find(c.at), std::string::npos) << c.at;
    // Most of these skeletons have no default skin, which is told first.
    const size_t noDefault = r.err.find(": no skin is named \"default\"");
    if (noDefault != std::string::npos) r.err.erase(0, r.err.find('\n', noDefault) + 1);
    EXPECT_EQ(r.err, json + ":1:" + std::to_string(c.json.find(c.at) + 1) + ": " + c.path + ": " + c.message + "\n")
        << c.json;
  }
}

namespace {

std::string Asset(const char* name) { return skelcheck_test::Slurp(std::string(SKELCHECK_ASSETS "/") + name); }

// One small change to a text; the test fails loudly if the text it changes is gone.
std::string Changed(const std::string& text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.substr(0, at) + to + text.substr(at + from.size());
}

std::string Lines(const std::string& text, size_t count) {
  size_t end = 0;
  for (size_t i = 0; i < count && end < text.size(); ++i) end = text.find('\n', end) + 1;
  return text.substr(0, end);
}

}  // namespace

// The committed character, each time with one thing broken as a content
// maker might break it: the first line skelcheck says, and its exit code.
// ATLAS and JSON in the expected line stand for the two paths given.
TEST(SkelcheckSkeleton, BrokenCharactersSayWhatIsWrongFirst) {
  tarn_test::TempDir dir;
  const std::string atlas = Asset("Char01.atlas"), json = Asset("Char01.json");
  dir.Write("Char01.png", Asset("Char01.png"));
  ASSERT_FALSE(atlas.empty());
  ASSERT_FALSE(json.empty());
  const std::string unclosed = json.substr(0, json.rfind('}'));
  std::string utf16 = "\xFF\xFE";
  for (char c : json) utf16 += std::string(1, c) + '\0';
  // As committed it passes even the strict check.
  EXPECT_EQ(RunSkelcheck(dir, "skeleton --strict '" + dir.Write("Char01.atlas", atlas) + "' '" +
                                  dir.Write("Char01.json", json) + "'")
                .code,
            0);
  const struct {
    const char* what;
    std::string atlas, json;
    int code;
    std::string first;
  } cases[] = {
      {"as committed", atlas, json, 0, ""},
      {"a removed bone", atlas,
       Changed(json, "    {\"name\": \"neck\", \"parent\": \"torso\", \"length\": 50, \"x\": 270},\n", ""), 1,
       "{j}:7:32: bones/head/parent: no bone named \"neck\""},
      {"a broken bracket", atlas, Changed(json, "\"x\": 270}", "\"x\": 270"), 1,
       "{j}:8:5: expected a member name in double quotes"},
      {"a missing bracket at the end", atlas, unclosed, 1,
       "{j}:" + std::to_string(std::count(unclosed.begin(), unclosed.end(), '\n') + 1) +
           ":1: unexpected end of file, expected ',' or '}'"},
      {"a misspelt region", Changed(atlas, "hair-back\n", "hair-bakc\n"), json, 1,
       "{j}:76:11: skins/default/attachments/hair-back/hair-back: region \"hair-back\" is not in the "
       "atlas (did you mean \"hair-bakc\"?)"},
      {"a misspelt slot bone", atlas, Changed(json, "\"bone\": \"scarf1\"", "\"bone\": \"scarf\""), 1,
       "{j}:34:31: slots/scarf/bone: no bone named \"scarf\" (did you mean \"scarf1\" or \"scarf2\" or \"scarf3\"?)"},
      {"a cut atlas", Lines(atlas, 40), json, 1,
       "{a}:40: warning: region \"thigh-R\" is cut short: the file ends before its \"index:\" line "
       "[atlas-entry-cut-short]"},
      {"a region drawn out of shape",
       Changed(atlas, "  size: 120, 150\n  orig: 120, 150", "  size: 120, 120\n  orig: 120, 120"), json, 0,
       "{j}: warning: skin \"default\", slot \"hair-back\", attachment \"hair-back\" is 240x300 but its region "
       "\"hair-back\" is 120x120: the image is stretched out of shape [stretched-region]"},
      {"an unused region",
       atlas + "spare\n  rotate: false\n  xy: 0, 0\n  size: 1, 1\n  orig: 1, 1\n  offset: 0, 0\n  index: -1\n", json, 0,
       "{a}:" + std::to_string(std::count(atlas.begin(), atlas.end(), '\n') + 1) +
           ": warning: region \"spare\" is used by no attachment [unused-region]"},
      {"a short slot colour", atlas,
       Changed(json, "\"bone\": \"root\", \"attachment\": \"shadow\"",
               "\"bone\": \"root\", \"color\": \"ffffff\", \"attachment\": \"shadow\""),
       0,
       "{j}:32:49: warning: slots/shadow/color: the text \"ffffff\" is not 8 hexadecimal digits (RRGGBBAA) "
       "[colour-text]"},
      {"a misspelt linked mesh parent", atlas, Changed(json, "\"parent\": \"scarf\"", "\"parent\": \"scarff\""), 1,
       "{j}:167:75: skins/0_1/attachments/scarf/scarf/parent: no mesh \"scarff\" to be its parent under slot "
       "\"scarf\" in the skin \"default\" (did you mean \"scarf\"?)"},
      {"a dark colour with alpha", atlas,
       Changed(json, "\"bone\": \"root\", \"attachment\": \"shadow\"",
               "\"bone\": \"root\", \"dark\": \"000000ff\", \"attachment\": \"shadow\""),
       0,
       "{j}:32:48: warning: slots/shadow/dark: the text \"000000ff\" is not 6 hexadecimal digits (RRGGBB) "
       "[colour-text]"},
      {"two skeletons in one file", atlas, json + "{}\n", 0,
       "{j}:" + std::to_string(std::count(json.begin(), json.end(), '\n') + 1) +
           ":1: warning: text after the end of the JSON value is ignored [json-trailing-text]"},
      {"no Face bone", atlas, Changed(json, "\"name\": \"Face\"", "\"name\": \"face\""), 0,
       "{j}: warning: no bone named \"Face\": the game frames the portrait around it and shows none without it "
       "[game-no-face]"},
      {"no bones", atlas, "{\"skeleton\": {\"version\": \"1\"}}", 1, "{j}: the skeleton has no bones"},
      {"an empty file", atlas, "", 1, "{j}:1:1: unexpected end of file, expected a value"},
      {"plain text", atlas, "name: Char01\n", 1, "{j}:1:1: expected a value"},
      {"random bytes", atlas, std::string("\x8f\x02\xff{[\"\x00\x7f", 9), 1, "{j}:1:1: expected a value"},
      {"a region name that ends in spaces", Changed(atlas, "hair-back\n", "hair-back  \n"), json, 1,
       "{j}:76:11: skins/default/attachments/hair-back/hair-back: region \"hair-back\" is not in the atlas (the name "
       "\"hair-back  \" ends in two spaces)"},
      {"a skeleton saved as UTF-16", atlas, utf16, 1, "{j}:1:1: the file is UTF-16: save it as UTF-8"},
      {"swapped arguments", json, atlas, 2,
       "skelcheck: the arguments are the wrong way round: {a} is a skeleton JSON and {j} looks like an atlas; "
       "give the atlas first"},
  };
  for (const auto& c : cases) {
    const std::string a = dir.Write("Char01.atlas", c.atlas), j = dir.Write("Char01.json", c.json);
    Result r = RunSkeleton(dir, a, j);
    std::string first = c.first;
    for (auto [name, path] : {std::pair<std::string, std::string>{"{a}", a}, {"{j}", j}})
      for (size_t at = first.find(name); at != std::string::npos; at = first.find(name, at + path.size()))
        first.replace(at, name.size(), path);
    EXPECT_EQ(r.code, c.code) << c.what;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), first) << c.what << "\n" << r.err;
    if (c.code != 0) {
      EXPECT_EQ(r.out, "") << c.what;
    }
  }
}

// The committed character with one mistake the game's reader takes without a
// word, or stops at: the one line skelcheck says, at the value's place, and
// the exit code.
TEST(SkelcheckSkeleton, LintNamesEachMistakeAtItsPlace) {
  tarn_test::TempDir dir;
  const std::string atlas = dir.Write("Char01.atlas", Asset("Char01.atlas")), json = Asset("Char01.json");
  dir.Write("Char01.png", Asset("Char01.png"));
  const std::string mesh = ": skins/default/attachments/scarf/scarf/";
  const struct {
    const char* what;
    std::string from, to;
    int code;
    std::string line;
    const char* problem;  // its code
  } cases[] = {
      {"a number given as text", "\"length\": 260, \"x\": 90", "\"length\": \"260\", \"x\": 90", 1,
       "6:50: bones/torso/length: the text \"260\" is not a number: the game reads 0", "not-a-number"},
      {"true for a number", "\"length\": 260, \"x\": 90", "\"length\": true, \"x\": 90", 1,
       "6:50: bones/torso/length: true is not a number: the game reads 0", "not-a-number"},
      {"null for a number", "\"length\": 260, \"x\": 90", "\"length\": null, \"x\": 90", 1,
       "6:50: bones/torso/length: null is not a number: the game reads 0", "not-a-number"},
      {"a number past the float range", "\"length\": 50, \"x\": 270}", "\"length\": 50, \"x\": 1e400}", 1,
       "7:60: bones/neck/x: 1e400 is beyond the range of a float: the game reads infinity", "not-finite"},
      {"a key time of 1e300", "{\"time\": 2.2, \"name\": \"eyes-closed\"}",
       "{\"time\": 1e300, \"name\": \"eyes-closed\"}", 1,
       "184:20: animations/idle/slots/eyes/attachment/1/time: 1e300 is beyond the range of a float: the game reads "
       "infinity",
       "not-finite"},
      {"a setup attachment no skin has", "\"bone\": \"root\", \"attachment\": \"shadow\"",
       "\"bone\": \"root\", \"attachment\": \"shadw\"", 1,
       "32:54: slots/shadow/attachment: no skin has an attachment \"shadw\" under slot \"shadow\": the slot shows "
       "nothing (did you mean \"shadow\"?)",
       "missing-attachment"},
      {"an animation's attachment no skin has", "{\"time\": 2.2, \"name\": \"eyes-closed\"}",
       "{\"time\": 2.2, \"name\": \"eyes-shut\"}", 1,
       "184:33: animations/idle/slots/eyes/attachment/1/name: no skin has an attachment \"eyes-shut\" under slot "
       "\"eyes\": the slot shows nothing",
       "missing-attachment"},
      {"an unknown blend", "\"blend\": \"additive\"", "\"blend\": \"addtive\"", 1,
       "50:69: slots/glow/blend: the blend \"addtive\" is not one the game knows: it reads normal (did you mean "
       "\"additive\"?)",
       "unknown-value"},
      {"an unknown curve", "\"curve\": 0.25", "\"curve\": \"steped\"", 1,
       "192:48: animations/idle/bones/torso/scale/0/curve: the curve \"steped\" is not one the game knows: it reads a "
       "straight line (did you mean \"stepped\"?)",
       "unknown-value"},
      {"an unknown key", "\"braid\", \"parent\": \"head\", \"length\"", "\"braid\", \"parent\": \"head\", \"lenght\"",
       0,
       "11:41: warning: bones/braid/lenght: the key \"lenght\" is not one the game reads (did you mean "
       "\"length\"?) [unknown-key]",
       "unknown-key"},
      {"an unknown top-level key", "\"slots\": [", "\"slot\": [", 1,
       "31:3: warning: slot: the key \"slot\" is not one the game reads (did you mean \"slots\"?) [unknown-key]",
       "unknown-key"},
      {"keys out of time order", "{\"time\": 2.34, \"name\": \"eyes\"}", "{\"time\": 2.1, \"name\": \"eyes\"}", 1,
       "185:20: animations/idle/slots/eyes/attachment/2/time: the key time 2.1 comes after 2.2: keys must be in time "
       "order",
       "time-order"},
      {"a negative time", "{\"time\": 0, \"name\": \"eyes\"}", "{\"time\": -0.5, \"name\": \"eyes\"}", 1,
       "183:20: animations/idle/slots/eyes/attachment/0/time: the key time -0.5 is before the start", "negative-time"},
      {"a bone named twice", "{\"name\": \"braid\", \"parent\": \"head\"", "{\"name\": \"hat\", \"parent\": \"head\"",
       1, "11:5: bones/hat: a second bone named \"hat\": the game only ever finds the first", "duplicate-name"},
      {"a slot named twice", "{\"name\": \"scarf\", \"bone\": \"scarf1\"",
       "{\"name\": \"hair-back\", \"bone\": \"scarf1\"", 1,
       "34:5: slots/hair-back: a second slot named \"hair-back\": the game only ever finds the first",
       "duplicate-name"},
      {"a skin named twice", "\"name\": \"0_1\"", "\"name\": \"default\"", 1,
       "160:5: skins/default: a second skin named \"default\": the game only ever finds the first", "duplicate-name"},
      {"an animation named twice", "    \"wave\": {\n    \"slots\"", "    \"idle\": {\n    \"slots\"", 1,
       "309:5: animations/idle: a second animation named \"idle\": the game can never play it", "duplicate-name"},
      {"a short attachment colour", "\"width\": 360, \"height\": 80}",
       "\"width\": 360, \"height\": 80, \"color\": \"ffffff\"}", 0,
       "73:75: warning: skins/default/attachments/shadow/shadow/color: the text \"ffffff\" is not 8 hexadecimal digits "
       "(RRGGBBAA) [colour-text]",
       "colour-text"},
      {"mesh vertices short", "1, 8, 33.656, 29.976, 1]", "1, 8, 33.656, 29.976]", 1,
       "79:1023" + mesh +
           "vertices: \"vertices\" ends inside a weighted vertex: 259 numbers are neither 72 plain ones nor whole "
           "weighted vertices",
       "mesh-vertices-short"},
      {"mesh uvs short", "\"uvs\": [0, 0, 0.125,", "\"uvs\": [0, 0.125,", 1,
       "79:61" + mesh + "uvs: \"uvs\" holds 71 numbers, not whole u, v pairs", "mesh-uvs-short"},
      {"a triangle index out of range", "\"triangles\": [0, 1, 22,", "\"triangles\": [0, 1, 99,", 1,
       "79:467" + mesh + "triangles/2: triangle index 99 is past the 36 vertices that \"uvs\" gives",
       "mesh-triangle-index"},
      {"triangles not whole", "\"triangles\": [0, 1, 22, 0,", "\"triangles\": [0, 1, 0,", 1,
       "79:460" + mesh + "triangles: \"triangles\" holds 143 indexes, which is not a multiple of 3",
       "mesh-triangles-not-whole"},
      {"a weighted bone index out of range", "\"vertices\": [1, 10, 184.031", "\"vertices\": [1, 40, 184.031", 1,
       "79:1027" + mesh + "vertices/1: bone index 40 is past the 26 bones", "mesh-bone-index"},
      {"a bone that is its own parent", "{\"name\": \"head\", \"parent\": \"neck\"",
       "{\"name\": \"head\", \"parent\": \"head\"", 1, "8:32: bones/head/parent: the bone \"head\" is its own parent",
       "bone-own-parent"},
      // Suggestions weigh characters, not bytes.
      {"a name one character short", "{\"name\": \"hat\", \"bone\": \"hat\"", "{\"name\": \"hat\", \"bone\": \"帽\"", 1,
       "58:29: slots/hat/bone: no bone named \"帽\"", "unknown-name"},
      // Mistakes the game's reader takes and then draws otherwise than meant.
      {"two constraints without an order", "{\"order\": 1, \"name\": \"arm-L-ik\"", "{\"name\": \"arm-L-ik\"", 1,
       "63:5: ik/arm-L-ik: without an \"order\", the order 0 is the IK constraint \"arm-R-ik\"'s already: the game "
       "applies one constraint of each order, so never the IK constraint \"arm-L-ik\"",
       "constraint-order-taken"},
      {"two constraints of one order", "\"order\": 2", "\"order\": 1", 1,
       "66:38: transform/glow-follow/order: the order 1 is the IK constraint \"arm-L-ik\"'s already: the game applies "
       "one constraint of each order, so never the transform constraint \"glow-follow\"",
       "constraint-order-taken"},
      {"an order past the last", "\"order\": 2", "\"order\": 3", 1,
       "66:38: transform/glow-follow/order: the order 3 is past the last of the 3 constraints (0 to 2): the game never "
       "applies the transform constraint \"glow-follow\"",
       "constraint-order-past-end"},
      // The deform keys and a linked mesh still name "default": those are the errors.
      {"no default skin", "\"name\": \"default\",\n", "\"name\": \"base\",\n", 1,
       "68:12: warning: skins: no skin is named \"default\": the game finds setup attachments there, so it draws "
       "nothing until a skin is set, and then only that skin's attachments [no-default-skin]",
       "no-default-skin"},
      {"IK bones not parent and child", "\"bones\": [\"upperarm-R\", \"forearm-R\"]",
       "\"bones\": [\"upperarm-R\", \"hand-R\"]", 1,
       "62:50: ik/arm-R-ik/bones/1: the IK bones \"upperarm-R\" and \"hand-R\" are not parent and child: the game "
       "bends them as if they were, out of place",
       "ik-bones-not-chain"},
      {"three IK bones", "\"bones\": [\"upperarm-R\", \"forearm-R\"]",
       "\"bones\": [\"upperarm-R\", \"forearm-R\", \"hand-R\"]", 1,
       "62:35: ik/arm-R-ik/bones: an IK constraint bends one bone or two; with 3 the game moves none of them",
       "ik-bone-count"},
      {"an IK target that is its own bone's child", "\"target\": \"hand-R-target\"", "\"target\": \"hand-R\"", 1,
       "62:74: ik/arm-R-ik/target: the target \"hand-R\" is a child of the constrained bone \"upperarm-R\": it moves "
       "with the bones it moves, so the constraint chases itself",
       "constraint-target-own-bone"},
      {"an IK mix past 1", "\"bendPositive\": false", "\"bendPositive\": false, \"mix\": 1.5", 0,
       "62:121: warning: ik/arm-R-ik/mix: the mix 1.5 is outside 0 to 1: the game overshoots the target "
       "[mix-range]",
       "mix-range"},
      {"a transform target that is its own bone", "\"target\": \"flame\"", "\"target\": \"glow\"", 1,
       "66:70: transform/glow-follow/target: the target \"glow\" is the constrained bone \"glow\": it moves with the "
       "bones it moves, so the constraint chases itself",
       "constraint-target-own-bone"},
      {"a bone scale of 0", "{\"name\": \"hand-R\", \"parent\": \"forearm-R\", \"length\": 60, \"x\": 230}",
       "{\"name\": \"hand-R\", \"parent\": \"forearm-R\", \"length\": 60, \"x\": 230, \"scaleY\": 0}", 0,
       "17:81: warning: bones/hand-R/scaleY: a scaleY of 0 flattens the bone: its attachments and its children's "
       "vanish [bone-scale-zero]",
       "bone-scale-zero"},
      {"weights that do not add up to 1", "\"vertices\": [1, 10, 184.031, -61.853, 1,",
       "\"vertices\": [1, 10, 184.031, -61.853, 0.5,", 0,
       "79:1024: warning: skins/default/attachments/scarf/scarf/vertices/0: the weights of vertex 0 add up to 0.5, not "
       "1: the game draws it away from its place [mesh-weights-sum]",
       "mesh-weights-sum"},
      {"a triangle with a corner twice", "\"triangles\": [0, 1, 22,", "\"triangles\": [0, 0, 22,", 0,
       "79:461: warning: skins/default/attachments/scarf/scarf/triangles/0: the triangle 0, 0, 22 uses a vertex twice: "
       "it draws nothing [mesh-degenerate-triangle]",
       "mesh-degenerate-triangle"},
      {"a triangle index equal to the vertex count", "\"triangles\": [0, 1, 22,", "\"triangles\": [0, 1, 36,", 1,
       "79:467: skins/default/attachments/scarf/scarf/triangles/2: triangle index 36 is past the 36 vertices that "
       "\"uvs\" gives",
       "mesh-triangle-index"},
      {"a texture coordinate past 1", "\"uvs\": [0, 0, 0.125,", "\"uvs\": [0, 0, 1.125,", 0,
       "79:68: warning: skins/default/attachments/scarf/scarf/uvs/2: the texture coordinate 1.125 is outside 0 to 1: "
       "the mesh shows pixels of the page outside its region [mesh-uv-range]",
       "mesh-uv-range"},
      {"a hull larger than the mesh", "\"uvs\": [0, 0, 0.125,", "\"hull\": 40, \"uvs\": [0, 0, 0.125,", 0,
       "79:62: warning: skins/default/attachments/scarf/scarf/hull: a hull of 40 vertices, but the mesh has 36 "
       "[mesh-hull]",
       "mesh-hull"},
      {"a linked mesh that is its own parent", "\"parent\": \"scarf\", \"width\"",
       "\"parent\": \"scarf\", \"skin\": \"0_1\", \"width\"", 1,
       "167:75: skins/0_1/attachments/scarf/scarf/parent: the linked mesh \"scarf\" is its own parent: it has no "
       "geometry to share",
       "linked-mesh-own-parent"},
      {"a linked mesh whose parent is a region", "\"hat\": {\"path\": \"hat-captain\",",
       "\"hat\": {\"type\": \"linkedmesh\", \"parent\": \"hat\", \"path\": \"hat-captain\",", 1,
       "164:51: skins/0_1/attachments/hat/hat/parent: its parent \"hat\" is a region, not a mesh: a linked mesh shares "
       "a mesh's geometry",
       "linked-mesh-parent-not-mesh"},
      {"a linked mesh whose parent is a linked mesh", "\"scarf\": {\n          \"scarf\": {\"type\": \"linkedmesh\"",
       "\"scarf\": {\n          \"scarf2\": {\"type\": \"linkedmesh\", \"path\": \"scarf-blue\", \"parent\": "
       "\"scarf\", \"skin\": \"0_1\"},\n          \"scarf\": {\"type\": \"linkedmesh\"",
       0,
       "167:76: warning: skins/0_1/attachments/scarf/scarf2/parent: its parent \"scarf\" is itself a linked mesh, of "
       "\"scarf\": it shares that mesh's geometry; name \"scarf\" as the parent [linked-mesh-parent-linked]",
       "linked-mesh-parent-linked"},
      {"linked meshes that are each other's parent",
       "\"scarf\": {\"type\": \"linkedmesh\", \"path\": \"scarf-blue\", \"parent\": \"scarf\", \"width\"",
       "\"scarf2\": {\"type\": \"linkedmesh\", \"path\": \"scarf-blue\", \"parent\": \"scarf\", \"skin\": \"0_1\"},\n"
       "          \"scarf\": {\"type\": \"linkedmesh\", \"path\": \"scarf-blue\", \"parent\": \"scarf2\", \"skin\": "
       "\"0_1\", \"width\"",
       1,
       "167:76: skins/0_1/attachments/scarf/scarf2/parent: its parents lead back to \"scarf2\": no mesh in the loop "
       "has "
       "geometry to share",
       "linked-mesh-cycle"},
      {"two keys at one time", "{\"time\": 2.34, \"name\": \"eyes\"}", "{\"time\": 2.2, \"name\": \"eyes\"}", 0,
       "185:20: warning: animations/idle/slots/eyes/attachment/2/time: a second key at the time 2.2: the game jumps to "
       "it at once and never shows the one before [key-same-time]",
       "key-same-time"},
      {"an empty animation", "\"animations\": {\n", "\"animations\": {\n    \"still\": {},\n", 0,
       "179:5: warning: animations/still: the animation \"still\" has no keys: it shows the setup pose and lasts 0 s "
       "[empty-animation]",
       "empty-animation"},
      {"an event after the last key", "{\"time\": 1.1, \"name\": \"wave\", \"int\": 2}",
       "{\"time\": 4, \"name\": \"wave\", \"int\": 2}", 0,
       "429:16: warning: animations/wave/events: an event at 4 comes after the last key at 2: it makes the animation "
       "longer, and it holds still until then [event-after-last-key]",
       "event-after-last-key"},
      {"a curve's x past 1", "\"curve\": 0.25", "\"curve\": 1.25", 0,
       "192:48: warning: animations/idle/bones/torso/scale/0/curve: the curve's x value 1.25 is outside 0 to 1: the "
       "motion runs back and forth in time [curve-x-range]",
       "curve-x-range"},
      {"an attachment twice in a skin", "\"shadow\": {\"x\": 0, \"y\": 0, \"width\": 360, \"height\": 80}",
       "\"shadow\": {\"x\": 0, \"y\": 0, \"width\": 360, \"height\": 80},\n          \"shadow\": {\"x\": 0, \"y\": 10, "
       "\"width\": 360, \"height\": 80}",
       0,
       "74:11: warning: skins/default/attachments/shadow/shadow: a second attachment \"shadow\" under slot \"shadow\" "
       "in this skin: the game keeps this one and drops the first [duplicate-attachment]",
       "duplicate-attachment"},
      {"draw order slots out of order",
       "[{\"slot\": \"upperarm-R\", \"offset\": 13}, {\"slot\": \"forearm-R\", \"offset\": 13}",
       "[{\"slot\": \"forearm-R\", \"offset\": 13}, {\"slot\": \"upperarm-R\", \"offset\": 13}", 1,
       "424:79: animations/wave/drawOrder/0/offsets/1/slot: the slot \"upperarm-R\" comes after \"forearm-R\" here, "
       "but before it in \"slots\": name the slots in their order, each once",
       "draw-order-slot-order"},
      {"a draw order offset past the slots", "{\"slot\": \"hand-R\", \"offset\": 13}",
       "{\"slot\": \"hand-R\", \"offset\": 15}", 1,
       "424:137: animations/wave/drawOrder/0/offsets/2/offset: the offset moves \"hand-R\" to place 28, outside the 28 "
       "slots",
       "draw-order-offset-range"},
      {"a draw order place taken twice", "{\"slot\": \"forearm-R\", \"offset\": 13}",
       "{\"slot\": \"forearm-R\", \"offset\": 12}", 1,
       "424:103: animations/wave/drawOrder/0/offsets/1/offset: the offset moves \"forearm-R\" to place 24, where "
       "\"upperarm-R\" goes already",
       "draw-order-position-taken"},
      {"a deform key too long", "{\"time\": 0, \"vertices\": [-0.531,",
       "{\"time\": 0, \"offset\": 60, \"vertices\": [-0.531,", 1,
       "295:51: animations/idle/deform/default/scarf/scarf/0/vertices: 112 values from offset 60 run past the 112 that "
       "the attachment \"scarf\" deforms",
       "deform-too-long"},
      {"a name that ends in spaces", "{\"name\": \"neck\", \"parent\": \"torso\"",
       "{\"name\": \"neck  \", \"parent\": \"torso\"", 1,
       "8:32: bones/head/parent: no bone named \"neck\" (the name \"neck  \" ends in two spaces)", "unknown-name"},
      {"the header box too small", "\"x\": -496, \"y\": -40, \"width\": 958, \"height\": 1445",
       "\"x\": -454, \"y\": -32, \"width\": 881, \"height\": 1419", 0,
       "2:15: warning: the header's box (x -454, y -32, width 881, height 1419) does not hold what is drawn, which "
       "reaches x -495.516907 to 461.620361, y -40 to 1404.23694: a viewer fitting it cuts the character off; make it "
       "x -496, y -40, width 958, height 1445 [header-box]",
       "header-box"},
  };
  for (const auto& c : cases) {
    const std::string j = dir.Write("Char01.json", Changed(json, c.from, c.to));
    Result r = RunSkeleton(dir, atlas, j);
    EXPECT_EQ(r.code, c.code) << c.what;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), j + ":" + c.line) << c.what << "\n" << r.err;
    r = RunSkelcheck(dir, "skeleton --format json '" + atlas + "' '" + j + "'");
    const size_t code = r.out.find("\"code\": \"") + 9;
    EXPECT_EQ(r.out.substr(code, r.out.find('"', code) - code), c.problem) << c.what;
  }
  const std::string hat = Changed(Changed(json, "{\"name\": \"hat\", \"parent\"", "{\"name\": \"帽子\", \"parent\""),
                                  "{\"name\": \"hat\", \"bone\": \"hat\"", "{\"name\": \"hat\", \"bone\": \"帽\"");
  Result r = RunSkeleton(dir, atlas, dir.Write("Char01.json", hat));
  EXPECT_NE(r.err.find("no bone named \"帽\" (did you mean \"帽子\"?)"), std::string::npos) << r.err;
}

// Every mistake of a run is told, in file order, up to a hundred and then a
// count; warnings may be accepted by their code; --format json carries them all.
TEST(SkelcheckSkeleton, EveryProblemIsToldInOneRun) {
  tarn_test::TempDir dir;
  const std::string atlas = dir.Write("Char01.atlas", Asset("Char01.atlas"));
  dir.Write("Char01.png", Asset("Char01.png"));
  std::string json = Asset("Char01.json");
  // Found section by section (setup attachments last), told in the file's order.
  json = Changed(json, "{\"name\": \"scarf\", \"bone\": \"scarf1\"", "{\"name\": \"hat\", \"bone\": \"scarf1\"");
  json = Changed(json, "\"length\": 260, \"x\": 90", "\"length\": \"260\", \"x\": 90");
  json = Changed(json, "\"braid\", \"parent\": \"head\", \"length\"", "\"braid\", \"parent\": \"head\", \"lenght\"");
  const std::string j = dir.Write("Char01.json", json);
  Result r = RunSkeleton(dir, atlas, j);
  EXPECT_EQ(r.code, 1);
  std::vector<std::string> lines;
  for (size_t at = 0, end; (end = r.err.find('\n', at)) != std::string::npos; at = end + 1)
    lines.push_back(r.err.substr(at, end - at));
  ASSERT_GE(lines.size(), 4u) << r.err;
  EXPECT_EQ(lines[0].rfind(j + ":6:50: bones/torso/length:", 0), 0u) << r.err;
  EXPECT_EQ(lines[1].rfind(j + ":11:41: warning: bones/braid/lenght:", 0), 0u) << r.err;
  EXPECT_EQ(lines[2].rfind(j + ":34:53: slots/hat/attachment: no skin has an attachment \"scarf\"", 0), 0u) << r.err;
  EXPECT_EQ(lines[3].rfind(j + ":58:5: slots/hat: a second slot named \"hat\"", 0), 0u) << r.err;

  // An accepted warning is neither told nor counted, even with --strict.
  const std::string unknown =
      dir.Write("unknown.json", Changed(Asset("Char01.json"), "\"braid\", \"parent\": \"head\", \"length\"",
                                        "\"braid\", \"parent\": \"head\", \"lenght\""));
  EXPECT_EQ(RunSkelcheck(dir, "skeleton --strict '" + atlas + "' '" + unknown + "'").code, 1);
  r = RunSkelcheck(dir, "skeleton --strict --allow unknown-key '" + atlas + "' '" + unknown + "'");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err, "");
  const std::string accepted = dir.Write("accepted.txt", "# keys from our exporter\n  unknown-key  \n");
  EXPECT_EQ(
      RunSkelcheck(dir, "skeleton --strict --allow-file '" + accepted + "' '" + atlas + "' '" + unknown + "'").code, 0);
  EXPECT_EQ(
      RunSkelcheck(dir, "skeleton --allow-file '" + dir.File("none.txt") + "' '" + atlas + "' '" + unknown + "'").code,
      2);

  // A hundred and fifty unknown keys (and regions nothing uses): a hundred
  // told, then how many more.
  std::string many = "{\"bones\": [{\"name\": \"root\"";
  for (int i = 0; i < 150; ++i) many += ", \"k" + std::to_string(i) + "\": 0";
  many += "}]}";
  r = RunSkeleton(dir, atlas, dir.Write("many.json", many));
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 101) << r.err;
  EXPECT_NE(r.err.find("\nskelcheck: 84 more problems not shown\n"), std::string::npos) << r.err;

  // The same problems for a machine, errors and all.
  r = RunSkelcheck(dir, "skeleton --format json '" + atlas + "' '" + j + "'");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(
      r.out.rfind("{\n  \"problems\": [\n    {\"severity\": \"error\", \"code\": \"not-a-number\", \"message\": "
                  "\"the text \\\"260\\\" is not a number: the game reads 0\", \"file\": " +
                      std::string("\"") + j + "\", \"line\": 6, \"column\": 50, \"path\": \"bones/torso/length\"},\n",
                  0),
      0u)
      << r.out;
  EXPECT_NE(r.out.find("{\"severity\": \"warning\", \"code\": \"unknown-key\""), std::string::npos) << r.out;
}

// The committed atlas and page image, each time with one mistake as a
// content maker or another packer makes it: every line skelcheck says and
// its exit code. The atlas verb says exactly these; the skeleton verb, which
// checks the atlas the same way, says them too. {a} and {p} stand for the
// atlas and page image paths.
TEST(SkelcheckSkeleton, BrokenAtlasesAndPageImagesSayEveryProblem) {
  tarn_test::TempDir dir;
  const std::string atlas = Asset("Char01.atlas"), png = Asset("Char01.png");
  ASSERT_FALSE(atlas.empty());
  ASSERT_FALSE(png.empty());
  const std::string json = dir.Write("Char01.json", Asset("Char01.json"));
  const std::string empty, half = png.substr(0, png.size() / 2);
  const std::string smaller = skelcheck_test::Png(512, 448);
  std::string flipped = png, crlf, utf16;
  flipped[png.size() / 2] = static_cast<char>(~flipped[png.size() / 2]);
  for (char c : atlas) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  for (char c : atlas) utf16 += std::string(1, c) + '\0';
  // The page without its alpha channel: every pixel opaque, saved as RGB.
  std::vector<unsigned char> rgba, rgb;
  unsigned width = 0, height = 0;
  ASSERT_EQ(lodepng::decode(rgba, width, height, std::vector<unsigned char>(png.begin(), png.end())), 0u);
  for (size_t i = 0; i < rgba.size(); ++i)
    if (i % 4 != 3) rgb.push_back(rgba[i]);
  std::vector<unsigned char> encoded;
  ASSERT_EQ(lodepng::encode(encoded, rgb, width, height, LCT_RGB), 0u);
  const std::string opaque(encoded.begin(), encoded.end());
  const std::string frame = "  rotate: false\n  xy: 990, 0\n  size: 20, 20\n  orig: 20, 20\n  offset: 0, 0\n  index: ";
  const std::string misread = ", and the game takes each line by its place, so it misreads all that follows: ";
  const struct {
    const char* what;
    std::string atlas;
    const std::string* png;  // null: no page image
    int code;
    std::vector<std::string> problems;
    const char* problem = nullptr;  // the first one's code, when the table says it
  } cases[] = {
      {"as committed", atlas, &png, 0, {}},
      {"Windows line ends", crlf, &png, 0, {}},
      {"no page image",
       atlas,
       nullptr,
       1,
       {"{a}:2: page \"Char01.png\": its image {p} cannot be read beside the atlas: No such file or directory"}},
      {"an empty page image",
       atlas,
       &empty,
       1,
       {"{a}:2: page \"Char01.png\": its image {p} cannot be decoded as a PNG: the file is empty"}},
      {"a page image that is no PNG",
       atlas,
       &atlas,
       1,
       {"{a}:2: page \"Char01.png\": its image {p} cannot be decoded as a PNG: incorrect PNG signature, it's no PNG "
        "or corrupted"}},
      {"a page image cut short",
       atlas,
       &half,
       1,
       {"{a}:2: page \"Char01.png\": its image {p} cannot be decoded as a PNG: the length of the END symbol 256 in "
        "the Huffman tree is 0"}},
      {"a page image with a changed byte",
       atlas,
       &flipped,
       1,
       {"{a}:2: page \"Char01.png\": its image {p} cannot be decoded as a PNG: invalid CRC encountered (checking "
        "CRC can be disabled)"}},
      {"a page image of another size",
       atlas,
       &smaller,
       1,
       {"{a}:2: page \"Char01.png\" is 1024x448 in the atlas, but its image {p} is 512x448"}},
      {"a page declared larger",
       Changed(atlas, "size: 1024,448", "size: 2048,2048"),
       &png,
       1,
       {"{a}:2: page \"Char01.png\" is 2048x2048 in the atlas, but its image {p} is 1024x448"}},
      {"a region outside the image",
       Changed(atlas, "xy: 909, 348", "xy: 989, 348"),
       &png,
       1,
       {"{a}:7: region \"shadow\" (xy 989,348, 90x20 on the page) lies outside its page of 1024x448"}},
      {"a region at nan",
       Changed(atlas, "xy: 909, 348", "xy: nan, 348"),
       &png,
       1,
       {"{a}:9: region \"shadow\": \"xy\" value \"nan\" is not a whole number of pixels (the game reads 0)"}},
      {"a region of negative size",
       Changed(atlas, "size: 90, 20", "size: -90, 20"),
       &png,
       1,
       {"{a}:10: region \"shadow\": \"size\" value \"-90\" is negative"}},
      {"a byte order mark",
       "\xEF\xBB\xBF" + atlas,
       &png,
       1,
       {"{a}:1:1: the file starts with a UTF-8 byte order mark, which the reader does not skip; save it without "
        "one"}},
      {"an older packer's page without a size line",
       Changed(atlas, "size: 1024,448\n", ""),
       &png,
       1,
       {"{a}:2: page \"Char01.png\" has no \"size:\" line" + misread +
        "export the atlas with a \"size:\" line on every page"}},
      {"a page line the atlas does not know",
       Changed(atlas, "repeat: none\n", "repeat: none\nmask: png\n"),
       &png,
       1,
       {"{a}:7: page \"Char01.png\": \"mask:\" is not a page line the atlas knows" + misread +
        "export the atlas without it"}},
      {"a newer packer's output",
       Changed(Changed(atlas, "repeat: none\n", "pma: true\n"), "  xy: 909, 348\n  size: 90, 20\n",
               "  bounds: 909, 348, 90, 20\n"),
       &png,
       1,
       {"{a}:6: \"pma:\" is a line of a newer atlas format, which the game does not read: export the atlas in the "
        "classic format (\"xy:\" and \"size:\" lines for each region)"}},
      {"two frames of one image", atlas + "spark\n" + frame + "0\nspark\n" + frame + "1\n", &png, 0, {}},
      {"one frame twice",
       atlas + "spark\n" + frame + "0\nspark\n" + frame + "0\n",
       &png,
       0,
       {"{a}:" + std::to_string(std::count(atlas.begin(), atlas.end(), '\n') + 8) +
        ": warning: region \"spark\" index 0 is also named at line " +
        std::to_string(std::count(atlas.begin(), atlas.end(), '\n') + 1) +
        "; only the first one is used [region-duplicate]"}},
      // Not an atlas at all: refused before anything is read from it.
      {"the page image as the atlas", png, &png, 2, {"skelcheck: {a} is a PNG image, not an atlas"}},
      {"the atlas saved as UTF-16", utf16, &png, 2, {"skelcheck: {a} is UTF-16 text: save it as UTF-8"}},
      {"the skeleton as the atlas", Asset("Char01.json"), &png, 2, {"skelcheck: {a} is a skeleton JSON, not an atlas"}},
      // Values the reader takes and draws otherwise than meant.
      {"a rotation of 45",
       Changed(atlas, "shadow\n  rotate: false", "shadow\n  rotate: 45"),
       &png,
       1,
       {"{a}:8: region \"shadow\": the rotate \"45\" is not true, false, 0 or 90: the game draws it unrotated"},
       "region-rotate-value"},
      {"a rotation of yes",
       Changed(atlas, "shadow\n  rotate: false", "shadow\n  rotate: yes"),
       &png,
       1,
       {"{a}:8: region \"shadow\": the rotate \"yes\" is not true, false, 0 or 90: the game draws it unrotated"},
       "region-rotate-value"},
      {"an untrimmed size smaller than the region",
       Changed(atlas, "size: 90, 20\n  orig: 90, 20", "size: 90, 20\n  orig: 80, 20"),
       &png,
       1,
       {"{a}:7: region \"shadow\": its \"orig\" 80x20 is smaller than its \"size\" 90x20: the game draws the picture "
        "larger than its attachment"},
       "region-orig-small"},
      {"an offset outside the untrimmed size",
       Changed(atlas, "orig: 90, 20\n  offset: 0, 0", "orig: 90, 20\n  offset: 5, 0"),
       &png,
       1,
       {"{a}:7: region \"shadow\": the \"offset\" 5, 0 puts its 90x20 picture outside its \"orig\" 90x20: the game "
        "draws it beside its place"},
       "region-offset-outside"},
      {"two regions on the same pixels",
       Changed(atlas, "xy: 909, 348", "xy: 769, 2"),
       &png,
       0,
       {"{a}:14: warning: region \"hair-back\" overlaps region \"shadow\" (line 7) on the page: each shows a part of "
        "the other [region-overlap]"},
       "region-overlap"},
      {"a page without alpha",
       atlas,
       &opaque,
       0,
       {"{a}:2: warning: page \"Char01.png\": its image {p} has no alpha channel: every part is drawn with the box of "
        "its region around it [page-no-alpha]"},
       "page-no-alpha"},
      {"a malformed tuple",
       Changed(atlas, "size: 1024,448", "size: 1024, 448x"),
       &png,
       1,
       {"{a}:3: page \"Char01.png\": \"size\" value \"448x\" is not a whole number of pixels (the game reads 448)"},
       "atlas-bad-number"},
      {"an unknown repeat",
       Changed(atlas, "repeat: none", "repeat: both"),
       &png,
       0,
       {"{a}:6: warning: page \"Char01.png\": the repeat \"both\" is not none, x, y or xy: the game reads none "
        "[page-unknown-repeat]"},
       "page-unknown-repeat"},
      {"a page image found only in another letter case",
       Changed(atlas, "Char01.png\n", "CHAR01.png\n"),
       &png,
       1,
       {"{a}:2: page \"CHAR01.png\": Char01.png exists, the atlas says CHAR01.png: the game finds files only in the "
        "same letter case"},
       "page-image-case"},
      {"a page name that ends in spaces",
       Changed(atlas, "Char01.png\n", "Char01.png  \n"),
       &png,
       1,
       {"{a}:2: page \"Char01.png  \": its image {p}   cannot be read beside the atlas: No such file or directory "
        "(the name \"Char01.png  \" ends in two spaces)"},
       "page-image-missing"},
      {"a name with a NUL byte",
       Changed(atlas, "shadow\n", std::string("sha\0dow\n", 8)),
       &png,
       2,
       {"skelcheck: {a} holds a NUL byte (0x00) on line 7, which no name or value may hold: remove it"}},
  };
  const std::string page = dir.File("Char01.png");
  for (const auto& c : cases) {
    const std::string a = dir.Write("Char01.atlas", c.atlas);
    std::remove(page.c_str());
    if (c.png) dir.Write("Char01.png", *c.png);
    std::vector<std::string> lines;
    std::string expected;
    for (std::string line : c.problems) {
      for (auto [name, path] : {std::pair<std::string, std::string>{"{a}", a}, {"{p}", page}})
        for (size_t at = line.find(name); at != std::string::npos; at = line.find(name, at + path.size()))
          line.replace(at, name.size(), path);
      lines.push_back(line + "\n");
      expected += lines.back();
    }
    Result r = RunSkelcheck(dir, "atlas '" + a + "'");
    EXPECT_EQ(r.code, c.code) << c.what;
    EXPECT_EQ(r.err, expected) << c.what;
    if (c.code == 2) {
      EXPECT_EQ(r.out, "") << c.what;
    }
    r = RunSkeleton(dir, a, json);
    EXPECT_EQ(r.code, c.code) << c.what;
    for (const std::string& line : lines) EXPECT_NE(r.err.find(line), std::string::npos) << c.what << "\n" << r.err;
    if (c.code == 2) {
      EXPECT_EQ(r.err, expected) << c.what;
    }
    if (c.problem) {
      r = RunSkelcheck(dir, "skeleton --format json '" + a + "' '" + json + "'");
      const size_t code = r.out.find("\"code\": \"") + 9;
      EXPECT_EQ(r.out.substr(code, r.out.find('"', code) - code), c.problem) << c.what;
    }
  }
}

// Files that are not files: the reason, exit code 2, no crash and no hang.
TEST(SkelcheckSkeleton, OddFilesAreUnreadableNotFatal) {
  tarn_test::TempDir dir;
  const std::string atlas = dir.Write("Char01.atlas", Asset("Char01.atlas"));
  const std::string json = dir.Write("Char01.json", Asset("Char01.json"));
  int count = 0;
  for (tarn_test::OddFile kind : tarn_test::kOddFiles) {
    const std::string odd = dir.File("odd" + std::to_string(count++));
    ASSERT_TRUE(tarn_test::MakeOddFile(odd, kind)) << tarn_test::OddFileName(kind);
    for (const std::string& args :
         {"skeleton '" + atlas + "' '" + odd + "'", "skeleton '" + odd + "' '" + json + "'", "json '" + odd + "'",
          "atlas '" + odd + "'", "pose '" + atlas + "' '" + odd + "' idle 0"}) {
      Result r = RunSkelcheck(dir, args);
      EXPECT_EQ(r.code, 2) << args;
      EXPECT_EQ(r.err.rfind("skelcheck: cannot read " + odd + ": ", 0), 0u)
          << tarn_test::OddFileName(kind) << ": " << r.err;
    }
  }
  Result r = RunSkelcheck(dir, "skeleton '" + atlas + "' '" + dir.path() + "'");
  EXPECT_EQ(r.err, "skelcheck: cannot read " + dir.path() + ": Is a directory\n");
  r = RunSkelcheck(dir, "skeleton '" + dir.File("missing.atlas") + "' '" + json + "'");
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err, "skelcheck: cannot read " + dir.File("missing.atlas") + ": No such file or directory\n");
}

// Wherever an export is cut off, the error is on the last line there is (or
// at the string left open), never a partial character loaded in silence.
TEST(SkelcheckSkeleton, ACutSkeletonIsAnErrorAtTheCut) {
  tarn_test::TempDir dir;
  const std::string atlas = dir.Write("Char01.atlas", Asset("Char01.atlas"));
  dir.Write("Char01.png", Asset("Char01.png"));
  const std::string json = Asset("Char01.json");
  for (size_t cut = 1; cut < json.size(); cut += json.size() / 37) {
    const std::string text = json.substr(0, cut);
    const std::string path = dir.Write("Char01.json", text);
    Result r = RunSkeleton(dir, atlas, path);
    EXPECT_EQ(r.code, 1) << cut;
    EXPECT_EQ(r.out, "") << cut;
    const std::string line = std::to_string(std::count(text.begin(), text.end(), '\n') + 1);
    // A number cut after its point ("1.") stops the reader on the point itself.
    const bool atEnd = r.err.rfind(path + ":" + line + ":", 0) == 0;
    const bool openString = r.err.find(": unterminated string\n") != std::string::npos;
    EXPECT_TRUE(atEnd || openString) << cut << ": " << r.err;
  }
}

// Which bones and slots each animation keys, whatever the kind of timeline.
TEST(SkelcheckSkeleton, AnimationsListWhatTheyKey) {
  tarn_test::TempDir dir;
  std::string atlas = dir.Write("char.atlas", atlasText);
  dir.Write("page.png", skelcheck_test::Png(64, 64));
  std::string json = dir.Write(
      "char.json",
      "{\"bones\":[{\"name\":\"root\"},{\"name\":\"Face\",\"parent\":\"root\"},{\"name\":\"arm\",\"parent\":\"root\"}],"
      "\"slots\":[{\"name\":\"a\",\"bone\":\"arm\"},{\"name\":\"b\",\"bone\":\"root\"},{\"name\":\"c\",\"bone\":"
      "\"root\"}],"
      "\"skins\":[{\"name\":\"default\",\"attachments\":{\"a\":{\"head\":{\"width\":64,\"height\":64}}}},"
      "{\"name\":\"0_1\"}],"
      "\"animations\":{\"walk\":{\"bones\":{\"arm\":{\"shear\":[{\"time\":2}]},\"root\":{\"scale\":[{}]}},"
      "\"slots\":{\"c\":{\"twoColor\":[{\"time\":0.5}]},\"a\":{\"attachment\":[{\"name\":null}]}}}}}");
  Result r = RunSkeleton(dir, atlas, json);
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("\n  walk  duration 2  bones root,arm  slots a,c\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.err, json +
                       ": warning: animation \"walk\" keys the colour of slot \"c\", which the game does not show: "
                       "it draws with the attachment's colour only [slot-colour-keyed]\n");
}
