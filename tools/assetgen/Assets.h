// Every family of generated assets has one source file and one entry here.
#pragma once

#include <string>

namespace assetgen {

// Each writes its files under outDir (whose gfx, sound and skel_data folders exist) and
// returns false when a file cannot be written.
bool MakeWorkshop(const std::string& outDir);
bool MakeCharacters(const std::string& outDir);
bool MakeChime(const std::string& outDir);
bool MakeChar01(const std::string& outDir);

}  // namespace assetgen
