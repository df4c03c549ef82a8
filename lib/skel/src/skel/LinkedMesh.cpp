#include "skel/LinkedMesh.h"

namespace skel {

LinkedMesh::LinkedMesh(MeshAttachment* mesh, const String& skin, size_t slotIndex, const String& parent,
                       bool inheritDeform)
    : _mesh(mesh), _skin(skin), _slotIndex(slotIndex), _parent(parent), _inheritDeform(inheritDeform) {}

LinkedMesh::~LinkedMesh() {}

}  // namespace skel
