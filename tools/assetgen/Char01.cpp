// The skeletal character: Lina, the harbour lamplighter of the seagull
// barracks. A yellow oilskin coat, a sou'wester, a scarf flying in the sea
// wind and a lantern whose light is drawn additively.
//
// Every body part is drawn as its own picture in skeleton units (y up, the
// origin between the feet, about 1500 units tall), packed into one atlas page
// and placed on its bone so that the setup pose reassembles the figure. The
// skeleton file is written from the same numbers, so pictures, atlas and
// skeleton always agree.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <lodepng.h>

#include "Assets.h"
#include "Canvas.h"

namespace assetgen {

namespace {

const double kPi = 3.14159265358979323846;
const double kDeg = kPi / 180.0;
// Atlas pixels per skeleton unit: the game draws the body at 0.4.
const double kRes = 0.5;
const double kInk = 5.0;  // outline width in units
const int kPageWidth = 1024;
const int kPadding = 2;

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

  // The part of the picture that is not transparent, in units.
  bool Opaque(double& x0, double& y0, double& x1, double& y1) const {
    int px0 = w_, py0 = h_, px1 = -1, py1 = -1;
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x)
        if (canvas_.Pixel(x, y).a * 255.0 >= 0.5) {
          px0 = std::min(px0, x);
          px1 = std::max(px1, x);
          py0 = std::min(py0, y);
          py1 = std::max(py1, y);
        }
    if (px1 < 0) return false;
    x0 = x0_ + px0 / res_;
    x1 = x0_ + (px1 + 1) / res_;
    y1 = y1_ - py0 / res_;
    y0 = y1_ - (py1 + 1) / res_;
    return true;
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

Paint Across(const Color& base, double x0, double x1) {
  return Linear({x0, 0}, {x1, 0}, Shade(base, 1.12), Shade(base, 0.8));
}
Paint Down(const Color& top, const Color& bottom, double y0, double y1) {
  return Linear({0, y1}, {0, y0}, top, bottom);
}

// --- The figure ------------------------------------------------------------

struct Palette {
  Color skin = Rgb(0xf8d8c0);
  Color hair = Rgb(0x36a494);
  Color eyes = Rgb(0x2a78c0);
  Color line = Rgb(0x2a1a1a);
  Color coat = Rgb(0xf2c232);
  Color navy = Rgb(0x233a62);
  Color red = Rgb(0xd23a3c);
  Color blue = Rgb(0x2f6fb8);
  Color brass = Rgb(0xcf9a3a);
};
const Palette kP;

// Face geometry, shared by the head and the parts drawn over it.
const double kFaceX = 0, kFaceY = 1212, kFaceRx = 74, kFaceRy = 86;
// Offsets written as in a picture (y down) from the face centre.
Point F(double dx, double dy) { return {kFaceX + dx, kFaceY - dy}; }

// Joints of the setup pose, in units.
const Point kShoulderR{-105, 1040}, kShoulderL{105, 1040};
const Point kHipR{-55, 700}, kHipL{55, 700};
const Point kKneeR{-60, 390}, kKneeL{60, 390};
const Point kAnkleR{-62, 70}, kAnkleL{62, 70};

Point Along(Point from, double angleDeg, double length) {
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

void DrawShadow(Piece& p) {
  p.Fill(Ellipse(0, 0, 150, 16), Rgb(0x000000, 0.3), Blend::Over, 8);
}

void DrawHairBack(Piece& p) {
  Shape back = Union(Ellipse(0, 1222, 98, 102),
                     Path({-96, 1200}).Quad({-108, 1110}, {-86, 1062}).Quad({0, 1080}, {86, 1062})
                         .Quad({108, 1110}, {96, 1200}).Close());
  p.Ink(back, Down(kP.hair, Shade(kP.hair, 0.7), 1060, 1320));
  p.Fill(Intersect(back, Ellipse(0, 1090, 70, 30)), Rgb(0x102030, 0.25), Blend::Over, 3);
}

void DrawHead(Piece& p) {
  double rx = kFaceRx, ry = kFaceRy;
  for (int side : {-1, 1}) p.Ink(Ellipse(F(side * rx * 0.98, ry * 0.08).x, F(0, ry * 0.08).y, rx * 0.16, ry * 0.2), kP.skin);
  Shape face = Union(Ellipse(kFaceX, F(0, -ry * 0.06).y, rx, ry * 0.92),
                     Ellipse(kFaceX, F(0, ry * 0.42).y, rx * 0.62, ry * 0.56));
  p.Ink(face, Down(Shade(kP.skin, 1.06), kP.skin, kFaceY - ry, kFaceY + ry));
  // Brows stay put while the eyes blink.
  for (int side : {-1, 1}) {
    double ex = side * rx * 0.42, ey = ry * 0.14, ew = rx * 0.21, eh = ry * 0.27;
    p.Fill(Line(F(ex - side * ew * 0.9, ey - eh * 1.55), F(ex + side * ew * 1.1, ey - eh * 1.72), 5), Shade(kP.hair, 0.55));
    p.Fill(Ellipse(F(ex + side * ew * 0.3, 0).x, F(0, ey + eh * 1.35).y, ew * 0.9, eh * 0.3), Rgb(0xff6070, 0.3),
           Blend::Over, 3);
  }
  p.Fill(Line(F(rx * 0.04, ry * 0.42), F(-rx * 0.02, ry * 0.5), 3), Rgb(0x9a5a4a, 0.7));
}

void DrawEyes(Piece& p, bool open) {
  double rx = kFaceRx, ry = kFaceRy;
  for (int side : {-1, 1}) {
    double ex = side * rx * 0.42, ey = ry * 0.14, ew = rx * 0.21, eh = ry * 0.27;
    Point c = F(ex, ey);
    if (!open) {
      // Closed: a soft downward arc with a lash at the outer corner.
      p.Fill(Path(F(ex - ew * 1.1, ey)).Quad(F(ex, ey + eh * 0.7), F(ex + ew * 1.1, ey))
                 .Quad(F(ex, ey + eh * 0.45), F(ex - ew * 1.1, ey)).Close(),
             kP.line);
      p.Fill(Line(F(ex + side * ew * 1.0, ey + eh * 0.05), F(ex + side * ew * 1.4, ey - eh * 0.2), 3), kP.line);
      continue;
    }
    p.Fill(Ellipse(c.x, c.y, ew, eh), Rgb(0xffffff));
    p.Fill(Intersect(Ellipse(c.x, c.y, ew, eh), Ellipse(c.x, c.y - eh * 0.1, ew * 0.86, eh * 0.92)),
           Linear({c.x, c.y + eh}, {c.x, c.y - eh}, Shade(kP.eyes, 0.55), Shade(kP.eyes, 1.3)));
    p.Fill(Ellipse(c.x, c.y - eh * 0.12, ew * 0.42, eh * 0.46), Shade(kP.eyes, 0.25));
    p.Fill(Circle(c.x - ew * 0.32, c.y + eh * 0.3, ew * 0.3), Rgb(0xffffff));
    p.Fill(Circle(c.x + ew * 0.3, c.y - eh * 0.4, ew * 0.14), Rgb(0xffffff, 0.8));
    p.Fill(Path(F(ex - side * ew * 1.15, ey - eh * 0.55))
               .Quad(F(ex, ey - eh * 1.35), F(ex + side * ew * 1.25, ey - eh * 0.5))
               .Quad(F(ex, ey - eh * 1.05), F(ex - side * ew * 1.15, ey - eh * 0.55))
               .Close(),
           kP.line);
  }
}

void DrawMouth(Piece& p, bool open) {
  double rx = kFaceRx, ry = kFaceRy, my = ry * 0.68;
  if (!open) {
    p.Fill(Path(F(-rx * 0.2, my)).Quad(F(0, my + ry * 0.2), F(rx * 0.2, my)).Quad(F(0, my + ry * 0.07), F(-rx * 0.2, my))
               .Close(),
           Rgb(0x8a2a2a));
    return;
  }
  Shape mouth = Path(F(-rx * 0.24, my - ry * 0.02)).Quad(F(0, my + ry * 0.34), F(rx * 0.24, my - ry * 0.02))
                    .Quad(F(0, my + ry * 0.02), F(-rx * 0.24, my - ry * 0.02)).Close();
  p.Ink(mouth, Rgb(0x8a2a2a), 2.5);
  p.Fill(Intersect(mouth, Ellipse(F(0, my + ry * 0.26).x, F(0, my + ry * 0.26).y, rx * 0.14, ry * 0.09)), Rgb(0xf07878));
}

void DrawFringe(Piece& p) {
  double rx = kFaceRx * 1.12, ry = kFaceRy * 1.08, cy = kFaceY + kFaceRy * 0.1;
  Path path(F(-rx, -kFaceRy * 0.1));
  for (int i = 0; i <= 24; ++i) {
    double a = kPi - kPi * i / 24.0;
    path.To({kFaceX + std::cos(a) * rx, cy + std::sin(a) * ry});
  }
  path.To(F(rx, -kFaceRy * 0.1));
  // Tips stop above the eyes, sweeping towards the side the braid is on.
  const int tips = 7;
  double top = kFaceY + kFaceRy * 0.5;
  for (int i = tips; i >= 0; --i) {
    double x = -kFaceRx * 0.98 + 2 * kFaceRx * 0.98 * i / tips;
    double low = top - 0.42 * kFaceRy * (0.75 + 0.25 * std::cos(i * 2.3));
    if (i < tips) path.To({x + kFaceRx * 0.1, low});
    path.To({x - kFaceRx * 0.1, top + kFaceRy * 0.1});
  }
  Shape fringe = path.Close();
  p.Ink(fringe, Down(Shade(kP.hair, 1.25), kP.hair, kFaceY, kFaceY + kFaceRy * 1.2));
  p.Fill(Intersect(fringe, Ellipse(-22, 1282, 36, 8, 0.2)), Rgb(0xffffff, 0.45), Blend::Over, 2);
}

void DrawBraid(Piece& p) {
  Point a{80, 1172}, b{110, 925};
  for (int i = 0; i < 6; ++i) {
    double t = (i + 0.5) / 6.0;
    Point c{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
    double r = 26 - 6 * t;
    p.Ink(Ellipse(c.x, c.y, r, 26, -0.1 + (i % 2 ? 0.35 : -0.35)), Across(kP.hair, c.x - r, c.x + r), 4);
  }
  p.Ink(RoundRect(b.x - 16, b.y - 2, b.x + 16, b.y + 16, 5), kP.red, 4);
  p.Ink(Path({b.x - 12, b.y}).Quad({b.x - 14, b.y - 40}, {b.x + 2, b.y - 62}).Quad({b.x + 6, b.y - 36}, {b.x + 14, b.y})
            .Close(),
        Shade(kP.hair, 0.9), 4);
}

void DrawHat(Piece& p) {
  // Sou'wester: a round crown and a wide brim sloping down at the sides.
  Shape brim = Path({-150, 1268}).Quad({-110, 1312}, {0, 1314}).Quad({110, 1312}, {150, 1268})
                   .Quad({120, 1280}, {0, 1284}).Quad({-120, 1280}, {-150, 1268}).Close();
  Shape crown = Intersect(Ellipse(0, 1300, 96, 82), RoundRect(-120, 1296, 120, 1400, 0));
  p.Ink(crown, Across(kP.coat, -96, 96));
  p.Fill(Intersect(crown, Ellipse(-30, 1350, 26, 14, 0.4)), Rgb(0xffffff, 0.5), Blend::Over, 3);
  p.Ink(RoundRect(-92, 1296, 92, 1318, 6), Shade(kP.coat, 0.8));
  p.Ink(brim, Across(kP.coat, -150, 150));
  p.Fill(Line({-80, 1296}, {80, 1296}, 3), Rgb(0x8a6a10, 0.5));
}

void DrawCaptainCap(Piece& p) {
  Shape top = Ellipse(0, 1336, 108, 34, 0.03);
  Shape band = RoundRect(-84, 1282, 84, 1326, 8);
  p.Ink(Intersect(Ellipse(0, 1300, 90, 60), RoundRect(-100, 1300, 100, 1360, 0)), kP.navy);
  p.Ink(band, Across(kP.navy, -84, 84));
  p.Ink(top, Down(Shade(kP.navy, 1.3), kP.navy, 1302, 1370));
  p.Fill(Line({-80, 1292}, {80, 1292}, 5), Rgb(0xe8c25a));
  // Gull badge on the band.
  double gy = 1308;
  p.Ink(Path({-24, gy}).Quad({-12, gy + 16}, {0, gy}).Quad({12, gy + 16}, {24, gy}).Quad({12, gy + 7}, {0, gy - 8})
            .Quad({-12, gy + 7}, {-24, gy}).Close(),
        Rgb(0xf8f8f4), 2.5);
  Shape visor = Intersect(Ellipse(0, 1284, 88, 22), RoundRect(-100, 1250, 100, 1284, 0));
  p.Ink(visor, Rgb(0x15181f));
  p.Fill(Intersect(visor, Ellipse(-20, 1276, 40, 5)), Rgb(0xffffff, 0.3), Blend::Over, 2);
}

void DrawNeck(Piece& p) {
  Shape neck = RoundRect(-19, 1050, 19, 1150, 8);
  p.Ink(neck, kP.skin);
  p.Fill(Intersect(neck, Ellipse(0, 1126, 28, 16)), Rgb(0x6a2a2a, 0.25));
}

Shape ScarfWrap() {
  return Path({-62, 1092}).Quad({0, 1062}, {62, 1092}).Quad({70, 1068}, {56, 1046}).Quad({0, 1024}, {-56, 1046})
      .Quad({-70, 1068}, {-62, 1092}).Close();
}

void DrawScarfWrap(Piece& p, const Color& base, bool striped) {
  Shape wrap = ScarfWrap();
  p.Ink(wrap, Across(base, -60, 60));
  if (striped)
    for (int i = -2; i <= 2; ++i) p.Fill(Intersect(wrap, Line({i * 26.0 - 20, 1020}, {i * 26.0 + 20, 1100}, 9)), Rgb(0xf4f6f8));
  p.Fill(Path({-40, 1056}).Quad({0, 1044}, {40, 1056}).Quad({0, 1050}, {-40, 1056}).Close(), Shade(base, 0.6));
  // The knot with a short end hanging in front.
  p.Ink(Ellipse(-18, 1046, 20, 16), Across(base, -38, 2));
  Shape end = Path({-28, 1040}).Quad({-40, 990}, {-30, 950}).To({-6, 954}).Quad({-12, 996}, {-8, 1040}).Close();
  p.Ink(end, Across(base, -40, -4));
  if (striped) p.Fill(Intersect(end, RoundRect(-60, 968, 0, 982, 0)), Rgb(0xf4f6f8));
}

// The flying scarf end: a ribbon along the scarf bones, wavy and fringed.
std::vector<Point> ScarfSpine() {
  std::vector<Point> pts{kScarfRoot};
  Point at = kScarfRoot;
  for (double angle : kScarfAngles) {
    at = Along(at, angle, kScarfBone);
    pts.push_back(at);
  }
  return pts;
}

void DrawScarfTail(Piece& p, const Color& base, bool striped) {
  std::vector<Point> spine = ScarfSpine();
  auto at = [&](double t) {
    double f = t * 3;
    int i = std::min(2, int(f));
    double u = f - i;
    Point a = spine[i], b = spine[i + 1];
    return Point{a.x + (b.x - a.x) * u, a.y + (b.y - a.y) * u + 10 * std::sin(t * kPi * 2.2)};
  };
  std::vector<Point> upper, lower;
  const int steps = 40;
  for (int i = 0; i <= steps; ++i) {
    double t = double(i) / steps;
    Point c = at(t);
    double half = 30 + 6 * t;
    upper.push_back({c.x, c.y + half});
    lower.push_back({c.x, c.y - half});
  }
  std::vector<Point> outline = upper;
  outline.insert(outline.end(), lower.rbegin(), lower.rend());
  Shape ribbon = Polygon(outline);
  p.Ink(ribbon, Linear({spine[0].x, 0}, {spine[3].x, 0}, Shade(base, 0.75), Shade(base, 1.1)));
  if (striped)
    for (int i = 1; i <= 6; ++i) {
      Point c = at(i / 7.0);
      p.Fill(Intersect(ribbon, Line({c.x - 10, c.y - 50}, {c.x + 4, c.y + 50}, 12)), Rgb(0xf4f6f8));
    }
  // Folds.
  for (int i = 1; i <= 3; ++i) {
    Point c = at(i / 4.0);
    p.Fill(Intersect(ribbon, Line({c.x - 6, c.y - 20}, {c.x + 12, c.y + 24}, 4)), Rgb(0x401010, 0.25), Blend::Over, 2);
  }
  // Fringe at the free end.
  Point end = at(1.0);
  for (int i = -3; i <= 3; ++i) p.Ink(Line({end.x, end.y + i * 9.0}, {end.x - 30, end.y + i * 10.0 - 4}, 4), base, 2.5);
}

void DrawCoat(Piece& p) {
  Shape body = Path({-92, 1072}).Quad({0, 1094}, {92, 1072}).Quad({112, 1020}, {96, 900}).Quad({80, 800}, {92, 712})
                   .To({-92, 712}).Quad({-80, 800}, {-96, 900}).Quad({-112, 1020}, {-92, 1072}).Close();
  p.Ink(body, Across(kP.coat, -100, 100));
  p.Shadow(body, 14, 0);
  // Front opening and toggles.
  p.Fill(Line({6, 1040}, {6, 712}, 4), Rgb(0x9a7010, 0.8));
  for (int i = 0; i < 3; ++i) {
    double y = 1000 - i * 90;
    p.Ink(RoundRect(-14, y - 6, 26, y + 6, 5), kP.navy, 3);
  }
  // Belt over the seam to the skirt.
  p.Ink(RoundRect(-94, 712, 94, 752, 6), Rgb(0x6a4024));
  p.Ink(RoundRect(-16, 706, 22, 758, 5), Rgb(0xe8c25a), 4);
  p.Fill(RoundRect(-8, 716, 14, 748, 3), Rgb(0x6a4024));
}

void DrawCoatSkirt(Piece& p) {
  Shape skirt = Path({-90, 770}).To({90, 770}).Quad({120, 600}, {150, 448}).Quad({0, 430}, {-150, 448})
                    .Quad({-120, 600}, {-90, 770}).Close();
  p.Ink(skirt, Across(kP.coat, -150, 150));
  p.Shadow(skirt, 16, 0);
  p.Fill(Line({6, 770}, {10, 436}, 4), Rgb(0x9a7010, 0.8));
  p.Ink(RoundRect(-14, 640, 26, 652, 5), kP.navy, 3);
  for (int side : {-1, 1}) {
    Shape pocket = RoundRect(side * 100 - 34, 540, side * 100 + 34, 630, 8);
    p.Ink(Intersect(pocket, skirt), Shade(kP.coat, 0.92), 3.5);
    p.Ink(RoundRect(side * 100 - 38, 618, side * 100 + 38, 640, 5), Shade(kP.coat, 0.85), 3.5);
  }
  p.Fill(Intersect(skirt, RoundRect(-200, 436, 200, 462, 0)), Rgb(0x9a7010, 0.35));
}

void DrawLeg(Piece& p, Point hip, Point knee, Point ankle, bool upper) {
  Paint cloth = Across(kP.navy, hip.x - 40, hip.x + 40);
  if (upper)
    p.Ink(Limb(hip, knee, 38, 31), cloth);
  else
    p.Ink(Limb(knee, ankle, 31, 23), cloth);
}

void DrawBoot(Piece& p, Point ankle, int side) {
  double x = ankle.x;
  Color boot = Rgb(0x1f5f78);
  Shape shaft = RoundRect(x - 36, 40, x + 36, 250, 14);
  Shape foot = Ellipse(x + side * 14, 30, 54, 30);
  Shape b = Intersect(Union(shaft, foot), RoundRect(x - 120, 3, x + 120, 300, 0));
  p.Ink(b, Across(boot, x - 50, x + 50));
  p.Shadow(b, 8, 6);
  p.Fill(Intersect(b, RoundRect(x - 80, 3, x + 80, 18, 0)), Rgb(0x10202a));
  p.Ink(RoundRect(x - 40, 226, x + 40, 256, 8), Rgb(0xf0f2f4), 4);
  p.Fill(Intersect(b, Ellipse(x - 14, 150, 8, 50)), Rgb(0xffffff, 0.3), Blend::Over, 3);
}

void DrawUpperArm(Piece& p, Point shoulder, Point elbow) {
  p.Ink(Limb(shoulder, elbow, 36, 30), Across(kP.coat, shoulder.x - 36, shoulder.x + 36));
  p.Fill(Intersect(Limb(shoulder, elbow, 36, 30), Circle(shoulder.x - 10, shoulder.y + 10, 22)), Rgb(0xffffff, 0.3),
         Blend::Over, 4);
}

void DrawForearm(Piece& p, Point elbow, Point wrist) {
  p.Ink(Limb(elbow, wrist, 30, 26), Across(kP.coat, elbow.x - 32, elbow.x + 32));
  Point cuff{elbow.x + (wrist.x - elbow.x) * 0.86, elbow.y + (wrist.y - elbow.y) * 0.86};
  p.Ink(Limb(cuff, wrist, 30, 29), Shade(kP.coat, 0.82));
}

void DrawHand(Piece& p, Point wrist, double angleDeg, bool fist) {
  if (fist) {
    Point c = Along(wrist, angleDeg, 22);
    p.Ink(Circle(c.x, c.y, 26), kP.skin);
    p.Fill(Line({c.x - 14, c.y - 4}, {c.x + 12, c.y - 4}, 3), Rgb(0x9a5a4a, 0.6));
    return;
  }
  // An open hand: palm, four fingers fanning out along the arm, and a thumb.
  Point palm = Along(wrist, angleDeg, 26);
  Shape hand = Ellipse(palm.x, palm.y, 24, 27, (angleDeg + 90) * kDeg);
  for (int i = 0; i < 4; ++i) {
    double spread = angleDeg + (i - 1.5) * 9;
    Point base = Along(palm, spread, 12), tip = Along(palm, spread, 46 - std::abs(i - 1.5) * 6);
    hand = Union(hand, Limb(base, tip, 8.5, 6.5));
  }
  Point thumbBase = Along(palm, angleDeg - 70, 14), thumbTip = Along(palm, angleDeg - 45, 38);
  hand = Union(hand, Limb(thumbBase, thumbTip, 9.5, 7));
  p.Ink(hand, kP.skin, 4);
  for (int i = 1; i < 4; ++i) {
    double spread = angleDeg + (i - 2) * 9;
    p.Fill(Line(Along(palm, spread, 24), Along(palm, spread, 36), 2), Rgb(0x9a5a4a, 0.5));
  }
}

void DrawLantern(Piece& p) {
  double x = kLanternTop.x, top = kLanternTop.y;
  // Handle loop, roof, glass with the flame, base.
  p.Ink(Subtract(Ellipse(x, top - 16, 24, 22), Ellipse(x, top - 16, 14, 12)), Shade(kP.brass, 0.8), 3.5);
  p.Ink(Path({x - 46, top - 62}).To({x - 20, top - 36}).To({x + 20, top - 36}).To({x + 46, top - 62}).Close(),
        Across(kP.brass, x - 46, x + 46));
  Shape glass = RoundRect(x - 40, top - 168, x + 40, top - 62, 6);
  p.Ink(glass, Radial({kFlame.x, kFlame.y}, 60, Rgb(0xfff8d0), Rgb(0xf8c860)));
  Shape flame = Path({kFlame.x, kFlame.y + 34}).Quad({kFlame.x + 22, kFlame.y}, {kFlame.x, kFlame.y - 18})
                    .Quad({kFlame.x - 22, kFlame.y}, {kFlame.x, kFlame.y + 34}).Close();
  p.Fill(flame, Rgb(0xff9020));
  p.Fill(Grow(flame, -8), Rgb(0xffffc0));
  for (double bx : {x - 40, x + 40}) p.Ink(RoundRect(bx - 5, top - 168, bx + 5, top - 62, 3), kP.brass, 3);
  p.Ink(RoundRect(x - 48, top - 186, x + 48, top - 164, 6), Across(kP.brass, x - 48, x + 48));
}

// Light added on top: colours premultiplied by their own coverage, since the
// additive blend adds the colour whatever the alpha.
void DrawGlow(Piece& p) {
  Point c{p.centreX(), p.centreY()};
  double radius = std::min(p.width(), p.height()) / 2 - 2;
  Paint light = [c, radius](double x, double y) {
    double d = std::hypot(x - c.x, y - c.y) / radius;
    double t = d >= 1 ? 0 : std::pow(1 - d, 1.6);
    return Color{0.9 * t, 0.68 * t, 0.32 * t, t};
  };
  p.Fill(Circle(c.x, c.y, radius), light);
}

// --- Bones and the skeleton file -----------------------------------------

struct Bone {
  std::string name, parent;
  Point at;      // setup world position
  double angle;  // setup world rotation, degrees
  double length;
};

struct Pose {
  double x, y, angle;
};

class Rig {
 public:
  void Add(Bone b) {
    index_[b.name] = int(bones_.size());
    bones_.push_back(std::move(b));
  }
  const std::vector<Bone>& bones() const { return bones_; }
  const Bone& Get(const std::string& name) const { return bones_.at(index_.at(name)); }
  int Index(const std::string& name) const { return index_.at(name); }
  // A world point in the bone's setup frame.
  Point ToLocal(const std::string& bone, Point world) const {
    const Bone& b = Get(bone);
    double c = std::cos(-b.angle * kDeg), s = std::sin(-b.angle * kDeg);
    double dx = world.x - b.at.x, dy = world.y - b.at.y;
    return {dx * c - dy * s, dx * s + dy * c};
  }
  Point VectorToLocal(const std::string& bone, Point v) const {
    const Bone& b = Get(bone);
    double c = std::cos(-b.angle * kDeg), s = std::sin(-b.angle * kDeg);
    return {v.x * c - v.y * s, v.x * s + v.y * c};
  }
  // Local transform as the file stores it.
  Pose Local(const Bone& b) const {
    if (b.parent.empty()) return {b.at.x, b.at.y, b.angle};
    const Bone& parent = Get(b.parent);
    Point p = ToLocal(b.parent, b.at);
    return {p.x, p.y, b.angle - parent.angle};
  }

 private:
  std::vector<Bone> bones_;
  std::map<std::string, int> index_;
};

Rig MakeRig() {
  Rig r;
  r.Add({"root", "", {0, 0}, 0, 0});
  r.Add({"hip", "root", {0, 700}, 90, 90});
  r.Add({"torso", "hip", {0, 790}, 90, 260});
  r.Add({"neck", "torso", {0, 1060}, 90, 50});
  r.Add({"head", "neck", {0, 1110}, 90, 230});
  // The portrait puts this bone 16 units right of and 4 above its canvas
  // centre; set off by that much, the face sits in the middle.
  r.Add({"Face", "head", {kFaceX + 12, kFaceY + 4}, 90, 0});
  r.Add({"hat", "head", {0, 1290}, 90, 90});
  r.Add({"braid", "head", {80, 1172}, -83.1, 250});
  Point at = kScarfRoot;
  const char* scarf[3] = {"scarf1", "scarf2", "scarf3"};
  for (int i = 0; i < 3; ++i) {
    r.Add({scarf[i], i == 0 ? "torso" : scarf[i - 1], at, kScarfAngles[i], kScarfBone});
    at = Along(at, kScarfAngles[i], kScarfBone);
  }
  r.Add({"upperarm-R", "torso", kShoulderR, kUpperArmRAngle, kUpperArm});
  r.Add({"forearm-R", "upperarm-R", kElbowR, kForearmRAngle, kForearm});
  r.Add({"hand-R", "forearm-R", kWristR, kForearmRAngle, 60});
  r.Add({"upperarm-L", "torso", kShoulderL, kUpperArmLAngle, kUpperArm});
  r.Add({"forearm-L", "upperarm-L", kElbowL, kForearmLAngle, kForearm});
  r.Add({"hand-L", "forearm-L", kWristL, -90, 40});
  r.Add({"lantern", "hand-L", kLanternTop, -90, 190});
  r.Add({"flame", "lantern", kFlame, -90, 0});
  r.Add({"glow", "root", kFlame, 0, 0});
  r.Add({"hand-R-target", "root", kWristR, 0, 0});
  r.Add({"hand-L-target", "root", kWristL, 0, 0});
  auto angle = [](Point a, Point b) { return std::atan2(b.y - a.y, b.x - a.x) / kDeg; };
  r.Add({"thigh-R", "hip", kHipR, angle(kHipR, kKneeR), 310});
  r.Add({"shin-R", "thigh-R", kKneeR, angle(kKneeR, kAnkleR), 320});
  r.Add({"thigh-L", "hip", kHipL, angle(kHipL, kKneeL), 310});
  r.Add({"shin-L", "thigh-L", kKneeL, angle(kKneeL, kAnkleL), 320});
  return r;
}

// Fixed, short number text: the same bytes on every run.
std::string Num(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  std::string s = buf;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

std::string Q(const std::string& s) { return "\"" + s + "\""; }

// A JSON object written key by key, in insertion order.
class Obj {
 public:
  Obj& Put(const std::string& key, const std::string& raw) {
    items_.push_back(Q(key) + ": " + raw);
    return *this;
  }
  Obj& Str(const std::string& key, const std::string& v) { return Put(key, Q(v)); }
  Obj& Num(const std::string& key, double v) { return Put(key, assetgen::Num(v)); }
  bool empty() const { return items_.empty(); }
  // Multi-line with the given indent, or one line when inline.
  std::string Text(int indent = -1) const {
    if (items_.empty()) return "{}";
    if (indent < 0) {
      std::string s = "{";
      for (size_t i = 0; i < items_.size(); ++i) s += (i ? ", " : "") + items_[i];
      return s + "}";
    }
    std::string pad(size_t(indent + 2), ' '), s = "{\n";
    for (size_t i = 0; i < items_.size(); ++i) s += pad + items_[i] + (i + 1 < items_.size() ? ",\n" : "\n");
    return s + std::string(size_t(indent), ' ') + "}";
  }

 private:
  std::vector<std::string> items_;
};

std::string Array(const std::vector<std::string>& items, int indent = -1) {
  if (items.empty()) return "[]";
  if (indent < 0) {
    std::string s = "[";
    for (size_t i = 0; i < items.size(); ++i) s += (i ? ", " : "") + items[i];
    return s + "]";
  }
  std::string pad(size_t(indent + 2), ' '), s = "[\n";
  for (size_t i = 0; i < items.size(); ++i) s += pad + items[i] + (i + 1 < items.size() ? ",\n" : "\n");
  return s + std::string(size_t(indent), ' ') + "]";
}

std::string Numbers(const std::vector<double>& v) {
  std::vector<std::string> items;
  for (double d : v) items.push_back(Num(d));
  return Array(items);
}

// --- Slots and attachments -------------------------------------------------

struct SlotDef {
  std::string name, bone, attachment, blend;
};

const SlotDef kSlots[] = {
    {"shadow", "root", "shadow", ""},
    {"hair-back", "head", "hair-back", ""},
    {"scarf", "scarf1", "scarf", ""},
    {"thigh-R", "thigh-R", "thigh-R", ""},
    {"thigh-L", "thigh-L", "thigh-L", ""},
    {"shin-R", "shin-R", "shin-R", ""},
    {"shin-L", "shin-L", "shin-L", ""},
    {"boot-R", "shin-R", "boot-R", ""},
    {"boot-L", "shin-L", "boot-L", ""},
    {"coat-skirt", "hip", "coat-skirt", ""},
    {"coat", "torso", "coat", ""},
    {"upperarm-R", "upperarm-R", "upperarm-R", ""},
    {"forearm-R", "forearm-R", "forearm-R", ""},
    {"hand-R", "hand-R", "hand-R", ""},
    {"upperarm-L", "upperarm-L", "upperarm-L", ""},
    {"forearm-L", "forearm-L", "forearm-L", ""},
    {"lantern", "lantern", "lantern", ""},
    {"hand-L", "hand-L", "hand-L", ""},
    {"glow", "glow", "glow", "additive"},
    {"neck", "neck", "neck", ""},
    {"scarf-wrap", "neck", "scarf-wrap", ""},
    {"head", "head", "head", ""},
    {"eyes", "head", "eyes", ""},
    {"mouth", "head", "mouth", ""},
    {"hair-front", "head", "hair-front", ""},
    {"braid", "braid", "braid", ""},
    {"hat", "hat", "hat", ""},
    {"lantern-hook", "hand-L", "lantern-hook", ""},
};

int SlotIndex(const std::string& name) {
  for (size_t i = 0; i < std::size(kSlots); ++i)
    if (kSlots[i].name == name) return int(i);
  return -1;
}

struct Placed {
  std::unique_ptr<Piece> piece;
  int x = 0, y = 0;  // on the page
};

// The flying scarf is a grid mesh weighted along its three bones.
struct ScarfMesh {
  static constexpr int kCols = 8, kRows = 3;
  std::vector<Point> world;                          // setup position per vertex
  std::vector<double> uvs;                           // region coordinates
  std::vector<int> triangles;
  std::vector<std::vector<std::pair<int, double>>> weights;  // scarf bone number, weight
  int hull = 0;
};

ScarfMesh MakeScarfMesh(const Piece& p) {
  ScarfMesh m;
  // Boundary vertices first, then the inside, so the hull comes first.
  std::vector<std::pair<int, int>> order;
  for (int c = 0; c <= m.kCols; ++c) order.push_back({c, 0});
  for (int r = 1; r <= m.kRows; ++r) order.push_back({m.kCols, r});
  for (int c = m.kCols - 1; c >= 0; --c) order.push_back({c, m.kRows});
  for (int r = m.kRows - 1; r >= 1; --r) order.push_back({0, r});
  m.hull = int(order.size());
  for (int r = 1; r < m.kRows; ++r)
    for (int c = 1; c < m.kCols; ++c) order.push_back({c, r});
  std::map<std::pair<int, int>, int> index;
  double right = p.left() + p.width();
  for (size_t i = 0; i < order.size(); ++i) {
    index[order[i]] = int(i);
    double s = double(order[i].first) / m.kCols, t = double(order[i].second) / m.kRows;
    // Column 0 is the free end (left), the last column sits at the neck.
    m.uvs.push_back(s);
    m.uvs.push_back(t);
    Point w{p.left() + s * p.width(), p.top() - t * p.height()};
    m.world.push_back(w);
    // Along the chain: 0 at the neck, 3 at the free end.
    double along = std::clamp((right - w.x) / (right - p.left()) * 3.0, 0.0, 3.0);
    int bone = std::min(2, int(along));
    double f = along - bone;
    std::vector<std::pair<int, double>> wt;
    // Blend between the bone the vertex lies on and its neighbour.
    if (f < 0.5 && bone > 0) {
      wt = {{bone - 1, 0.5 - f}, {bone, 0.5 + f}};
    } else if (f >= 0.5 && bone < 2) {
      wt = {{bone, 1.5 - f}, {bone + 1, f - 0.5}};
    } else {
      wt = {{bone, 1.0}};
    }
    m.weights.push_back(wt);
  }
  for (int r = 0; r < m.kRows; ++r)
    for (int c = 0; c < m.kCols; ++c) {
      int a = index[{c, r}], b = index[{c + 1, r}], d = index[{c, r + 1}], e = index[{c + 1, r + 1}];
      for (int v : {a, b, e, a, e, d}) m.triangles.push_back(v);
    }
  return m;
}

const char* const kScarfBones[3] = {"scarf1", "scarf2", "scarf3"};

std::string MeshJson(const Rig& rig, const ScarfMesh& m, const Piece& p, const std::string& path) {
  std::vector<double> verts;
  for (size_t i = 0; i < m.world.size(); ++i) {
    verts.push_back(double(m.weights[i].size()));
    for (auto& [bone, weight] : m.weights[i]) {
      Point local = rig.ToLocal(kScarfBones[bone], m.world[i]);
      verts.push_back(rig.Index(kScarfBones[bone]));
      verts.push_back(local.x);
      verts.push_back(local.y);
      verts.push_back(weight);
    }
  }
  std::vector<double> tris(m.triangles.begin(), m.triangles.end());
  Obj o;
  o.Str("type", "mesh").Str("path", path).Put("uvs", Numbers(m.uvs)).Put("triangles", Numbers(tris));
  o.Put("vertices", Numbers(verts)).Num("hull", m.hull).Num("width", p.width()).Num("height", p.height());
  return o.Text();
}

// Deform offsets of the scarf mesh at a phase of its ripple: a wave running
// from the knot to the free end, growing towards the end.
std::vector<double> ScarfRipple(const Rig& rig, const ScarfMesh& m, const Piece& p, double phase) {
  std::vector<double> out;
  double right = p.left() + p.width();
  for (size_t i = 0; i < m.world.size(); ++i) {
    double along = (right - m.world[i].x) / p.width();
    double amount = 16 * along * along * std::sin(2 * kPi * (phase - along * 1.2));
    Point offset{0, amount};
    for (auto& entry : m.weights[i]) {
      Point local = rig.VectorToLocal(kScarfBones[entry.first], offset);
      out.push_back(local.x);
      out.push_back(local.y);
    }
  }
  return out;
}

// --- Animations -------------------------------------------------------------

const char* const kEase = "\"curve\": 0.25, \"c2\": 0, \"c3\": 0.75, \"c4\": 1";

std::string Key(double time, const std::string& values, bool ease = true) {
  std::string s = "{\"time\": " + Num(time);
  if (!values.empty()) s += ", " + values;
  if (ease) s += std::string(", ") + kEase;
  return s + "}";
}

std::string Angle(double a) { return "\"angle\": " + Num(a); }
std::string XY(double x, double y) { return "\"x\": " + Num(x) + ", \"y\": " + Num(y); }

// A smooth loop: keys at even steps of a periodic function.
std::vector<std::string> Loop(double duration, int keys, const std::function<std::string(double)>& value) {
  std::vector<std::string> out;
  for (int i = 0; i <= keys; ++i) {
    double t = duration * i / keys;
    out.push_back(Key(t, value(double(i % keys) / keys)));
  }
  return out;
}

std::string ScarfDeform(const Rig& rig, const ScarfMesh& m, const Piece& p, double duration, int keys) {
  std::vector<std::string> frames;
  for (int i = 0; i <= keys; ++i) {
    double phase = double(i % keys) / keys;
    frames.push_back("{\"time\": " + Num(duration * i / keys) + ", \"vertices\": " + Numbers(ScarfRipple(rig, m, p, phase)) + "}");
  }
  Obj att, slot, skin;
  att.Put("scarf", Array(frames, 10));
  slot.Put("scarf", att.Text(8));
  skin.Put("default", slot.Text(6));
  return skin.Text(4);
}

std::string Idle(const Rig& rig, const ScarfMesh& m, const Piece& scarf) {
  const double T = 3.0;
  auto sine = [](double phase, double lag) { return std::sin(2 * kPi * (phase - lag)); };
  // 0 at the start of the loop, 1 with the lungs full halfway through.
  auto breath = [](double phase) { return (1 - std::cos(2 * kPi * phase)) / 2; };
  Obj bones;
  bones.Put("torso", Obj().Put("scale", Array(Loop(T, 4, [&](double ph) { return XY(1, 1 + 0.024 * breath(ph)); }), 8))
                         .Put("translate", Array(Loop(T, 4, [&](double ph) { return XY(0, 3 * breath(ph)); }), 8))
                         .Text(6));
  bones.Put("head", Obj().Put("rotate", Array(Loop(T, 4, [&](double ph) { return Angle(2.5 * sine(ph, 0.1)); }), 8)).Text(6));
  bones.Put("braid", Obj().Put("rotate", Array(Loop(T, 6, [&](double ph) { return Angle(4 * sine(ph, 0.3)); }), 8)).Text(6));
  for (int i = 0; i < 3; ++i)
    bones.Put(kScarfBones[i],
              Obj().Put("rotate", Array(Loop(T, 6, [&](double ph) { return Angle((3 + 3 * i) * sine(ph * 2, 0.15 * i)); }), 8))
                  .Text(6));
  bones.Put("lantern", Obj().Put("rotate", Array(Loop(T, 4, [&](double ph) { return Angle(5 * sine(ph, 0.05)); }), 8)).Text(6));
  bones.Put("hand-L-target",
            Obj().Put("translate", Array(Loop(T, 4, [&](double ph) { return XY(0, 4 * breath(ph)); }), 8))
                .Text(6));
  // The flame flickers: quick, uneven steps of the glow's size.
  const double flicker[] = {1, 1.08, 0.97, 1.1, 1.02, 1.12, 0.98, 1.06, 1};
  std::vector<std::string> glow;
  for (int i = 0; i < 9; ++i) glow.push_back(Key(T * i / 8, XY(flicker[i], flicker[i])));
  bones.Put("glow", Obj().Put("scale", Array(glow, 8)).Text(6));

  Obj slots;
  slots.Put("eyes", Obj().Put("attachment", Array({Key(0, "\"name\": \"eyes\"", false), Key(2.2, "\"name\": \"eyes-closed\"", false),
                                                   Key(2.34, "\"name\": \"eyes\"", false)}, 8))
                        .Text(6));
  slots.Put("glow", Obj().Put("color", Array({Key(0, "\"color\": \"fff0d0ff\""), Key(1.5, "\"color\": \"ffd8a0ff\""),
                                              Key(3, "\"color\": \"fff0d0ff\"")}, 8))
                        .Text(6));
  Obj anim;
  anim.Put("slots", slots.Text(4));
  anim.Put("bones", bones.Text(4));
  anim.Put("deform", ScarfDeform(rig, m, scarf, T, 8));
  return anim.Text(2);
}

std::string Wave(const Rig& rig, const ScarfMesh& m, const Piece& scarf) {
  const double T = 2.0;
  Obj bones;
  // The hand goes up beside the head and waves twice.
  Point up{-60, 690}, out{-130, 660};
  bones.Put("hand-R-target", Obj().Put("translate", Array({Key(0, XY(0, 0)), Key(0.35, XY(up.x, up.y)), Key(0.6, XY(out.x, out.y)),
                                                           Key(0.85, XY(up.x, up.y)), Key(1.1, XY(out.x, out.y)),
                                                           Key(1.35, XY(up.x, up.y)), Key(1.75, XY(0, 0)), Key(T, XY(0, 0))},
                                                          8))
                                     .Text(6));
  bones.Put("hand-R", Obj().Put("rotate", Array({Key(0, Angle(0)), Key(0.35, Angle(-20)), Key(0.6, Angle(15)), Key(0.85, Angle(-20)),
                                                 Key(1.1, Angle(15)), Key(1.35, Angle(-20)), Key(1.75, Angle(0)), Key(T, Angle(0))},
                                                8))
                              .Text(6));
  bones.Put("head", Obj().Put("rotate", Array({Key(0, Angle(0)), Key(0.4, Angle(6)), Key(1.4, Angle(6)), Key(1.8, Angle(0)), Key(T, Angle(0))}, 8))
                        .Text(6));
  bones.Put("torso", Obj().Put("rotate", Array({Key(0, Angle(0)), Key(0.4, Angle(-2.5)), Key(1.4, Angle(-2.5)), Key(1.8, Angle(0)),
                                                Key(T, Angle(0))}, 8))
                         .Text(6));
  bones.Put("lantern", Obj().Put("rotate", Array({Key(0, Angle(0)), Key(0.5, Angle(6)), Key(1.0, Angle(-4)), Key(1.5, Angle(3)),
                                                  Key(T, Angle(0))}, 8))
                           .Text(6));
  auto sine = [](double phase, double lag) { return std::sin(2 * kPi * (phase - lag)); };
  for (int i = 0; i < 3; ++i)
    bones.Put(kScarfBones[i],
              Obj().Put("rotate", Array(Loop(T, 4, [&](double ph) { return Angle((3 + 3 * i) * sine(ph * 2, 0.15 * i)); }), 8))
                  .Text(6));
  Obj slots;
  slots.Put("mouth", Obj().Put("attachment", Array({Key(0, "\"name\": \"mouth\"", false), Key(0.3, "\"name\": \"mouth-open\"", false),
                                                    Key(1.6, "\"name\": \"mouth\"", false)}, 8))
                         .Text(6));
  slots.Put("eyes", Obj().Put("attachment", Array({Key(0, "\"name\": \"eyes\"", false), Key(1.2, "\"name\": \"eyes-closed\"", false),
                                                   Key(1.32, "\"name\": \"eyes\"", false)}, 8))
                        .Text(6));
  // The waving arm comes in front of the head and hat while it is up.
  int shift = SlotIndex("hat") - SlotIndex("hand-R");
  std::vector<std::string> offsets;
  for (const char* s : {"upperarm-R", "forearm-R", "hand-R"})
    offsets.push_back("{\"slot\": " + Q(s) + ", \"offset\": " + std::to_string(shift) + "}");
  std::string drawOrder = Array({"{\"time\": 0.2, \"offsets\": " + Array(offsets) + "}", "{\"time\": 1.8}"}, 4);
  std::string events = Array({"{\"time\": 0.6, \"name\": \"wave\", \"int\": 1}", "{\"time\": 1.1, \"name\": \"wave\", \"int\": 2}"}, 4);
  Obj anim;
  anim.Put("slots", slots.Text(4));
  anim.Put("bones", bones.Text(4));
  anim.Put("deform", ScarfDeform(rig, m, scarf, T, 8));
  anim.Put("drawOrder", drawOrder);
  anim.Put("events", events);
  return anim.Text(2);
}

// --- Atlas ---------------------------------------------------------------------

// Shelf packing, tallest first; returns the page height.
int Pack(std::vector<Placed*>& parts) {
  std::vector<Placed*> sorted = parts;
  std::stable_sort(sorted.begin(), sorted.end(), [](const Placed* a, const Placed* b) {
    return a->piece->pixelHeight() > b->piece->pixelHeight();
  });
  int x = kPadding, y = kPadding, shelf = 0;
  for (Placed* p : sorted) {
    int w = p->piece->pixelWidth(), h = p->piece->pixelHeight();
    if (x + w + kPadding > kPageWidth) {
      x = kPadding;
      y += shelf + kPadding;
      shelf = 0;
    }
    p->x = x;
    p->y = y;
    x += w + kPadding;
    shelf = std::max(shelf, h);
  }
  int height = y + shelf + kPadding;
  return (height + 3) / 4 * 4;
}

bool WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return bool(out);
}

}  // namespace

bool MakeChar01(const std::string& outDir) {
  Rig rig = MakeRig();
  std::vector<std::unique_ptr<Placed>> parts;
  auto add = [&](Piece* piece) {
    parts.push_back(std::make_unique<Placed>());
    parts.back()->piece.reset(piece);
    return piece;
  };
  auto limbBox = [](Point a, Point b, double r) {
    return std::array<double, 4>{std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r, std::max(a.y, b.y) + r};
  };

  DrawShadow(*add(new Piece("shadow", -180, -40, 180, 40, 0.25)));
  DrawHairBack(*add(new Piece("hair-back", -120, 1040, 120, 1340)));
  Piece* scarfPiece = add(new Piece("scarf", -470, 1000, -10, 1150));
  DrawScarfTail(*scarfPiece, kP.red, false);
  DrawScarfTail(*add(new Piece("scarf-blue", -470, 1000, -10, 1150)), kP.blue, true);
  auto b = limbBox(kHipR, kKneeR, 50);
  DrawLeg(*add(new Piece("thigh-R", b[0], b[1], b[2], b[3])), kHipR, kKneeR, kAnkleR, true);
  b = limbBox(kHipL, kKneeL, 50);
  DrawLeg(*add(new Piece("thigh-L", b[0], b[1], b[2], b[3])), kHipL, kKneeL, kAnkleL, true);
  b = limbBox(kKneeR, kAnkleR, 42);
  DrawLeg(*add(new Piece("shin-R", b[0], b[1], b[2], b[3])), kHipR, kKneeR, kAnkleR, false);
  b = limbBox(kKneeL, kAnkleL, 42);
  DrawLeg(*add(new Piece("shin-L", b[0], b[1], b[2], b[3])), kHipL, kKneeL, kAnkleL, false);
  DrawBoot(*add(new Piece("boot-R", kAnkleR.x - 90, -4, kAnkleR.x + 90, 270)), kAnkleR, -1);
  DrawBoot(*add(new Piece("boot-L", kAnkleL.x - 90, -4, kAnkleL.x + 90, 270)), kAnkleL, 1);
  DrawCoatSkirt(*add(new Piece("coat-skirt", -170, 415, 170, 785)));
  DrawCoat(*add(new Piece("coat", -125, 695, 125, 1105)));
  b = limbBox(kShoulderR, kElbowR, 46);
  DrawUpperArm(*add(new Piece("upperarm-R", b[0], b[1], b[2], b[3])), kShoulderR, kElbowR);
  b = limbBox(kElbowR, kWristR, 40);
  DrawForearm(*add(new Piece("forearm-R", b[0], b[1], b[2], b[3])), kElbowR, kWristR);
  DrawHand(*add(new Piece("hand-R", kWristR.x - 80, kWristR.y - 100, kWristR.x + 70, kWristR.y + 30)), kWristR, kForearmRAngle, false);
  b = limbBox(kShoulderL, kElbowL, 46);
  DrawUpperArm(*add(new Piece("upperarm-L", b[0], b[1], b[2], b[3])), kShoulderL, kElbowL);
  b = limbBox(kElbowL, kWristL, 40);
  DrawForearm(*add(new Piece("forearm-L", b[0], b[1], b[2], b[3])), kElbowL, kWristL);
  DrawLantern(*add(new Piece("lantern", kLanternTop.x - 60, kLanternTop.y - 200, kLanternTop.x + 60, kLanternTop.y + 20)));
  DrawHand(*add(new Piece("hand-L", kWristL.x - 40, kWristL.y - 60, kWristL.x + 40, kWristL.y + 20)), kWristL, -90, true);
  DrawGlow(*add(new Piece("glow", kFlame.x - 170, kFlame.y - 170, kFlame.x + 170, kFlame.y + 170, 0.3)));
  DrawNeck(*add(new Piece("neck", -35, 1035, 35, 1165)));
  DrawScarfWrap(*add(new Piece("scarf-wrap", -85, 935, 85, 1110)), kP.red, false);
  DrawScarfWrap(*add(new Piece("scarf-wrap-blue", -85, 935, 85, 1110)), kP.blue, true);
  DrawHead(*add(new Piece("head", -100, 1110, 100, 1310)));
  DrawEyes(*add(new Piece("eyes", -62, 1160, 62, 1240)), true);
  DrawEyes(*add(new Piece("eyes-closed", -62, 1160, 62, 1240)), false);
  DrawMouth(*add(new Piece("mouth", -30, 1128, 30, 1168)), false);
  DrawMouth(*add(new Piece("mouth-open", -30, 1128, 30, 1168)), true);
  DrawFringe(*add(new Piece("hair-front", -95, 1190, 95, 1325)));
  DrawBraid(*add(new Piece("braid", 40, 850, 160, 1215)));
  DrawHat(*add(new Piece("hat", -165, 1250, 165, 1395)));
  DrawCaptainCap(*add(new Piece("hat-captain", -125, 1245, 125, 1385)));

  std::map<std::string, Piece*> byName;
  for (auto& p : parts) byName[p->piece->name()] = p->piece.get();

  // Page and atlas text.
  std::vector<Placed*> placed;
  for (auto& p : parts) placed.push_back(p.get());
  int pageHeight = Pack(placed);
  std::vector<unsigned char> page(size_t(kPageWidth) * pageHeight * 4, 0);
  std::string atlas = "\nChar01.png\nsize: " + std::to_string(kPageWidth) + "," + std::to_string(pageHeight) +
                      "\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n";
  for (Placed* p : placed) {
    const Canvas& c = p->piece->canvas();
    std::vector<unsigned char> rgba = c.ToRgba8();
    for (int y = 0; y < c.height(); ++y)
      std::copy_n(&rgba[size_t(y) * c.width() * 4], size_t(c.width()) * 4,
                  &page[(size_t(p->y + y) * kPageWidth + p->x) * 4]);
    std::string w = std::to_string(c.width()), h = std::to_string(c.height());
    atlas += p->piece->name() + "\n  rotate: false\n  xy: " + std::to_string(p->x) + ", " + std::to_string(p->y) +
             "\n  size: " + w + ", " + h + "\n  orig: " + w + ", " + h + "\n  offset: 0, 0\n  index: -1\n";
  }
  std::vector<unsigned char> png;
  if (lodepng::encode(png, page, unsigned(kPageWidth), unsigned(pageHeight)) != 0) return false;
  if (lodepng::save_file(png, outDir + "/skel_data/Char01.png") != 0) return false;
  if (!WriteText(outDir + "/skel_data/Char01.atlas", atlas)) return false;

  // Skeleton.
  std::vector<std::string> bones;
  for (const Bone& bone : rig.bones()) {
    Pose local = rig.Local(bone);
    Obj o;
    o.Str("name", bone.name);
    if (!bone.parent.empty()) o.Str("parent", bone.parent);
    if (bone.length > 0) o.Num("length", bone.length);
    if (Num(local.x) != "0") o.Num("x", local.x);
    if (Num(local.y) != "0") o.Num("y", local.y);
    if (Num(local.angle) != "0") o.Num("rotation", local.angle);
    bones.push_back(o.Text());
  }
  std::vector<std::string> slots;
  for (const SlotDef& s : kSlots) {
    Obj o;
    o.Str("name", s.name).Str("bone", s.bone);
    if (!s.attachment.empty()) o.Str("attachment", s.attachment);
    if (!s.blend.empty()) o.Str("blend", s.blend);
    slots.push_back(o.Text());
  }
  std::string ik = Array({Obj().Str("name", "arm-R-ik").Put("bones", "[\"upperarm-R\", \"forearm-R\"]").Str("target", "hand-R-target")
                              .Put("bendPositive", "false").Text(),
                          Obj().Num("order", 1).Str("name", "arm-L-ik").Put("bones", "[\"upperarm-L\", \"forearm-L\"]")
                              .Str("target", "hand-L-target").Text()},
                         2);
  // The halo keeps to the flame but stays upright and round as the lantern swings.
  std::string transform = Array({Obj().Str("name", "glow-follow").Num("order", 2).Put("bones", "[\"glow\"]").Str("target", "flame")
                                     .Num("rotateMix", 0).Num("translateMix", 1).Num("scaleMix", 0).Num("shearMix", 0).Text()},
                                2);

  // Region attachments sit at their picture's centre in the bone's frame.
  ScarfMesh scarfMesh = MakeScarfMesh(*scarfPiece);
  auto region = [&](const std::string& bone, const std::string& key, const std::string& path) {
    const Piece& p = *byName.at(path);
    const Bone& b = rig.Get(bone);
    Point local = rig.ToLocal(bone, {p.centreX(), p.centreY()});
    Obj o;
    if (path != key) o.Str("path", path);
    o.Num("x", local.x).Num("y", local.y);
    if (Num(-b.angle) != "0") o.Num("rotation", -b.angle);
    o.Num("width", p.width()).Num("height", p.height());
    return o.Text();
  };
  Obj defaultAttachments;
  for (const SlotDef& s : kSlots) {
    if (s.attachment.empty() || s.name == "lantern-hook") continue;
    Obj slot;
    if (s.name == "scarf") {
      slot.Put("scarf", MeshJson(rig, scarfMesh, *scarfPiece, "scarf"));
    } else {
      slot.Put(s.attachment, region(s.bone, s.attachment, s.attachment));
      if (s.name == "eyes") slot.Put("eyes-closed", region("head", "eyes-closed", "eyes-closed"));
      if (s.name == "mouth") slot.Put("mouth-open", region("head", "mouth-open", "mouth-open"));
    }
    defaultAttachments.Put(s.name, slot.Text(8));
  }
  {
    Point hook = rig.ToLocal("hand-L", kLanternTop);
    defaultAttachments.Put("lantern-hook", Obj().Put("lantern-hook", Obj().Str("type", "point").Num("x", hook.x).Num("y", hook.y).Text()).Text(8));
  }
  // The captain's outfit: a peaked cap and a blue-and-white scarf.
  Obj captain;
  captain.Put("hat", Obj().Put("hat", region("hat", "hat", "hat-captain")).Text(8));
  captain.Put("scarf", Obj().Put("scarf", Obj().Str("type", "linkedmesh").Str("path", "scarf-blue").Str("parent", "scarf")
                                              .Num("width", scarfPiece->width()).Num("height", scarfPiece->height()).Text())
                           .Text(8));
  captain.Put("scarf-wrap", Obj().Put("scarf-wrap", region("neck", "scarf-wrap", "scarf-wrap-blue")).Text(8));
  std::string skins = Array({Obj().Str("name", "default").Put("attachments", defaultAttachments.Text(6)).Text(4),
                             Obj().Str("name", "0_1").Put("attachments", captain.Text(6)).Text(4)},
                            2);

  // Bounds of what the setup pose shows.
  double bx0 = 1e9, by0 = 1e9, bx1 = -1e9, by1 = -1e9;
  for (const SlotDef& s : kSlots) {
    if (!byName.count(s.attachment)) continue;
    double x0, y0, x1, y1;
    if (!byName.at(s.attachment)->Opaque(x0, y0, x1, y1)) continue;
    bx0 = std::min(bx0, x0);
    by0 = std::min(by0, y0);
    bx1 = std::max(bx1, x1);
    by1 = std::max(by1, y1);
  }

  Obj skeleton;
  skeleton.Str("hash", "char01-lamplighter").Str("version", "3.8.99").Num("x", std::floor(bx0)).Num("y", std::floor(by0));
  skeleton.Num("width", std::ceil(bx1) - std::floor(bx0)).Num("height", std::ceil(by1) - std::floor(by0));
  skeleton.Num("fps", 30).Str("images", "./").Str("audio", "");
  Obj events;
  events.Put("wave", Obj().Num("int", 0).Num("float", 0.5).Str("string", "hello").Text());
  Obj animations;
  animations.Put("idle", Idle(rig, scarfMesh, *scarfPiece));
  animations.Put("wave", Wave(rig, scarfMesh, *scarfPiece));

  Obj root;
  root.Put("skeleton", skeleton.Text());
  root.Put("bones", Array(bones, 2));
  root.Put("slots", Array(slots, 2));
  root.Put("ik", ik);
  root.Put("transform", transform);
  root.Put("skins", skins);
  root.Put("events", events.Text(2));
  root.Put("animations", animations.Text(2));
  return WriteText(outDir + "/skel_data/Char01.json", root.Text(0) + "\n");
}

}  // namespace assetgen
