// Reads a skeleton JSON with skelcheck's tree, which takes what the runtime's
// reader takes, and names regions as the runtime's loader looks them up.
#include "MeshRegions.h"

#include <vector>

#include "skelcheck/JsonTree.h"
#include "tarn/Path.h"

namespace skelpack {

namespace {

const std::string* Text(const skelcheck::JsonNode& map, const char* key) {
  const skelcheck::JsonNode* node = map.find(key);
  return node && node->type == skelcheck::JsonNode::String ? &node->text : nullptr;
}

}  // namespace

bool AddMeshRegions(const std::string& path, std::set<std::string>& regions, std::string& error) {
  std::vector<unsigned char> bytes;
  std::string why;
  if (!tarn::ReadFile(path.c_str(), bytes, &why)) {
    error = path + ": cannot be read (" + why + ")";
    return false;
  }
  const std::string text(bytes.begin(), bytes.end());
  skelcheck::JsonNode root;
  if (!skelcheck::ParseJsonTree(text, root) || root.type != skelcheck::JsonNode::Object) {
    error = path + ": not a skeleton JSON (skelcheck json tells where it breaks off)";
    return false;
  }
  const skelcheck::JsonNode* skins = root.find("skins");
  if (!skins) return true;
  for (const skelcheck::JsonNode& skin : skins->children) {
    const skelcheck::JsonNode* slots = skin.find("attachments");
    if (!slots) continue;
    for (const skelcheck::JsonNode& slot : slots->children)
      for (const skelcheck::JsonNode& attachment : slot.children) {
        const std::string* type = Text(attachment, "type");
        if (!type || (*type != "mesh" && *type != "linkedmesh")) continue;
        // The region is the path, else the name, else the key.
        const std::string* name = Text(attachment, "name");
        const std::string* region = Text(attachment, "path");
        regions.insert(region ? *region : name ? *name : attachment.name);
      }
  }
  return true;
}

}  // namespace skelpack
