// The regions a skeleton's meshes draw from. A mesh spans its whole picture,
// so a trimmed one would show whatever lies beside its region on the page.
#pragma once

#include <set>
#include <string>

namespace skelpack {

// Adds the region names of every mesh and linked mesh in the skeleton JSON
// at path; false with the reason in error when it cannot be read.
bool AddMeshRegions(const std::string& path, std::set<std::string>& regions, std::string& error);

}  // namespace skelpack
