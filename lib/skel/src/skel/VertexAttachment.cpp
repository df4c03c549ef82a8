#include "skel/VertexAttachment.h"

#include <atomic>
#include <cstdint>

#include "skel/Bone.h"
#include "skel/Skeleton.h"
#include "skel/Slot.h"

namespace skel {

SKEL_RTTI_IMPL(VertexAttachment, Attachment)

namespace {

// Only the low 16 bits reach the id, shifted clear of the timeline kinds.
// Atomic: threads may load content at once.
int nextId() {
  static std::atomic<uint32_t> counter{0};
  return static_cast<int>((counter.fetch_add(1, std::memory_order_relaxed) & 0xFFFFu) << 11);
}

// Whether two floats from index i lie inside a vector of the given size.
bool hasPair(size_t i, size_t size) { return i < size && size - i >= 2; }

}  // namespace

VertexAttachment::VertexAttachment(const String& name)
    : Attachment(name), _worldVerticesLength(0), _deformAttachment(this), _id(nextId()) {}

VertexAttachment::~VertexAttachment() {}

void VertexAttachment::computeWorldVertices(Slot& slot, size_t start, size_t count, float* worldVertices, size_t offset,
                                            size_t stride) {
  computeWorldVertices(slot, start, count, worldVertices, SIZE_MAX, offset, stride);
}

void VertexAttachment::computeWorldVertices(Slot& slot, size_t start, size_t count, Vector<float>& worldVertices,
                                            size_t offset, size_t stride) {
  computeWorldVertices(slot, start, count, worldVertices.buffer(), worldVertices.size(), offset, stride);
}

void VertexAttachment::computeWorldVertices(Slot& slot, Vector<float>& worldVertices) {
  if (worldVertices.size() < _worldVerticesLength) worldVertices.setSize(_worldVerticesLength, 0);
  computeWorldVertices(slot, 0, _worldVerticesLength, worldVertices, 0, 2);
}

void VertexAttachment::computeWorldVertices(Slot& slot, size_t start, size_t count, float* worldVertices,
                                            size_t outputSize, size_t offset, size_t stride) {
  if (!worldVertices) return;
  const size_t vertexCount = count / 2;
  const Vector<float>& deform = slot.getDeform();

  if (_bones.size() == 0) {
    const Vector<float>& source = deform.size() > 0 ? deform : _vertices;
    const Bone& bone = slot.getBone();
    const float a = bone.getA(), b = bone.getB(), c = bone.getC(), d = bone.getD();
    const float x = bone.getWorldX(), y = bone.getWorldY();
    size_t v = start, w = offset;
    for (size_t i = 0; i < vertexCount; ++i, v += 2, w += stride) {
      if (!hasPair(w, outputSize)) return;
      float vx = 0, vy = 0;
      if (hasPair(v, source.size())) {
        vx = source[v];
        vy = source[v + 1];
      }
      worldVertices[w] = vx * a + vy * b + x;
      worldVertices[w + 1] = vx * c + vy * d + y;
    }
    return;
  }

  // Weighted: each vertex is a bone count n, then n bone indexes in _bones
  // and n (x, y, weight) triples in _vertices. Counts are clipped to what
  // is stored so that a short array cannot be overrun.
  const size_t boneEntries = _bones.size();
  size_t v = 0, skip = 0;
  for (size_t i = 0; i < start && v < boneEntries; i += 2) {
    const size_t n =
        static_cast<size_t>(_bones[v]) < boneEntries - v - 1 ? static_cast<size_t>(_bones[v]) : boneEntries - v - 1;
    v += n + 1;
    skip += n;
  }
  // Raw views: the loop below runs for every weight of every posed mesh.
  const Vector<Bone*>& skeletonBones = slot.getSkeleton().getBones();
  Bone* const* bonesAt = skeletonBones.buffer();
  const size_t boneCount = skeletonBones.size();
  const unsigned long long* entries = _bones.buffer();
  const float* values = _vertices.buffer();
  const size_t valueCount = _vertices.size();
  const float* deformValues = deform.buffer();
  const size_t deformCount = deform.size();
  size_t b = skip * 3, f = skip * 2, w = offset;
  for (size_t i = 0; i < vertexCount; ++i, w += stride) {
    if (!hasPair(w, outputSize)) return;
    float wx = 0, wy = 0;
    if (v < boneEntries) {
      const size_t left = boneEntries - v - 1;
      const size_t n = static_cast<size_t>(entries[v]) < left ? static_cast<size_t>(entries[v]) : left;
      const size_t end = ++v + n;
      for (; v < end; ++v, b += 3, f += 2) {
        const unsigned long long boneIndex = entries[v];
        if (boneIndex >= boneCount || b >= valueCount || valueCount - b < 3) continue;
        const Bone& bone = *bonesAt[static_cast<size_t>(boneIndex)];
        float vx = values[b], vy = values[b + 1];
        const float weight = values[b + 2];
        if (hasPair(f, deformCount)) {
          vx += deformValues[f];
          vy += deformValues[f + 1];
        }
        wx += (vx * bone.getA() + vy * bone.getB() + bone.getWorldX()) * weight;
        wy += (vx * bone.getC() + vy * bone.getD() + bone.getWorldY()) * weight;
      }
    }
    worldVertices[w] = wx;
    worldVertices[w + 1] = wy;
  }
}

void VertexAttachment::copyTo(VertexAttachment* other) const {
  other->_bones = _bones;
  other->_vertices = _vertices;
  other->_worldVerticesLength = _worldVerticesLength;
  other->_deformAttachment = _deformAttachment;
}

}  // namespace skel
