#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>

#include "skel/DebugExtension.h"
#include "skel/Json.h"
#include "skel/SkelExtension.h"

using skel::Json;

namespace {

// Offset of the last recorded error within text, or -1 when it lies elsewhere.
long errorOffset(const std::string& text) {
  const char* error = Json::getError();
  if (!error || error < text.c_str() || error > text.c_str() + text.size()) return -1;
  return static_cast<long>(error - text.c_str());
}

std::string stringValue(const std::string& text) {
  Json json(text.c_str());
  EXPECT_EQ(json.getType(), Json::JSON_STRING);
  return json.getValueString() ? json.getValueString() : "<null>";
}

}  // namespace

TEST(JsonNumbers, IntegersFractionsExponentsAndSigns) {
  std::string text = " [1, 2.5e1, -3, 0.125, 1E-2, 7e+1, -0.5]";
  Json json(text.c_str());
  ASSERT_EQ(json.getType(), Json::JSON_ARRAY);
  EXPECT_EQ(json.getSize(), 7);
  std::vector<float> floats;
  std::vector<int> ints;
  for (Json* c = json.getChild(); c; c = c->getNext()) {
    EXPECT_EQ(c->getType(), Json::JSON_NUMBER);
    floats.push_back(c->getValueFloat());
    ints.push_back(c->getValueInt());
  }
  EXPECT_EQ(floats, (std::vector<float>{1, 25, -3, 0.125f, 0.01f, 70, -0.5f}));
  EXPECT_EQ(ints, (std::vector<int>{1, 25, -3, 0, 0, 70, 0}));
}

// Each number reads as the float nearest to it, ties to even, and its
// integer as the value cut toward zero and held at the int range. The
// expected floats were worked out exactly, apart from this reader.
TEST(JsonNumbers, NumbersReadAsTheNearestFloat) {
  const std::string zeros(100018, '0');
  const struct {
    std::string text;
    float value;
    int integer;
  } cases[] = {
      // Around fifteen digits, where a sum leaves an integer for a double.
      {"999999999999999", 0x1.c6bf52p+49f, INT_MAX},
      {"9999999999999999", 0x1.1c3794p+53f, INT_MAX},
      {"12345678901234567890", 0x1.56a954p+63f, INT_MAX},
      {"-9007199254740993", -0x1p+53f, INT_MIN},
      {"0.999999999999999", 1.0f, 0},
      {"0.9999999999999999", 1.0f, 0},
      {"0.1234567890123456789", 0x1.f9add4p-4f, 0},
      {"123456789012345.678901234567", 0x1.c12218p+46f, INT_MAX},
      {"4294967297.75", 0x1p+32f, INT_MAX},
      // Twenty digits and more, whose first ones would wrap past 2^64 if all were kept.
      {"18446744073709551617", 0x1p+64f, INT_MAX},
      {"-18446744073709551617", -0x1p+64f, INT_MIN},
      {"99999999999999999999", 0x1.5af1d8p+66f, INT_MAX},
      {"184467440737095516170000", 0x1.388p+77f, INT_MAX},
      {"1844674407370955161.7", 0x1.99999ap+60f, INT_MAX},
      {"0.18446744073709551617", 0x1.79ca1p-3f, 0},
      {"-0.000000000000000000018446744073709551617", -0x1.5c72fcp-66f, 0},
      // Fraction digits past those kept move the point no further: these underflow.
      {"1." + std::string(100, '0') + "e-50", 0.0f, 0},
      {"1.2345678901234567890123456789012345678901234567890123456789012345678901234567890e-50", 0.0f, 0},
      // More digits than the exponent is capped at, on either side of the point.
      {"1" + zeros + "e-1000000", 0.0f, 0},
      {"1" + zeros + "e-100000", 0x1.bc16d6p+59f, INT_MAX},
      {"0." + zeros + "1e100000", 0x1.d83c94p-64f, 0},
      // Halfway between two floats, where the last bit of the double decides.
      {"842631729746280448", 0x1.763424p+59f, INT_MAX},
      {"4378754617521995776", 0x1.e623b0p+61f, INT_MAX},
      // The ends of the float range as nine digits print them: each reads
      // back as itself, and just past the largest float's rounding lies infinity.
      {"3.40282347e+38", FLT_MAX, INT_MAX},
      {"-3.40282347e+38", -FLT_MAX, INT_MIN},
      {"3.40282357e+38", INFINITY, INT_MAX},
      {"1.17549435e-38", FLT_MIN, 0},
      {"1.40129846e-45", 0x1p-149f, 0},
      {"7.0064924e-46", 0x1p-149f, 0},
      {"7.00649232e-46", 0.0f, 0},
  };
  for (const auto& c : cases) {
    Json json(c.text.c_str());
    const std::string shown =
        c.text.size() > 90 ? c.text.substr(0, 40) + "..." + c.text.substr(c.text.size() - 20) : c.text;
    EXPECT_EQ(json.getValueFloat(), c.value) << shown;
    EXPECT_EQ(json.getValueInt(), c.integer) << shown;
  }
}

TEST(JsonNumbers, ALoneMinusIsZeroAndParsingGoesOnAfterIt) {
  std::string text = "[-x]";
  Json json(text.c_str());
  ASSERT_NE(json.getChild(), nullptr);
  EXPECT_EQ(json.getChild()->getType(), Json::JSON_NUMBER);
  EXPECT_EQ(json.getChild()->getValueFloat(), 0);
  EXPECT_EQ(errorOffset(text), 2);  // the x after the minus
}

TEST(JsonNumbers, HugeValuesSaturateInsteadOfOverflowing) {
  std::string digits(400, '9');
  std::string text =
      "[" + digits + ", -" + digits + ", 1e999999999999, 0e999999, 1e-99999, 3000000000, 0." + digits + "]";
  Json json(text.c_str());
  ASSERT_EQ(json.getSize(), 7);
  Json* c = json.getChild();
  EXPECT_TRUE(std::isinf(c->getValueFloat()) && c->getValueFloat() > 0);
  EXPECT_EQ(c->getValueInt(), INT_MAX);
  c = c->getNext();
  EXPECT_TRUE(std::isinf(c->getValueFloat()) && c->getValueFloat() < 0);
  EXPECT_EQ(c->getValueInt(), INT_MIN);
  c = c->getNext();
  EXPECT_TRUE(std::isinf(c->getValueFloat()));
  c = c->getNext();
  EXPECT_EQ(c->getValueFloat(), 0);
  c = c->getNext();
  EXPECT_EQ(c->getValueFloat(), 0);
  c = c->getNext();
  EXPECT_EQ(c->getValueInt(), INT_MAX);
  EXPECT_EQ(c->getValueFloat(), 3e9f);
  c = c->getNext();
  EXPECT_FLOAT_EQ(c->getValueFloat(), 1.0f);
}

TEST(JsonStrings, EscapesBecomeBytesAndUtf8) {
  EXPECT_EQ(stringValue("\"a\\b\\f\\n\\r\\tz\""), "a\b\f\n\r\tz");
  EXPECT_EQ(stringValue("\"\\\"\\\\\\/\\q\""), "\"\\/q");
  EXPECT_EQ(stringValue("\"\\u00E9\""), "\xC3\xA9");
  EXPECT_EQ(stringValue("\"\\u0041\\u07FF\\u0800\\uFFFF\""), "A\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF");
  EXPECT_EQ(stringValue("\"\\uD83D\\uDE00\""), "\xF0\x9F\x98\x80");
  EXPECT_EQ(stringValue("\"caf\xC3\xA9\""), "caf\xC3\xA9");  // raw UTF-8 passes through
}

TEST(JsonStrings, SurrogatesAndNulWithoutAPartnerWriteNothing) {
  EXPECT_EQ(stringValue("\"a\\uDE00b\""), "ab");
  EXPECT_EQ(stringValue("\"a\\uD83Db\""), "ab");
  EXPECT_EQ(stringValue("\"a\\uD83D\\u0041b\""), "ab");
  EXPECT_EQ(stringValue("\"a\\u0000b\""), "ab");
}

TEST(JsonStrings, TruncatedEscapesStopAtTheEndOfTheText) {
  // Each of these once stepped over the terminator.
  EXPECT_EQ(stringValue("\"ab\\"), "ab");
  EXPECT_EQ(stringValue("\"ab\\u"), "ab");
  EXPECT_EQ(stringValue("\"ab\\u4"), "ab\x04");
  EXPECT_EQ(stringValue("\"ab\\uD83D\\u"), "ab");
  EXPECT_EQ(stringValue("\"no closing quote"), "no closing quote");
  // A short escape does not swallow the closing quote and what follows it.
  std::string text = "[\"\\u41\", \"next\"]";
  Json json(text.c_str());
  ASSERT_EQ(json.getSize(), 2);
  EXPECT_STREQ(json.getChild()->getValueString(), "A");
  EXPECT_STREQ(json.getChild()->getNext()->getValueString(), "next");
}

TEST(JsonLookup, MembersMatchIgnoringCaseFirstOneWins) {
  std::string text = R"({"name": "first", "NAME": "second", "scale": 0.5, "count": 3, "flag": true,
                           "skinText": "true", "skinNumber": 2, "skinZero": 0, "skinLiteral": true, "skinOther": "yes"})";
  Json root(text.c_str());
  EXPECT_EQ(root.getType(), Json::JSON_OBJECT);
  EXPECT_EQ(root.getSize(), 10);
  EXPECT_STREQ(Json::getString(&root, "Name", "x"), "first");
  EXPECT_STREQ(Json::getString(&root, "missing", "fallback"), "fallback");
  EXPECT_EQ(Json::getFloat(&root, "SCALE", 1), 0.5f);
  EXPECT_EQ(Json::getFloat(&root, "missing", 1), 1.0f);
  EXPECT_EQ(Json::getInt(&root, "count", 0), 3);
  EXPECT_EQ(Json::getInt(&root, "flag", 0), 1);
  EXPECT_EQ(Json::getInt(&root, "missing", -4), -4);
  EXPECT_TRUE(Json::getBoolean(&root, "skinText"));
  EXPECT_TRUE(Json::getBoolean(&root, "skinNumber"));
  EXPECT_FALSE(Json::getBoolean(&root, "skinZero"));
  EXPECT_FALSE(Json::getBoolean(&root, "skinLiteral"));
  EXPECT_FALSE(Json::getBoolean(&root, "skinOther"));
  EXPECT_FALSE(Json::getBoolean(&root, "missing"));
  EXPECT_EQ(Json::getItem(nullptr, "name"), nullptr);
}

TEST(JsonLiterals, TrueFalseNullAndNestedContainers) {
  std::string text = "{\"a\":[true,false,null,[],{}],\"b\":{\"c\":\"d\"}}";
  Json root(text.c_str());
  Json* a = Json::getItem(&root, "a");
  ASSERT_NE(a, nullptr);
  ASSERT_EQ(a->getSize(), 5);
  Json* c = a->getChild();
  EXPECT_EQ(c->getType(), Json::JSON_TRUE);
  EXPECT_EQ(c->getValueInt(), 1);
  EXPECT_EQ((c = c->getNext())->getType(), Json::JSON_FALSE);
  EXPECT_EQ((c = c->getNext())->getType(), Json::JSON_NULL);
  EXPECT_EQ((c = c->getNext())->getType(), Json::JSON_ARRAY);
  EXPECT_EQ(c->getSize(), 0);
  EXPECT_EQ((c = c->getNext())->getType(), Json::JSON_OBJECT);
  EXPECT_STREQ(Json::getString(Json::getItem(&root, "b"), "c", nullptr), "d");
}

TEST(JsonErrors, ATruncatedObjectKeepsWhatWasParsed) {
  std::string text = "{\"a\": 1, \"b\": [2, 3], \"c\": {\"d\": 4";
  Json root(text.c_str());
  EXPECT_EQ(errorOffset(text), static_cast<long>(text.size()));
  EXPECT_EQ(Json::getInt(&root, "a", 0), 1);
  EXPECT_EQ(Json::getItem(&root, "b")->getSize(), 2);
  EXPECT_EQ(Json::getInt(Json::getItem(&root, "c"), "d", 0), 4);
  EXPECT_EQ(root.getSize(), 3);
}

TEST(JsonErrors, AValueThatNeverBeganIsNotKept) {
  std::string text = "[1, 2, ?, 4]";
  Json array(text.c_str());
  EXPECT_EQ(errorOffset(text), 7);
  EXPECT_EQ(array.getSize(), 2);
  std::string members = "{\"a\": 1, \"b\" 2}";
  Json object(members.c_str());
  EXPECT_EQ(errorOffset(members), 13);
  EXPECT_EQ(object.getSize(), 1);
  std::string key = "{\"a\": 1, b: 2}";
  Json badKey(key.c_str());
  EXPECT_EQ(errorOffset(key), 9);
  EXPECT_EQ(badKey.getSize(), 1);
  std::string literal = "[nul]";
  Json badLiteral(literal.c_str());
  EXPECT_EQ(errorOffset(literal), 1);
  EXPECT_EQ(badLiteral.getSize(), 0);
}

TEST(JsonErrors, NestingPastTheLimitIsAnErrorThere) {
  std::string fits = std::string(Json::MAX_DEPTH, '[') + std::string(Json::MAX_DEPTH, ']');
  const char* before = Json::getError();
  {
    Json json(fits.c_str());
    EXPECT_EQ(Json::getError(), before);
  }
  std::string deep(100000, '[');
  Json json(deep.c_str());
  EXPECT_EQ(errorOffset(deep), Json::MAX_DEPTH);
  int depth = 0;
  for (Json* node = &json; node; node = node->getChild()) ++depth;
  EXPECT_EQ(depth, Json::MAX_DEPTH);
}

TEST(JsonErrors, LongFlatArraysAreFreedWithoutDeepRecursion) {
  std::string text = "[";
  for (int i = 0; i < 200000; ++i) text += "0,";
  text += "0]";
  Json json(text.c_str());
  EXPECT_EQ(json.getSize(), 200001);
}

TEST(JsonMemory, LargeTreesAndTextsKeepTheirValuesAndGiveBackEveryBlock) {
  auto* tracker = dynamic_cast<skel::DebugExtension*>(skel::SkelExtension::getInstance());
  const size_t live = tracker ? tracker->getLiveCount() : 0;
  const uint64_t used = tracker ? tracker->getUsedMemory() : 0;
  // Names of every length, so nodes after them start at any offset, and a
  // text larger than a block between small values.
  const std::string big(1 << 20, 'x');
  std::string text = "{";
  for (int i = 0; i < 20000; ++i)
    text += "\"" + std::string(i % 13, 'k') + std::to_string(i) + "\": " + std::to_string(i) + ",";
  text += "\"big\": \"" + big + "\", \"after\": \"small\"}";
  {
    Json root(text.c_str());
    ASSERT_EQ(root.getSize(), 20002);
    int i = 0;
    for (Json* c = root.getChild(); i < 20000; c = c->getNext(), ++i) {
      ASSERT_EQ(c->getName(), std::string(i % 13, 'k') + std::to_string(i));
      ASSERT_EQ(c->getValueInt(), i);
      ASSERT_EQ(reinterpret_cast<uintptr_t>(c) % alignof(Json), 0u);
    }
    EXPECT_EQ(std::string(Json::getString(&root, "big", "")), big);
    EXPECT_STREQ(Json::getString(&root, "after", nullptr), "small");
  }
  if (tracker) {
    EXPECT_EQ(tracker->getLiveCount(), live);
    EXPECT_EQ(tracker->getUsedMemory(), used);
  }
  // Objects in an array at the root hold their members' blocks as a root would.
  for (const char* array : {R"([{"bones":[{"name":"root"}]}, {"a":{"b":1}}, 2])", R"([[{"a":{"b":"c"}}], {}])"}) {
    { Json root(array); }
    if (tracker) {
      EXPECT_EQ(tracker->getLiveCount(), live) << array;
    }
  }
}

// A reader lets each section go once read: the memory of a dropped member
// comes back at once, the rest of the tree stays whole, and deleting the
// root afterwards frees every block once.
TEST(JsonMemory, DroppedSectionsGiveBackTheirBlocksAndLeaveTheRestWhole) {
  auto* tracker = dynamic_cast<skel::DebugExtension*>(skel::SkelExtension::getInstance());
  if (!tracker) GTEST_SKIP() << "needs the tracking layer";
  const size_t live = tracker->getLiveCount();
  std::string text = "{\"keep\": {\"a\": 1}, \"bones\": [";
  for (int i = 0; i < 2000; ++i) text += std::string(i ? "," : "") + "{\"name\": \"b" + std::to_string(i) + "\"}";
  text += "], \"animations\": {\"one\": {\"keys\": [";
  for (int i = 0; i < 2000; ++i) text += std::string(i ? "," : "") + std::to_string(i);
  text += "]}, \"two\": {\"keys\": [5, 6, 7]}}, \"tail\": \"x\"}";
  {
    Json root(text.c_str());
    const uint64_t parsed = tracker->getUsedMemory();
    Json::getItem(&root, "bones")->dropValue();
    const uint64_t withoutBones = tracker->getUsedMemory();
    EXPECT_LT(withoutBones + 2000 * sizeof(Json), parsed);
    EXPECT_EQ(Json::getItem(&root, "bones")->getType(), Json::JSON_NULL);
    EXPECT_EQ(Json::getItem(&root, "bones")->getChild(), nullptr);

    Json* animations = Json::getItem(&root, "animations");
    Json::getItem(animations, "one")->dropValue();
    EXPECT_LT(tracker->getUsedMemory() + 2000 * sizeof(Json), withoutBones);
    // A node deep in a member shares that member's memory: it is emptied, not freed.
    Json* keys = Json::getItem(Json::getItem(animations, "two"), "keys");
    const uint64_t before = tracker->getUsedMemory();
    keys->getChild()->dropValue();
    EXPECT_EQ(tracker->getUsedMemory(), before);
    EXPECT_EQ(keys->getChild()->getType(), Json::JSON_NULL);
    EXPECT_EQ(keys->getChild()->getNext()->getValueInt(), 6);
    EXPECT_EQ(Json::getInt(Json::getItem(&root, "keep"), "a", 0), 1);
    EXPECT_STREQ(Json::getString(&root, "tail", nullptr), "x");
    animations->dropValue();
    animations->dropValue();
  }
  EXPECT_EQ(tracker->getLiveCount(), live);
}
