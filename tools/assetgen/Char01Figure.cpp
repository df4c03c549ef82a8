// The pictures of the lamplighter's parts, in an outlined cel style.
#include "Char01Figure.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace assetgen {
namespace char01 {

namespace {

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

void DrawShadow(Piece& p) { p.Fill(Ellipse(0, 0, 150, 16), Rgb(0x000000, 0.3), Blend::Over, 8); }

void DrawHairBack(Piece& p) {
  Shape back = Union(Ellipse(0, 1222, 98, 102), Path({-96, 1200})
                                                    .Quad({-108, 1110}, {-86, 1062})
                                                    .Quad({0, 1080}, {86, 1062})
                                                    .Quad({108, 1110}, {96, 1200})
                                                    .Close());
  p.Ink(back, Down(kP.hair, Shade(kP.hair, 0.7), 1060, 1320));
  p.Fill(Intersect(back, Ellipse(0, 1090, 70, 30)), Rgb(0x102030, 0.25), Blend::Over, 3);
}

void DrawHead(Piece& p) {
  double rx = kFaceRx, ry = kFaceRy;
  for (int side : {-1, 1})
    p.Ink(Ellipse(F(side * rx * 0.98, ry * 0.08).x, F(0, ry * 0.08).y, rx * 0.16, ry * 0.2), kP.skin);
  Shape face = Union(Ellipse(kFaceX, F(0, -ry * 0.06).y, rx, ry * 0.92),
                     Ellipse(kFaceX, F(0, ry * 0.42).y, rx * 0.62, ry * 0.56));
  p.Ink(face, Down(Shade(kP.skin, 1.06), kP.skin, kFaceY - ry, kFaceY + ry));
  // Brows stay put while the eyes blink.
  for (int side : {-1, 1}) {
    double ex = side * rx * 0.42, ey = ry * 0.14, ew = rx * 0.21, eh = ry * 0.27;
    p.Fill(Line(F(ex - side * ew * 0.9, ey - eh * 1.55), F(ex + side * ew * 1.1, ey - eh * 1.72), 5),
           Shade(kP.hair, 0.55));
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
      p.Fill(Path(F(ex - ew * 1.1, ey))
                 .Quad(F(ex, ey + eh * 0.7), F(ex + ew * 1.1, ey))
                 .Quad(F(ex, ey + eh * 0.45), F(ex - ew * 1.1, ey))
                 .Close(),
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
    p.Fill(Path(F(-rx * 0.2, my))
               .Quad(F(0, my + ry * 0.2), F(rx * 0.2, my))
               .Quad(F(0, my + ry * 0.07), F(-rx * 0.2, my))
               .Close(),
           Rgb(0x8a2a2a));
    return;
  }
  Shape mouth = Path(F(-rx * 0.24, my - ry * 0.02))
                    .Quad(F(0, my + ry * 0.34), F(rx * 0.24, my - ry * 0.02))
                    .Quad(F(0, my + ry * 0.02), F(-rx * 0.24, my - ry * 0.02))
                    .Close();
  p.Ink(mouth, Rgb(0x8a2a2a), 2.5);
  p.Fill(Intersect(mouth, Ellipse(F(0, my + ry * 0.26).x, F(0, my + ry * 0.26).y, rx * 0.14, ry * 0.09)),
         Rgb(0xf07878));
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
  p.Ink(Path({b.x - 12, b.y})
            .Quad({b.x - 14, b.y - 40}, {b.x + 2, b.y - 62})
            .Quad({b.x + 6, b.y - 36}, {b.x + 14, b.y})
            .Close(),
        Shade(kP.hair, 0.9), 4);
}

void DrawHat(Piece& p) {
  // Sou'wester: a round crown and a wide brim sloping down at the sides.
  Shape brim = Path({-150, 1268})
                   .Quad({-110, 1312}, {0, 1314})
                   .Quad({110, 1312}, {150, 1268})
                   .Quad({120, 1280}, {0, 1284})
                   .Quad({-120, 1280}, {-150, 1268})
                   .Close();
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
  p.Ink(Path({-24, gy})
            .Quad({-12, gy + 16}, {0, gy})
            .Quad({12, gy + 16}, {24, gy})
            .Quad({12, gy + 7}, {0, gy - 8})
            .Quad({-12, gy + 7}, {-24, gy})
            .Close(),
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
  return Path({-62, 1092})
      .Quad({0, 1062}, {62, 1092})
      .Quad({70, 1068}, {56, 1046})
      .Quad({0, 1024}, {-56, 1046})
      .Quad({-70, 1068}, {-62, 1092})
      .Close();
}

void DrawScarfWrap(Piece& p, const Color& base, bool striped) {
  Shape wrap = ScarfWrap();
  p.Ink(wrap, Across(base, -60, 60));
  if (striped)
    for (int i = -2; i <= 2; ++i)
      p.Fill(Intersect(wrap, Line({i * 26.0 - 20, 1020}, {i * 26.0 + 20, 1100}, 9)), Rgb(0xf4f6f8));
  p.Fill(Path({-40, 1056}).Quad({0, 1044}, {40, 1056}).Quad({0, 1050}, {-40, 1056}).Close(), Shade(base, 0.6));
  // The knot with a short end hanging in front.
  p.Ink(Ellipse(-18, 1046, 20, 16), Across(base, -38, 2));
  Shape end = Path({-28, 1040}).Quad({-40, 990}, {-30, 950}).To({-6, 954}).Quad({-12, 996}, {-8, 1040}).Close();
  p.Ink(end, Across(base, -40, -4));
  if (striped) p.Fill(Intersect(end, RoundRect(-60, 968, 0, 982, 0)), Rgb(0xf4f6f8));
}

// The flying scarf end: a ribbon along the scarf bones, wavy and fringed.
std::vector<Point> ScarfCentreline() {
  std::vector<Point> pts{kScarfRoot};
  Point at = kScarfRoot;
  for (double angle : kScarfAngles) {
    at = Along(at, angle, kScarfBone);
    pts.push_back(at);
  }
  return pts;
}

void DrawScarfTail(Piece& p, const Color& base, bool striped) {
  std::vector<Point> centre = ScarfCentreline();
  auto at = [&](double t) {
    double f = t * 3;
    int i = std::min(2, int(f));
    double u = f - i;
    Point a = centre[i], b = centre[i + 1];
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
  p.Ink(ribbon, Linear({centre[0].x, 0}, {centre[3].x, 0}, Shade(base, 0.75), Shade(base, 1.1)));
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
  Shape body = Path({-92, 1072})
                   .Quad({0, 1094}, {92, 1072})
                   .Quad({112, 1020}, {96, 900})
                   .Quad({80, 800}, {92, 712})
                   .To({-92, 712})
                   .Quad({-80, 800}, {-96, 900})
                   .Quad({-112, 1020}, {-92, 1072})
                   .Close();
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
  Shape skirt = Path({-90, 770})
                    .To({90, 770})
                    .Quad({120, 600}, {150, 448})
                    .Quad({0, 430}, {-150, 448})
                    .Quad({-120, 600}, {-90, 770})
                    .Close();
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
  Shape flame = Path({kFlame.x, kFlame.y + 34})
                    .Quad({kFlame.x + 22, kFlame.y}, {kFlame.x, kFlame.y - 18})
                    .Quad({kFlame.x - 22, kFlame.y}, {kFlame.x, kFlame.y + 34})
                    .Close();
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
    return Color{1.0 * t, 0.74 * t, 0.34 * t, t};
  };
  p.Fill(Circle(c.x, c.y, radius), light);
}

}  // namespace

std::vector<std::unique_ptr<Placed>> DrawParts() {
  std::vector<std::unique_ptr<Placed>> parts;
  auto add = [&](Piece* piece) {
    parts.push_back(std::make_unique<Placed>());
    parts.back()->piece.reset(piece);
    return piece;
  };
  auto limbBox = [](Point a, Point b, double r) {
    return std::array<double, 4>{std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r,
                                 std::max(a.y, b.y) + r};
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
  DrawHand(*add(new Piece("hand-R", kWristR.x - 80, kWristR.y - 100, kWristR.x + 70, kWristR.y + 30)), kWristR,
           kForearmRAngle, false);
  b = limbBox(kShoulderL, kElbowL, 46);
  DrawUpperArm(*add(new Piece("upperarm-L", b[0], b[1], b[2], b[3])), kShoulderL, kElbowL);
  b = limbBox(kElbowL, kWristL, 40);
  DrawForearm(*add(new Piece("forearm-L", b[0], b[1], b[2], b[3])), kElbowL, kWristL);
  DrawLantern(
      *add(new Piece("lantern", kLanternTop.x - 60, kLanternTop.y - 200, kLanternTop.x + 60, kLanternTop.y + 20)));
  DrawHand(*add(new Piece("hand-L", kWristL.x - 40, kWristL.y - 60, kWristL.x + 40, kWristL.y + 20)), kWristL, -90,
           true);
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
  return parts;
}

}  // namespace char01
}  // namespace assetgen
