#include "GameWindow.h"

namespace {

// The committed icons' bytes, written out by cmake/EmbedBytes.cmake.
const unsigned char kIcon48[] = {
#include "icons/tarn-48.png.inc"
};
const unsigned char kIcon128[] = {
#include "icons/tarn-128.png.inc"
};
const unsigned char kIcon256[] = {
#include "icons/tarn-256.png.inc"
};

}  // namespace

TarnFramework::WindowRequest GameWindowRequest() {
  TarnFramework::WindowRequest request;
  request.x11Class = kGameWindowClass;
  request.minWidth = kGameMinWidth;
  request.minHeight = kGameMinHeight;
  request.icons = {{kIcon48, sizeof kIcon48}, {kIcon128, sizeof kIcon128}, {kIcon256, sizeof kIcon256}};
  return request;
}
