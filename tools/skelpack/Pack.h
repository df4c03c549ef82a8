// One run of skelpack: the pictures of a folder into an atlas and its pages.
#pragma once

#include <string>
#include <vector>

#include "Layout.h"
#include "Options.h"
#include "Pictures.h"

namespace skelpack {

struct Page {
  std::string name;  // the image file's name, as the atlas writes it
  int width = 0, height = 0;
  std::vector<unsigned char> rgba;
};

struct Packed {
  std::string atlas;  // the atlas text
  std::vector<Page> pages;
  long long keptArea = 0;  // pixels of the rectangles stored, without padding
};

// Lays out and draws the pictures (as LoadPictures left them); false with
// the refusal in error when a picture does not fit a page.
bool PackPictures(const std::vector<Picture>& pictures, const Options& options, const std::string& pageBase,
                  Packed& packed, std::string& error);

// The page image file names of an output ("out/hero": hero.png, hero_2.png, ...).
std::string PageName(const std::string& base, size_t page);

// Writes OUTPUT.atlas and its pages, all or nothing.
bool WritePacked(const Packed& packed, const std::string& output, std::string& error);

// The whole run: exit code 0, or 1 with the refusal in error.
int Run(const Options& options, std::string& error, Packed* result = nullptr);

}  // namespace skelpack
