/// @class TarnFramework::MathFunctionBase
/// A curve mapping animation progress 0..1 to a blend factor.
#pragma once

namespace TarnFramework {

class MathFunctionBase {
 public:
  virtual ~MathFunctionBase() = default;
  virtual void Release() {}
  virtual double Evaluate(double t) = 0;
};

}  // namespace TarnFramework
