// Characters, their keys and the barrack's lookup by key.
#include <string>

#include "Barrack.h"
#include "CharUnit.h"
#include "CharUnitManager.h"
#include "GameTestSupport.h"

namespace {

using game_test::GameTest;

TEST_F(GameTest, TheMainScreenMakesFiveTestCharactersWithSerialKeys) {
  ASSERT_EQ(game->barrack.units.Count(), 5);
  for (int i = 0; i < 5; ++i) {
    CharUnit* unit = Unit(i);
    EXPECT_EQ(unit->id, i);
    EXPECT_EQ(std::string(unit->key), "CU_" + std::to_string(i));
    EXPECT_EQ(unit->graphicIndex, i);
    EXPECT_EQ(std::u16string(unit->status.name), u"test0" + std::u16string(1, char16_t(u'1' + i)));
  }
  EXPECT_EQ(game->nextUnitId, 5);

  // The sixth unit ever made is CU_5 whatever its name; equal names differ by key.
  auto* twin = new CharUnit;
  twin->status.SetName(u"test01");
  game->barrack.units.Add(twin);
  EXPECT_STREQ(twin->key, "CU_5");
  EXPECT_EQ(game->barrack.units.FindByKey("CU_0"), Unit(0));
  EXPECT_EQ(game->barrack.units.FindByKey("CU_5"), twin);
}

TEST_F(GameTest, FindByKeyComparesWholeKeys) {
  CharUnitManager manager;
  EXPECT_EQ(manager.FindByKey("CU_0"), nullptr) << "empty manager";
  game->nextUnitId = 10;
  auto* ten = new CharUnit;
  manager.Add(ten);
  EXPECT_EQ(manager.FindByKey("CU_10"), ten);
  EXPECT_EQ(manager.FindByKey("CU_1"), nullptr) << "a prefix of a key is not the key";
  EXPECT_EQ(manager.FindByKey("CU_100"), nullptr);
  EXPECT_EQ(manager.FindByKey(""), nullptr);
  EXPECT_EQ(manager.FindByKey(nullptr), nullptr);
  manager.Add(nullptr);
  EXPECT_EQ(manager.Count(), 1);
  EXPECT_EQ(manager.At(1), nullptr);
  EXPECT_EQ(manager.At(-1), nullptr);
}

TEST(UnitKey, OnlyKeysOfTheUnitKindQualify) {
  EXPECT_TRUE(IsUnitKey("CU_3"));
  EXPECT_TRUE(IsUnitKey("CU")) << "the whole key is the kind when it has no '_'";
  EXPECT_TRUE(IsUnitKey("CU_"));
  EXPECT_FALSE(IsUnitKey("CUX_1"));
  EXPECT_FALSE(IsUnitKey("C_1"));
  EXPECT_FALSE(IsUnitKey("cu_1"));
  EXPECT_FALSE(IsUnitKey("_CU"));
  EXPECT_FALSE(IsUnitKey(""));
  EXPECT_FALSE(IsUnitKey(nullptr));
}

TEST(UnitStatus, NamesAreCopiedAndCutAfter256Characters) {
  CharUnit::Status status;
  std::u16string source(300, u'あ');
  status.SetName(source.c_str());
  ASSERT_NE(status.name, nullptr);
  EXPECT_EQ(std::u16string(status.name), source.substr(0, 256));
  source[0] = u'x';
  EXPECT_EQ(status.name[0], u'あ') << "a copy, not the caller's text";
  status.SetName(nullptr);
  EXPECT_EQ(status.name, nullptr);
  status.SetName(u"");
  ASSERT_NE(status.name, nullptr);
  EXPECT_EQ(status.name[0], 0);
}

TEST(UnitWithoutGame, KeepsIdMinusOne) {
  ASSERT_EQ(g_game, nullptr);
  CharUnit unit;
  EXPECT_EQ(unit.id, -1);
  EXPECT_STREQ(unit.key, "CU_-1");
}

TEST(BarrackClear, DeletesEveryUnit) {
  Barrack barrack;
  barrack.units.Add(new CharUnit);
  barrack.units.Add(new CharUnit);
  barrack.Clear();
  EXPECT_EQ(barrack.units.Count(), 0);
  EXPECT_EQ(barrack.units.units.items, nullptr);
}

}  // namespace
