// PictureDecoder: decodes PNG pictures to 8-bit RGBA, on the caller's thread
// or ahead of time on worker threads. Start-up names the pictures it will
// load; they decode side by side while the frame thread does other work, and
// each sprite then takes its picture when it uploads it, in the order it
// always did. Only the frame thread calls these.
#pragma once

#include <cstdlib>
#include <memory>
#include <string>

namespace TarnFramework {

class PictureDecoder {
 public:
  struct FreeBlock {
    void operator()(unsigned char* p) const { std::free(p); }
  };
  struct Picture {
    unsigned width = 0, height = 0;
    std::unique_ptr<unsigned char, FreeBlock> pixels;  // null when the file made no picture
    std::string why;                                   // why it made none
  };

  // Reads and decodes the file (path with '\' separators). A missing,
  // undecodable or empty picture, or one with a side over maxSide (checked
  // from the header before anything is decoded), gives no pixels and a reason.
  static void Decode(const char* path, unsigned maxSide, Picture& picture);
  // Queues the file for the workers, bounded by the current GL context's
  // largest texture side. At most two decoded pictures wait to be taken, so
  // that memory does not grow with the list.
  static void Request(const char* path);
  // The picture requested for path, waiting for it (decoded here if no
  // worker started it yet); false when it was not requested.
  static bool Take(const char* path, Picture& picture);
  // Stops the workers and drops pictures nobody took.
  static void Finish();
};

}  // namespace TarnFramework
