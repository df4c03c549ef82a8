// A JSON text kept as written, with a tree over it that knows where each value
// stands. Edits replace, insert or remove the text of single values, in the
// layout the text around them already has, so that a file changes only where
// it was edited and a document with no edits gives back its bytes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace skeledit {

struct DocNode {
  enum Type { False, True, Null, Number, String, Array, Object };

  Type type = Null;
  std::string name;                   // the member's name inside an object (decoded)
  std::string text;                   // a string's value (decoded)
  float number = 0;                   // a number as the runtime reads it
  size_t begin = 0, end = 0;          // the value's text
  size_t nameBegin = 0, nameEnd = 0;  // the member's quoted name
  bool member = false;
  std::vector<DocNode> children;
  DocNode* parent = nullptr;

  // Where the member or element starts (its name, else its value).
  size_t start() const { return member ? nameBegin : begin; }
  bool isContainer() const { return type == Array || type == Object; }
  // The first member whose name matches ignoring ASCII case, as the runtime
  // looks up keys; null when there is none.
  DocNode* find(const char* key);
  const DocNode* find(const char* key) const;
  // The first member named exactly so, as the runtime finds names used as keys.
  DocNode* member_named(const std::string& exact);
  // The first element of an array of objects whose "name" is exactly name.
  DocNode* element_named(const std::string& exact);
  size_t index() const;  // among the parent's children
};

class JsonDocument {
 public:
  // False with the line and column of the first fault when text is not
  // whole JSON (a lenient reader would take a part of it, an editor must not).
  bool Load(std::string text, std::string& error);
  const std::string& Text() const { return text_; }
  DocNode& Root() { return root_; }
  const DocNode& Root() const { return root_; }

  // Edits are queued against the tree as it stands and take effect, all at
  // once, in Apply(), which parses the text again: nodes held from before are
  // gone then.
  void Replace(const DocNode& value, const std::string& valueText);
  void RenameMember(const DocNode& member, const std::string& key);
  void InsertMember(const DocNode& object, const std::string& key, const std::string& valueText);
  // Before the member at index (the count of members to append).
  void InsertMemberAt(const DocNode& object, size_t index, const std::string& key, const std::string& valueText);
  // At index (the count of elements to append).
  void InsertElement(const DocNode& array, size_t index, const std::string& valueText);
  void Remove(const DocNode& node);
  bool Apply(std::string& error);

  // The whitespace that starts the line holding pos, and one step of the
  // file's indentation.
  std::string LineIndent(size_t pos) const;
  std::string IndentUnit() const;

 private:
  struct Splice {
    size_t at, length;
    std::string text;
  };
  void Insert(const DocNode& container, size_t index, const std::string& item, bool itemIsContainer);

  std::string text_;
  DocNode root_;
  std::vector<Splice> pending_;
};

// ASCII case-insensitive equality, as the runtime compares keys.
bool SameKey(const std::string& a, const char* b);

}  // namespace skeledit
