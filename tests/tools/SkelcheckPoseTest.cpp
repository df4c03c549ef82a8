#include <gtest/gtest.h>

#include <string>

#include "SkelcheckRun.h"
#include "TempDir.h"

namespace {

using skelcheck_test::Result;
using skelcheck_test::RunSkelcheck;

Result RunPose(const tarn_test::TempDir& dir, const std::string& arguments) {
  return RunSkelcheck(dir, "pose " + arguments);
}

const char* const atlasText =
    "page.png\nsize: 64, 64\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n"
    "head\n  rotate: false\n  xy: 0, 0\n  size: 32, 32\n  orig: 32, 32\n  offset: 0, 0\n  index: -1\n"
    "helmet\n  rotate: false\n  xy: 32, 0\n  size: 32, 32\n  orig: 32, 32\n  offset: 0, 0\n  index: -1\n";

// An arm turning a quarter turn over one second while its slot darkens, a
// hat shown from 0.75 on, and the hat drawn first from 0.5 on. The alt skin
// shows a helmet where the default skin shows the head.
const char* const skeletonText =
    "{\"bones\":[{\"name\":\"root\"},{\"name\":\"arm\",\"parent\":\"root\",\"x\":10}],"
    "\"slots\":[{\"name\":\"body\",\"bone\":\"arm\",\"attachment\":\"head\"},{\"name\":\"hat\",\"bone\":\"root\"}],"
    "\"skins\":[{\"name\":\"default\",\"attachments\":{\"body\":{\"head\":{}},\"hat\":{\"cap\":{\"path\":\"head\"}}}},"
    "{\"name\":\"alt\",\"attachments\":{\"body\":{\"head\":{\"name\":\"helmet\"}}}}],"
    "\"animations\":{\"walk\":{"
    "\"bones\":{\"arm\":{\"rotate\":[{\"time\":0},{\"time\":1,\"angle\":90}]}},"
    "\"slots\":{\"body\":{\"color\":[{\"time\":0,\"color\":\"ffffffff\"},{\"time\":1,\"color\":\"00000000\"}]},"
    "\"hat\":{\"attachment\":[{\"time\":0.75,\"name\":\"cap\"}]}},"
    "\"drawOrder\":[{\"time\":0.5,\"offsets\":[{\"slot\":\"hat\",\"offset\":-1}]}]}}}";

class SkelcheckPose : public ::testing::Test {
 protected:
  SkelcheckPose() : atlas(dir.Write("char.atlas", atlasText)), json(dir.Write("char.json", skeletonText)) {}
  Result pose(const std::string& rest) { return RunPose(dir, "'" + atlas + "' '" + json + "' " + rest); }

  tarn_test::TempDir dir;
  std::string atlas, json;
};

}  // namespace

TEST_F(SkelcheckPose, PrintsBonesThenSlotsInDrawOrder) {
  Result r = pose("walk 0.25");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "# bone NAME a b c d worldX worldY, then slot NAME ATTACHMENT r g b a in draw order\n"
            "bone root 1 -0 0 1 0 0\n"  // the y axis is x's turned a quarter, exactly
            "bone arm 0.92388 -0.382683 0.382683 0.92388 10 0\n"
            "slot body head 0.75 0.75 0.75 0.75\n"
            "slot hat - 1 1 1 1\n");
}

TEST_F(SkelcheckPose, TimeLoopsAndLaterKeysShowAttachmentsAndReorder) {
  Result r = pose("walk 1.75");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out.substr(r.out.find('\n') + 1),
            "bone root 1 -0 0 1 0 0\n"
            "bone arm 0.382683 -0.92388 0.92388 0.382683 10 0\n"
            "slot hat cap 1 1 1 1\n"
            "slot body head 0.25 0.25 0.25 0.25\n");
}

TEST_F(SkelcheckPose, NamedSkinReplacesTheSetupAttachments) {
  Result r = pose("walk 0 --skin alt");
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("slot body helmet 1 1 1 1\n"), std::string::npos) << r.out;
  r = pose("--skin nothing walk 0");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "skelcheck: no skin named nothing; the skins are: default, alt\n");
}

TEST_F(SkelcheckPose, FailuresExitOneWithTheReasonUnreadableFilesAndBadArgumentsTwo) {
  Result r = pose("run 0");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "skelcheck: no animation named run; the animations are: walk\n");

  const std::string broken = dir.Write("broken.json", "{\"bones\":[{\"name\":\"a\",\"parent\":\"nobody\"}]}");
  r = RunPose(dir, "'" + atlas + "' '" + broken + "' walk 0");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, broken + ": bones[0] \"a\": no bone named \"nobody\"\n");

  // The game would pose what a broken text left; skelcheck does not.
  const std::string cut = dir.Write("cut.json", std::string(skeletonText).substr(0, 120));
  r = RunPose(dir, "'" + atlas + "' '" + cut + "' walk 0");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, cut + ":1:116: unterminated string\n");

  r = RunPose(dir, "'" + json + "' '" + atlas + "' walk 0");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("the wrong way round"), std::string::npos) << r.err;

  r = RunPose(dir, "'" + dir.File("missing.atlas") + "' '" + json + "' walk 0");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("missing.atlas"), std::string::npos);

  for (const char* bad : {"walk", "walk soon", "walk 1x", "walk nan", "walk 1 extra", "walk 1 --skin"})
    EXPECT_EQ(pose(bad).code, 2) << bad;
}
