// Every family of generated assets has one source file and one entry here.
#pragma once

#include <string>

namespace assetgen {

// Each writes its files under outDir (whose gfx, sound, skel_data and icons folders exist) and
// returns false when a file cannot be written.
bool MakeWorkshop(const std::string& outDir);
bool MakeCharacters(const std::string& outDir);
bool MakeChime(const std::string& outDir);
bool MakeChar01(const std::string& outDir);
// The program's icon at 48, 128 and 256 pixels, for the desktop entry.
bool MakeIcons(const std::string& outDir);

}  // namespace assetgen
