#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <set>

#include "skel/Color.h"
#include "skel/HasRendererObject.h"
#include "skel/HashMap.h"
#include "skel/Pool.h"
#include "skel/PropertyIdSet.h"
#include "skel/RTTI.h"
#include "skel/String.h"
#include "skel/Vector.h"

using skel::Color;
using skel::HashMap;
using skel::Pool;
using skel::String;
using skel::Vector;

namespace {

template <typename T>
std::vector<T> contents(const Vector<T>& v) {
  return std::vector<T>(v.begin(), v.end());
}

}  // namespace

TEST(Vector, GrowsByThreeQuartersWithAFloorOfEight) {
  Vector<int> v;
  EXPECT_EQ(v.getCapacity(), 0u);
  EXPECT_EQ(v.buffer(), nullptr);
  std::vector<size_t> capacities;
  for (int i = 0; i < 25; ++i) {
    v.add(i);
    capacities.push_back(v.getCapacity());
  }
  EXPECT_EQ(capacities[0], 8u);
  EXPECT_EQ(capacities[7], 8u);
  EXPECT_EQ(capacities[8], 14u);
  EXPECT_EQ(capacities[14], 24u);
  EXPECT_EQ(capacities[24], 42u);
  for (int i = 0; i < 25; ++i) EXPECT_EQ(v[i], i);
}

TEST(Vector, SetSizeReservesWithTheGrowthRuleAndFills) {
  Vector<float> v;
  v.setSize(8, 2.5f);
  EXPECT_EQ(v.getCapacity(), 14u);
  EXPECT_EQ(contents(v), std::vector<float>(8, 2.5f));
  v.setSize(3, 0);
  EXPECT_EQ(v.size(), 3u);
  EXPECT_EQ(v.getCapacity(), 14u);
  v.setSize(5, 7.0f);
  EXPECT_EQ(contents(v), (std::vector<float>{2.5f, 2.5f, 2.5f, 7.0f, 7.0f}));
}

TEST(Vector, EnsureCapacityReservesExactlyAndAddAllKeepsOrder) {
  Vector<int> a, b;
  a.add(1);
  for (int i = 2; i <= 10; ++i) b.add(i);
  a.addAll(b);
  EXPECT_EQ(a.getCapacity(), 10u);
  EXPECT_EQ(contents(a), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  a.addAll(a);
  EXPECT_EQ(a.size(), 20u);
  EXPECT_EQ(a[19], 10);
}

TEST(Vector, RemoveAtKeepsTheOrderOfTheRest) {
  Vector<String> v;
  v.add("a");
  v.add("b");
  v.add("c");
  v.removeAt(0);
  ASSERT_EQ(v.size(), 2u);
  EXPECT_STREQ(v[0].buffer(), "b");
  EXPECT_STREQ(v[1].buffer(), "c");
  v.add("d");
  v.removeAt(1);
  EXPECT_STREQ(v[0].buffer(), "b");
  EXPECT_STREQ(v[1].buffer(), "d");
  EXPECT_TRUE(v.remove(String("b")));
  EXPECT_FALSE(v.remove(String("zz")));
  EXPECT_EQ(v.size(), 1u);
}

TEST(Vector, AddingItsOwnElementWhileGrowingIsSafe) {
  Vector<String> v;
  for (int i = 0; i < 8; ++i) v.add(String("element"));
  v.add(v[3]);  // triggers growth with a reference into the old buffer
  EXPECT_EQ(v.getCapacity(), 14u);
  EXPECT_STREQ(v[8].buffer(), "element");
}

TEST(Vector, ElementsWithOwnedMemorySurviveGrowthAndCopies) {
  Vector<Vector<float>> outer;
  for (int i = 0; i < 20; ++i) {
    Vector<float> inner;
    inner.setSize(static_cast<size_t>(i) + 1, static_cast<float>(i));
    outer.add(inner);
  }
  Vector<Vector<float>> copy(outer);
  outer.clear();
  ASSERT_EQ(copy.size(), 20u);
  for (size_t i = 0; i < copy.size(); ++i) {
    ASSERT_EQ(copy[i].size(), i + 1);
    EXPECT_EQ(copy[i][i], static_cast<float>(i));
  }
  Vector<Vector<float>> assigned;
  assigned = copy;
  EXPECT_TRUE(assigned == copy);
}

namespace {

struct Counted : skel::SkelObject {
  static int alive;
  Counted() { ++alive; }
  ~Counted() override { --alive; }
};
int Counted::alive = 0;

}  // namespace

TEST(Vector, ClearAndDeleteAllDeletesEveryNonNullElement) {
  Vector<Counted*> v;
  v.add(new (__FILE__, __LINE__) Counted());
  v.add(nullptr);
  v.add(new (__FILE__, __LINE__) Counted());
  EXPECT_EQ(Counted::alive, 2);
  v.clearAndDeleteAll();
  EXPECT_EQ(Counted::alive, 0);
  EXPECT_EQ(v.size(), 0u);
}

TEST(Pool, ReusesTheLastIdleObjectAndDeletesIdleOnesAtTheEnd) {
  {
    Pool<Counted> pool;
    Counted* a = pool.obtain();
    Counted* b = pool.obtain();
    EXPECT_NE(a, b);
    pool.free(a);
    pool.free(b);
    pool.free(b);
    EXPECT_EQ(pool.idleCount(), 2u);
    EXPECT_EQ(pool.obtain(), b);
    EXPECT_EQ(pool.obtain(), a);
    EXPECT_EQ(pool.idleCount(), 0u);
    pool.free(a);
    delete b;  // not handed back: the owner deletes it
  }
  EXPECT_EQ(Counted::alive, 0);
}

TEST(String, EqualityDistinguishesNullFromEmptyAndComparesBytes) {
  String none1, none2(nullptr), empty1(""), empty2("");
  EXPECT_EQ(none1.buffer(), nullptr);
  EXPECT_TRUE(none1 == none2);
  EXPECT_FALSE(none1 == empty1);
  EXPECT_FALSE(empty1 == none1);
  ASSERT_NE(empty1.buffer(), nullptr);
  EXPECT_EQ(empty1.buffer()[0], '\0');
  EXPECT_TRUE(empty1 == empty2);
  EXPECT_TRUE(String("bone") == String("bone"));
  EXPECT_FALSE(String("bone") == String("Bone"));
  EXPECT_FALSE(String("bone") == String("bones"));
  String copy(none1);
  EXPECT_TRUE(copy == none1);
}

TEST(String, AssignmentAppendAndSelfUse) {
  String s("abc");
  String& same = s;
  s = same;
  EXPECT_STREQ(s.buffer(), "abc");
  String t;
  t = s;
  EXPECT_NE(t.buffer(), s.buffer());
  EXPECT_TRUE(t == s);
  t.append(String("def")).append(t);
  EXPECT_STREQ(t.buffer(), "abcdefabcdef");
  EXPECT_EQ(t.length(), 12u);
  String none;
  none.append(String());
  ASSERT_NE(none.buffer(), nullptr);
  EXPECT_EQ(none.length(), 0u);
  String number("n=");
  number.append(42LL).append(String(" f=")).append(0.5f);
  EXPECT_STREQ(number.buffer(), "n=42 f=0.5");
  t = nullptr;
  EXPECT_EQ(t.buffer(), nullptr);
}

TEST(String, SubstringLastIndexOfAndStartsWith) {
  String path("skel_data\\Char01.atlas");
  EXPECT_EQ(path.lastIndexOf('\\'), 9);
  EXPECT_EQ(path.lastIndexOf('/'), -1);
  EXPECT_STREQ(path.substring(0, 9).buffer(), "skel_data");
  EXPECT_STREQ(path.substring(10, 100).buffer(), "Char01.atlas");
  EXPECT_STREQ(path.substring(100, 1).buffer(), "");
  EXPECT_TRUE(path.startsWith(String("skel")));
  EXPECT_FALSE(path.startsWith(String("skel_data\\Char01.atlas!")));
}

TEST(HashMap, NewestKeyIsScannedFirstAndPuttingTwiceKeepsOneEntry) {
  HashMap<int, bool> map;
  map.put(1, true);
  map.put(2, false);
  map.put(1, false);
  EXPECT_EQ(map.size(), 2u);
  ASSERT_NE(map.find(1), nullptr);
  EXPECT_FALSE(*map.find(1));
  EXPECT_EQ(map.getHead()->key, 2);
  EXPECT_EQ(map.getHead()->next->key, 1);
  EXPECT_EQ(map.getHead()->next->prev, map.getHead());
  map.put(3, true);
  EXPECT_EQ(map.getHead()->key, 3);
  EXPECT_TRUE(map.containsKey(2));
  EXPECT_FALSE(map.containsKey(4));
  EXPECT_EQ(map.find(4), nullptr);
  EXPECT_TRUE(map.remove(2));
  EXPECT_FALSE(map.remove(2));
  EXPECT_EQ(map.getHead()->next->key, 1);
  EXPECT_EQ(map.getHead()->next->prev->key, 3);
  EXPECT_EQ(map.size(), 2u);

  // Thousands of keys, as a large rig's timelines give: found through the
  // buckets as they grow, and gone from them when removed.
  HashMap<int, int> many;
  for (int i = 0; i < 5000; ++i) many.put(i * 7919, i);
  for (int i = 0; i < 5000; i += 3) EXPECT_TRUE(many.remove(i * 7919));
  for (int i = 0; i < 5000; ++i) {
    const int* value = many.find(i * 7919);
    ASSERT_EQ(value != nullptr, i % 3 != 0) << i;
    if (value) {
      EXPECT_EQ(*value, i);
    }
  }
  EXPECT_EQ(many.size(), 3333u);
  EXPECT_EQ(many.getHead()->key, 4999 * 7919);
  many.clear();
  EXPECT_FALSE(many.containsKey(7919));
  many.put(1, 1);
  EXPECT_EQ(*many.find(1), 1);
}

// Ids of the runtime's types are bits by index, any other id is hashed: the
// set must agree with a plain one across both, and after being cleared.
TEST(PropertyIdSet, AgreesWithAPlainSetForEveryKindOfId) {
  const int ids[] = {0,
                     1,
                     63,
                     64,
                     (1 << 24) + 5,
                     (6 << 24) + 19999,
                     15 << 24,
                     (15 << 24) + (1 << 20) - 1,
                     (2 << 24) + (1 << 20),
                     16 << 24,
                     (16 << 24) + 3,
                     INT_MAX,
                     -1,
                     INT_MIN,
                     (14 << 24) + 70000};
  skel::PropertyIdSet set;
  std::set<int> plain;
  for (int round = 0; round < 2; ++round) {
    for (int id : ids) {
      EXPECT_EQ(set.contains(id), plain.count(id) == 1) << id;
      EXPECT_EQ(set.insert(id), plain.insert(id).second) << id;
      EXPECT_FALSE(set.insert(id)) << id;
      EXPECT_TRUE(set.contains(id)) << id;
    }
    // Neighbours of each id were never put in.
    for (int id : ids)
      for (long long near : {id - 1LL, id + 1LL})
        if (near >= INT_MIN && near <= INT_MAX && !plain.count(int(near))) {
          EXPECT_FALSE(set.contains(int(near))) << near;
        }
    EXPECT_EQ(set.size(), plain.size());
    set.clear();
    plain.clear();
    EXPECT_EQ(set.size(), 0u);
    for (int id : ids) EXPECT_FALSE(set.contains(id)) << id;
  }
}

TEST(Color, SettersAndAddClampToUnitRange) {
  Color c;
  EXPECT_EQ(c, Color(1, 1, 1, 1));
  c.set(Color(2, -1, 0.5f, 1));
  EXPECT_EQ(c, Color(1, 0, 0.5f, 1));
  c.add(-0.25f, 0.25f, 0.75f, 1);
  EXPECT_EQ(c, Color(0.75f, 0.25f, 1, 1));
  Color raw;
  raw.r = -1;  // fields keep out-of-range values
  EXPECT_EQ(raw.r, -1);
}

namespace {

int disposed = 0;
void dispose(void*) { ++disposed; }

}  // namespace

TEST(HasRendererObject, DisposesTheOldObjectOnlyWhenItChanges) {
  disposed = 0;
  int first = 0, second = 0;
  {
    skel::HasRendererObject holder;
    holder.setRendererObject(&first, dispose);
    holder.setRendererObject(&first, dispose);
    EXPECT_EQ(disposed, 0);
    holder.setRendererObject(&second, dispose);
    EXPECT_EQ(disposed, 1);
    EXPECT_EQ(holder.getRendererObject(), &second);
  }
  EXPECT_EQ(disposed, 2);
  {
    skel::HasRendererObject holder;
    holder.setRendererObject(&first);
    holder.setRendererObject(&second, dispose);  // no disposer for the first
  }
  EXPECT_EQ(disposed, 3);
}

namespace {

struct Shape : skel::SkelObject {
  SKEL_RTTI_ROOT_DECL
};
struct Mesh : Shape {
  SKEL_RTTI_DECL
};
SKEL_RTTI_ROOT_IMPL(Shape)
SKEL_RTTI_IMPL(Mesh, Shape)

}  // namespace

TEST(RTTI, ClassesMatchByNameAndWalkTheirBases) {
  Mesh mesh;
  Shape& shape = mesh;
  EXPECT_TRUE(shape.getRTTI().isExactly(Mesh::rtti));
  EXPECT_FALSE(shape.getRTTI().isExactly(Shape::rtti));
  EXPECT_TRUE(shape.getRTTI().instanceOf(Shape::rtti));
  EXPECT_FALSE(Shape::rtti.instanceOf(Mesh::rtti));
  skel::RTTI sameName("Mesh");
  EXPECT_TRUE(sameName.isExactly(Mesh::rtti));
  EXPECT_STREQ(Mesh::rtti.getBase()->getClassName(), "Shape");
}
