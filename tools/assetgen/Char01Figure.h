// The lamplighter's body parts: where her joints are in skeleton units (y
// up, the origin between the feet) and the pictures of every part, each
// covering its own rectangle of skeleton space.
#pragma once

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Canvas.h"

namespace assetgen {
namespace char01 {

const double kPi = 3.14159265358979323846;
const double kDeg = kPi / 180.0;
// Atlas pixels per skeleton unit: the game draws the body at 0.4.
const double kRes = 0.5;
const double kInk = 5.0;  // outline width in units

// --- Pictures in skeleton units ------------------------------------------

// A picture covering a rectangle of skeleton space; shapes are given in
// units with y up and mapped onto its pixels.
class Piece {
 public:
  Piece(std::string name, double x0, double y0, double x1, double y1, double res = kRes)
      : name_(std::move(name)),
        res_(res),
        w_(int(std::ceil((x1 - x0) * res))),
        h_(int(std::ceil((y1 - y0) * res))),
        x0_(x0),
        y1_(y1),
        canvas_(w_, h_) {}

  const std::string& name() const { return name_; }
  const Canvas& canvas() const { return canvas_; }
  int pixelWidth() const { return w_; }
  int pixelHeight() const { return h_; }
  double width() const { return w_ / res_; }
  double height() const { return h_ / res_; }
  double left() const { return x0_; }
  double top() const { return y1_; }
  double bottom() const { return y1_ - height(); }
  double centreX() const { return x0_ + width() / 2; }
  double centreY() const { return y1_ - height() / 2; }

  void Fill(const Shape& s, const Paint& p, Blend blend = Blend::Over, double softness = 1.0) {
    canvas_.Fill(Map(s), Map(p), blend, softness);
  }
  void Fill(const Shape& s, const Color& c, Blend blend = Blend::Over, double softness = 1.0) {
    Fill(s, Solid(c), blend, softness);
  }
  // Outlined part: the ink is the shape grown by the line width.
  void Ink(const Shape& s, const Paint& p, double width = kInk) {
    Fill(Grow(s, width), Rgb(0x2a1a1a));
    Fill(s, p);
  }
  void Ink(const Shape& s, const Color& c, double width = kInk) { Ink(s, Solid(c), width); }
  // Light from the upper left: a darker band along the lower right.
  void Shadow(const Shape& s, double dx, double dy, double alpha = 0.22) {
    Fill(Subtract(s, Translate(s, -dx, dy)), Rgb(0x301020, alpha), Blend::Over, 2);
  }

 private:
  double UnitX(double px) const { return x0_ + px / res_; }
  double UnitY(double py) const { return y1_ - py / res_; }

  Shape Map(const Shape& s) const {
    auto f = s.distance;
    double r = res_, x0 = x0_, y1 = y1_;
    Shape m;
    m.distance = [f, r, x0, y1](double px, double py) { return f(x0 + px / r, y1 - py / r) * r; };
    m.x0 = (s.x0 - x0) * r;
    m.x1 = (s.x1 - x0) * r;
    m.y0 = (y1 - s.y1) * r;
    m.y1 = (y1 - s.y0) * r;
    return m;
  }
  Paint Map(const Paint& p) const {
    double r = res_, x0 = x0_, y1 = y1_;
    return [p, r, x0, y1](double px, double py) { return p(x0 + px / r, y1 - py / r); };
  }

  std::string name_;
  double res_;
  int w_, h_;
  double x0_, y1_;
  Canvas canvas_;
};

// Face geometry, shared by the head and the parts drawn over it.
const double kFaceX = 0, kFaceY = 1212, kFaceRx = 74, kFaceRy = 86;
// Offsets written as in a picture (y down) from the face centre.
inline Point F(double dx, double dy) { return {kFaceX + dx, kFaceY - dy}; }

// Joints of the setup pose, in units.
const Point kShoulderR{-105, 1040}, kShoulderL{105, 1040};
const Point kHipR{-55, 700}, kHipL{55, 700};
const Point kKneeR{-60, 390}, kKneeL{60, 390};
const Point kAnkleR{-62, 70}, kAnkleL{62, 70};

inline Point Along(Point from, double angleDeg, double length) {
  return {from.x + std::cos(angleDeg * kDeg) * length, from.y + std::sin(angleDeg * kDeg) * length};
}

const double kUpperArmRAngle = -97, kForearmRAngle = -105;
const double kUpperArmLAngle = -80, kForearmLAngle = -60;
const double kUpperArm = 250, kForearm = 230;
const Point kElbowR = Along(kShoulderR, kUpperArmRAngle, kUpperArm);
const Point kWristR = Along(kElbowR, kForearmRAngle, kForearm);
const Point kElbowL = Along(kShoulderL, kUpperArmLAngle, kUpperArm);
const Point kWristL = Along(kElbowL, kForearmLAngle, kForearm);
const Point kLanternTop{kWristL.x, kWristL.y - 14};
const Point kFlame{kWristL.x, kWristL.y - 128};

// The scarf's flying end follows a chain of three bones from the neck.
const Point kScarfRoot{-30, 1075};
const double kScarfAngles[3] = {172, 185, 178};
const double kScarfBone = 130;

struct Placed {
  std::unique_ptr<Piece> piece;
  int x = 0, y = 0;  // on the page
};

// Every part and outfit variant, drawn; not yet placed on a page.
std::vector<std::unique_ptr<Placed>> DrawParts();

}  // namespace char01
}  // namespace assetgen
