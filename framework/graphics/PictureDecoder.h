/// @class TarnFramework::PictureDecoder
/// Decodes PNG pictures to 8-bit RGBA, on the caller's thread
/// or ahead of time on a worker thread. Start-up names the pictures it will
/// load before the window opens; they decode while the window and the fonts are
/// made, and each sprite then takes its picture when it uploads it, in the
/// order it always did. Only the frame thread calls these.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string>

namespace TarnFramework {

class PictureDecoder {
 public:
  /// Frees decoded pixels, which come from the C heap.
  struct FreeBlock {
    /// Frees p.
    void operator()(unsigned char* p) const { std::free(p); }
  };
  /// A decoded picture, or why there is none.
  struct Picture {
    /// The size in pixels.
    /// @{
    unsigned width = 0, height = 0;
    /// @}
    std::unique_ptr<unsigned char, FreeBlock> pixels;  ///< Null when the file made no picture.
    std::string why;                                   ///< Why it made none.
  };

  /// Reads and decodes the file (path with '\' separators). A missing,
  /// undecodable or empty picture, or one with a side over maxSide (checked
  /// from the header before anything is decoded), gives no pixels and a reason.
  static void Decode(const char* path, unsigned maxSide, Picture& picture);
  /// The same for a PNG file already in memory (an icon built into the program).
  static void DecodeBytes(const unsigned char* bytes, size_t size, unsigned maxSide, Picture& picture);
  /// Queues the file for the worker; needs no GL context, so start-up can ask
  /// before the window opens. At most eight decoded pictures wait to be taken,
  /// so that memory does not grow with the list. Without a worker (no thread
  /// to be had) the picture decodes when it is taken.
  static void Request(const char* path);
  /// The picture requested for path, waiting for it (decoded here if the
  /// worker has not started it yet); false when it was not requested. Needs
  /// the GL context: a picture larger than its largest texture gives no pixels.
  static bool Take(const char* path, Picture& picture);
  /// Why a picture of w x h pixels makes no texture where sides end at maxSide.
  static std::string TooLarge(unsigned w, unsigned h, unsigned maxSide);
  /// Stops the worker and drops pictures nobody took.
  static void Finish();
};

}  // namespace TarnFramework
