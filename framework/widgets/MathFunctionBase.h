/// @class TarnFramework::MathFunctionBase
/// A curve mapping animation progress 0..1 to a blend factor.
#pragma once

namespace TarnFramework {

class MathFunctionBase {
 public:
  virtual ~MathFunctionBase() = default;
  /// Frees what the curve holds; the base holds nothing.
  virtual void Release() {}
  /// The blend factor at progress t.
  virtual double Evaluate(double t) = 0;
};

}  // namespace TarnFramework
