#include <gtest/gtest.h>

#include <string>

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
        "\"transform\":[{\"name\":\"t\",\"bones\":[\"arm\"],\"target\":\"root\"}],"
        "\"skins\":[{\"name\":\"default\",\"attachments\":{\"body\":{\"head\":{}}}}],"
        "\"events\":{\"step\":{}},"
        "\"animations\":{\"walk\":{\"bones\":{\"arm\":{\"rotate\":[{\"time\":0},{\"time\":1.5,\"angle\":90}]}}},"
        "\"idle\":{}}}");
    Result r = RunSkeleton(dir, atlas, json);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "skeleton bones=2 slots=1 skins=1 constraints=2 events=1 animations=2\n"
              "animation name=\"walk\" duration=1.5\n"
              "animation name=\"idle\" duration=0\n");
}

TEST(SkelcheckSkeleton, LoaderErrorsGoToStandardErrorWithExitOne) {
    tarn_test::TempDir dir;
    std::string atlas = dir.Write("char.atlas", atlasText);
    std::string json = dir.Write("bad.json",
                                 "{\"bones\":[{\"name\":\"root\"}],\"slots\":[{\"name\":\"s\",\"bone\":\"root\"}],"
                                 "\"skins\":[{\"name\":\"default\",\"attachments\":{\"s\":{\"hat\":{}}}}]}");
    Result r = RunSkeleton(dir, atlas, json);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Error reading attachment: hat\n");

    std::string missing = dir.File("missing.json");
    r = RunSkeleton(dir, atlas, missing);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Unable to read skeleton file: " + missing + "\n");

    // A missing atlas or a wrong argument count is a usage error.
    r = RunSkeleton(dir, dir.File("missing.atlas"), json);
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("missing.atlas"), std::string::npos);
    EXPECT_EQ(std::system((std::string("'") + SKELCHECK_PATH + "' skeleton '" + atlas + "' 2>/dev/null").c_str()) >> 8,
              2);
}
