#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SkelcheckRun.h"
#include "TempDir.h"

using skelcheck_test::Result;
using skelcheck_test::RunSkelcheck;

TEST(SkelcheckJson, PrintsTheTreeAsStandardJson) {
  tarn_test::TempDir dir;
  std::string file =
      dir.Write("in.json",
                "{\"name\":\"a\\\"b\\\\c\\n\\u0001\\u00e9\", \"name\": [1, 2.5e1, -0.1, 3e39, true, false, null],"
                " \"empty\": {}, \"none\": []}  trailing text is not examined");
  Result r = RunSkelcheck(dir, "json '" + file + "'");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err, file + ":1:111: warning: text after the end of the JSON value is ignored [json-trailing-text]\n");
  EXPECT_EQ(RunSkelcheck(dir, "json --strict '" + file + "'").code, 1);
  EXPECT_EQ(RunSkelcheck(dir, "json --strict '" + dir.Write("clean.json", "{}\n\n") + "'").code, 0);
  EXPECT_EQ(r.out,
            "{\n"
            "  \"name\": \"a\\\"b\\\\c\\n\\u0001\xC3\xA9\",\n"
            "  \"name\": [\n"
            "    1,\n"
            "    25,\n"
            "    -0.100000001,\n"
            "    1e999,\n"
            "    true,\n"
            "    false,\n"
            "    null\n"
            "  ],\n"
            "  \"empty\": {},\n"
            "  \"none\": []\n"
            "}\n");
}

TEST(SkelcheckJson, SyntaxErrorsSayWhereAndWhatWasExpected) {
  tarn_test::TempDir dir;
  std::string file = dir.Write("bad.json", "[1, {\"a\": 2");
  Result r = RunSkelcheck(dir, "json '" + file + "'");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, file + ":1:12: unexpected end of file, expected ',' or '}'\n");
  r = RunSkelcheck(dir, "json --partial '" + file + "'");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "[\n  1,\n  {\n    \"a\": 2\n  }\n]\n");

  // Each state of the grammar names what it wanted.
  const std::string deep(600, '[');
  const struct {
    std::string text;
    const char* error;
  } cases[] = {
      {"  \n", "2:1: unexpected end of file, expected a value"},
      {"{\"a\" 1}", "1:6: expected ':'"},
      {"{\"a\": 1,\n }", "2:2: expected a member name in double quotes"},
      {"{1: 2}", "1:2: expected a member name in double quotes or '}'"},
      {"[1 2]", "1:4: expected ',' or ']'"},
      {"[tru]", "1:2: expected a value or ']'"},
      {"{\"a\": [\"b]}", "1:8: unterminated string"},
      {deep, "1:513: nested deeper than 512 levels"},
      {std::string("{\"a\": \"b\0c\"}", 12),
       "1:9: a NUL byte (0x00) inside a string: the game stops reading the file there; remove it"},
      {std::string("[1,\n\0]", 6), "2:1: unexpected zero byte, expected a value"},
      {std::string("\xFF\xFE{\0}\0", 6), "1:1: the file is UTF-16: save it as UTF-8"},
      {"\xEF\xBB\xBF{}",
       "1:1: the file starts with a UTF-8 byte order mark, which the reader does not skip; save it without one"},
  };
  for (const auto& c : cases) {
    std::string path = dir.Write("case.json", c.text);
    r = RunSkelcheck(dir, "json '" + path + "'");
    EXPECT_EQ(r.code, 1) << c.text;
    EXPECT_EQ(r.err, path + ":" + c.error + "\n");
  }
}

TEST(SkelcheckJson, UnreadableFilesAndBadUsageExitWithTwo) {
  tarn_test::TempDir dir;
  Result r = RunSkelcheck(dir, "json '" + dir.File("missing.json") + "'");
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "skelcheck: cannot read " + dir.File("missing.json") + ": No such file or directory\n");
  EXPECT_EQ(RunSkelcheck(dir, "").code, 2);
  EXPECT_EQ(RunSkelcheck(dir, "frobnicate x").code, 2);
  EXPECT_EQ(RunSkelcheck(dir, "json").code, 2);
}

TEST(SkelcheckAtlas, PrintsEveryPageAndRegionInFileOrder) {
  tarn_test::TempDir dir;
  std::string file = dir.Write("c.atlas",
                               "a.png\r\nsize: 100, 200\r\nformat: RGBA8888\r\nfilter: Linear,Linear\r\nrepeat: xy\r\n"
                               "head\r\n  rotate: true\r\n  xy: 10, 20\r\n  size: 30, 40\r\n  split: 1, 2, 3, 4\r\n"
                               "  pad: 5, 6, 7, 8\r\n  orig: 32, 44\r\n  offset: 1, 2\r\n  index: -1\r\n"
                               "\r\nb.png\nsize: 8,8\nformat: Alpha\nfilter: Nearest,Nearest\nrepeat: none\n"
                               "dot\nrotate: false\nxy: 0, 0\nsize: 8, 8\norig: 8, 8\noffset: 0, 0\nindex: 3");
  dir.Write("a.png", skelcheck_test::Png(100, 200));
  dir.Write("b.png", skelcheck_test::Png(8, 8));
  Result r = RunSkelcheck(dir, "atlas '" + file + "'");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "page \"a.png\" size 100,200 format RGBA8888 filter Linear,Linear repeat xy\n"
            "  region \"head\" rotate 90 xy 10,20 size 30,40 split 1,2,3,4 pad 5,6,7,8 orig 32,44 offset 1,2 "
            "index -1 uv 0.100000001,0.100000001,0.5,0.25\n"
            "page \"b.png\" size 8,8 format Alpha filter Nearest,Nearest repeat none\n"
            "  region \"dot\" rotate 0 xy 0,0 size 8,8 split - pad - orig 8,8 offset 0,0 index 3 uv 0,0,1,1\n");
}

// What the reader takes without a word or misreads, written as a content
// maker or another packer writes it: every problem with its line. Errors exit
// with 1, warnings only under --strict.
TEST(SkelcheckAtlas, SaysWhatTheReaderMisreadsOrTakesWithoutAWord) {
  tarn_test::TempDir dir;
  const std::string page = "p.png\nsize: 64, 64\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n";
  const std::string region =
      "  rotate: false\n  xy: 0, 0\n  size: 32, 32\n  orig: 32, 32\n  offset: 0, 0\n  index: -1\n";
  auto entry = [](const std::string& xy, const std::string& size, const std::string& index = "-1") {
    return "  rotate: false\n  xy: " + xy + "\n  size: " + size +
           "\n  orig: 32, 32\n  offset: 0, 0\n  index: " + index + "\n";
  };
  dir.Write("p.png", skelcheck_test::Png(64, 64));
  const std::string misread = ", and the game takes each line by its place, so it misreads all that follows: ";
  const struct {
    std::string text;
    int code;
    std::vector<std::string> problems;  // after "FILE:"
  } cases[] = {
      {page + "a\n" + region, 0, {}},
      {"q.png" + page.substr(5) + "a\n" + region,
       1,
       {"1: page \"q.png\": its image " + dir.File("q.png") +
        " cannot be read beside the atlas: No such file or directory"}},
      {page + "a\n" + entry("40, 0", "32, 32"),
       1,
       {"6: region \"a\" (xy 40,0, 32x32 on the page) lies outside its page of 64x64"}},
      // Rotated, the region lies 40 wide and 20 high on the page.
      {page + "a\n  rotate: true\n  xy: 30, 0\n  size: 20, 40\n  orig: 20, 40\n  offset: 0, 0\n  index: -1\n",
       1,
       {"6: region \"a\" (xy 30,0, 40x20 on the page) lies outside its page of 64x64"}},
      {page + "a\n" + region + "a\n" + region,
       0,
       {"13: warning: region \"a\" is also named at line 6; only the first one is used [region-duplicate]"}},
      // Frames of an image sequence share their name.
      {page + "a\n" + entry("0, 0", "32, 32", "0") + "a\n" + entry("32, 0", "32, 32", "1"), 0, {}},
      {page + "a\n" + entry("0, 0", "32, 32", "2") + "a\n" + entry("32, 0", "32, 32", "2"),
       0,
       {"13: warning: region \"a\" index 2 is also named at line 6; only the first one is used [region-duplicate]"}},
      {page + "a\n  rotate: false\n  xy: 0, 0\n  size: 32, 32\n",
       0,
       {"9: warning: region \"a\" is cut short: the file ends before its \"orig:\" line [atlas-entry-cut-short]"}},
      {page + "a\n  rotate: false\n  size: 32, 32\n  orig: 32, 32\n  offset: 0, 0\n  index: -1\nb\n" + region,
       0,
       {"8: warning: region \"a\" is cut short: expected the \"xy:\" line, found \"size:\" [atlas-entry-cut-short]",
        "13: warning: a property line \"rotate: false\" stands where a region name was expected "
        "[atlas-property-as-name]",
        "14: warning: region \"rotate: false\" is cut short: expected the \"rotate:\" line, found \"xy:\" "
        "[atlas-entry-cut-short]"}},
      {page + "a\n  rotate: false\n  xy: 0, 0\n  size: 32, 32\n  orig: 32, 32\n  offset: 0, 0\nb\n" + region,
       0,
       {"12: warning: region \"a\" is cut short: expected the \"index:\" line, found \"b\" [atlas-entry-cut-short]",
        "13: warning: a property line \"rotate: false\" stands where a region name was expected "
        "[atlas-property-as-name]",
        "14: warning: region \"rotate: false\" is cut short: expected the \"rotate:\" line, found \"xy:\" "
        "[atlas-entry-cut-short]"}},
      {page + "a\n" + region + "  index: -1\n" + "b\n" + region,
       0,
       {"13: warning: a property line \"index: -1\" stands where a region name was expected "
        "[atlas-property-as-name]",
        "14: warning: region \"index: -1\" is cut short: expected the \"rotate:\" line, found \"b\" "
        "[atlas-entry-cut-short]",
        "20: warning: a property line \"index: -1\" stands where a region name was expected "
        "[atlas-property-as-name]",
        "20: warning: region \"index: -1\" is cut short: the file ends before its \"rotate:\" line "
        "[atlas-entry-cut-short]",
        "20: warning: region \"index: -1\" index 0 is also named at line 13; only the first one is used "
        "[region-duplicate]"}},
      {"p.png\nsize: 0, 64\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n",
       1,
       {"1: page \"p.png\" is 0x64 in the atlas, but its image " + dir.File("p.png") + " is 64x64"}},
      {"p.png\nsize: 64, 64\nformat: Bogus\nfilter: Linear,Linear\nrepeat: none\n",
       0,
       {"1: warning: page \"p.png\": the format is not one the atlas knows [page-unknown-format]"}},
      // Region numbers the reader's strtol reads as something else.
      {page + "a\n" + entry("nan, 0", "32, 32"),
       1,
       {"8: region \"a\": \"xy\" value \"nan\" is not a whole number of pixels (the game reads 0)"}},
      {page + "a\n" + entry("0, 0", "-90, 20"), 1, {"9: region \"a\": \"size\" value \"-90\" is negative"}},
      {page + "a\n" + entry("0, 1.5", "inf, 20"),
       1,
       {"8: region \"a\": \"xy\" value \"1.5\" is not a whole number of pixels (the game reads 1)",
        "9: region \"a\": \"size\" value \"inf\" is not a whole number of pixels (the game reads 0)"}},
      {page + "a\n" + entry("8", "32, 32"), 1, {"8: region \"a\": \"xy\" has 1 value; it needs 2"}},
      // Shapes the reader misreads from one line on: said once.
      {"\xEF\xBB\xBF" + page + "a\n" + region,
       1,
       {"1:1: the file starts with a UTF-8 byte order mark, which the reader does not skip; save it without one"}},
      {"p.png\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\na\n" + region + "b\n" + region,
       1,
       {"1: page \"p.png\" has no \"size:\" line" + misread + "export the atlas with a \"size:\" line on every page"}},
      // A misspelt key in its place is read as it should be.
      {"p.png\nsize: 64, 64\nfromat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\na\n" + region,
       0,
       {"3: warning: page \"p.png\" is cut short: expected the \"format:\" line, found \"fromat:\" "
        "[atlas-entry-cut-short]"}},
      {page + "mask: png\na\n" + region,
       1,
       {"6: page \"p.png\": \"mask:\" is not a page line the atlas knows" + misread + "export the atlas without it"}},
      {"p.png\nsize: 64, 64\npma: true\na\n  bounds: 0, 0, 32, 32\n",
       1,
       {"3: \"pma:\" is a line of a newer atlas format, which the game does not read: export the atlas in the "
        "classic format (\"xy:\" and \"size:\" lines for each region)"}},
  };
  for (const auto& c : cases) {
    std::string file = dir.Write("w.atlas", c.text);
    std::string expected;
    for (const std::string& problem : c.problems) expected += file + ":" + problem + "\n";
    Result r = RunSkelcheck(dir, "atlas '" + file + "'");
    EXPECT_EQ(r.code, c.code) << c.text;
    EXPECT_EQ(r.err, expected) << c.text;
    EXPECT_EQ(RunSkelcheck(dir, "atlas --strict '" + file + "'").code, c.problems.empty() ? 0 : 1) << c.text;
  }
}

TEST(SkelcheckAtlas, EmptyAndMissingFiles) {
  tarn_test::TempDir dir;
  std::string empty = dir.Write("empty.atlas", "");
  Result r = RunSkelcheck(dir, "atlas '" + empty + "'");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, empty + ": the atlas has no pages\n");
  EXPECT_EQ(RunSkelcheck(dir, "atlas '" + dir.File("missing.atlas") + "'").code, 2);
}

// Help goes to standard output with exit code 0, usage errors to standard
// error with 2.
TEST(Skelcheck, HelpAndUsage) {
  tarn_test::TempDir dir;
  for (const char* ask : {"--help", "-h", "help"}) {
    Result r = RunSkelcheck(dir, ask);
    EXPECT_EQ(r.code, 0) << ask;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("Exit codes: 0 clean; 1 the content has a problem"), std::string::npos) << r.out;
  }
  Result r = RunSkelcheck(dir, "help pose");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out.find("usage:\n  skelcheck pose [--skin NAME] ATLAS JSON ANIMATION TIME\n"), 0u) << r.out;
  EXPECT_EQ(RunSkelcheck(dir, "skeleton --help").code, 0);
  for (const char* wrong : {"help frobnicate", "atlas --frob x", "skeleton a", "skeleton --format xml a b"}) {
    r = RunSkelcheck(dir, wrong);
    EXPECT_EQ(r.code, 2) << wrong;
    EXPECT_EQ(r.out, "") << wrong;
    EXPECT_EQ(r.err.find("usage: skelcheck"), r.err.find("skelcheck: ") == 0 ? r.err.find('\n') + 1 : 0) << r.err;
  }
}
