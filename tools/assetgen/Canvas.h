// A small software rasteriser: anti-aliased shapes described by signed
// distance functions, painted with solid colours or gradients and composited
// in double precision. Everything is deterministic so generated files can be
// compared byte for byte.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace assetgen {

// Straight (not premultiplied) colour, each channel 0..1.
struct Color {
  double r = 0, g = 0, b = 0, a = 1;
};

// 0xRRGGBB with an alpha of 0..1.
Color Rgb(uint32_t rgb, double alpha = 1.0);
Color Mix(const Color& a, const Color& b, double t);
Color Shade(const Color& c, double factor);  // factor < 1 darkens, > 1 lightens
Color WithAlpha(const Color& c, double alpha);

struct Point {
  double x = 0, y = 0;
};

// A shape is a signed distance in pixels (negative inside) plus the box
// outside which it is known to be empty.
struct Shape {
  std::function<double(double, double)> distance;
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

using Paint = std::function<Color(double, double)>;

Shape Circle(double cx, double cy, double r);
Shape Ellipse(double cx, double cy, double rx, double ry, double angle = 0.0);
Shape RoundRect(double x0, double y0, double x1, double y1, double radius);
// A segment with round ends whose radius goes from ra at a to rb at b.
Shape Limb(Point a, Point b, double ra, double rb);
Shape Line(Point a, Point b, double width);
Shape Polygon(std::vector<Point> points);
Shape Intersect(const Shape& a, const Shape& b);
Shape Subtract(const Shape& a, const Shape& b);
Shape Union(const Shape& a, const Shape& b);
Shape Grow(const Shape& s, double by);
Shape Translate(const Shape& s, double dx, double dy);

// Builds smooth outlines; curves are flattened into the point list.
class Path {
 public:
  explicit Path(Point start) { points_.push_back(start); }
  Path& To(Point p);
  Path& Quad(Point control, Point end);
  Path& Cubic(Point c1, Point c2, Point end);
  Shape Close() const { return Polygon(points_); }
  const std::vector<Point>& points() const { return points_; }

 private:
  std::vector<Point> points_;
};

Paint Solid(const Color& c);
Paint Linear(Point from, Point to, const Color& a, const Color& b);
Paint Radial(Point centre, double radius, const Color& inner, const Color& outer);

enum class Blend { Over, Add };

class Canvas {
 public:
  Canvas(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }

  // softness widens the anti-aliased edge, for glows and soft shadows.
  void Fill(const Shape& shape, const Paint& paint, Blend blend = Blend::Over, double softness = 1.0);
  void Fill(const Shape& shape, const Color& color, Blend blend = Blend::Over, double softness = 1.0) {
    Fill(shape, Solid(color), blend, softness);
  }

  // Keeps only what lies inside shape (edges anti-aliased as by Fill).
  void Mask(const Shape& shape);

  // 8-bit RGBA, straight alpha, rows top to bottom.
  std::vector<unsigned char> ToRgba8() const;
  Color Pixel(int x, int y) const;

 private:
  int width_, height_;
  std::vector<double> px_;  // premultiplied RGBA
};

// Smooth value noise in 0..1, fixed by seed; the same everywhere.
double Noise(double x, double y, uint32_t seed);
// Sum of octaves of Noise, still 0..1.
double Fractal(double x, double y, uint32_t seed, int octaves);
// Deterministic pseudo-random numbers for scattering details.
class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed * 2654435761u + 1u) {}
  uint32_t Next();
  double Uniform(double lo, double hi);

 private:
  uint32_t state_;
};

bool WritePng(const std::string& path, const Canvas& canvas);

}  // namespace assetgen
