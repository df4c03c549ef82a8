/// @class skel::LinkedMesh
/// A mesh read with a "parent" key, waiting until every skin is read for the
/// parent mesh whose geometry it shares.
#pragma once

#include <cstddef>

#include "skel/SkelObject.h"
#include "skel/String.h"

namespace skel {

class MeshAttachment;

class LinkedMesh : public SkelObject {
 public:
  /// A mesh waiting for the mesh named parent under slotIndex in skin.
  /// skin is empty for the default skin.
  LinkedMesh(MeshAttachment* mesh, const String& skin, size_t slotIndex, const String& parent, bool inheritDeform);
  ~LinkedMesh() override;

  /// Not owned: the mesh already sits in its skin.
  /// The mesh, the skin and slot its parent is found under, the parent's name,
  /// and whether the parent's deform keys apply to the mesh.
  /// @{
  MeshAttachment* getMesh() const { return _mesh; }
  const String& getSkin() const { return _skin; }
  size_t getSlotIndex() const { return _slotIndex; }
  const String& getParent() const { return _parent; }
  bool getInheritDeform() const { return _inheritDeform; }
  /// @}

 private:
  MeshAttachment* const _mesh;
  const String _skin;
  const size_t _slotIndex;
  const String _parent;
  const bool _inheritDeform;
};

}  // namespace skel
