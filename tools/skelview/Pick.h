// What is under the pointer: the slot whose attachment's triangles, as the
// renderer draws them, hold a point.
#pragma once

#include <string>
#include <vector>

namespace skel {
class Skeleton;
}

namespace skelview {

// Whether (x, y) lies in the triangle, edges included, whichever way it winds.
// A triangle with no area holds nothing.
bool InTriangle(float x, float y, float ax, float ay, float bx, float by, float cx, float cy);

// The index (into the skeleton's slots) of the top-most slot in draw order
// whose region or mesh holds the point, in the coordinates the skeleton is
// posed in; -1 when there is none. Slots marked in hidden (by index; a
// shorter list shows the rest) are passed over.
int PickSlot(skel::Skeleton& skeleton, float x, float y, const std::vector<bool>& hidden);

// The names of the slot at index and of its attachment ("" for none).
std::string SlotName(skel::Skeleton& skeleton, int index);
std::string AttachmentName(skel::Skeleton& skeleton, int index);

}  // namespace skelview
