/// @class skel::Updatable
/// Anything that can stand in a skeleton's update list: bones and constraints.
#pragma once

#include "skel/RTTI.h"
#include "skel/SkelObject.h"

namespace skel {

class Updatable : public SkelObject {
 public:
  Updatable();
  ~Updatable() override;

  SKEL_RTTI_ROOT_DECL

 public:
  /// This element's step of the world-transform pass.
  virtual void update() = 0;
  /// Whether the element takes part in updates: a bone or constraint only in skins not worn is inactive.
  /// @{
  virtual bool isActive() const = 0;
  virtual void setActive(bool active) = 0;
  /// @}
};

}  // namespace skel
