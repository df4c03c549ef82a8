// Any bytes given to the JSON reader: it must stay inside the text, keep its
// tree consistent and free it without trouble.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skel/Json.h"

namespace {

// Walks the tree, checking the counts and touching every value.
size_t Walk(skel::Json* node, int depth) {
  if (depth > skel::Json::MAX_DEPTH + 1) std::abort();
  size_t bytes = node->getValueString() ? std::string(node->getValueString()).size() : 0;
  int children = 0;
  for (skel::Json* child = node->getChild(); child; child = child->getNext()) {
    ++children;
    bytes += Walk(child, depth + 1);
    if (node->getType() == skel::Json::JSON_OBJECT && !child->getName()) std::abort();
  }
  if (children != node->getSize()) std::abort();
  if (node->getType() < skel::Json::JSON_FALSE || node->getType() > skel::Json::JSON_OBJECT) std::abort();
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The reader needs a terminated text, as its callers give it.
  std::string text(reinterpret_cast<const char*>(data), size);
  const char* before = skel::Json::getError();
  skel::Json root(text.c_str());
  const char* error = skel::Json::getError();
  if (error != before && (error < text.c_str() || error > text.c_str() + text.size())) std::abort();
  Walk(&root, 0);

  static const char* const keys[] = {"skeleton", "bones", "NAME", "x", "skin", ""};
  for (const char* key : keys) {
    skel::Json::getItem(&root, key);
    skel::Json::getString(&root, key, nullptr);
    skel::Json::getFloat(&root, key, 0);
    skel::Json::getInt(&root, key, 0);
    skel::Json::getBoolean(&root, key);
  }
  return 0;
}
