/// @class skel::SkeletonJson
/// Reads a skeleton JSON file (the editor's export format) into a SkeletonData:
/// bones, slots, constraints, skins with their attachments, events and
/// animations. Lengths are multiplied by the load scale. The first problem
/// found ends the read with a null result and an error text.
#pragma once

#include <cstdint>

#include "skel/SkelObject.h"
#include "skel/String.h"
#include "skel/Vector.h"

namespace skel {

class Atlas;
class AttachmentLoader;
class Json;
class LinkedMesh;
class SkeletonData;

class SkeletonJson : public SkelObject {
 public:
  /// Makes and owns an attachment loader over the atlas, which must outlive it.
  explicit SkeletonJson(Atlas* atlas);
  /// The loader is deleted with this reader only when ownsLoader is true.
  explicit SkeletonJson(AttachmentLoader* attachmentLoader, bool ownsLoader = false);
  SkeletonJson(const SkeletonJson&) = delete;
  SkeletonJson& operator=(const SkeletonJson&) = delete;
  ~SkeletonJson() override;

  /// A new SkeletonData owned by the caller, or null with getError() set.
  SkeletonData* readSkeletonDataFile(const String& path);
  /// The same for JSON text in memory, which must be zero-terminated.
  SkeletonData* readSkeletonData(const char* json);

  /// The load scale every length read is multiplied by (1 by default).
  /// @{
  float getScale() const { return _scale; }
  void setScale(float scale) { _scale = scale; }
  /// @}
  /// Why the last read failed; empty after a successful read. When memory
  /// ran out, "Out of memory reading: " and what was being read.
  const String& getError() const { return _error; }

 private:
  class Reader;

  void clearLinkedMeshes();
  // Whether a request failed since the read began, and the error saying so.
  bool ranOutOfMemory() const;
  void setOutOfMemory(const char* where);
  // The tree of a whole text, or null with the error set.
  Json* parse(const char* json);
  // Reads the tree and deletes it.
  SkeletonData* readTree(Json* root);

  AttachmentLoader* _attachmentLoader;
  // The atlas the own loader reads from, or null.
  Atlas* _atlas = nullptr;
  Vector<LinkedMesh*> _linkedMeshes;
  float _scale;
  bool _ownsLoader;
  String _error;
  // The thread's failed requests when the read began.
  uint64_t _failedBefore = 0;
};

}  // namespace skel
