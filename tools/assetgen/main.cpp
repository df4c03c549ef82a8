// assetgen OUTDIR: writes the game's pictures, sounds and skeletal character
// into OUTDIR/gfx, OUTDIR/sound and OUTDIR/skel_data, and the program's icon
// into OUTDIR/icons. The output is committed; rerunning must give the same bytes.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "Assets.h"

namespace {

struct Family {
  const char* name;
  bool (*make)(const std::string& outDir);
};

const Family kFamilies[] = {
    {"workshop background", assetgen::MakeWorkshop},
    {"picture characters", assetgen::MakeCharacters},
    {"UI chime", assetgen::MakeChime},
    {"skeletal character", assetgen::MakeChar01},
    {"program icon", assetgen::MakeIcons},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
    return 2;
  }
  std::string outDir = argv[1];
  std::error_code error;
  for (const char* sub : {"gfx", "sound", "skel_data", "icons"}) {
    std::filesystem::create_directories(std::filesystem::path(outDir) / sub, error);
    if (error) {
      std::fprintf(stderr, "cannot create %s/%s: %s\n", outDir.c_str(), sub, error.message().c_str());
      return 1;
    }
  }
  for (const Family& family : kFamilies) {
    if (!family.make(outDir)) {
      std::fprintf(stderr, "failed to write the %s\n", family.name);
      return 1;
    }
  }
  return 0;
}
