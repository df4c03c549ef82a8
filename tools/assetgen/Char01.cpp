// The skeletal character: Lina, the harbour lamplighter of the seagull
// barracks. A yellow oilskin coat, a sou'wester, a scarf flying in the sea
// wind and a lantern whose light is drawn additively.
//
// Every body part is drawn as its own picture in skeleton units (y up, the
// origin between the feet, about 1500 units tall), packed into one atlas page
// and placed on its bone so that the setup pose reassembles the figure. The
// skeleton file is written from the same numbers, so pictures, atlas and
// skeleton always agree.
#include <lodepng.h>

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

#include "Assets.h"
#include "Canvas.h"
#include "Char01Figure.h"
#include "skel/Atlas.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "skelcheck/DrawnBox.h"

namespace assetgen {

namespace {

using namespace char01;

const int kPageWidth = 1024;
const int kPadding = 2;

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

// The flying scarf is a grid mesh weighted along its three bones.
struct ScarfMesh {
  static constexpr int kCols = 8, kRows = 3;
  std::vector<Point> world;  // setup position per vertex
  std::vector<double> uvs;   // region coordinates
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
    frames.push_back("{\"time\": " + Num(duration * i / keys) +
                     ", \"vertices\": " + Numbers(ScarfRipple(rig, m, p, phase)) + "}");
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
  bones.Put("torso", Obj()
                         .Put("scale", Array(Loop(T, 4, [&](double ph) { return XY(1, 1 + 0.024 * breath(ph)); }), 8))
                         .Put("translate", Array(Loop(T, 4, [&](double ph) { return XY(0, 3 * breath(ph)); }), 8))
                         .Text(6));
  bones.Put("head",
            Obj().Put("rotate", Array(Loop(T, 4, [&](double ph) { return Angle(2.5 * sine(ph, 0.1)); }), 8)).Text(6));
  bones.Put("braid",
            Obj().Put("rotate", Array(Loop(T, 6, [&](double ph) { return Angle(4 * sine(ph, 0.3)); }), 8)).Text(6));
  for (int i = 0; i < 3; ++i)
    bones.Put(
        kScarfBones[i],
        Obj()
            .Put("rotate", Array(Loop(T, 6, [&](double ph) { return Angle((3 + 3 * i) * sine(ph * 2, 0.15 * i)); }), 8))
            .Text(6));
  bones.Put("lantern",
            Obj().Put("rotate", Array(Loop(T, 4, [&](double ph) { return Angle(5 * sine(ph, 0.05)); }), 8)).Text(6));
  bones.Put("hand-L-target",
            Obj().Put("translate", Array(Loop(T, 4, [&](double ph) { return XY(0, 4 * breath(ph)); }), 8)).Text(6));
  // The flame flickers: quick, uneven steps of the glow's size.
  const double flicker[] = {1, 1.08, 0.97, 1.1, 1.02, 1.12, 0.98, 1.06, 1};
  std::vector<std::string> glow;
  for (int i = 0; i < 9; ++i) glow.push_back(Key(T * i / 8, XY(flicker[i], flicker[i])));
  bones.Put("glow", Obj().Put("scale", Array(glow, 8)).Text(6));

  Obj slots;
  slots.Put("eyes", Obj()
                        .Put("attachment",
                             Array({Key(0, "\"name\": \"eyes\"", false), Key(2.2, "\"name\": \"eyes-closed\"", false),
                                    Key(2.34, "\"name\": \"eyes\"", false)},
                                   8))
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
  bones.Put("hand-R-target",
            Obj()
                .Put("translate", Array({Key(0, XY(0, 0)), Key(0.35, XY(up.x, up.y)), Key(0.6, XY(out.x, out.y)),
                                         Key(0.85, XY(up.x, up.y)), Key(1.1, XY(out.x, out.y)),
                                         Key(1.35, XY(up.x, up.y)), Key(1.75, XY(0, 0)), Key(T, XY(0, 0))},
                                        8))
                .Text(6));
  bones.Put("hand-R", Obj()
                          .Put("rotate", Array({Key(0, Angle(0)), Key(0.35, Angle(-20)), Key(0.6, Angle(15)),
                                                Key(0.85, Angle(-20)), Key(1.1, Angle(15)), Key(1.35, Angle(-20)),
                                                Key(1.75, Angle(0)), Key(T, Angle(0))},
                                               8))
                          .Text(6));
  bones.Put("head", Obj()
                        .Put("rotate", Array({Key(0, Angle(0)), Key(0.4, Angle(6)), Key(1.4, Angle(6)),
                                              Key(1.8, Angle(0)), Key(T, Angle(0))},
                                             8))
                        .Text(6));
  bones.Put("torso", Obj()
                         .Put("rotate", Array({Key(0, Angle(0)), Key(0.4, Angle(-2.5)), Key(1.4, Angle(-2.5)),
                                               Key(1.8, Angle(0)), Key(T, Angle(0))},
                                              8))
                         .Text(6));
  bones.Put("lantern", Obj()
                           .Put("rotate", Array({Key(0, Angle(0)), Key(0.5, Angle(6)), Key(1.0, Angle(-4)),
                                                 Key(1.5, Angle(3)), Key(T, Angle(0))},
                                                8))
                           .Text(6));
  auto sine = [](double phase, double lag) { return std::sin(2 * kPi * (phase - lag)); };
  for (int i = 0; i < 3; ++i)
    bones.Put(
        kScarfBones[i],
        Obj()
            .Put("rotate", Array(Loop(T, 4, [&](double ph) { return Angle((3 + 3 * i) * sine(ph * 2, 0.15 * i)); }), 8))
            .Text(6));
  Obj slots;
  slots.Put("mouth", Obj()
                         .Put("attachment",
                              Array({Key(0, "\"name\": \"mouth\"", false), Key(0.3, "\"name\": \"mouth-open\"", false),
                                     Key(1.6, "\"name\": \"mouth\"", false)},
                                    8))
                         .Text(6));
  slots.Put("eyes", Obj()
                        .Put("attachment",
                             Array({Key(0, "\"name\": \"eyes\"", false), Key(1.2, "\"name\": \"eyes-closed\"", false),
                                    Key(1.32, "\"name\": \"eyes\"", false)},
                                   8))
                        .Text(6));
  // The waving arm comes in front of the head and hat while it is up.
  int shift = SlotIndex("hat") - SlotIndex("hand-R");
  std::vector<std::string> offsets;
  for (const char* s : {"upperarm-R", "forearm-R", "hand-R"})
    offsets.push_back("{\"slot\": " + Q(s) + ", \"offset\": " + std::to_string(shift) + "}");
  std::string drawOrder = Array({"{\"time\": 0.2, \"offsets\": " + Array(offsets) + "}", "{\"time\": 1.8}"}, 4);
  std::string events =
      Array({"{\"time\": 0.6, \"name\": \"wave\", \"int\": 1}", "{\"time\": 1.1, \"name\": \"wave\", \"int\": 2}"}, 4);
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
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const Placed* a, const Placed* b) { return a->piece->pixelHeight() > b->piece->pixelHeight(); });
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

using PartList = std::vector<std::unique_ptr<Placed>>;
using PartsByName = std::map<std::string, Piece*>;

// Packs the parts on one page and writes the page picture and the atlas text.
bool WriteAtlas(const std::string& outDir, PartList& parts, std::string& atlas) {
  std::vector<Placed*> placed;
  for (auto& p : parts) placed.push_back(p.get());
  int pageHeight = Pack(placed);
  std::vector<unsigned char> page(size_t(kPageWidth) * pageHeight * 4, 0);
  atlas = "\nChar01.png\nsize: " + std::to_string(kPageWidth) + "," + std::to_string(pageHeight) +
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
  return WriteText(outDir + "/skel_data/Char01.atlas", atlas);
}

// Local setup transforms, from the world positions the rig is drawn with.
std::string BonesJson(const Rig& rig) {
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
  return Array(bones, 2);
}

std::string SlotsJson() {
  std::vector<std::string> slots;
  for (const SlotDef& s : kSlots) {
    Obj o;
    o.Str("name", s.name).Str("bone", s.bone);
    if (!s.attachment.empty()) o.Str("attachment", s.attachment);
    if (!s.blend.empty()) o.Str("blend", s.blend);
    slots.push_back(o.Text());
  }
  return Array(slots, 2);
}

// Both arms reach for targets, so a hand can be moved and the elbow follows.
std::string IkJson() {
  return Array({Obj()
                    .Str("name", "arm-R-ik")
                    .Put("bones", "[\"upperarm-R\", \"forearm-R\"]")
                    .Str("target", "hand-R-target")
                    .Put("bendPositive", "false")
                    .Text(),
                Obj()
                    .Num("order", 1)
                    .Str("name", "arm-L-ik")
                    .Put("bones", "[\"upperarm-L\", \"forearm-L\"]")
                    .Str("target", "hand-L-target")
                    .Text()},
               2);
}

// The halo keeps to the flame but stays upright and round as the lantern swings.
std::string TransformJson() {
  return Array({Obj()
                    .Str("name", "glow-follow")
                    .Num("order", 2)
                    .Put("bones", "[\"glow\"]")
                    .Str("target", "flame")
                    .Num("rotateMix", 0)
                    .Num("translateMix", 1)
                    .Num("scaleMix", 0)
                    .Num("shearMix", 0)
                    .Text()},
               2);
}

std::string SkinsJson(const Rig& rig, const PartsByName& byName, const ScarfMesh& scarfMesh) {
  const Piece* scarfPiece = byName.at("scarf");
  // Region attachments sit at their picture's centre in the bone's frame.
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
    defaultAttachments.Put(
        "lantern-hook",
        Obj().Put("lantern-hook", Obj().Str("type", "point").Num("x", hook.x).Num("y", hook.y).Text()).Text(8));
  }
  // The captain's outfit: a peaked cap and a blue-and-white scarf.
  Obj captain;
  captain.Put("hat", Obj().Put("hat", region("hat", "hat", "hat-captain")).Text(8));
  captain.Put("scarf", Obj()
                           .Put("scarf", Obj()
                                             .Str("type", "linkedmesh")
                                             .Str("path", "scarf-blue")
                                             .Str("parent", "scarf")
                                             .Num("width", scarfPiece->width())
                                             .Num("height", scarfPiece->height())
                                             .Text())
                           .Text(8));
  captain.Put("scarf-wrap", Obj().Put("scarf-wrap", region("neck", "scarf-wrap", "scarf-wrap-blue")).Text(8));
  return Array({Obj().Str("name", "default").Put("attachments", defaultAttachments.Text(6)).Text(4),
                Obj().Str("name", "0_1").Put("attachments", captain.Text(6)).Text(4)},
               2);
}

// What the character draws over every skin and animation, as the game
// loads it (scale 1, the atlas without its page); false when it does not load.
bool DrawnBounds(const std::string& atlasText, const std::string& jsonText, skelcheck::DrawnBox& box) {
  skel::Atlas atlas(atlasText.data(), atlasText.size(), skel::String(""), nullptr);
  skel::SkeletonJson json(&atlas);
  std::unique_ptr<skel::SkeletonData> data(json.readSkeletonData(jsonText.c_str()));
  if (!data) {
    std::fprintf(stderr, "Char01.json does not load: %s\n", json.getError().buffer() ? json.getError().buffer() : "");
    return false;
  }
  box = skelcheck::MeasureAnimations(*data);
  return !box.Empty();
}

// Whole units round the box; a thousandth past a whole number is taken as
// rounding noise, so that builds whose last bits differ write the same file.
std::string HeaderJson(const skelcheck::DrawnBox& box) {
  const double x = std::floor(box.minX + 1e-3), y = std::floor(box.minY + 1e-3);
  const double right = std::ceil(box.maxX - 1e-3), top = std::ceil(box.maxY - 1e-3);
  Obj skeleton;
  skeleton.Str("hash", "char01-lamplighter").Str("version", "tarn-1").Num("x", x).Num("y", y);
  skeleton.Num("width", right - x).Num("height", top - y);
  skeleton.Num("fps", 30).Str("images", "./").Str("audio", "");
  return skeleton.Text();
}

}  // namespace

bool MakeChar01(const std::string& outDir) {
  Rig rig = MakeRig();
  PartList parts = DrawParts();
  PartsByName byName;
  for (auto& p : parts) byName[p->piece->name()] = p->piece.get();
  std::string atlasText;
  if (!WriteAtlas(outDir, parts, atlasText)) return false;

  const Piece* scarfPiece = byName.at("scarf");
  ScarfMesh scarfMesh = MakeScarfMesh(*scarfPiece);
  Obj events;
  events.Put("wave", Obj().Num("int", 0).Num("float", 0.5).Str("string", "hello").Text());
  Obj animations;
  animations.Put("idle", Idle(rig, scarfMesh, *scarfPiece));
  animations.Put("wave", Wave(rig, scarfMesh, *scarfPiece));

  const std::string bones = BonesJson(rig), skins = SkinsJson(rig, byName, scarfMesh);
  auto file = [&](const skelcheck::DrawnBox& box) {
    Obj root;
    root.Put("skeleton", HeaderJson(box));
    root.Put("bones", bones);
    root.Put("slots", SlotsJson());
    root.Put("ik", IkJson());
    root.Put("transform", TransformJson());
    root.Put("skins", skins);
    root.Put("events", events.Text(2));
    root.Put("animations", animations.Text(2));
    return root.Text(0) + "\n";
  };
  // The header's box must hold every pose drawn, so it is measured on the
  // skeleton itself, read first with an empty box.
  skelcheck::DrawnBox box;
  if (!DrawnBounds(atlasText, file({0, 0, 0, 0}), box)) return false;
  return WriteText(outDir + "/skel_data/Char01.json", file(box));
}

}  // namespace assetgen
