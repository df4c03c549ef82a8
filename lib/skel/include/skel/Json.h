/// @class skel::Json
/// A small, lenient JSON reader: it stops at the first syntax error, keeps the
/// nodes it built and records where the error was. Lookups by member name
/// ignore ASCII case.
#pragma once

#include <cstddef>

#include "skel/SkelObject.h"

namespace skel {

class Json : public SkelObject {
 public:
  /// The node types getType() gives.
  /// @{
  static constexpr int JSON_FALSE = 0;
  static constexpr int JSON_TRUE = 1;
  static constexpr int JSON_NULL = 2;
  static constexpr int JSON_NUMBER = 3;
  static constexpr int JSON_STRING = 4;
  static constexpr int JSON_ARRAY = 5;
  static constexpr int JSON_OBJECT = 6;
  /// @}

  /// Arrays and objects nested deeper than this are a syntax error.
  static constexpr int MAX_DEPTH = 512;

  /// Parses one value from a zero-terminated text; null gives an empty node.
  explicit Json(const char* value);
  Json(const Json&) = delete;
  Json& operator=(const Json&) = delete;
  ~Json() override;

  /// The first child whose name matches ignoring ASCII case, or null.
  static Json* getItem(Json* object, const char* name);
  /// The named member's value, or defaultValue when it is absent. A member of
  /// another type gives what it holds, not the default: getString null for a
  /// member that is no string; getFloat and getInt 0 for a string, null,
  /// false, an array or an object, and for true getInt 1 but getFloat 0.
  /// @{
  static const char* getString(Json* object, const char* name, const char* defaultValue);
  static float getFloat(Json* object, const char* name, float defaultValue);
  static int getInt(Json* object, const char* name, int defaultValue);
  /// @}
  /// True for the text "true" or a nonzero number; false when absent or anything else.
  static bool getBoolean(Json* object, const char* name);

  /// Where the last syntax error on this thread was found (or memory ran
  /// out), or null if there never was one. It is not cleared by a later successful parse.
  static const char* getError();
  /// Where this node's own text stopped at a syntax error (or where memory
  /// ran out), or null when it parsed whole; the reader is lenient, so the
  /// tree holds what came before.
  const char* getSyntaxError() const { return _syntaxError; }

  /// The next sibling and the first child (null when none).
  /// @{
  Json* getNext() const { return _next; }
  Json* getChild() const { return _child; }
  /// @}
  /// The node's type, its number of children, its value as text, int and float,
  /// and its name as a member of an object (null otherwise).
  /// @{
  int getType() const { return _type; }
  int getSize() const { return _size; }
  const char* getValueString() const { return _valueString; }
  int getValueInt() const { return _valueInt; }
  float getValueFloat() const { return _valueFloat; }
  const char* getName() const { return _name; }
  /// @}

  /// Empties this node to a null, releasing what its value holds where it
  /// has memory of its own (the root, its members, and their members): a
  /// reader done with a section of a large file need not keep it.
  void dropValue();

 private:
  // Where the nodes and texts of one parsed tree are kept; see Json.cpp.
  class Arena;
  // Members of objects shallower than this hold blocks of their own.
  static constexpr int OWNING_DEPTH = 2;

  // Releases the blocks of node (at depth) and of its members that have some.
  static void releaseBlocks(Json* node, int depth);

  static const char* parseValue(Json* item, const char* value, int depth, Arena& arena);
  static size_t stringLength(const char* str);
  static const char* decodeString(const char* str, char* out, size_t len);
  static const char* parseString(Json* item, const char* str, Arena& arena);
  static const char* parseNumber(Json* item, const char* num);
  static const char* parseArray(Json* item, const char* value, int depth, Arena& arena);
  static const char* parseObject(Json* item, const char* value, int depth, Arena& arena);
  // A new last child, with room for a name of nameRoom bytes after the node.
  static Json* appendChild(Json* parent, Json*& last, size_t nameRoom, Arena& arena);
  static void dropChild(Json* parent, Json*& last, Json* child);

  Json* _next;
  Json* _child;
  int _type;
  int _size;
  char* _valueString;
  int _valueInt;
  float _valueFloat;
  char* _name;
  // The blocks holding the children, names and texts below this node; set
  // on the root and the members that hold their own.
  void* _blocks;
  const char* _syntaxError;
};

}  // namespace skel
