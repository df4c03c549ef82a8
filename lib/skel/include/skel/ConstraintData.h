/// @class skel::ConstraintData
/// What the three constraint kinds share: a name, a place in the update order
/// and whether only a skin switches them on.
#pragma once

#include <cstdint>

#include "skel/SkelObject.h"
#include "skel/String.h"

namespace skel {

class ConstraintData : public SkelObject {
 public:
  /// A constraint named name, by which the skeleton finds it.
  explicit ConstraintData(const String& name);

  /// The constraint's name.
  const String& getName() const { return _name; }
  /// Its place in the update order, among the other constraints.
  /// @{
  uint64_t getOrder() const { return _order; }
  void setOrder(uint64_t v) { _order = v; }
  /// @}
  /// Whether the constraint is active only while a skin that lists it is worn.
  /// @{
  bool isSkinRequired() const { return _skinRequired; }
  void setSkinRequired(bool v) { _skinRequired = v; }
  /// @}

 private:
  const String _name;
  uint64_t _order;
  bool _skinRequired;
};

}  // namespace skel
