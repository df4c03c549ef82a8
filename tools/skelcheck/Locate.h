// Places a skeleton loader error in the file. The loader stops at the first
// problem and names only the missing thing; a content maker needs the
// section and entry that named it, and a likely intended name.
#pragma once

#include <string>
#include <vector>

namespace skel {
class Atlas;
class Json;
}  // namespace skel

namespace skelcheck {

// "PLACE: what is wrong" for the loader's error text, searched in root (the
// same skeleton text) in the order the loader reads it; empty when the
// error names nothing that can be found.
std::string LocateLoaderError(const std::string& error, skel::Json* root, const skel::Atlas& atlas);

// Up to three of names closest to name in spelling, when close enough to be
// a likely slip: " (did you mean "a" or "b"?)", or empty.
std::string DidYouMean(const std::string& name, const std::vector<std::string>& names);

// "the name "arm  " ends in two spaces" when name ends in white space; else empty.
std::string SpacesAtEnd(const std::string& name);

}  // namespace skelcheck
