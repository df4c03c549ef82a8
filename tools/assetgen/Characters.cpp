// The four picture characters: a knight, a mage, a seagull sailor and a
// smith, drawn in an outlined cel style on transparent backgrounds.
//
// The game cuts each portrait as a square around a fixed centre and stands
// the full body on the picture's bottom centre, raised by a fixed offset, so
// every picture is laid out from those numbers (see the table below).
#include <cmath>

#include "Assets.h"
#include "Canvas.h"
#include "PictureCharacters.h"

namespace assetgen {

namespace {

const double kPi = 3.14159265358979323846;

// Where the game expects things in each picture.
struct Layout {
  const char* file;
  int width, height;    // width is twice the portrait centre's x
  double faceX, faceY;  // portrait centre
  double portrait;      // portrait square size
  double footOffsetY;   // feet this far above the bottom edge
};

// The game's numbers for the picture, and its height.
Layout FromGame(const PictureCharacter& p, int height) {
  return Layout{p.file,
                2 * p.centreX,
                height,
                double(p.centreX),
                double(p.centreY),
                double(p.portraitSize),
                double(p.footOffsetY)};
}

const Layout kKnight = FromGame(kPictureCharacters[0], 800);
const Layout kMage = FromGame(kPictureCharacters[1], 740);
const Layout kSailor = FromGame(kPictureCharacters[2], 780);
const Layout kSmith = FromGame(kPictureCharacters[3], 800);

// Key heights along the body, as fractions from chin (0) to soles (1).
struct Rig {
  double cx, hy, rx, ry, feet, k;
  explicit Rig(const Layout& l)
      : cx(l.faceX),
        hy(l.faceY),
        rx(l.portrait * 0.4),
        ry(l.portrait * 0.46),
        feet(l.height - l.footOffsetY),
        k(l.portrait / 64.0) {}
  double chin() const { return hy + ry; }
  // The body is measured from a little above the chin so the neck stays short.
  double Y(double f) const { return chin() - ry * 0.5 + (feet - chin() + ry * 0.5) * f; }
};

struct Look {
  Color skin, hair, eyes;
  Color line = Rgb(0x2a1a1a);
};

// Outlined part: the ink line is the shape grown by the line width.
void Ink(Canvas& c, const Shape& s, const Paint& p, const Look& look, double width = 2.4) {
  c.Fill(Grow(s, width), look.line);
  c.Fill(s, p);
}
void Ink(Canvas& c, const Shape& s, const Color& color, const Look& look, double width = 2.4) {
  Ink(c, s, Solid(color), look, width);
}

// Light comes from the upper left: darken a band along the lower right.
void Shadow(Canvas& c, const Shape& s, double dx, double dy, double alpha = 0.22) {
  c.Fill(Subtract(s, Translate(s, -dx, -dy)), Rgb(0x301020, alpha), Blend::Over, 2);
}

void GroundShadow(Canvas& c, const Rig& r, double width) {
  c.Fill(Ellipse(r.cx, r.feet - 2, width, 9 * r.k), Rgb(0x000000, 0.28), Blend::Over, 6);
}

Shape FaceShape(const Rig& r) {
  return Union(Ellipse(r.cx, r.hy - r.ry * 0.06, r.rx, r.ry * 0.92),
               Ellipse(r.cx, r.hy + r.ry * 0.42, r.rx * 0.62, r.ry * 0.56));
}

void Neck(Canvas& c, const Rig& r, const Look& look) {
  Shape neck = RoundRect(r.cx - 9 * r.k, r.hy + r.ry * 0.5, r.cx + 9 * r.k, r.Y(0.09), 4 * r.k);
  Ink(c, neck, look.skin, look);
  c.Fill(Intersect(neck, Ellipse(r.cx, r.chin() + 4 * r.k, 14 * r.k, 8 * r.k)), Rgb(0x6a2a2a, 0.25));
}

// Face with ears, big eyes, brows, a small smile and blush.
void Face(Canvas& c, const Rig& r, const Look& look, double smile = 1.0) {
  double rx = r.rx, ry = r.ry;
  for (int side : {-1, 1})
    Ink(c, Ellipse(r.cx + side * rx * 0.98, r.hy + ry * 0.08, rx * 0.16, ry * 0.2), look.skin, look);
  Shape face = FaceShape(r);
  Ink(c, face, Linear({r.cx, r.hy - ry}, {r.cx, r.hy + ry}, Shade(look.skin, 1.06), look.skin), look);
  for (int side : {-1, 1}) {
    double ex = r.cx + side * rx * 0.42, ey = r.hy + ry * 0.14;
    double ew = rx * 0.21, eh = ry * 0.27;
    c.Fill(Ellipse(ex, ey, ew, eh), Rgb(0xffffff));
    c.Fill(Intersect(Ellipse(ex, ey, ew, eh), Ellipse(ex, ey + eh * 0.1, ew * 0.86, eh * 0.92)),
           Linear({ex, ey - eh}, {ex, ey + eh}, Shade(look.eyes, 0.55), Shade(look.eyes, 1.25)));
    c.Fill(Ellipse(ex, ey + eh * 0.12, ew * 0.42, eh * 0.46), Shade(look.eyes, 0.25));
    c.Fill(Circle(ex - ew * 0.32, ey - eh * 0.3, ew * 0.3), Rgb(0xffffff));
    c.Fill(Circle(ex + ew * 0.3, ey + eh * 0.4, ew * 0.14), Rgb(0xffffff, 0.8));
    // Upper lash line, thicker at the outer corner.
    c.Fill(Path({ex - side * ew * 1.15, ey - eh * 0.55})
               .Quad({ex, ey - eh * 1.35}, {ex + side * ew * 1.25, ey - eh * 0.5})
               .Quad({ex, ey - eh * 1.05}, {ex - side * ew * 1.15, ey - eh * 0.55})
               .Close(),
           look.line);
    c.Fill(Line({ex - side * ew * 0.9, ey - eh * 1.55}, {ex + side * ew * 1.1, ey - eh * 1.7 + 0.5}, 2.6 * r.k),
           Shade(look.hair, 0.6));
    c.Fill(Ellipse(ex + side * ew * 0.3, ey + eh * 1.35, ew * 0.9, eh * 0.3), Rgb(0xff6070, 0.3), Blend::Over, 3);
  }
  c.Fill(Line({r.cx + rx * 0.04, r.hy + ry * 0.42}, {r.cx - rx * 0.02, r.hy + ry * 0.5}, 1.6), Rgb(0x9a5a4a, 0.7));
  double my = r.hy + ry * 0.68;
  Shape mouth = Path({r.cx - rx * 0.2, my})
                    .Quad({r.cx, my + ry * 0.2 * smile}, {r.cx + rx * 0.2, my})
                    .Quad({r.cx, my + ry * 0.07 * smile}, {r.cx - rx * 0.2, my})
                    .Close();
  c.Fill(mouth, Rgb(0x8a2a2a));
}

// A head-shaped cap of hair with a jagged fringe across the forehead.
Shape Fringe(const Rig& r, int tips, double depth, double sweep) {
  double rx = r.rx * 1.12, ry = r.ry * 1.08, cy = r.hy - r.ry * 0.1;
  Path p({r.cx - rx, r.hy + r.ry * 0.1});
  for (int i = 0; i <= 20; ++i) {
    double a = kPi + kPi * i / 20.0;
    p.To({r.cx + std::cos(a) * rx, cy + std::sin(a) * ry});
  }
  p.To({r.cx + rx, r.hy + r.ry * 0.1});
  // Tips stop above the eyes so the portrait's centre shows the face.
  double top = r.hy - r.ry * 0.5;
  for (int i = tips; i >= 0; --i) {
    double x = r.cx - r.rx * 0.95 + (2 * r.rx * 0.95) * i / tips;
    double low = top + depth * r.ry * (0.75 + 0.25 * std::cos(i * 2.1));
    if (i < tips) p.To({x + sweep * r.rx * 0.25, low});
    p.To({x - r.rx * 0.12, top - r.ry * 0.1});
  }
  return p.Close();
}

struct LimbPose {
  Point a, b, c;  // shoulder or hip, elbow or knee, wrist or ankle
};

void Arm(Canvas& c, const Rig& r, const LimbPose& p, const Paint& sleeve, const Look& look, double cuff = 0.75) {
  double k = r.k;
  Ink(c, Limb(p.a, p.b, 13 * k, 10.5 * k), sleeve, look);
  Point mid{p.b.x + (p.c.x - p.b.x) * cuff, p.b.y + (p.c.y - p.b.y) * cuff};
  Ink(c, Limb(p.b, p.c, 10 * k, 7.5 * k), look.skin, look);
  Ink(c, Limb(p.b, mid, 10.5 * k, 9 * k), sleeve, look);
  Ink(c, Ellipse(p.c.x, p.c.y + 6 * k, 8.5 * k, 10 * k), look.skin, look);
}

void Leg(Canvas& c, const Rig& r, const LimbPose& p, const Paint& trousers, const Paint& boot, const Look& look,
         double bootTop, int side) {
  double k = r.k;
  Ink(c, Limb(p.a, p.b, 19 * k, 13.5 * k), trousers, look);
  Ink(c, Limb(p.b, p.c, 13.5 * k, 9.5 * k), trousers, look);
  Point top{p.b.x + (p.c.x - p.b.x) * bootTop, p.b.y + (p.c.y - p.b.y) * bootTop};
  Shape b = Union(Limb(top, p.c, 12 * k, 10 * k), Ellipse(p.c.x + side * 7 * k, r.feet - 8 * k, 17 * k, 8 * k));
  // Clipped so the ink line ends exactly on the standing row.
  b = Intersect(b, RoundRect(p.c.x - 60 * k, top.y - 20 * k, p.c.x + 60 * k, r.feet - 2.4, 0));
  Ink(c, b, boot, look);
  Shadow(c, b, 4 * k, 3 * k);
}

LimbPose LegPose(const Rig& r, int side, double spread) {
  double k = r.k;
  return {{r.cx + side * 15 * k, r.Y(0.44)},
          {r.cx + side * (17 + spread * 0.5) * k, r.Y(0.71)},
          {r.cx + side * (18 + spread) * k, r.feet - 14 * k}};
}

Paint Cloth(const Color& base, double x0, double x1) {
  return Linear({x0, 0}, {x1, 0}, Shade(base, 1.12), Shade(base, 0.82));
}

// --- Knight: blonde, blue tabard over steel, a red cape and a sword. -----

void DrawKnight(Canvas& c, const Rig& r) {
  Look look{Rgb(0xf6d2b8), Rgb(0xe8b850), Rgb(0x3a7ad0)};
  double k = r.k, cx = r.cx;
  Color steel = Rgb(0xb8c2cc), blue = Rgb(0x2e56a8), red = Rgb(0xb42a30);
  GroundShadow(c, r, 110 * k);
  // Cape behind everything.
  Shape cape = Path({cx - 52 * k, r.Y(0.07)})
                   .Cubic({cx - 90 * k, r.Y(0.4)}, {cx - 120 * k, r.Y(0.7)}, {cx - 110 * k, r.Y(0.84)})
                   .Quad({cx, r.Y(0.9)}, {cx + 110 * k, r.Y(0.84)})
                   .Cubic({cx + 120 * k, r.Y(0.7)}, {cx + 90 * k, r.Y(0.4)}, {cx + 52 * k, r.Y(0.07)})
                   .Close();
  Ink(c, cape, Linear({cx - 100 * k, 0}, {cx + 100 * k, 0}, Shade(red, 0.8), Shade(red, 0.55)), look);
  // Back hair.
  Ink(c, Ellipse(cx, r.hy - r.ry * 0.15, r.rx * 1.14, r.ry * 1.05), Shade(look.hair, 0.85), look);
  for (int side : {-1, 1}) {
    LimbPose leg = LegPose(r, side, 6);
    Leg(c, r, leg, Cloth(Rgb(0x3c3a48), cx - 40 * k, cx + 40 * k), Cloth(steel, cx - 40 * k, cx + 40 * k), look, 0.05,
        side);
    Ink(c, Circle(leg.b.x, leg.b.y, 14 * k), Radial({leg.b.x - 4 * k, leg.b.y - 4 * k}, 16 * k, Rgb(0xf0f4f8), steel),
        look);
  }
  // Breastplate under a tabard.
  Shape chest = Path({cx - 50 * k, r.Y(0.07)})
                    .Quad({cx, r.Y(0.04)}, {cx + 50 * k, r.Y(0.07)})
                    .Quad({cx + 48 * k, r.Y(0.25)}, {cx + 36 * k, r.Y(0.37)})
                    .To({cx + 42 * k, r.Y(0.47)})
                    .To({cx - 42 * k, r.Y(0.47)})
                    .To({cx - 36 * k, r.Y(0.37)})
                    .Quad({cx - 48 * k, r.Y(0.25)}, {cx - 50 * k, r.Y(0.07)})
                    .Close();
  Ink(c, chest, Cloth(steel, cx - 50 * k, cx + 50 * k), look);
  Shape tabard = Polygon({{cx - 30 * k, r.Y(0.1)},
                          {cx + 30 * k, r.Y(0.1)},
                          {cx + 34 * k, r.Y(0.56)},
                          {cx, r.Y(0.6)},
                          {cx - 34 * k, r.Y(0.56)}});
  Ink(c, tabard, Cloth(blue, cx - 30 * k, cx + 30 * k), look);
  c.Fill(Subtract(Grow(tabard, -5 * k), Grow(tabard, -8 * k)), Rgb(0xe8c25a));
  // Seagull crest on the tabard.
  double gy = r.Y(0.24);
  c.Fill(Path({cx - 18 * k, gy})
             .Quad({cx - 9 * k, gy - 12 * k}, {cx, gy})
             .Quad({cx + 9 * k, gy - 12 * k}, {cx + 18 * k, gy})
             .Quad({cx + 9 * k, gy - 5 * k}, {cx, gy + 6 * k})
             .Quad({cx - 9 * k, gy - 5 * k}, {cx - 18 * k, gy})
             .Close(),
         Rgb(0xf8f8f4));
  Ink(c, RoundRect(cx - 44 * k, r.Y(0.36), cx + 44 * k, r.Y(0.4), 3 * k), Rgb(0x6a4024), look);
  Ink(c, RoundRect(cx - 8 * k, r.Y(0.355), cx + 8 * k, r.Y(0.405), 2 * k), Rgb(0xe8c25a), look);
  // Arms: the left rests on the sword, the right hangs.
  LimbPose left{{cx - 50 * k, r.Y(0.1)}, {cx - 66 * k, r.Y(0.26)}, {cx - 58 * k, r.Y(0.42)}};
  LimbPose right{{cx + 50 * k, r.Y(0.1)}, {cx + 62 * k, r.Y(0.27)}, {cx + 66 * k, r.Y(0.43)}};
  // Sword, point down, held at the hilt.
  double sx = cx - 58 * k;
  Ink(c,
      Polygon({{sx - 6 * k, r.Y(0.47)},
               {sx + 6 * k, r.Y(0.47)},
               {sx + 6 * k, r.Y(0.9)},
               {sx, r.Y(0.95)},
               {sx - 6 * k, r.Y(0.9)}}),
      Linear({sx - 6 * k, 0}, {sx + 6 * k, 0}, Rgb(0xf4f8fc), Rgb(0x8a96a4)), look);
  Ink(c, RoundRect(sx - 24 * k, r.Y(0.455), sx + 24 * k, r.Y(0.475), 3 * k), Rgb(0xd8a838), look);
  Ink(c, RoundRect(sx - 4 * k, r.Y(0.41), sx + 4 * k, r.Y(0.455), 2 * k), Rgb(0x5a3420), look);
  for (const LimbPose* arm : {&left, &right}) {
    Arm(c, r, *arm, Cloth(steel, arm->a.x - 14 * k, arm->a.x + 14 * k), look, 0.9);
    Ink(c, Ellipse(arm->a.x, arm->a.y + 2 * k, 22 * k, 17 * k),
        Radial({arm->a.x - 6 * k, arm->a.y - 6 * k}, 24 * k, Rgb(0xf0f4f8), steel), look);
  }
  Neck(c, r, look);
  Face(c, r, look);
  Shape fringe = Fringe(r, 6, 0.4, 1.0);
  Ink(c, fringe, Linear({cx, r.hy - r.ry * 1.2}, {cx, r.hy}, Shade(look.hair, 1.2), look.hair), look);
  c.Fill(Intersect(fringe, Ellipse(cx - r.rx * 0.3, r.hy - r.ry * 0.85, r.rx * 0.5, r.ry * 0.12, -0.2)),
         Rgb(0xffffff, 0.45), Blend::Over, 2);
}

// --- Mage: long silver hair, a starry violet robe and hat, a staff. ------

void DrawMage(Canvas& c, const Rig& r) {
  Look look{Rgb(0xfbe0d0), Rgb(0xd8d4f0), Rgb(0x8a3ac8)};
  double k = r.k, cx = r.cx;
  Color robe = Rgb(0x4a2a8a), trim = Rgb(0xf0c850);
  GroundShadow(c, r, 130 * k);
  // Soft magic glow around her.
  c.Fill(Circle(cx, r.Y(0.3), 220 * k), Radial({cx, r.Y(0.3)}, 220 * k, Rgb(0xb080ff, 0.22), Rgb(0x8060ff, 0.0)));
  // Long hair flowing down the back.
  Shape hair =
      Path({cx - r.rx * 1.1, r.hy - r.ry * 0.3})
          .Cubic({cx - r.rx * 1.6, r.Y(0.2)}, {cx - r.rx * 2.0, r.Y(0.35)}, {cx - r.rx * 1.4, r.Y(0.42)})
          .Quad({cx, r.Y(0.36)}, {cx + r.rx * 1.4, r.Y(0.42)})
          .Cubic({cx + r.rx * 2.0, r.Y(0.35)}, {cx + r.rx * 1.6, r.Y(0.2)}, {cx + r.rx * 1.1, r.hy - r.ry * 0.3})
          .Close();
  Ink(c, Union(hair, Ellipse(cx, r.hy - r.ry * 0.1, r.rx * 1.15, r.ry * 1.08)),
      Linear({0, r.hy}, {0, r.Y(0.42)}, look.hair, Shade(look.hair, 0.8)), look);
  // Robe: a wide bell from shoulders to ankles.
  Shape gown = Path({cx - 40 * k, r.Y(0.07)})
                   .Quad({cx, r.Y(0.05)}, {cx + 40 * k, r.Y(0.07)})
                   .Quad({cx + 40 * k, r.Y(0.3)}, {cx + 34 * k, r.Y(0.36)})
                   .Cubic({cx + 60 * k, r.Y(0.6)}, {cx + 100 * k, r.Y(0.9)}, {cx + 96 * k, r.Y(0.96)})
                   .Quad({cx, r.Y(1.0)}, {cx - 96 * k, r.Y(0.96)})
                   .Cubic({cx - 100 * k, r.Y(0.9)}, {cx - 60 * k, r.Y(0.6)}, {cx - 34 * k, r.Y(0.36)})
                   .Quad({cx - 40 * k, r.Y(0.3)}, {cx - 40 * k, r.Y(0.07)})
                   .Close();
  // Slippers peeking out under the hem.
  for (int side : {-1, 1})
    Ink(c, Ellipse(cx + side * 26 * k, r.feet - 9 * k - 2.4, 20 * k, 9 * k), Rgb(0x8a3a6a), look);
  Ink(c, gown, Cloth(robe, cx - 90 * k, cx + 90 * k), look);
  c.Fill(Intersect(gown, RoundRect(cx - 120 * k, r.Y(0.93), cx + 120 * k, r.feet, 0)), trim);
  c.Fill(Intersect(
             gown,
             Polygon({{cx - 8 * k, r.Y(0.36)}, {cx + 8 * k, r.Y(0.36)}, {cx + 14 * k, r.feet}, {cx - 14 * k, r.feet}})),
         Shade(robe, 1.25));
  Random stars(5);
  for (int i = 0; i < 22; ++i) {
    double x = cx + stars.Uniform(-90, 90) * k, y = r.Y(stars.Uniform(0.42, 0.9));
    c.Fill(Intersect(gown, Circle(x, y, stars.Uniform(1.5, 3.2) * k)), Rgb(0xfff0b0, 0.9));
  }
  Shadow(c, gown, 10 * k, 0, 0.25);
  Ink(c, RoundRect(cx - 36 * k, r.Y(0.335), cx + 36 * k, r.Y(0.375), 4 * k), trim, look);
  Ink(c, Circle(cx, r.Y(0.355), 8 * k), Rgb(0x40d0c0), look);
  // Capelet over the shoulders.
  Shape capelet = Path({cx - 26 * k, r.Y(0.06)})
                      .Quad({cx - 70 * k, r.Y(0.1)}, {cx - 64 * k, r.Y(0.2)})
                      .Quad({cx, r.Y(0.24)}, {cx + 64 * k, r.Y(0.2)})
                      .Quad({cx + 70 * k, r.Y(0.1)}, {cx + 26 * k, r.Y(0.06)})
                      .Close();
  // Arms: the right one raises the staff.
  LimbPose left{{cx - 42 * k, r.Y(0.1)}, {cx - 58 * k, r.Y(0.26)}, {cx - 44 * k, r.Y(0.38)}};
  LimbPose right{{cx + 42 * k, r.Y(0.1)}, {cx + 78 * k, r.Y(0.2)}, {cx + 96 * k, r.Y(0.1)}};
  Arm(c, r, left, Cloth(robe, cx - 70 * k, cx - 30 * k), look, 0.7);
  double sx = cx + 100 * k;
  Ink(c, Line({sx, r.Y(-0.04)}, {sx + 8 * k, r.Y(0.97)}, 8 * k),
      Linear({sx - 4 * k, 0}, {sx + 4 * k, 0}, Rgb(0xa07040), Rgb(0x5a3a1c)), look);
  double oy = r.Y(-0.07);
  c.Fill(Circle(sx, oy, 46 * k), Radial({sx, oy}, 46 * k, Rgb(0x60fff0, 0.5), Rgb(0x40a0ff, 0.0)), Blend::Add);
  Ink(c,
      Path({sx - 16 * k, r.Y(-0.02)})
          .Quad({sx - 26 * k, oy - 20 * k}, {sx, oy - 28 * k})
          .Quad({sx - 10 * k, oy - 10 * k}, {sx - 8 * k, r.Y(-0.02)})
          .Close(),
      Rgb(0xc89848), look);
  Ink(c, Circle(sx, oy, 15 * k), Radial({sx - 5 * k, oy - 5 * k}, 18 * k, Rgb(0xe8fffc), Rgb(0x30b8d8)), look);
  Arm(c, r, right, Cloth(robe, cx + 30 * k, cx + 100 * k), look, 0.7);
  Ink(c, capelet, Cloth(Shade(robe, 0.8), cx - 60 * k, cx + 60 * k), look);
  c.Fill(Subtract(capelet, Translate(capelet, 0, -5 * k)), trim);
  Neck(c, r, look);
  Face(c, r, look, 0.8);
  // Side locks framing the face.
  for (int side : {-1, 1}) {
    Shape lock = Path({cx + side * r.rx * 0.8, r.hy - r.ry * 0.5})
                     .Quad({cx + side * r.rx * 1.25, r.hy + r.ry * 0.4}, {cx + side * r.rx * 0.95, r.hy + r.ry * 1.5})
                     .Quad({cx + side * r.rx * 0.9, r.hy + r.ry * 0.4}, {cx + side * r.rx * 0.6, r.hy - r.ry * 0.3})
                     .Close();
    Ink(c, lock, look.hair, look);
  }
  Ink(c, Fringe(r, 5, 0.38, -1.0), Linear({cx, r.hy - r.ry * 1.2}, {cx, r.hy}, Shade(look.hair, 1.15), look.hair),
      look);
  // The pointed hat, its brim crossing the top of the head.
  double by = r.hy - r.ry * 0.72;
  Shape cone = Path({cx - r.rx * 0.95, by})
                   .Quad({cx - r.rx * 0.3, by - r.ry * 1.1}, {cx + r.rx * 1.9, by - r.ry * 1.45})
                   .Quad({cx + r.rx * 0.5, by - r.ry * 0.9}, {cx + r.rx * 0.95, by})
                   .Close();
  Ink(c, cone, Cloth(robe, cx - r.rx, cx + r.rx), look);
  Ink(c, Intersect(cone, RoundRect(cx - r.rx * 1.2, by - r.ry * 0.3, cx + r.rx * 1.2, by, 0)), trim, look, 1.5);
  Ink(c, Ellipse(cx, by + r.ry * 0.02, r.rx * 1.9, r.ry * 0.2, -0.06),
      Cloth(Shade(robe, 0.9), cx - 2 * r.rx, cx + 2 * r.rx), look);
  // Sparkles drifting around.
  Random sparkle(9);
  for (int i = 0; i < 26; ++i) {
    double a = sparkle.Uniform(0, 2 * kPi), d = sparkle.Uniform(140, 300) * k;
    double x = cx + std::cos(a) * d * 1.3, y = r.Y(0.32) + std::sin(a) * d * 0.7;
    double s = sparkle.Uniform(3, 7) * k;
    c.Fill(Polygon({{x, y - s * 2},
                    {x + s * 0.4, y - s * 0.4},
                    {x + s * 2, y},
                    {x + s * 0.4, y + s * 0.4},
                    {x, y + s * 2},
                    {x - s * 0.4, y + s * 0.4},
                    {x - s * 2, y},
                    {x - s * 0.4, y - s * 0.4}}),
           Rgb(0xfff4c0, 0.85));
  }
}

// --- Sailor: a cheerful deckhand of the seagull barracks, gull included. -

void DrawGull(Canvas& c, double x, double y, double s, const Look& look) {
  Look gull = look;
  Ink(c, Ellipse(x, y, 26 * s, 15 * s, -0.2), Rgb(0xfafafa), gull, 2);
  Ink(c,
      Path({x - 4 * s, y - 6 * s})
          .Quad({x + 20 * s, y - 22 * s}, {x + 34 * s, y - 4 * s})
          .Quad({x + 12 * s, y - 2 * s}, {x - 4 * s, y + 4 * s})
          .Close(),
      Rgb(0xc8ccd4), gull, 2);
  c.Fill(Path({x + 26 * s, y - 8 * s}).To({x + 36 * s, y - 4 * s}).To({x + 26 * s, y - 1 * s}).Close(), Rgb(0x303438));
  Ink(c, Circle(x - 24 * s, y - 14 * s, 11 * s), Rgb(0xffffff), gull, 2);
  Ink(c, Polygon({{x - 33 * s, y - 16 * s}, {x - 48 * s, y - 12 * s}, {x - 33 * s, y - 9 * s}}), Rgb(0xf0b030), gull,
      1.5);
  c.Fill(Circle(x - 27 * s, y - 16 * s, 2.4 * s), Rgb(0x202020));
}

void DrawSailor(Canvas& c, const Rig& r) {
  Look look{Rgb(0xf0c8a8), Rgb(0x2a3848), Rgb(0x2a9a8a)};
  double k = r.k, cx = r.cx;
  Color navy = Rgb(0x22345e), white = Rgb(0xf4f6f8);
  GroundShadow(c, r, 80 * k);
  Ink(c, Ellipse(cx, r.hy - r.ry * 0.1, r.rx * 1.18, r.ry * 1.1), Shade(look.hair, 0.85), look);
  // Short bob ends below the ears.
  Ink(c, RoundRect(cx - r.rx * 1.2, r.hy - r.ry * 0.4, cx + r.rx * 1.2, r.hy + r.ry * 0.75, r.rx * 0.4),
      Shade(look.hair, 0.85), look);
  for (int side : {-1, 1}) {
    LimbPose leg = LegPose(r, side, 2);
    Leg(c, r, leg, Cloth(navy, cx - 34 * k, cx + 34 * k), Cloth(Rgb(0x5a3a26), cx - 34 * k, cx + 34 * k), look, 0.75,
        side);
  }
  // Trousers flare from the knee into wide bell bottoms.
  for (int side : {-1, 1}) {
    LimbPose leg = LegPose(r, side, 2);
    Ink(c,
        Polygon({{leg.b.x - 12 * r.k, leg.b.y},
                 {leg.b.x + 12 * r.k, leg.b.y},
                 {leg.c.x + 19 * k, r.Y(0.93)},
                 {leg.c.x - 19 * k, r.Y(0.93)}}),
        Cloth(navy, cx - 34 * k, cx + 34 * k), look);
  }
  // Middy blouse.
  Shape blouse = Path({cx - 44 * k, r.Y(0.07)})
                     .Quad({cx, r.Y(0.05)}, {cx + 44 * k, r.Y(0.07)})
                     .Quad({cx + 44 * k, r.Y(0.28)}, {cx + 40 * k, r.Y(0.47)})
                     .To({cx - 40 * k, r.Y(0.47)})
                     .Quad({cx - 44 * k, r.Y(0.28)}, {cx - 44 * k, r.Y(0.07)})
                     .Close();
  Ink(c, blouse, Cloth(white, cx - 44 * k, cx + 44 * k), look);
  Shadow(c, blouse, 7 * k, 0);
  Ink(c, RoundRect(cx - 41 * k, r.Y(0.42), cx + 41 * k, r.Y(0.47), 3 * k), navy, look);
  // Square sailor collar with stripes and a red scarf.
  Shape collar = Polygon({{cx - 46 * k, r.Y(0.07)},
                          {cx + 46 * k, r.Y(0.07)},
                          {cx + 46 * k, r.Y(0.13)},
                          {cx, r.Y(0.27)},
                          {cx - 46 * k, r.Y(0.13)}});
  Ink(c, collar, navy, look);
  c.Fill(Subtract(Grow(collar, -4 * k), Grow(collar, -6 * k)), white);
  Ink(c, Polygon({{cx - 14 * k, r.Y(0.2)}, {cx + 14 * k, r.Y(0.2)}, {cx + 6 * k, r.Y(0.3)}, {cx - 6 * k, r.Y(0.3)}}),
      Rgb(0xd83a3a), look);
  Ink(c,
      Polygon({{cx - 5 * k, r.Y(0.28)}, {cx + 5 * k, r.Y(0.28)}, {cx + 12 * k, r.Y(0.36)}, {cx - 12 * k, r.Y(0.36)}}),
      Rgb(0xc02e2e), look);
  // Arms: a wave hello with the right hand.
  LimbPose left{{cx - 44 * k, r.Y(0.1)}, {cx - 56 * k, r.Y(0.26)}, {cx - 54 * k, r.Y(0.42)}};
  LimbPose right{{cx + 44 * k, r.Y(0.1)}, {cx + 76 * k, r.Y(0.16)}, {cx + 88 * k, r.Y(0.02)}};
  Arm(c, r, left, Cloth(white, cx - 60 * k, cx - 30 * k), look, 0.45);
  Arm(c, r, right, Cloth(white, cx + 30 * k, cx + 80 * k), look, 0.45);
  for (const LimbPose* arm : {&left, &right}) {
    Point m{arm->b.x + (arm->c.x - arm->b.x) * 0.45, arm->b.y + (arm->c.y - arm->b.y) * 0.45};
    c.Fill(Circle(m.x, m.y, 9.6 * k), navy);
  }
  Neck(c, r, look);
  Face(c, r, look, 1.4);
  Ink(c, Fringe(r, 7, 0.36, 0.5), Linear({cx, r.hy - r.ry * 1.2}, {cx, r.hy}, Shade(look.hair, 1.5), look.hair), look);
  // Round sailor cap, tilted.
  Shape cap = Ellipse(cx + r.rx * 0.1, r.hy - r.ry * 0.9, r.rx * 1.05, r.ry * 0.36, -0.12);
  Ink(c, cap, Linear({0, r.hy - r.ry * 1.3}, {0, r.hy - r.ry * 0.6}, white, Rgb(0xc8d0dc)), look);
  Ink(c, Intersect(Grow(cap, 1), RoundRect(cx - 2 * r.rx, r.hy - r.ry * 0.82, cx + 2 * r.rx, r.hy - r.ry * 0.62, 0)),
      navy, look, 1.5);
  // The gull riding on her left shoulder.
  DrawGull(c, cx - 54 * k, r.Y(0.02), k * 0.95, look);
}

// --- Smith: broad shoulders, leather apron, bandana and a big hammer. ----

void DrawSmith(Canvas& c, const Rig& r) {
  Look look{Rgb(0xe0a882), Rgb(0xd05a28), Rgb(0x7a5a2a)};
  double k = r.k, cx = r.cx;
  Color shirt = Rgb(0xe8dcc4), leather = Rgb(0x7a4a2a), trousers = Rgb(0x4a4440);
  GroundShadow(c, r, 80 * k);
  // Ponytail behind the head.
  Shape tail = Path({cx + r.rx * 0.5, r.hy - r.ry * 0.6})
                   .Cubic({cx + r.rx * 2.0, r.hy - r.ry * 0.5}, {cx + r.rx * 1.7, r.hy + r.ry * 1.2},
                          {cx + r.rx * 1.3, r.hy + r.ry * 1.8})
                   .Quad({cx + r.rx * 1.0, r.hy + r.ry * 0.4}, {cx + r.rx * 0.3, r.hy - r.ry * 0.2})
                   .Close();
  Ink(c, tail, Cloth(look.hair, cx, cx + 2 * r.rx), look);
  Ink(c, Ellipse(cx, r.hy - r.ry * 0.12, r.rx * 1.12, r.ry * 1.05), Shade(look.hair, 0.85), look);
  for (int side : {-1, 1}) {
    LimbPose leg = LegPose(r, side, 8);
    Leg(c, r, leg, Cloth(trousers, cx - 36 * k, cx + 36 * k), Cloth(Rgb(0x3a2a20), cx - 36 * k, cx + 36 * k), look, 0.4,
        side);
  }
  Shape torso = Path({cx - 40 * k, r.Y(0.07)})
                    .Quad({cx, r.Y(0.05)}, {cx + 40 * k, r.Y(0.07)})
                    .Quad({cx + 44 * k, r.Y(0.28)}, {cx + 38 * k, r.Y(0.47)})
                    .To({cx - 38 * k, r.Y(0.47)})
                    .Quad({cx - 44 * k, r.Y(0.28)}, {cx - 40 * k, r.Y(0.07)})
                    .Close();
  Ink(c, torso, Cloth(shirt, cx - 44 * k, cx + 44 * k), look);
  // Leather apron from chest to knees, with a pocket and straps.
  Shape apron = Path({cx - 24 * k, r.Y(0.13)})
                    .To({cx + 24 * k, r.Y(0.13)})
                    .Quad({cx + 30 * k, r.Y(0.3)}, {cx + 38 * k, r.Y(0.36)})
                    .To({cx + 40 * k, r.Y(0.72)})
                    .Quad({cx, r.Y(0.75)}, {cx - 40 * k, r.Y(0.72)})
                    .To({cx - 38 * k, r.Y(0.36)})
                    .Quad({cx - 30 * k, r.Y(0.3)}, {cx - 24 * k, r.Y(0.13)})
                    .Close();
  Ink(c, apron, Cloth(leather, cx - 40 * k, cx + 40 * k), look);
  c.Fill(Subtract(Grow(apron, -5 * k), Grow(apron, -7 * k)), Rgb(0xc89a60, 0.8));
  Ink(c, RoundRect(cx - 18 * k, r.Y(0.4), cx + 18 * k, r.Y(0.5), 4 * k), Shade(leather, 0.85), look, 1.8);
  for (int side : {-1, 1})
    c.Fill(Line({cx + side * 22 * k, r.Y(0.135)}, {cx + side * 34 * k, r.Y(0.06)}, 5 * k), Shade(leather, 0.8));
  Ink(c, RoundRect(cx - 40 * k, r.Y(0.34), cx + 40 * k, r.Y(0.37), 2 * k), Rgb(0x3a2414), look);
  // Rolled sleeves and strong forearms; the right hand holds the hammer.
  LimbPose left{{cx - 42 * k, r.Y(0.1)}, {cx - 58 * k, r.Y(0.26)}, {cx - 50 * k, r.Y(0.4)}};
  LimbPose right{{cx + 42 * k, r.Y(0.1)}, {cx + 62 * k, r.Y(0.26)}, {cx + 56 * k, r.Y(0.4)}};
  Arm(c, r, left, Cloth(shirt, cx - 60 * k, cx - 30 * k), look, 0.05);
  // The hammer hangs from her fist, head down by the knee.
  double hx = right.c.x, hy = right.c.y + 6 * k;
  Ink(c, Line({hx - 2 * k, hy - 16 * k}, {hx + 8 * k, hy + 110 * k}, 8 * k),
      Linear({hx - 5 * k, 0}, {hx + 5 * k, 0}, Rgb(0xb08050), Rgb(0x6a4424)), look);
  Shape head = Polygon({{hx - 14 * k, hy + 96 * k},
                        {hx + 30 * k, hy + 92 * k},
                        {hx + 32 * k, hy + 128 * k},
                        {hx - 12 * k, hy + 132 * k}});
  Ink(c, head, Linear({hx - 14 * k, 0}, {hx + 32 * k, 0}, Rgb(0xa4aeba), Rgb(0x3a4048)), look);
  Arm(c, r, right, Cloth(shirt, cx + 30 * k, cx + 70 * k), look, 0.05);
  Neck(c, r, look);
  Face(c, r, look, 1.3);
  // Freckles.
  for (int side : {-1, 1})
    for (int i = 0; i < 3; ++i)
      c.Fill(Circle(r.cx + side * r.rx * (0.32 + 0.12 * i), r.hy + r.ry * (0.42 + 0.05 * (i % 2)), 1.3 * k),
             Rgb(0xa0603a, 0.7));
  Ink(c, Fringe(r, 5, 0.32, 1.5), Linear({cx, r.hy - r.ry * 1.2}, {cx, r.hy}, Shade(look.hair, 1.25), look.hair), look);
  // Bandana tied over the hair.
  Shape band = Intersect(Ellipse(cx, r.hy - r.ry * 0.2, r.rx * 1.18, r.ry * 1.16),
                         RoundRect(cx - 2 * r.rx, r.hy - 2 * r.ry, cx + 2 * r.rx, r.hy - r.ry * 0.62, 0));
  Ink(c, band, Cloth(Rgb(0x2a6a8a), cx - r.rx, cx + r.rx), look);
  Random dots(3);
  for (int i = 0; i < 10; ++i)
    c.Fill(Intersect(band, Circle(cx + dots.Uniform(-1, 1) * r.rx, r.hy - r.ry * dots.Uniform(0.7, 1.2), 2.2 * k)),
           Rgb(0xffffff, 0.8));
  Ink(c,
      Polygon({{cx - r.rx * 1.05, r.hy - r.ry * 0.8},
               {cx - r.rx * 1.6, r.hy - r.ry * 0.95},
               {cx - r.rx * 1.45, r.hy - r.ry * 0.5}}),
      Cloth(Rgb(0x2a6a8a), cx - 2 * r.rx, cx), look);
}

bool Write(const std::string& outDir, const Layout& l, void (*draw)(Canvas&, const Rig&)) {
  Canvas c(l.width, l.height);
  draw(c, Rig(l));
  return WritePng(outDir + "/gfx/" + l.file, c);
}

// The program's icon: the knight's head and shoulders on a warm tile, drawn
// at each size rather than scaled, so the small ones stay sharp.
bool WriteIcon(const std::string& outDir, int size) {
  const double s = size;
  Canvas c(size, size);
  const double inset = s / 32, radius = s * 0.2;
  Shape tile = RoundRect(inset, inset, s - inset, s - inset, radius);
  c.Fill(tile, Radial({s * 0.35, s * 0.3}, s * 0.9, Rgb(0xf4c878), Rgb(0x9a4a2a)));
  // A stockier knight than the picture's (feet six portraits below the face),
  // so the shoulders fit under the face; the body below the tile is cut off.
  const double portrait = s * 0.52;
  Layout bust = kKnight;
  bust.width = size;
  bust.faceX = s / 2;
  bust.faceY = s * 0.4;
  bust.portrait = portrait;
  bust.height = int(std::lround(bust.faceY + 6 * portrait));
  bust.footOffsetY = 0;
  DrawKnight(c, Rig(bust));
  c.Mask(tile);
  return WritePng(outDir + "/icons/tarn-" + std::to_string(size) + ".png", c);
}

}  // namespace

bool MakeIcons(const std::string& outDir) {
  return WriteIcon(outDir, 48) && WriteIcon(outDir, 128) && WriteIcon(outDir, 256);
}

bool MakeCharacters(const std::string& outDir) {
  return Write(outDir, kKnight, DrawKnight) && Write(outDir, kMage, DrawMage) && Write(outDir, kSailor, DrawSailor) &&
         Write(outDir, kSmith, DrawSmith);
}

}  // namespace assetgen
