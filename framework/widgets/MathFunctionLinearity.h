/// @class TarnFramework::MathFunctionLinearity
/// The straight line t * slope + intercept.
#pragma once

#include "framework/widgets/MathFunctionBase.h"

namespace TarnFramework {

class MathFunctionLinearity : public MathFunctionBase {
 public:
  double Evaluate(double t) override { return t * slope + intercept; }

  /// The line's slope and its value at 0.
  /// @{
  double slope = 1.0;
  double intercept = 0.0;
  /// @}
};

}  // namespace TarnFramework
