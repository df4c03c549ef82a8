// The main screen's background: a blacksmith's workshop lit by its forge.
// The middle stays calm because the picked character stands there.
#include <cmath>

#include "Assets.h"
#include "Canvas.h"

namespace assetgen {

namespace {

const int kWidth = 1280;
const int kHeight = 720;
const double kFloorTop = 520;
const Point kForgeGlow{230, 430};

void DrawWall(Canvas& c) {
  Color mortar = Rgb(0x2e2420);
  c.Fill(RoundRect(0, 0, kWidth, kFloorTop, 0), mortar);
  // Rows of irregular stones; every stone gets its own tint and a little
  // surface noise so the wall does not look tiled.
  Random rnd(7);
  double y = 0;
  int row = 0;
  while (y < kFloorTop) {
    double h = rnd.Uniform(44, 58);
    double x = (row % 2) ? -rnd.Uniform(20, 60) : -rnd.Uniform(0, 20);
    while (x < kWidth) {
      double w = rnd.Uniform(70, 130);
      double tint = rnd.Uniform(0.82, 1.1);
      Color base = Shade(Mix(Rgb(0x7e6858), Rgb(0x907058), rnd.Uniform(0, 1)), tint);
      uint32_t seed = rnd.Next();
      Shape stone = RoundRect(x + 3, y + 3, x + w - 3, y + h - 3, 9);
      c.Fill(stone, [=](double px, double py) {
        double n = Fractal(px / 14, py / 14, seed, 3);
        double top = (py - y) / h;  // light from above: upper edge brighter
        return Shade(base, 0.78 + 0.32 * n + 0.12 * (1 - top));
      });
      // A dark lower edge gives each stone some depth.
      c.Fill(Intersect(stone, Subtract(stone, RoundRect(x + 3, y + 1, x + w - 3, y + h - 7, 9))), Rgb(0x1e1612, 0.45));
      x += w;
    }
    y += h;
    ++row;
  }
}

void DrawCeilingBeam(Canvas& c) {
  Color wood = Rgb(0x4a2e1c);
  c.Fill(RoundRect(0, 0, kWidth, 46, 0), Linear({0, 0}, {0, 46}, Shade(wood, 0.7), wood));
  c.Fill(RoundRect(0, 44, kWidth, 52, 0), Rgb(0x20140c, 0.6), Blend::Over, 3);
  for (double x = 120; x < kWidth; x += 340) {
    c.Fill(RoundRect(x, 0, x + 46, 120, 4), Linear({x, 0}, {x + 46, 0}, Rgb(0x5a3822), Rgb(0x3a2414)));
    c.Fill(RoundRect(x - 6, 100, x + 52, 122, 4), Rgb(0x36221a));
  }
}

void DrawWindow(Canvas& c) {
  // Daylight from a small arched window, a cool contrast to the forge.
  double x0 = 500, x1 = 610, y0 = 130, y1 = 300;
  Shape frame =
      Union(RoundRect(x0 - 12, y0 + 40, x1 + 12, y1 + 14, 4), Circle((x0 + x1) / 2, y0 + 40, (x1 - x0) / 2 + 12));
  c.Fill(frame, Rgb(0x3c2a1e));
  Shape glass = Union(RoundRect(x0, y0 + 40, x1, y1, 2), Circle((x0 + x1) / 2, y0 + 40, (x1 - x0) / 2));
  c.Fill(glass, Linear({0, y0 - 15}, {0, y1}, Rgb(0xcfe6f5), Rgb(0x8fb4cf)));
  // Distant hills and a cloud seen through the glass.
  c.Fill(Intersect(glass, Ellipse(520, 300, 90, 60)), Rgb(0x6f9a6a));
  c.Fill(Intersect(glass, Ellipse(600, 310, 80, 70)), Rgb(0x5d8a5c));
  c.Fill(Intersect(glass, Ellipse(540, 170, 26, 10)), Rgb(0xffffff, 0.8));
  c.Fill(Line({(x0 + x1) / 2, y0 - 14}, {(x0 + x1) / 2, y1}, 7), Rgb(0x3c2a1e));
  c.Fill(Line({x0, 215}, {x1, 215}, 7), Rgb(0x3c2a1e));
  c.Fill(RoundRect(x0 - 22, y1 + 8, x1 + 22, y1 + 24, 3), Rgb(0x5a3c28));
  // A pool of light falling on the wall below.
  c.Fill(Polygon({{x0, y1 + 24}, {x1, y1 + 24}, {x1 + 70, kFloorTop}, {x0 - 10, kFloorTop}}),
         Linear({0, y1}, {0, kFloorTop}, Rgb(0xdfeeff, 0.10), Rgb(0xdfeeff, 0.0)), Blend::Add, 8);
}

void DrawFloor(Canvas& c) {
  c.Fill(RoundRect(0, kFloorTop, kWidth, kHeight, 0), Rgb(0x3a2618));
  // Planks run towards the back wall, converging on a point above the floor.
  const Point vanish{640, 180};
  Random rnd(11);
  const int planks = 26;
  for (int i = 0; i < planks; ++i) {
    double xa = -900 + i * (3080.0 / planks), xb = xa + 3080.0 / planks;
    auto atTop = [&](double xBottom) {
      return vanish.x + (xBottom - vanish.x) * (kFloorTop - vanish.y) / (kHeight - vanish.y);
    };
    Shape plank =
        Polygon({{atTop(xa) + 1, kFloorTop}, {atTop(xb) - 1, kFloorTop}, {xb - 2.5, kHeight}, {xa + 2.5, kHeight}});
    Color base = Mix(Rgb(0x8a5a36), Rgb(0x9c6a40), rnd.Uniform(0, 1));
    base = Shade(base, rnd.Uniform(0.85, 1.08));
    uint32_t seed = rnd.Next();
    c.Fill(plank, [=](double px, double py) {
      // Grain follows the plank: sample noise in plank space.
      double depth = (py - vanish.y) / (kHeight - vanish.y);
      double u = (px - vanish.x) / depth;
      double g = Fractal(u / 6, py / 60 / depth, seed, 4);
      double stripes = 0.5 + 0.5 * std::sin(u / 3.0 + g * 9.0);
      return Shade(base, 0.72 + 0.22 * g + 0.1 * stripes);
    });
  }
  // Cross seams where plank ends meet.
  for (int k = 0; k < 3; ++k) {
    double y = kFloorTop + 40 + k * k * 32 + k * 30;
    c.Fill(Line({0, y}, {kWidth, y}, 1.6 + k * 0.5), Rgb(0x2a1a10, 0.5));
  }
  // Skirting beam and the shadow it throws on the floor.
  c.Fill(RoundRect(0, kFloorTop - 18, kWidth, kFloorTop + 4, 0),
         Linear({0, kFloorTop - 18}, {0, kFloorTop + 4}, Rgb(0x5e3c26), Rgb(0x3a2416)));
  c.Fill(RoundRect(0, kFloorTop + 2, kWidth, kFloorTop + 16, 0), Rgb(0x120a06, 0.45), Blend::Over, 6);
}

void DrawForge(Canvas& c) {
  // Chimney hood rising to the ceiling.
  c.Fill(Polygon({{120, 60}, {340, 60}, {420, 250}, {40, 250}}),
         Linear({40, 0}, {420, 0}, Rgb(0x3a3230), Rgb(0x5a4e48)));
  c.Fill(Polygon({{120, 60}, {340, 60}, {350, 84}, {110, 84}}), Rgb(0x000000, 0.3));
  c.Fill(RoundRect(24, 240, 436, 268, 6), Linear({0, 240}, {0, 268}, Rgb(0x6b5d55), Rgb(0x3e3430)));
  for (double x = 70; x < 400; x += 60) c.Fill(Circle(x, 254, 4), Rgb(0x2a2220));

  // Brick hearth.
  Shape hearth = RoundRect(30, 330, 430, 560, 8);
  c.Fill(hearth, Rgb(0x3a2a24));
  Random rnd(23);
  for (int row = 0; row < 8; ++row) {
    double y = 332 + row * 28.5;
    for (double x = 32 - (row % 2) * 28; x < 430; x += 56) {
      Shape brick = Intersect(RoundRect(x + 2, y + 2, x + 54, y + 26.5, 4), hearth);
      Color base = Shade(Rgb(0x8e4a34), rnd.Uniform(0.75, 1.05));
      c.Fill(brick, Linear({0, y}, {0, y + 28}, Shade(base, 1.08), Shade(base, 0.8)));
    }
  }
  c.Fill(RoundRect(20, 316, 440, 338, 5), Linear({0, 316}, {0, 338}, Rgb(0x7a6a60), Rgb(0x4a3e38)));

  // The fire pit with glowing coals.
  Shape mouth = Union(RoundRect(90, 390, 370, 500, 10), Ellipse(230, 395, 140, 40));
  c.Fill(mouth, Rgb(0x140806));
  c.Fill(Intersect(mouth, Ellipse(230, 500, 170, 90)), Radial({230, 490}, 160, Rgb(0xffd060), Rgb(0x8a1c04)));
  Random coals(31);
  for (int i = 0; i < 60; ++i) {
    double x = coals.Uniform(105, 355), y = coals.Uniform(455, 498);
    double r = coals.Uniform(6, 13);
    double heat = coals.Uniform(0, 1);
    c.Fill(Intersect(mouth, Ellipse(x, y, r, r * 0.7)), Mix(Rgb(0x5a1404), Rgb(0xffb030), heat));
    c.Fill(Intersect(mouth, Ellipse(x - r * 0.2, y - r * 0.2, r * 0.5, r * 0.3)), Rgb(0xfff0a0, 0.5 * heat));
  }
  // Flames licking up from the coals.
  Random flames(37);
  for (int i = 0; i < 9; ++i) {
    double x = 130 + i * 25 + flames.Uniform(-6, 6);
    double h = flames.Uniform(45, 95);
    Shape flame = Path({x - 16, 480})
                      .Quad({x - 18, 480 - h * 0.5}, {x + flames.Uniform(-8, 8), 480 - h})
                      .Quad({x + 18, 480 - h * 0.5}, {x + 16, 480})
                      .Close();
    c.Fill(Intersect(mouth, flame), Linear({0, 480}, {0, 480 - h}, Rgb(0xffa020, 0.85), Rgb(0xff4000, 0.1)), Blend::Add,
           2);
    c.Fill(Intersect(mouth, Grow(flame, -7)), Rgb(0xffe890, 0.35), Blend::Add, 3);
  }
  // Shadow on the floor, and a bucket of coal beside the hearth.
  c.Fill(RoundRect(30, 556, 470, 580, 10), Rgb(0x0a0604, 0.45), Blend::Over, 10);
  Shape bucket = Polygon({{448, 520}, {532, 520}, {522, 584}, {458, 584}});
  c.Fill(Ellipse(492, 584, 44, 8), Rgb(0x0a0604, 0.5), Blend::Over, 6);
  c.Fill(bucket, Linear({448, 0}, {532, 0}, Rgb(0x6a6e76), Rgb(0x2c2e34)));
  for (double y : {532.0, 572.0})
    c.Fill(Intersect(Grow(bucket, 1.5), RoundRect(440, y - 3, 540, y + 3, 0)), Rgb(0x24262a));
  Random lumps(41);
  for (int i = 0; i < 14; ++i)
    c.Fill(Circle(lumps.Uniform(456, 526), lumps.Uniform(508, 522), lumps.Uniform(6, 10)),
           Shade(Rgb(0x2a2626), lumps.Uniform(0.7, 1.3)));
  c.Fill(Path({452, 520}).Quad({490, 470}, {528, 520}).To({524, 520}).Quad({490, 476}, {456, 520}).Close(),
         Rgb(0x3a3c40));
}

void DrawToolRack(Canvas& c) {
  // Board with pegs, hung with the smith's tools.
  c.Fill(RoundRect(820, 150, 1230, 390, 8), Rgb(0x14100c, 0.5), Blend::Over, 10);
  c.Fill(RoundRect(812, 140, 1222, 380, 8), [](double x, double y) {
    double g = Fractal(x / 40, y / 4, 91, 3);
    return Shade(Rgb(0x6e4a30), 0.8 + 0.3 * g);
  });
  for (double y : {180.0, 300.0}) c.Fill(RoundRect(812, y - 3, 1222, y + 3, 2), Rgb(0x4a301e));
  Color iron = Rgb(0x4a4e56), ironLight = Rgb(0x8a929e), handle = Rgb(0x9a6a3c);
  // Hammers.
  for (int i = 0; i < 3; ++i) {
    double x = 850 + i * 56, y = 170;
    double len = 120 - i * 14;
    c.Fill(Line({x, y + 10}, {x, y + len}, 12),
           Linear({x - 6, 0}, {x + 6, 0}, Shade(handle, 1.15), Shade(handle, 0.75)));
    c.Fill(RoundRect(x - 24 + i * 3, y - 6, x + 24 - i * 3, y + 18, 4),
           Linear({0, y - 6}, {0, y + 18}, ironLight, iron));
    c.Fill(Circle(x, 164, 4), Rgb(0x2a1c12));
  }
  // Tongs.
  for (int i = 0; i < 2; ++i) {
    double x = 1030 + i * 44;
    c.Fill(Line({x - 8, 172}, {x + 10, 330}, 6), iron);
    c.Fill(Line({x + 8, 172}, {x - 10, 330}, 6), Shade(iron, 1.2));
    c.Fill(Circle(x, 196, 5), ironLight);
    c.Fill(Circle(x, 164, 4), Rgb(0x2a1c12));
  }
  // Horseshoes on the lower row.
  for (int i = 0; i < 3; ++i) {
    double x = 860 + i * 62, y = 336;
    Shape shoe =
        Subtract(Subtract(Ellipse(x, y, 24, 28), Ellipse(x, y, 13, 17)), RoundRect(x - 9, y + 4, x + 9, y + 40, 0));
    c.Fill(shoe, Linear({x - 24, y - 28}, {x + 24, y + 28}, ironLight, iron));
    c.Fill(Circle(x, 302, 4), Rgb(0x2a1c12));
  }
  // A finished sword with a leather grip.
  c.Fill(Polygon({{1150, 170}, {1162, 170}, {1164, 340}, {1156, 360}, {1148, 340}}),
         Linear({1148, 0}, {1164, 0}, Rgb(0xdde4ec), Rgb(0x8e98a4)));
  c.Fill(RoundRect(1130, 160, 1182, 170, 4), Rgb(0xb08a3c));
  c.Fill(RoundRect(1151, 128, 1161, 162, 3), Rgb(0x5a3420));
  c.Fill(Circle(1156, 126, 8), Rgb(0xc8a048));
}

void DrawShield(Canvas& c) {
  Point s{700, 190};
  c.Fill(Circle(s.x + 4, s.y + 6, 52), Rgb(0x100a06, 0.5), Blend::Over, 8);
  c.Fill(Circle(s.x, s.y, 52), Linear({s.x - 50, s.y - 50}, {s.x + 50, s.y + 50}, Rgb(0xd8b060), Rgb(0x8a6424)));
  c.Fill(Circle(s.x, s.y, 44), Linear({s.x - 40, s.y - 40}, {s.x + 40, s.y + 40}, Rgb(0x3a6aa8), Rgb(0x1c3a6a)));
  // Seagull: two soft wing arcs.
  Shape wings = Path({s.x - 30, s.y + 4})
                    .Quad({s.x - 16, s.y - 18}, {s.x, s.y + 2})
                    .Quad({s.x + 16, s.y - 18}, {s.x + 30, s.y + 4})
                    .Quad({s.x + 16, s.y - 8}, {s.x, s.y + 12})
                    .Quad({s.x - 16, s.y - 8}, {s.x - 30, s.y + 4})
                    .Close();
  c.Fill(wings, Rgb(0xf4f4f0));
  for (int i = 0; i < 8; ++i) {
    double a = i * 3.14159265358979 / 4;
    c.Fill(Circle(s.x + std::cos(a) * 48, s.y + std::sin(a) * 48, 2.6), Rgb(0xf0e0a0));
  }
}

void DrawAnvil(Canvas& c) {
  double cx = 1010, top = 560;
  // Shadow, then the stump.
  c.Fill(Ellipse(cx + 10, 690, 130, 18), Rgb(0x0a0604, 0.55), Blend::Over, 10);
  c.Fill(RoundRect(cx - 70, top + 40, cx + 70, 690, 10),
         Linear({cx - 70, 0}, {cx + 70, 0}, Rgb(0x8a5a34), Rgb(0x4a2e1a)));
  for (double x = cx - 50; x < cx + 60; x += 22) c.Fill(Line({x, top + 50}, {x + 4, 684}, 2), Rgb(0x3a2414, 0.5));
  c.Fill(Ellipse(cx, top + 42, 70, 10), Rgb(0xa87848));
  // The anvil body: horn to the left, heel to the right.
  Shape body = Path({cx - 145, top - 44})
                   .Quad({cx - 100, top - 56}, {cx - 50, top - 54})
                   .To({cx + 95, top - 54})
                   .To({cx + 95, top - 28})
                   .To({cx + 40, top - 20})
                   .Quad({cx + 30, top + 8}, {cx + 58, top + 30})
                   .To({cx + 64, top + 42})
                   .To({cx - 64, top + 42})
                   .To({cx - 58, top + 30})
                   .Quad({cx - 30, top + 8}, {cx - 45, top - 22})
                   .Quad({cx - 95, top - 26}, {cx - 145, top - 44})
                   .Close();
  c.Fill(body, Linear({cx - 100, top - 60}, {cx + 60, top + 40}, Rgb(0x5a606a), Rgb(0x1e2228)));
  c.Fill(Polygon({{cx - 50, top - 54}, {cx + 95, top - 54}, {cx + 95, top - 48}, {cx - 50, top - 48}}), Rgb(0xb4bcc8));
  // Warm reflection from the forge on the horn.
  c.Fill(Intersect(body, Ellipse(cx - 90, top - 36, 50, 8, 0.15)), Rgb(0xff9040, 0.35), Blend::Add, 3);
  // A glowing bar left on the anvil.
  c.Fill(RoundRect(cx - 20, top - 64, cx + 70, top - 54, 4),
         Linear({cx - 20, 0}, {cx + 70, 0}, Rgb(0xffe070), Rgb(0xff4010)));
  c.Fill(Ellipse(cx + 30, top - 58, 70, 24), Rgb(0xff7020, 0.35), Blend::Add, 20);
}

void DrawQuenchBarrel(Canvas& c) {
  double cx = 1180, top = 560;
  c.Fill(Ellipse(cx + 8, 700, 70, 14), Rgb(0x0a0604, 0.5), Blend::Over, 8);
  Shape barrel = Path({cx - 56, top})
                     .Quad({cx - 68, top + 70}, {cx - 56, 700})
                     .To({cx + 56, 700})
                     .Quad({cx + 68, top + 70}, {cx + 56, top})
                     .Close();
  c.Fill(barrel, Linear({cx - 68, 0}, {cx + 68, 0}, Rgb(0x9a6a3e), Rgb(0x4a2e18)));
  for (double x = cx - 40; x < cx + 50; x += 20)
    c.Fill(Intersect(barrel, Line({x, top}, {x, 700}, 2)), Rgb(0x3a2212, 0.6));
  for (double y : {top + 24, 676.0})
    c.Fill(Intersect(Grow(barrel, 2), RoundRect(cx - 80, y - 6, cx + 80, y + 6, 0)), Rgb(0x3c3c40));
  c.Fill(Ellipse(cx, top, 56, 12), Rgb(0x2a1c12));
  c.Fill(Ellipse(cx, top + 2, 50, 9), Linear({cx - 50, 0}, {cx + 50, 0}, Rgb(0x2a4a5a), Rgb(0x507a8a)));
}

void DrawLight(Canvas& c) {
  // The forge's warm light over wall and floor, then sparks and a vignette.
  c.Fill(Circle(kForgeGlow.x, kForgeGlow.y, 700), Radial(kForgeGlow, 700, Rgb(0xff8a30, 0.32), Rgb(0xff6020, 0.0)),
         Blend::Add);
  c.Fill(Circle(kForgeGlow.x, kForgeGlow.y + 40, 260),
         Radial({kForgeGlow.x, kForgeGlow.y + 40}, 260, Rgb(0xffb050, 0.35), Rgb(0xff7020, 0.0)), Blend::Add);
  Random sparks(53);
  for (int i = 0; i < 40; ++i) {
    double x = sparks.Uniform(110, 360), y = sparks.Uniform(180, 420);
    double r = sparks.Uniform(1.2, 2.6);
    c.Fill(Circle(x, y, r * 3), Rgb(0xff8020, 0.25), Blend::Add, 3);
    c.Fill(Circle(x, y, r), Rgb(0xffe8a0, 0.9), Blend::Add);
  }
  c.Fill(RoundRect(0, 0, kWidth, kHeight, 0), [](double x, double y) {
    double dx = (x - 640) / 760, dy = (y - 380) / 520;
    double d = std::sqrt(dx * dx + dy * dy);
    double a = d < 0.55 ? 0 : (d - 0.55) * 0.9;
    return Rgb(0x0c0604, a > 0.55 ? 0.55 : a);
  });
}

}  // namespace

bool MakeWorkshop(const std::string& outDir) {
  Canvas c(kWidth, kHeight);
  DrawWall(c);
  DrawCeilingBeam(c);
  DrawWindow(c);
  DrawShield(c);
  DrawToolRack(c);
  DrawFloor(c);
  DrawForge(c);
  DrawAnvil(c);
  DrawQuenchBarrel(c);
  DrawLight(c);
  return WritePng(outDir + "/gfx/3_blacksmith_a.png", c);
}

}  // namespace assetgen
