// Loading an atlas and a skeleton file through the framework's textures, and
// releasing all of it together.
#include <GL/glew.h>

#include <vector>

#include "SkelGlueSupport.h"
#include "framework/graphics/Graphic2D.h"
#include "framework/skel/SkelDataCustom.h"
#include "skel/Atlas.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"

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

TEST_F(SkelDataTest, AMissingPageImageLoadsWithASpriteWithoutTexture) {
  const std::string atlas = dir.Write("test.atlas", TestPageAtlas("nowhere.png"));
  const std::string skeleton = dir.Write("test.json", kOneRegion);
  ASSERT_TRUE(data.Load(atlas.c_str(), skeleton.c_str()));
  Graphic2D* sprite = PageSprite(*data.atlas, 0);
  ASSERT_NE(sprite, nullptr);
  EXPECT_FALSE(sprite->HasTexture());
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
