#include "XWindowTools.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <lodepng.h>

#include <cstring>
#include <vector>

namespace tarn_xwin {

namespace {

bool g_captureFailed = false;

int NoteCaptureError(Display*, XErrorEvent*) {
  g_captureFailed = true;
  return 0;
}

pid_t WindowPid(Display* display, Window window) {
  Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  pid_t pid = -1;
  if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &remaining,
                         &data) == Success &&
      data) {
    if (format == 32 && count == 1) pid = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
    XFree(data);
  }
  return pid;
}

Window Search(Display* display, Window from, const char* title, pid_t pid) {
  char* name = nullptr;
  if (XFetchName(display, from, &name) && name) {
    bool match = std::strcmp(name, title) == 0 && (pid <= 0 || WindowPid(display, from) == pid);
    XFree(name);
    if (match) return from;
  }
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  if (XQueryTree(display, from, &root, &parent, &children, &count)) {
    for (unsigned int i = 0; i < count && !found; ++i) found = Search(display, children[i], title, pid);
    if (children) XFree(children);
  }
  return found;
}

// Position of the lowest set bit and the width of a channel mask.
void MaskShape(unsigned long mask, int* shift, int* bits) {
  *shift = 0;
  *bits = 0;
  if (!mask) return;
  while (!(mask & 1)) {
    mask >>= 1;
    ++*shift;
  }
  while (mask & 1) {
    mask >>= 1;
    ++*bits;
  }
}

uint8_t Channel(unsigned long pixel, int shift, int bits) {
  if (bits == 0) return 0;
  unsigned long value = (pixel >> shift) & ((1ul << bits) - 1);
  return static_cast<uint8_t>(value * 255 / ((1ul << bits) - 1));
}

}  // namespace

Window FindWindowByTitle(Display* display, const char* title, pid_t pid) {
  if (!display || !title) return 0;
  return Search(display, DefaultRootWindow(display), title, pid);
}

void SendDeleteWindow(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

bool CaptureWindowPixels(Display* display, Window window, std::vector<unsigned char>& rgba, unsigned& width,
                         unsigned& height) {
  XWindowAttributes attributes;
  // A window not (or no longer) on screen has no image; Xlib's default
  // handler would end the whole process over the BadMatch.
  if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return false;
  XSync(display, False);
  g_captureFailed = false;
  XErrorHandler previous = XSetErrorHandler(NoteCaptureError);
  XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
  XSync(display, False);
  XSetErrorHandler(previous);
  if (image && g_captureFailed) {
    XDestroyImage(image);
    image = nullptr;
  }
  if (!image) return false;
  int rShift, rBits, gShift, gBits, bShift, bBits;
  MaskShape(image->red_mask, &rShift, &rBits);
  MaskShape(image->green_mask, &gShift, &gBits);
  MaskShape(image->blue_mask, &bShift, &bBits);
  rgba.assign(static_cast<size_t>(image->width) * image->height * 4, 0);
  for (int y = 0; y < image->height; ++y) {
    for (int x = 0; x < image->width; ++x) {
      unsigned long pixel = XGetPixel(image, x, y);
      unsigned char* out = &rgba[(static_cast<size_t>(y) * image->width + x) * 4];
      out[0] = Channel(pixel, rShift, rBits);
      out[1] = Channel(pixel, gShift, gBits);
      out[2] = Channel(pixel, bShift, bBits);
      out[3] = 255;
    }
  }
  width = image->width;
  height = image->height;
  XDestroyImage(image);
  return true;
}

bool CaptureWindow(Display* display, Window window, const std::string& pngPath) {
  std::vector<unsigned char> rgba;
  unsigned width = 0, height = 0;
  return CaptureWindowPixels(display, window, rgba, width, height) &&
         lodepng::encode(pngPath, rgba, width, height) == 0;
}

}  // namespace tarn_xwin
