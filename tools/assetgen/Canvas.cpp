// Shapes, paints, compositing and PNG output for the asset generator.
#include "Canvas.h"

#include <lodepng.h>

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

Shape Boxed(std::function<double(double, double)> f, double x0, double y0, double x1, double y1) {
  Shape s;
  s.distance = std::move(f);
  s.x0 = x0;
  s.y0 = y0;
  s.x1 = x1;
  s.y1 = y1;
  return s;
}

}  // namespace

Color Rgb(uint32_t rgb, double alpha) {
  return Color{((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0, (rgb & 0xff) / 255.0, alpha};
}

Color Mix(const Color& a, const Color& b, double t) {
  return Color{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Color Shade(const Color& c, double factor) {
  if (factor <= 1) return Color{c.r * factor, c.g * factor, c.b * factor, c.a};
  double t = factor - 1;
  return Color{c.r + (1 - c.r) * t, c.g + (1 - c.g) * t, c.b + (1 - c.b) * t, c.a};
}

Color WithAlpha(const Color& c, double alpha) { return Color{c.r, c.g, c.b, alpha}; }

Shape Circle(double cx, double cy, double r) {
  return Boxed([=](double x, double y) { return std::hypot(x - cx, y - cy) - r; }, cx - r, cy - r, cx + r, cy + r);
}

Shape Ellipse(double cx, double cy, double rx, double ry, double angle) {
  double c = std::cos(angle), s = std::sin(angle);
  double reach = std::max(rx, ry);
  return Boxed(
      [=](double x, double y) {
        double dx = x - cx, dy = y - cy;
        double lx = dx * c + dy * s, ly = -dx * s + dy * c;
        double k0 = std::hypot(lx / rx, ly / ry);
        double k1 = std::hypot(lx / (rx * rx), ly / (ry * ry));
        if (k1 == 0) return -std::min(rx, ry);
        return k0 * (k0 - 1) / k1;
      },
      cx - reach, cy - reach, cx + reach, cy + reach);
}

Shape RoundRect(double x0, double y0, double x1, double y1, double radius) {
  double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  double hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
  return Boxed(
      [=](double x, double y) {
        double qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
        double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
        return outside + std::min(std::max(qx, qy), 0.0) - radius;
      },
      x0, y0, x1, y1);
}

Shape Limb(Point a, Point b, double ra, double rb) {
  double r = std::max(ra, rb);
  return Boxed(
      [=](double x, double y) {
        double pax = x - a.x, pay = y - a.y, bax = b.x - a.x, bay = b.y - a.y;
        double len2 = bax * bax + bay * bay;
        double h = len2 > 0 ? Clamp01((pax * bax + pay * bay) / len2) : 0;
        return std::hypot(pax - bax * h, pay - bay * h) - (ra + (rb - ra) * h);
      },
      std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r, std::max(a.y, b.y) + r);
}

Shape Line(Point a, Point b, double width) { return Limb(a, b, width / 2, width / 2); }

Shape Polygon(std::vector<Point> v) {
  double x0 = v[0].x, y0 = v[0].y, x1 = x0, y1 = y0;
  for (const Point& p : v) {
    x0 = std::min(x0, p.x);
    y0 = std::min(y0, p.y);
    x1 = std::max(x1, p.x);
    y1 = std::max(y1, p.y);
  }
  return Boxed(
      [v = std::move(v)](double x, double y) {
        size_t n = v.size();
        double best = (x - v[0].x) * (x - v[0].x) + (y - v[0].y) * (y - v[0].y);
        double sign = 1;
        for (size_t i = 0, j = n - 1; i < n; j = i, ++i) {
          double ex = v[j].x - v[i].x, ey = v[j].y - v[i].y;
          double wx = x - v[i].x, wy = y - v[i].y;
          double len2 = ex * ex + ey * ey;
          double h = len2 > 0 ? Clamp01((wx * ex + wy * ey) / len2) : 0;
          double bx = wx - ex * h, by = wy - ey * h;
          best = std::min(best, bx * bx + by * by);
          bool c1 = y >= v[i].y, c2 = y<v[j].y, c3 = ex * wy> ey * wx;
          if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) sign = -sign;
        }
        return sign * std::sqrt(best);
      },
      x0, y0, x1, y1);
}

Shape Intersect(const Shape& a, const Shape& b) {
  auto fa = a.distance, fb = b.distance;
  return Boxed([=](double x, double y) { return std::max(fa(x, y), fb(x, y)); }, std::max(a.x0, b.x0),
               std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1));
}

Shape Subtract(const Shape& a, const Shape& b) {
  auto fa = a.distance, fb = b.distance;
  return Boxed([=](double x, double y) { return std::max(fa(x, y), -fb(x, y)); }, a.x0, a.y0, a.x1, a.y1);
}

Shape Union(const Shape& a, const Shape& b) {
  auto fa = a.distance, fb = b.distance;
  return Boxed([=](double x, double y) { return std::min(fa(x, y), fb(x, y)); }, std::min(a.x0, b.x0),
               std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1));
}

Shape Grow(const Shape& s, double by) {
  auto f = s.distance;
  return Boxed([=](double x, double y) { return f(x, y) - by; }, s.x0 - by, s.y0 - by, s.x1 + by, s.y1 + by);
}

Shape Translate(const Shape& s, double dx, double dy) {
  auto f = s.distance;
  return Boxed([=](double x, double y) { return f(x - dx, y - dy); }, s.x0 + dx, s.y0 + dy, s.x1 + dx, s.y1 + dy);
}

Path& Path::To(Point p) {
  points_.push_back(p);
  return *this;
}

// Fixed step counts keep the flattening independent of the curve's size.
Path& Path::Quad(Point c, Point e) {
  Point s = points_.back();
  const int steps = 16;
  for (int i = 1; i <= steps; ++i) {
    double t = double(i) / steps, u = 1 - t;
    points_.push_back({u * u * s.x + 2 * u * t * c.x + t * t * e.x, u * u * s.y + 2 * u * t * c.y + t * t * e.y});
  }
  return *this;
}

Path& Path::Cubic(Point c1, Point c2, Point e) {
  Point s = points_.back();
  const int steps = 24;
  for (int i = 1; i <= steps; ++i) {
    double t = double(i) / steps, u = 1 - t;
    double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    points_.push_back({a * s.x + b * c1.x + c * c2.x + d * e.x, a * s.y + b * c1.y + c * c2.y + d * e.y});
  }
  return *this;
}

Paint Solid(const Color& c) {
  return [c](double, double) { return c; };
}

Paint Linear(Point from, Point to, const Color& a, const Color& b) {
  double dx = to.x - from.x, dy = to.y - from.y;
  double len2 = dx * dx + dy * dy;
  return [=](double x, double y) {
    double t = len2 > 0 ? Clamp01(((x - from.x) * dx + (y - from.y) * dy) / len2) : 0;
    return Mix(a, b, t);
  };
}

Paint Radial(Point centre, double radius, const Color& inner, const Color& outer) {
  return
      [=](double x, double y) { return Mix(inner, outer, Clamp01(std::hypot(x - centre.x, y - centre.y) / radius)); };
}

Canvas::Canvas(int width, int height) : width_(width), height_(height), px_(size_t(width) * height * 4, 0.0) {}

void Canvas::Fill(const Shape& shape, const Paint& paint, Blend blend, double softness) {
  double margin = softness + 1;
  int xs = std::max(0, int(std::floor(shape.x0 - margin)));
  int ys = std::max(0, int(std::floor(shape.y0 - margin)));
  int xe = std::min(width_ - 1, int(std::ceil(shape.x1 + margin)));
  int ye = std::min(height_ - 1, int(std::ceil(shape.y1 + margin)));
  for (int y = ys; y <= ye; ++y) {
    for (int x = xs; x <= xe; ++x) {
      double fx = x + 0.5, fy = y + 0.5;
      double coverage = Clamp01(0.5 - shape.distance(fx, fy) / softness);
      if (coverage <= 0) continue;
      Color c = paint(fx, fy);
      double sa = Clamp01(c.a) * coverage;
      double* d = &px_[(size_t(y) * width_ + x) * 4];
      if (blend == Blend::Over) {
        d[0] = c.r * sa + d[0] * (1 - sa);
        d[1] = c.g * sa + d[1] * (1 - sa);
        d[2] = c.b * sa + d[2] * (1 - sa);
      } else {
        d[0] += c.r * sa;
        d[1] += c.g * sa;
        d[2] += c.b * sa;
      }
      d[3] = sa + d[3] * (1 - sa);
    }
  }
}

void Canvas::Mask(const Shape& shape) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      double coverage = Clamp01(0.5 - shape.distance(x + 0.5, y + 0.5));
      double* d = &px_[(size_t(y) * width_ + x) * 4];
      for (int i = 0; i < 4; ++i) d[i] *= coverage;
    }
  }
}

Color Canvas::Pixel(int x, int y) const {
  const double* d = &px_[(size_t(y) * width_ + x) * 4];
  if (d[3] <= 0) return Color{0, 0, 0, 0};
  return Color{std::min(1.0, d[0] / d[3]), std::min(1.0, d[1] / d[3]), std::min(1.0, d[2] / d[3]), Clamp01(d[3])};
}

std::vector<unsigned char> Canvas::ToRgba8() const {
  std::vector<unsigned char> out(size_t(width_) * height_ * 4);
  auto byte = [](double v) { return static_cast<unsigned char>(std::lround(Clamp01(v) * 255.0)); };
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      Color c = Pixel(x, y);
      unsigned char* o = &out[(size_t(y) * width_ + x) * 4];
      o[3] = byte(c.a);
      // Fully transparent pixels keep black so nothing stray bleeds through filtering.
      if (o[3] == 0) continue;
      o[0] = byte(c.r);
      o[1] = byte(c.g);
      o[2] = byte(c.b);
    }
  }
  return out;
}

namespace {

uint32_t Hash(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B9u ^ uint32_t(x) * 0x85EBCA6Bu ^ uint32_t(y) * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

double Lattice(int32_t x, int32_t y, uint32_t seed) { return (Hash(x, y, seed) >> 8) / double(1u << 24); }

}  // namespace

double Noise(double x, double y, uint32_t seed) {
  double fx = std::floor(x), fy = std::floor(y);
  int32_t ix = int32_t(fx), iy = int32_t(fy);
  double tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  double a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
  double c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
  double top = a + (b - a) * tx, bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

double Fractal(double x, double y, uint32_t seed, int octaves) {
  double sum = 0, weight = 1, total = 0, scale = 1;
  for (int i = 0; i < octaves; ++i) {
    sum += Noise(x * scale, y * scale, seed + uint32_t(i) * 101u) * weight;
    total += weight;
    weight *= 0.5;
    scale *= 2;
  }
  return sum / total;
}

uint32_t Random::Next() {
  // xorshift32: small, and the same sequence on every platform.
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

double Random::Uniform(double lo, double hi) { return lo + (hi - lo) * ((Next() >> 8) / double(1u << 24)); }

bool WritePng(const std::string& path, const Canvas& canvas) {
  std::vector<unsigned char> png;
  if (lodepng::encode(png, canvas.ToRgba8(), unsigned(canvas.width()), unsigned(canvas.height())) != 0) return false;
  return lodepng::save_file(png, path) == 0;
}

}  // namespace assetgen
