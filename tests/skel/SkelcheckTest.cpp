#include <gtest/gtest.h>

#include <string>

#include "SkelcheckRun.h"
#include "TempDir.h"

using skelcheck_test::Result;
using skelcheck_test::RunSkelcheck;

TEST(SkelcheckJson, PrintsTheTreeAsStandardJson) {
    tarn_test::TempDir dir;
    std::string file = dir.Write("in.json",
                                 "{\"name\":\"a\\\"b\\\\c\\n\\u0001\\u00e9\", \"name\": [1, 2.5e1, -0.1, 3e39, true, false, null],"
                                 " \"empty\": {}, \"none\": []}  trailing text is not examined");
    Result r = RunSkelcheck(dir, "json '" + file + "'");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "");
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

TEST(SkelcheckJson, SyntaxErrorsPrintThePartialTreeAndTheOffset) {
    tarn_test::TempDir dir;
    std::string file = dir.Write("bad.json", "[1, {\"a\": 2");
    Result r = RunSkelcheck(dir, "json '" + file + "'");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "[\n  1,\n  {\n    \"a\": 2\n  }\n]\n");
    EXPECT_EQ(r.err, "error at offset 11\n");

    std::string nothing = dir.Write("nothing.json", "  \n");
    r = RunSkelcheck(dir, "json '" + nothing + "'");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "error at offset 3\n");
}

TEST(SkelcheckJson, UnreadableFilesAndBadUsageExitWithTwo) {
    tarn_test::TempDir dir;
    Result r = RunSkelcheck(dir, "json '" + dir.File("missing.json") + "'");
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("missing.json"), std::string::npos);
    EXPECT_EQ(RunSkelcheck(dir, "").code, 2);
    EXPECT_EQ(RunSkelcheck(dir, "frobnicate x").code, 2);
    EXPECT_EQ(RunSkelcheck(dir, "json").code, 2);
}

TEST(SkelcheckAtlas, PrintsEveryPageAndRegionInFileOrder) {
    tarn_test::TempDir dir;
    std::string file = dir.Write("c.atlas",
                                 "a.png\r\nsize: 100, 200\r\nformat: RGBA8888\r\nfilter: Linear,Linear\r\nrepeat: xy\r\n"
                                 "head\r\n  rotate: true\r\n  xy: 10, 20\r\n  size: 30, 40\r\n  split: 1, 2, 3, 4\r\n"
                                 "  pad: 5, 6, 7, 8\r\n  orig: 30, 40\r\n  offset: 1, 2\r\n  index: -1\r\n"
                                 "\r\nb.png\nsize: 8,8\nformat: Alpha\nfilter: Nearest,Nearest\nrepeat: none\n"
                                 "dot\nrotate: false\nxy: 0, 0\nsize: 8, 8\norig: 8, 8\noffset: 0, 0\nindex: 3");
    Result r = RunSkelcheck(dir, "atlas '" + file + "'");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "page name=\"a.png\" texturePath=\"\" format=7 minFilter=2 magFilter=2 uWrap=2 vWrap=2 width=100 height=200\n"
              "region page=0 name=\"head\" x=10 y=20 width=30 height=40 uMin=0.100000001 vMin=0.100000001 uMax=0.5 "
              "vMax=0.25 offsetX=1 offsetY=2 untrimmedWidth=30 untrimmedHeight=40 index=-1 rotate=true degrees=90 "
              "splits=[1,2,3,4] pads=[5,6,7,8]\n"
              "page name=\"b.png\" texturePath=\"\" format=1 minFilter=1 magFilter=1 uWrap=1 vWrap=1 width=8 height=8\n"
              "region page=1 name=\"dot\" x=0 y=0 width=8 height=8 uMin=0 vMin=0 uMax=1 vMax=1 offsetX=0 offsetY=0 "
              "untrimmedWidth=8 untrimmedHeight=8 index=3 rotate=false degrees=0 splits=[] pads=[]\n");
}

TEST(SkelcheckAtlas, EmptyAndMissingFiles) {
    tarn_test::TempDir dir;
    std::string empty = dir.Write("empty.atlas", "");
    Result r = RunSkelcheck(dir, "atlas '" + empty + "'");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(RunSkelcheck(dir, "atlas '" + dir.File("missing.atlas") + "'").code, 2);
}
