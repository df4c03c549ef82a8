#include "BenchSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>

void EnterWorkdir() {
  if (chdir(TARN_WORKDIR) != 0) {
    std::perror(TARN_WORKDIR);
    std::exit(1);
  }
}

size_t FileSize(const char* path) {
  struct stat st;
  return stat(path, &st) == 0 ? static_cast<size_t>(st.st_size) : 0;
}

namespace {

// Fixed seed: every run parses the same bytes.
unsigned next(unsigned& seed) {
  seed = seed * 1103515245u + 12345u;
  return (seed >> 8) & 0xFFFF;
}

void number(std::string& out, unsigned& seed) {
  char buffer[32];
  const int whole = static_cast<int>(next(seed) % 2000) - 1000;
  std::snprintf(buffer, sizeof buffer, "%d.%04u", whole, next(seed) % 10000);
  out += buffer;
}

std::string generate(size_t minBytes) {
  std::string out;
  out.reserve(minBytes + minBytes / 8);
  unsigned seed = 12345;
  out += "{\n\"skeleton\": { \"hash\": \"bench\", \"version\": \"tarn-1\", \"width\": 512.5, \"height\": 900.25 },\n";
  out += "\"bones\": [\n";
  const int bones = 400;
  for (int i = 0; i < bones; ++i) {
    out += "  { \"name\": \"bone" + std::to_string(i) + "\"";
    if (i > 0) out += ", \"parent\": \"bone" + std::to_string((i - 1) / 2) + "\"";
    out += ", \"length\": ";
    number(out, seed);
    out += ", \"rotation\": ";
    number(out, seed);
    out += ", \"x\": ";
    number(out, seed);
    out += ", \"y\": ";
    number(out, seed);
    out += " }";
    out += i + 1 < bones ? ",\n" : "\n";
  }
  out += "],\n\"slots\": [\n";
  for (int i = 0; i < bones; ++i) {
    out += "  { \"name\": \"slot" + std::to_string(i) + "\", \"bone\": \"bone" + std::to_string(i) +
           "\", \"attachment\": \"mesh" + std::to_string(i) + "\", \"color\": \"ffffffff\" }";
    out += i + 1 < bones ? ",\n" : "\n";
  }
  out += "],\n\"skins\": [ { \"name\": \"default\", \"attachments\": {\n";
  // Meshes, then animations, until the size is reached.
  const size_t meshShare = minBytes / 2;
  int mesh = 0;
  while (out.size() < meshShare) {
    if (mesh > 0) out += ",\n";
    out += "  \"slot" + std::to_string(mesh % bones) + "_" + std::to_string(mesh) + "\": { \"mesh" +
           std::to_string(mesh) + "\": { \"type\": \"mesh\", \"uvs\": [ ";
    for (int k = 0; k < 64; ++k) {
      if (k) out += ", ";
      number(out, seed);
    }
    out += " ], \"triangles\": [ ";
    for (int k = 0; k < 48; ++k) {
      if (k) out += ", ";
      out += std::to_string(next(seed) % 32);
    }
    out += " ], \"vertices\": [ ";
    for (int k = 0; k < 64; ++k) {
      if (k) out += ", ";
      number(out, seed);
    }
    out += " ], \"hull\": 16, \"width\": 128, \"height\": 128 } }";
    ++mesh;
  }
  out += "\n} } ],\n\"animations\": {\n";
  int animation = 0;
  while (out.size() < minBytes) {
    if (animation > 0) out += ",\n";
    out += "  \"anim" + std::to_string(animation) + "\": { \"bones\": {\n";
    for (int b = 0; b < 40; ++b) {
      if (b) out += ",\n";
      out += "    \"bone" + std::to_string(b) + "\": { \"rotate\": [ ";
      for (int k = 0; k < 8; ++k) {
        if (k) out += ", ";
        out += "{ \"time\": " + std::to_string(k) + ".25, \"angle\": ";
        number(out, seed);
        out += k % 2 ? ", \"curve\": 0.25, \"c2\": 0.1, \"c3\": 0.75, \"c4\": 1 }" : " }";
      }
      out += " ], \"translate\": [ { \"x\": ";
      number(out, seed);
      out += ", \"y\": ";
      number(out, seed);
      out += " }, { \"time\": 1.5, \"curve\": \"stepped\" } ] }";
    }
    out += "\n  } }";
    ++animation;
  }
  out += "\n}\n}\n";
  return out;
}

}  // namespace

const std::string& SkeletonLikeJson(size_t minBytes) {
  static std::map<size_t, std::string> made;
  auto found = made.find(minBytes);
  if (found == made.end()) found = made.emplace(minBytes, generate(minBytes)).first;
  return found->second;
}

const char* ScaleShapeName(ScaleShape shape) { return shape == ScaleShape::Chain ? "chain" : "wide"; }

std::string ScaleSkeletonJson(int bones, ScaleShape shape) {
  std::string out;
  out.reserve(static_cast<size_t>(bones) * 260);
  out += "{\n\"skeleton\": { \"hash\": \"scale-" + std::to_string(bones) + "\", \"version\": \"tarn-1\", ";
  out += "\"width\": 400, \"height\": 400 },\n\"bones\": [\n  { \"name\": \"bone0\" }";
  for (int i = 1; i < bones; ++i) {
    const int parent = shape == ScaleShape::Chain ? i - 1 : (i - 1) / 32;
    const std::string n = std::to_string(i);
    out += ",\n  { \"name\": \"bone" + n + "\", \"parent\": \"bone" + std::to_string(parent) +
           "\", \"length\": 10, \"x\": 10, \"rotation\": " + std::to_string(i % 7 - 3) + " }";
  }
  out += "\n],\n\"slots\": [\n";
  for (int i = 0; i < bones; ++i) {
    const std::string n = std::to_string(i);
    out += "  { \"name\": \"slot" + n + "\", \"bone\": \"bone" + n + "\", \"attachment\": \"part" + n + "\" }";
    out += i + 1 < bones ? ",\n" : "\n";
  }
  out += "],\n\"skins\": [ { \"name\": \"default\", \"attachments\": {\n";
  for (int i = 0; i < bones; ++i) {
    const std::string n = std::to_string(i);
    out += "  \"slot" + n + "\": { \"part" + n + "\": { \"x\": 4, \"y\": 0, \"width\": 8, \"height\": 8 } }";
    out += i + 1 < bones ? ",\n" : "\n";
  }
  out += "} } ],\n\"animations\": {\n";
  const char* names[] = {"sway", "turn"};
  for (int a = 0; a < 2; ++a) {
    out += std::string("  \"") + names[a] + "\": { \"bones\": {\n";
    for (int i = 0; i < bones; ++i) {
      const std::string angle = std::to_string(a == 0 ? 4 + i % 5 : -6 - i % 3);
      out += "    \"bone" + std::to_string(i) + "\": { \"rotate\": [ { \"time\": 0, \"angle\": 0 }, " +
             "{ \"time\": 0.5, \"angle\": " + angle + " }, { \"time\": 1, \"angle\": 0 } ] }";
      out += i + 1 < bones ? ",\n" : "\n";
    }
    out += a == 0 ? "  } },\n" : "  } }\n";
  }
  out += "}\n}\n";
  return out;
}

std::string ScaleAtlasText(int bones, const char* pageName) {
  std::string out;
  out.reserve(static_cast<size_t>(bones) * 110);
  const std::string page = std::to_string(kScalePageSize);
  out += std::string("\n") + pageName + "\nsize: " + page + "," + page +
         "\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n";
  // 8 x 8 cells, reused: regions may share pixels.
  const int cells = kScalePageSize / 8;
  for (int i = 0; i < bones; ++i) {
    const int cell = i % (cells * cells);
    out += "part" + std::to_string(i) + "\n  rotate: false\n  xy: " + std::to_string(cell % cells * 8) + ", " +
           std::to_string(cell / cells * 8) + "\n  size: 8, 8\n  orig: 8, 8\n  offset: 0, 0\n  index: -1\n";
  }
  return out;
}
