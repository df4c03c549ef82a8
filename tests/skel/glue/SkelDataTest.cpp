// Loading an atlas and a skeleton file through the framework's textures, and
// releasing all of it together.
#include <GL/glew.h>
#include <errno.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "SkelGlueSupport.h"
#include "framework/graphics/Graphic2D.h"
#include "framework/skel/SkelDataCustom.h"
#include "framework/text/Font.h"
#include "skel/Atlas.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "tarn/Report.h"

using namespace tarn_test;
using TarnFramework::Graphic2D;

namespace {

const char* const kOneRegion = R"({
  "bones": [{"name": "root"}],
  "slots": [{"name": "body", "bone": "root", "attachment": "quad"}],
  "skins": [{"name": "default", "attachments": {"body": {"quad": {"width": 20, "height": 10}}}}]
})";

Graphic2D* PageSprite(const skel::Atlas& atlas, size_t page) {
  return static_cast<Graphic2D*>(atlas.getPages()[page]->getRendererObject());
}

class SkelDataTest : public SkelGlueTest {};

TEST_F(SkelDataTest, LoadHoldsLoaderAtlasAndDataAndReleaseEmptiesTheHolder) {
  ASSERT_TRUE(LoadSkeleton(kOneRegion));
  ASSERT_NE(data.textureLoader, nullptr);
  ASSERT_NE(data.atlas, nullptr);
  ASSERT_NE(data.skeletonData, nullptr);
  ASSERT_EQ(data.atlas->getPages().size(), 1u);
  Graphic2D* sprite = PageSprite(*data.atlas, 0);
  ASSERT_NE(sprite, nullptr);
  EXPECT_TRUE(sprite->HasTexture());
  // The page size comes from the atlas text, not from the picture.
  EXPECT_EQ(data.atlas->getPages()[0]->width, 64);
  const GLuint texture = sprite->texture;

  EXPECT_EQ(data.Release(), 0);
  EXPECT_EQ(data.textureLoader, nullptr);
  EXPECT_EQ(data.atlas, nullptr);
  EXPECT_EQ(data.skeletonData, nullptr);
  EXPECT_FALSE(glIsTexture(texture)) << "the page texture outlived the atlas";
  EXPECT_EQ(data.Release(), 0);
}

TEST_F(SkelDataTest, EveryPageGetsItsOwnSpriteAndAllAreFreedWithTheAtlas) {
  WriteTestPage(dir, "one.png");
  WriteTestPage(dir, "two.png");
  std::string second = TestPageAtlas("two.png");
  // The second page's regions need names of their own.
  for (const char* name : {"white", "quad"})
    second.replace(second.find(name), std::string(name).size(), std::string(name) + "2");
  const std::string atlasPath = dir.Write("two.atlas", TestPageAtlas("one.png") + "\n" + second);
  const std::string skeletonPath = dir.Write("two.json", kOneRegion);
  ASSERT_TRUE(data.Load(atlasPath.c_str(), skeletonPath.c_str()));
  ASSERT_EQ(data.atlas->getPages().size(), 2u);
  Graphic2D* first = PageSprite(*data.atlas, 0);
  Graphic2D* other = PageSprite(*data.atlas, 1);
  ASSERT_TRUE(first && other);
  EXPECT_NE(first, other);
  ASSERT_TRUE(first->HasTexture() && other->HasTexture());
  const GLuint textures[2] = {first->texture, other->texture};
  EXPECT_NE(textures[0], textures[1]);
  data.Release();
  EXPECT_FALSE(glIsTexture(textures[0]));
  EXPECT_FALSE(glIsTexture(textures[1]));
}

TEST_F(SkelDataTest, FailedLoadsLeaveTheHolderEmpty) {
  WriteTestPage(dir, "page.png");
  const std::string atlas = dir.Write("test.atlas", TestPageAtlas("page.png"));
  const std::string good = dir.Write("good.json", kOneRegion);
  std::string rejected = kOneRegion;
  rejected.insert(1, R"("skeleton": {"version": "3.8.75"},)");
  const std::string old = dir.Write("old.json", rejected);
  const std::string missing = dir.File("missing.json");

  for (const std::string& skeleton : {old, missing}) {
    SCOPED_TRACE(skeleton);
    EXPECT_FALSE(data.Load(atlas.c_str(), skeleton.c_str()));
    EXPECT_EQ(data.textureLoader, nullptr);
    EXPECT_EQ(data.atlas, nullptr);
    EXPECT_EQ(data.skeletonData, nullptr);
  }
  // Without an atlas the region attachment cannot be made.
  EXPECT_FALSE(data.Load(dir.File("missing.atlas").c_str(), good.c_str()));
  EXPECT_EQ(data.atlas, nullptr);
  EXPECT_FALSE(data.Load(nullptr, good.c_str()));

  // A failed load also drops what an earlier load brought.
  ASSERT_TRUE(data.Load(atlas.c_str(), good.c_str()));
  EXPECT_FALSE(data.Load(atlas.c_str(), old.c_str()));
  EXPECT_EQ(data.skeletonData, nullptr);
}

// Every loading call fails with its reason: given why, there and nowhere
// else; without, as one warning in the log. A call reading several files
// names the one at fault first.
struct LoadFailure {
  const char* name;
  // Runs the load with why (null: without); true when it loaded.
  std::function<bool(TarnSkel::SkelData&, std::string* why)> load;
  // Expected in the reason, and (for a path that may be taken for another's) not.
  std::string said;
  std::string notSaid;
};

struct Logged {
  int count = 0;
  tarn::LogLevel level = tarn::LogLevel::Error;
  std::string message;
};

void Keep(tarn::LogLevel level, const char* message, void* user) {
  Logged& logged = *static_cast<Logged*>(user);
  ++logged.count;
  logged.level = level;
  logged.message = message;
}

TEST_F(SkelDataTest, EveryFailedLoadGivesItsReasonToTheCallerOrElseToTheLog) {
  WriteTestPage(dir, "page.png");
  const std::string atlas = dir.Write("test.atlas", TestPageAtlas("page.png"));
  const std::string noPage = dir.Write("nopage.atlas", TestPageAtlas("nowhere.png"));
  const std::string good = dir.Write("good.json", kOneRegion);
  const std::string empty = dir.Write("empty.json", "");
  const std::string broken = dir.Write("broken.json", "{\"bones\": [");
  const std::string missingAtlas = dir.File("missing.atlas"), missingFont = dir.File("missing.ttf");
  const std::string noFile = std::strerror(ENOENT);
  const auto skeleton = [](const std::string& a, const std::string& s) {
    return [a, s](TarnSkel::SkelData& d, std::string* why) { return d.Load(a.c_str(), s.c_str(), why); };
  };
  const std::vector<LoadFailure> cases = {
      {"atlas missing", skeleton(missingAtlas, good), missingAtlas + ": " + noFile, "attachment"},
      {"page image missing", skeleton(noPage, good), dir.File("nowhere.png") + ": ", ".json"},
      {"skeleton file empty", skeleton(atlas, empty), empty + ": empty file", ""},
      {"skeleton file broken", skeleton(atlas, broken), broken + ": Invalid skeleton JSON", ""},
      {"font missing",
       [&](TarnSkel::SkelData&, std::string* why) {
         TarnFramework::Font font;
         return font.Open(missingFont.c_str(), 20, why);
       },
       noFile, ""},
      {"picture missing",
       [&](TarnSkel::SkelData&, std::string* why) {
         Graphic2D picture;
         if (why) return picture.LoadImage(dir.File("none.png").c_str(), why);
         picture.LoadImage(dir.File("none.png").c_str());
         return picture.HasTexture();
       },
       noFile, ""},
  };
  Logged logged;
  tarn::SetLogCallback(Keep, &logged);
  for (const LoadFailure& c : cases) {
    SCOPED_TRACE(c.name);
    std::string why;
    logged = Logged();
    EXPECT_FALSE(c.load(data, &why));
    EXPECT_NE(why.find(c.said), std::string::npos) << why;
    if (!c.notSaid.empty()) {
      EXPECT_EQ(why.find(c.notSaid), std::string::npos) << why;
    }
    EXPECT_EQ(logged.count, 0) << "told the caller and the log: " << logged.message;
    EXPECT_EQ(data.skeletonData, nullptr);

    EXPECT_FALSE(c.load(data, nullptr));
    EXPECT_EQ(logged.count, 1) << logged.message;
    EXPECT_EQ(logged.level, tarn::LogLevel::Warning);
    EXPECT_EQ(logged.message.rfind("cannot read ", 0), 0u) << logged.message;
    EXPECT_NE(logged.message.find(c.said), std::string::npos) << logged.message;
  }
  tarn::SetLogCallback(nullptr);

  // Without a callback the line goes to standard error under the program's
  // own name, not the library's.
  testing::internal::CaptureStderr();
  EXPECT_FALSE(data.Load(missingAtlas.c_str(), good.c_str()));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said, std::string(program_invocation_short_name) + ": warning: cannot read " + missingAtlas + ": " +
                      noFile + "\n");
}

TEST_F(SkelDataTest, TheCustomHolderReleasesWhatItIsGiven) {
  WriteTestPage(dir, "page.png");
  const std::string atlasPath = dir.Write("test.atlas", TestPageAtlas("page.png"));
  TarnSkelCustom::SkelData custom;
  custom.textureLoader = new TarnFrameworkSkelTextureLoader();
  custom.atlas = new skel::Atlas(skel::String(atlasPath.c_str()), custom.textureLoader);
  {
    skel::SkeletonJson json(custom.atlas);
    custom.skeletonData = json.readSkeletonData(kOneRegion);
  }
  ASSERT_NE(custom.skeletonData, nullptr);
  const GLuint texture = PageSprite(*custom.atlas, 0)->texture;
  EXPECT_EQ(custom.Release(), 0);
  EXPECT_EQ(custom.textureLoader, nullptr);
  EXPECT_EQ(custom.atlas, nullptr);
  EXPECT_EQ(custom.skeletonData, nullptr);
  EXPECT_FALSE(glIsTexture(texture));
  EXPECT_EQ(custom.Release(), 0);
}

}  // namespace
