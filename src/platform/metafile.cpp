#include "platform/metafile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/bmp_codec.h"
#include "platform/error.h"
#include "platform/fonts.h"
#include "platform/picture.h"
#include "platform/raster.h"
#include "platform/region.h"
#include "platform/text.h"

namespace platform {

namespace {

const char kInvalid[] = "Metafile is not valid";
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr uint32_t kEmfSignature = 0x464D4520u;  // " EMF"
constexpr int kMaxNaturalSide = 4096;
constexpr int kMaxRecords = 2000000;

// Little-endian reads that never leave the buffer: out-of-range reads give 0.
struct Reader {
  const uint8_t* p = nullptr;
  size_t n = 0;
  uint8_t U8(size_t o) const { return o < n ? p[o] : 0; }
  uint16_t U16(size_t o) const { return o + 2 <= n ? static_cast<uint16_t>(p[o] | (p[o + 1] << 8)) : 0; }
  int16_t S16(size_t o) const { return static_cast<int16_t>(U16(o)); }
  uint32_t U32(size_t o) const {
    return o + 4 <= n ? p[o] | (p[o + 1] << 8) | (p[o + 2] << 16) | (static_cast<uint32_t>(p[o + 3]) << 24) : 0;
  }
  int32_t S32(size_t o) const { return static_cast<int32_t>(U32(o)); }
  float F32(size_t o) const {
    const uint32_t v = U32(o);
    float f;
    std::memcpy(&f, &v, 4);
    return std::isfinite(f) ? f : 0.0f;
  }
  bool Has(size_t o, size_t len) const { return o <= n && len <= n - o; }
};

struct PointF {
  double x, y;
};

struct Pen {
  bool visible = true;
  double width = 0;  // logical units; 0 = one pixel
  Color color = 0;
};
struct Brush {
  bool visible = true;
  Color color = Rgb(255, 255, 255);
};
struct LogFont {
  int height = -12, weight = 400;
  bool italic = false, underline = false, strike = false;
  std::string face = "宋体";  // GBK
};

struct Object {
  enum Kind { None, PenObj, BrushObj, FontObj, Other } kind = None;
  Pen pen;
  Brush brush;
  LogFont font;
};

struct Xform {
  double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
  PointF Apply(PointF p) const { return {p.x * m11 + p.y * m21 + dx, p.x * m12 + p.y * m22 + dy}; }
  // this applied after o
  Xform Then(const Xform& o) const {
    Xform r;
    r.m11 = o.m11 * m11 + o.m12 * m21;
    r.m12 = o.m11 * m12 + o.m12 * m22;
    r.m21 = o.m21 * m11 + o.m22 * m21;
    r.m22 = o.m21 * m12 + o.m22 * m22;
    r.dx = o.dx * m11 + o.dy * m21 + dx;
    r.dy = o.dx * m12 + o.dy * m22 + dy;
    return r;
  }
};

struct DcState {
  int mapMode = 1;  // MM_TEXT
  PointF winOrg{0, 0}, winExt{1, 1}, vpOrg{0, 0}, vpExt{1, 1};
  Xform world;
  Pen pen;
  Brush brush;
  LogFont font;
  Color textColor = 0, bkColor = Rgb(255, 255, 255);
  bool opaqueBk = true;
  uint32_t textAlign = 0;
  PolyFillMode fill = PolyFillMode::Alternate;
  PointF cur{0, 0};  // current position, logical
};

// A double as an int, limited so that no conversion overflows (NaN gives 0).
int ToInt(double v) {
  if (!(v == v)) return 0;
  return static_cast<int>(std::lround(std::clamp(v, -1e9, 1e9)));
}

Color Cref(uint32_t v) { return static_cast<Color>(v & 0x00FFFFFF); }

// Draws shapes in output pixels onto a 32-bit canvas that starts transparent.
class Canvas {
 public:
  explicit Canvas(Bitmap& b) : b_(b), bounds_(Rect::FromSize(0, 0, b.Width(), b.Height())) {}

  void FillPolys(const std::vector<std::vector<PointF>>& polys, PolyFillMode mode, Color c) {
    std::vector<std::vector<Point>> ip;
    for (const auto& poly : polys) {
      std::vector<Point> q;
      for (const PointF& p : poly) q.push_back(Round(p));
      ip.push_back(std::move(q));
    }
    const Region r = Region::PolyPolygon(ip, mode, &bounds_);
    if (Spend(r.Area())) FillRegion(b_, r, c, 255);
  }

  // Strokes an open or closed line of the given pixel width with round joins.
  void Stroke(const std::vector<PointF>& pts, bool closed, double width, Color c) {
    if (pts.empty()) return;
    if (width <= 1.5) {
      for (size_t k = 0; k + 1 < pts.size(); ++k) Line(pts[k], pts[k + 1], c);
      if (closed && pts.size() > 2) Line(pts.back(), pts.front(), c);
      if (pts.size() == 1) Plot(Round(pts[0]), c);
      return;
    }
    const double h = width / 2;
    std::vector<std::vector<PointF>> shapes;
    auto segment = [&](PointF a, PointF b) {
      const double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
      if (len < 1e-9) return;
      const double nx = -dy / len * h, ny = dx / len * h;
      // Counter-clockwise in every case, so that the winding rule unites them.
      shapes.push_back({{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}});
      Orient(shapes.back());
    };
    auto joint = [&](PointF p) {
      std::vector<PointF> circle;
      for (int k = 0; k < 12; ++k) circle.push_back({p.x + h * std::cos(k * M_PI / 6), p.y + h * std::sin(k * M_PI / 6)});
      Orient(circle);
      shapes.push_back(std::move(circle));
    };
    for (size_t k = 0; k + 1 < pts.size(); ++k) segment(pts[k], pts[k + 1]);
    if (closed && pts.size() > 2) segment(pts.back(), pts.front());
    for (const PointF& p : pts) joint(p);
    FillPolys(shapes, PolyFillMode::Winding, c);
  }

  void FillRectangle(const Rect& r, Color c) {
    const Rect v = r.Intersect(bounds_);
    if (Spend(static_cast<long long>(v.Width()) * v.Height())) FillRect(b_, v, c, 255);
  }

  void Image(const Bitmap& src, const Rect& srcRect, const Rect& dst) {
    if (Spend(static_cast<long long>(std::abs(dst.Width())) * std::abs(dst.Height())))
      StretchRect(b_, dst, src, srcRect);
  }

  bool Spend(long long pixels) {
    budget_ -= std::max(1LL, pixels);
    return budget_ > 0;
  }

 private:
  static Point Round(PointF p) {
    return {ToInt(std::clamp(p.x, -1e6, 1e6)), ToInt(std::clamp(p.y, -1e6, 1e6))};
  }
  static void Orient(std::vector<PointF>& poly) {
    double area = 0;
    for (size_t k = 0; k < poly.size(); ++k) {
      const PointF& a = poly[k];
      const PointF& b = poly[(k + 1) % poly.size()];
      area += a.x * b.y - b.x * a.y;
    }
    if (area < 0) std::reverse(poly.begin(), poly.end());
  }
  void Plot(Point p, Color c) {
    if (bounds_.Contains(p.x, p.y)) b_.SetPixelColor(p.x, p.y, c, 255);
  }
  void Line(PointF a, PointF b, Color c) {
    Point p = Round(a), q = Round(b);
    // Clip to a margin around the canvas so a wild line costs no more than its visible part.
    const int dx = std::abs(q.x - p.x), dy = -std::abs(q.y - p.y);
    const int sx = p.x < q.x ? 1 : -1, sy = p.y < q.y ? 1 : -1;
    if (!Spend(std::max(dx, -dy))) return;
    int err = dx + dy;
    for (int guard = 0; guard < 4 * kMaxNaturalSide + 2000000; ++guard) {
      Plot(p, c);
      if (p.x == q.x && p.y == q.y) break;
      const int e2 = 2 * err;
      if (e2 >= dy) { err += dy; p.x += sx; }
      if (e2 <= dx) { err += dx; p.y += sy; }
    }
  }

  Bitmap& b_;
  Rect bounds_;
  long long budget_ = 4000000000LL;  // pixels a hostile file may make us touch
};

// Cubic Bézier from p0 through p1, p2 to p3, as line points (p0 excluded).
void Flatten(PointF p0, PointF p1, PointF p2, PointF p3, std::vector<PointF>& out) {
  const double len = std::hypot(p1.x - p0.x, p1.y - p0.y) + std::hypot(p2.x - p1.x, p2.y - p1.y) +
                     std::hypot(p3.x - p2.x, p3.y - p2.y);
  const int n = std::clamp(ToInt(len / 4), 4, 64);
  for (int k = 1; k <= n; ++k) {
    const double t = static_cast<double>(k) / n, u = 1 - t;
    out.push_back({u * u * u * p0.x + 3 * u * u * t * p1.x + 3 * u * t * t * p2.x + t * t * t * p3.x,
                   u * u * u * p0.y + 3 * u * u * t * p1.y + 3 * u * t * t * p2.y + t * t * t * p3.y});
  }
}

// Points of an ellipse arc inside box from the angle of `start` to that of `end`,
// counter-clockwise as the platform draws arcs (in y-down device space: decreasing angle).
std::vector<PointF> ArcPoints(PointF a, PointF b, PointF start, PointF end, bool full) {
  const double cx = (a.x + b.x) / 2, cy = (a.y + b.y) / 2, rx = std::abs(b.x - a.x) / 2, ry = std::abs(b.y - a.y) / 2;
  double t0 = std::atan2(-(start.y - cy) * (rx ? rx : 1), (start.x - cx) * (ry ? ry : 1));
  double t1 = std::atan2(-(end.y - cy) * (rx ? rx : 1), (end.x - cx) * (ry ? ry : 1));
  if (full) t1 = t0 + 2 * M_PI;
  while (t1 <= t0) t1 += 2 * M_PI;
  const int n = std::clamp(ToInt((rx + ry) * (t1 - t0) / 4), 8, 256);
  std::vector<PointF> pts;
  for (int k = 0; k <= n; ++k) {
    const double t = t0 + (t1 - t0) * k / n;
    pts.push_back({cx + rx * std::cos(t), cy - ry * std::sin(t)});
  }
  return pts;
}

class Player {
 public:
  Player(Bitmap& out, bool enhanced) : canvas_(out), out_(out), enhanced_(enhanced) {}

  // Output transform after the page mapping: device units to output pixels.
  Xform base;
  double deviceDpiX = 96, deviceDpiY = 96;  // reference device, for the metric mapping modes
  DcState dc;
  std::vector<DcState> saved;

  PointF ToOut(PointF p) const { return base.Apply(PageToDevice(dc.world.Apply(p))); }
  PointF ToOut(double x, double y) const { return ToOut(PointF{x, y}); }

  // Scale of logical lengths (pen widths, font heights) in output pixels.
  double ScaleX() const {
    const PointF a = ToOut(0, 0), b = ToOut(1, 0);
    return std::hypot(b.x - a.x, b.y - a.y);
  }
  double ScaleY() const {
    const PointF a = ToOut(0, 0), b = ToOut(0, 1);
    return std::hypot(b.x - a.x, b.y - a.y);
  }

  PointF PageToDevice(PointF p) const {
    double sx = 1, sy = 1;
    switch (dc.mapMode) {
      case 2: sx = deviceDpiX / 254.0; sy = -deviceDpiY / 254.0; break;      // LOMETRIC
      case 3: sx = deviceDpiX / 2540.0; sy = -deviceDpiY / 2540.0; break;    // HIMETRIC
      case 4: sx = deviceDpiX / 100.0; sy = -deviceDpiY / 100.0; break;      // LOENGLISH
      case 5: sx = deviceDpiX / 1000.0; sy = -deviceDpiY / 1000.0; break;    // HIENGLISH
      case 6: sx = deviceDpiX / 1440.0; sy = -deviceDpiY / 1440.0; break;    // TWIPS
      case 7:
      case 8: {
        sx = dc.winExt.x != 0 ? dc.vpExt.x / dc.winExt.x : 1;
        sy = dc.winExt.y != 0 ? dc.vpExt.y / dc.winExt.y : 1;
        if (dc.mapMode == 7) {  // ISOTROPIC: the same scale both ways, signs kept
          const double s = std::min(std::abs(sx), std::abs(sy));
          sx = sx < 0 ? -s : s;
          sy = sy < 0 ? -s : s;
        }
        break;
      }
      default: break;
    }
    return {(p.x - dc.winOrg.x) * sx + dc.vpOrg.x, (p.y - dc.winOrg.y) * sy + dc.vpOrg.y};
  }

  double PenPixels() const {
    if (dc.pen.width <= 0) return 1;
    return std::max(1.0, dc.pen.width * (ScaleX() + ScaleY()) / 2);
  }

  void FillAndStroke(const std::vector<std::vector<PointF>>& polys, bool fill, bool stroke) {
    if (fill && dc.brush.visible) canvas_.FillPolys(polys, dc.fill, dc.brush.color);
    if (stroke && dc.pen.visible)
      for (const auto& p : polys) canvas_.Stroke(p, true, PenPixels(), dc.pen.color);
  }
  void Polyline(const std::vector<PointF>& pts) {
    if (dc.pen.visible) canvas_.Stroke(pts, false, PenPixels(), dc.pen.color);
  }

  std::vector<PointF> BoxPoints(double l, double t, double r, double b) const {
    return {ToOut(l, t), ToOut(r, t), ToOut(r, b), ToOut(l, b)};
  }
  void RectangleShape(double l, double t, double r, double b) { FillAndStroke({BoxPoints(l, t, r, b)}, true, true); }
  void EllipseShape(double l, double t, double r, double b) {
    const PointF c{(l + r) / 2, (t + b) / 2};
    std::vector<PointF> pts;
    const double rx = std::abs(r - l) / 2, ry = std::abs(b - t) / 2;
    const int n = std::clamp(ToInt((rx * ScaleX() + ry * ScaleY()) / 2), 16, 256);
    for (int k = 0; k < n; ++k)
      pts.push_back(ToOut(c.x + rx * std::cos(2 * M_PI * k / n), c.y + ry * std::sin(2 * M_PI * k / n)));
    FillAndStroke({pts}, true, true);
  }
  void RoundRectShape(double l, double t, double r, double b, double w, double h) {
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    const double rx = std::min(std::abs(w) / 2, (r - l) / 2), ry = std::min(std::abs(h) / 2, (b - t) / 2);
    std::vector<PointF> pts;
    auto corner = [&](double cx, double cy, double from) {
      for (int k = 0; k <= 8; ++k) {
        const double a = from + k * M_PI / 16;
        pts.push_back(ToOut(cx + rx * std::cos(a), cy + ry * std::sin(a)));
      }
    };
    corner(r - rx, t + ry, -M_PI / 2);
    corner(r - rx, b - ry, 0);
    corner(l + rx, b - ry, M_PI / 2);
    corner(l + rx, t + ry, M_PI);
    FillAndStroke({pts}, true, true);
  }
  // kind 0 arc, 1 chord, 2 pie
  void ArcShape(int kind, double l, double t, double r, double b, PointF s, PointF e) {
    std::vector<PointF> logical = ArcPoints({l, t}, {r, b}, s, e, false);
    std::vector<PointF> pts;
    for (const PointF& p : logical) pts.push_back(ToOut(p));
    if (kind == 0) {
      Polyline(pts);
      return;
    }
    if (kind == 2) pts.push_back(ToOut((l + r) / 2, (t + b) / 2));
    FillAndStroke({pts}, true, true);
  }

  void Text(double x, double y, const std::string& gbk, const std::vector<int>* dx) {
    if (gbk.empty()) return;
    FontSpec fontSpec;
    fontSpec.name = dc.font.face;
    const double sy = ScaleY();
    const int h = ToInt(std::abs(dc.font.height) * sy);
    if (h <= 0 || h > 4000) return;
    fontSpec.height = dc.font.height <= 0 ? -h : h;
    if (dc.font.height == 0) fontSpec.height = -std::max(1, ToInt(12 * sy));
    fontSpec.bold = dc.font.weight >= 600;
    fontSpec.italic = dc.font.italic;
    fontSpec.underline = dc.font.underline;
    fontSpec.strikeOut = dc.font.strike;
    auto font = fonts::Font::Create(fontSpec);
    if (!font) return;
    const bool updateCp = dc.textAlign & 1;
    const PointF ref = ToOut(updateCp ? dc.cur : PointF{x, y});
    int width = font->Measure(gbk).width;
    if (dx && !dx->empty()) {
      double total = 0;
      for (int v : *dx) total += v;
      width = ToInt(total * ScaleX());
    }
    double left = ref.x, top = ref.y;
    const uint32_t h6 = dc.textAlign & 6;
    if (h6 == 6) left -= width / 2.0;
    else if (h6 == 2) left -= width;
    const uint32_t v = dc.textAlign & 24;
    if (v == 24) top -= font->Ascent();
    else if (v == 8) top -= font->Height();
    const int ix = ToInt(left), iy = ToInt(top);
    if (dc.opaqueBk) canvas_.FillRectangle(Rect::FromSize(ix, iy, width, font->Height()), dc.bkColor);
    if (!canvas_.Spend(static_cast<long long>(width) * font->Height())) return;
    if (dx && !dx->empty()) {
      // Characters at the positions the record gives.
      double pen = left;
      size_t k = 0;
      for (size_t i = 0; i < gbk.size() && k < dx->size(); ++k) {
        const size_t len = IsLeadByte(static_cast<unsigned char>(gbk[i])) && i + 1 < gbk.size() ? 2 : 1;
        font->Draw(out_, ToInt(pen), iy, gbk.substr(i, len), dc.textColor);
        pen += (*dx)[k] * ScaleX();
        // Double-byte characters in ANSI records carry one advance per byte.
        if (len == 2 && !enhanced_ && k + 1 < dx->size()) pen += (*dx)[++k] * ScaleX();
        i += len;
      }
    } else {
      font->Draw(out_, ix, iy, gbk, dc.textColor);
    }
  }

  void Dib(const uint8_t* bmi, size_t bmiSize, const uint8_t* bits, size_t bitsSize, int sx, int sy, int sw, int sh,
           double dx, double dy, double dw, double dh) {
    std::vector<uint8_t> dib(bmi, bmi + bmiSize);
    dib.insert(dib.end(), bits, bits + bitsSize);
    std::unique_ptr<Bitmap> src;
    try {
      src = DecodeBmp(dib, true);
    } catch (const LoadError&) {
      return;
    }
    // DIB source rectangles count rows from the bottom for bottom-up pictures; clip-art
    // almost always takes the whole picture, which reads the same either way.
    const int32_t hdrHeight = bmiSize >= 12 ? static_cast<int32_t>(bmi[8] | (bmi[9] << 8) | (bmi[10] << 16) | (static_cast<uint32_t>(bmi[11]) << 24)) : 0;
    auto limit = [](int v) { return std::clamp(v, -(1 << 20), 1 << 20); };
    sx = limit(sx); sy = limit(sy); sw = limit(sw); sh = limit(sh);
    if (hdrHeight > 0) sy = src->Height() - sy - sh;
    auto opaque = src->ConvertTo(PixelFormat::Bgr24);
    if (!opaque) return;
    const PointF a = ToOut(dx, dy), b = ToOut(dx + dw, dy + dh);
    const Rect d{ToInt(a.x), ToInt(a.y), ToInt(b.x), ToInt(b.y)};
    canvas_.Image(*opaque, Rect::FromSize(sx, sy, sw, sh), d);
  }

  void FillOutRect(double l, double t, double r, double b, Color c) {
    const PointF a = ToOut(l, t), z = ToOut(r, b);
    canvas_.FillPolys({{a, {z.x, a.y}, z, {a.x, z.y}}}, PolyFillMode::Winding, c);
  }

  void Save() { if (saved.size() < 1000) saved.push_back(dc); }
  void Restore(int which) {
    // Negative: relative to the latest save; positive: the n-th saved state.
    int index = which < 0 ? static_cast<int>(saved.size()) + which : which - 1;
    if (index < 0 || index >= static_cast<int>(saved.size())) return;
    dc = saved[static_cast<size_t>(index)];
    saved.resize(static_cast<size_t>(index));
  }

  void Select(const Object& o) {
    switch (o.kind) {
      case Object::PenObj: dc.pen = o.pen; break;
      case Object::BrushObj: dc.brush = o.brush; break;
      case Object::FontObj: dc.font = o.font; break;
      default: break;
    }
  }
  void SelectStock(uint32_t index) {
    switch (index & 0x7FFFFFFF) {
      case 0: dc.brush = {true, Rgb(255, 255, 255)}; break;
      case 1: dc.brush = {true, Rgb(192, 192, 192)}; break;
      case 2: dc.brush = {true, Rgb(128, 128, 128)}; break;
      case 3: dc.brush = {true, Rgb(64, 64, 64)}; break;
      case 4: dc.brush = {true, 0}; break;
      case 5: dc.brush.visible = false; break;
      case 6: dc.pen = {true, 0, Rgb(255, 255, 255)}; break;
      case 7: dc.pen = {true, 0, 0}; break;
      case 8: dc.pen.visible = false; break;
      case 10: case 11: case 12: case 13: case 14: case 16: case 17: dc.font = LogFont{}; break;
      default: break;
    }
  }

  Canvas canvas_;
  Bitmap& out_;
  bool enhanced_;
};

Pen MakePen(uint32_t style, double width, uint32_t color) {
  Pen p;
  p.visible = (style & 0x0F) != 5;  // PS_NULL
  p.width = width;
  p.color = Cref(color);
  return p;
}
Brush MakeBrush(uint32_t style, uint32_t color) {
  Brush b;
  b.visible = style != 1;  // BS_NULL; hatched and pattern brushes fill with their colour
  b.color = Cref(color);
  return b;
}
// Average colour of a pattern brush's picture: the fill the pattern gives from afar.
Brush PatternBrush(const uint8_t* dib, size_t size) {
  Brush b;
  try {
    auto bmp = DecodeBmp(std::span<const uint8_t>(dib, size), true);
    long long r = 0, g = 0, bl = 0, n = 0;
    for (int y = 0; y < bmp->Height(); ++y)
      for (int x = 0; x < bmp->Width(); ++x, ++n) {
        const Color c = bmp->PixelColor(x, y);
        r += RedOf(c); g += GreenOf(c); bl += BlueOf(c);
      }
    if (n) b.color = Rgb(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(bl / n));
  } catch (const LoadError&) {
    b.color = Rgb(128, 128, 128);
  }
  return b;
}

// ---------------------------------------------------------------------------------------------
// WMF

struct WmfLayout {
  size_t start = 0;  // offset of the standard header
  bool placeable = false;
  double left = 0, top = 0, right = 0, bottom = 0, inch = 1440;
};

bool ParseWmfLayout(const Reader& r, WmfLayout& l) {
  size_t o = 0;
  if (r.U32(0) == kPlaceableKey) {
    if (!r.Has(0, 22)) return false;
    l.placeable = true;
    l.left = r.S16(6);
    l.top = r.S16(8);
    l.right = r.S16(10);
    l.bottom = r.S16(12);
    l.inch = r.U16(14) ? r.U16(14) : 1440;
    o = 22;
  }
  if (!r.Has(o, 18)) return false;
  const uint16_t type = r.U16(o), header = r.U16(o + 2), version = r.U16(o + 4);
  if ((type != 1 && type != 2) || header != 9 || (version != 0x300 && version != 0x100)) return false;
  l.start = o;
  return true;
}

// Window origin and extent the records set first (for files without a placeable header).
bool FirstWindow(const Reader& r, size_t start, double& ox, double& oy, double& ex, double& ey) {
  bool haveExt = false;
  size_t o = start + 18;
  for (int count = 0; count < kMaxRecords && r.Has(o, 6); ++count) {
    const uint32_t words = r.U32(o);
    const uint16_t fn = r.U16(o + 4);
    if (words < 3 || words > (r.n - o) / 2) break;
    if (fn == 0x020B) { oy = r.S16(o + 6); ox = r.S16(o + 8); }
    if (fn == 0x020C && !haveExt) { ey = r.S16(o + 6); ex = r.S16(o + 8); haveExt = true; }
    if (fn == 0) break;
    o += static_cast<size_t>(words) * 2;
  }
  return haveExt;
}

void PlayWmf(const Reader& r, const WmfLayout& l, Bitmap& out) {
  Player pl(out, false);
  pl.dc.mapMode = 8;
  if (l.placeable) {
    pl.dc.winOrg = {l.left, l.top};
    pl.dc.winExt = {l.right - l.left, l.bottom - l.top};
  } else {
    double ox = 0, oy = 0, ex = out.Width(), ey = out.Height();
    FirstWindow(r, l.start, ox, oy, ex, ey);
    pl.dc.winOrg = {ox, oy};
    pl.dc.winExt = {ex, ey};
  }
  pl.dc.vpExt = {static_cast<double>(out.Width()), static_cast<double>(out.Height())};
  std::vector<Object> objects;
  auto addObject = [&](Object o) {
    for (Object& slot : objects)
      if (slot.kind == Object::None) { slot = o; return; }
    if (objects.size() < 65535) objects.push_back(o);
  };
  size_t o = l.start + 18;
  for (int count = 0; count < kMaxRecords && r.Has(o, 6); ++count) {
    const uint32_t words = r.U32(o);
    const uint16_t fn = r.U16(o + 4);
    if (words < 3 || words > (r.n - o) / 2) break;
    const size_t size = static_cast<size_t>(words) * 2;
    const Reader rec{r.p + o, size};  // the record alone: reads past its end give 0
    const size_t p = 6;             // parameters
    auto pt = [&](size_t at) { return PointF{static_cast<double>(rec.S16(at)), static_cast<double>(rec.S16(at + 2))}; };
    switch (fn) {
      case 0x0000: o = r.n; continue;  // EOF
      case 0x020B: pl.dc.winOrg = {static_cast<double>(rec.S16(p + 2)), static_cast<double>(rec.S16(p))}; break;
      case 0x020C: pl.dc.winExt = {static_cast<double>(rec.S16(p + 2)), static_cast<double>(rec.S16(p))}; break;
      case 0x0102: pl.dc.opaqueBk = rec.U16(p) == 2; break;
      case 0x0201: pl.dc.bkColor = Cref(rec.U32(p)); break;
      case 0x0209: pl.dc.textColor = Cref(rec.U32(p)); break;
      case 0x012E: pl.dc.textAlign = rec.U16(p); break;
      case 0x0106: pl.dc.fill = rec.U16(p) == 2 ? PolyFillMode::Winding : PolyFillMode::Alternate; break;
      case 0x001E: pl.Save(); break;
      case 0x0127: pl.Restore(rec.S16(p)); break;
      case 0x0214: pl.dc.cur = {static_cast<double>(rec.S16(p + 2)), static_cast<double>(rec.S16(p))}; break;
      case 0x0213: {
        const PointF to{static_cast<double>(rec.S16(p + 2)), static_cast<double>(rec.S16(p))};
        pl.Polyline({pl.ToOut(pl.dc.cur), pl.ToOut(to)});
        pl.dc.cur = to;
        break;
      }
      case 0x0324:  // POLYGON
      case 0x0325: {  // POLYLINE
        const size_t n = rec.U16(p);
        if (!rec.Has(p + 2, n * 4)) break;
        std::vector<PointF> pts;
        for (size_t k = 0; k < n; ++k) pts.push_back(pl.ToOut(pt(p + 2 + 4 * k)));
        if (fn == 0x0324) pl.FillAndStroke({pts}, true, true);
        else pl.Polyline(pts);
        break;
      }
      case 0x0538: {  // POLYPOLYGON
        const size_t polys = rec.U16(p);
        if (!rec.Has(p + 2, polys * 2)) break;
        size_t at = p + 2 + polys * 2;
        std::vector<std::vector<PointF>> all;
        bool ok = true;
        for (size_t k = 0; k < polys && ok; ++k) {
          const size_t n = rec.U16(p + 2 + 2 * k);
          if (!rec.Has(at, n * 4)) { ok = false; break; }
          std::vector<PointF> pts;
          for (size_t i = 0; i < n; ++i) pts.push_back(pl.ToOut(pt(at + 4 * i)));
          at += n * 4;
          all.push_back(std::move(pts));
        }
        if (ok) pl.FillAndStroke(all, true, true);
        break;
      }
      case 0x041B:  // RECTANGLE: bottom, right, top, left
      case 0x0418:  // ELLIPSE
        if (!rec.Has(p, 8)) break;
        if (fn == 0x041B) pl.RectangleShape(rec.S16(p + 6), rec.S16(p + 4), rec.S16(p + 2), rec.S16(p));
        else pl.EllipseShape(rec.S16(p + 6), rec.S16(p + 4), rec.S16(p + 2), rec.S16(p));
        break;
      case 0x061C:  // ROUNDRECT: height, width, bottom, right, top, left
        if (!rec.Has(p, 12)) break;
        pl.RoundRectShape(rec.S16(p + 10), rec.S16(p + 8), rec.S16(p + 6), rec.S16(p + 4), rec.S16(p + 2), rec.S16(p));
        break;
      case 0x0817: case 0x0830: case 0x081A: {  // ARC, CHORD, PIE: yEnd, xEnd, yStart, xStart, b, r, t, l
        if (!rec.Has(p, 16)) break;
        const int kind = fn == 0x0817 ? 0 : fn == 0x0830 ? 1 : 2;
        pl.ArcShape(kind, rec.S16(p + 14), rec.S16(p + 12), rec.S16(p + 10), rec.S16(p + 8),
                    {double(rec.S16(p + 6)), double(rec.S16(p + 4))}, {double(rec.S16(p + 2)), double(rec.S16(p))});
        break;
      }
      case 0x0521: {  // TEXTOUT: count, string (even length), y, x
        const size_t n = rec.U16(p);
        const size_t padded = (n + 1) & ~static_cast<size_t>(1);
        if (!rec.Has(p + 2, padded + 4)) break;
        const std::string s(reinterpret_cast<const char*>(rec.p + p + 2), n);
        pl.Text(rec.S16(p + 2 + padded + 2), rec.S16(p + 2 + padded), s, nullptr);
        break;
      }
      case 0x0A32: {  // EXTTEXTOUT: y, x, count, options, [rect], string, [dx]
        if (!rec.Has(p, 8)) break;
        const double y = rec.S16(p), x = rec.S16(p + 2);
        const size_t n = rec.U16(p + 4);
        const uint16_t opts = rec.U16(p + 6);
        size_t at = p + 8;
        if (opts & 0x0006) {
          if (opts & 0x0002 && rec.Has(at, 8) && pl.dc.opaqueBk) {
            // ETO_OPAQUE fills the rectangle with the background colour.
            pl.FillOutRect(rec.S16(at), rec.S16(at + 2), rec.S16(at + 4), rec.S16(at + 6), pl.dc.bkColor);
          }
          at += 8;
        }
        if (!rec.Has(at, n)) break;
        const std::string s(reinterpret_cast<const char*>(rec.p + at), n);
        at += (n + 1) & ~static_cast<size_t>(1);
        std::vector<int> dx;
        if (rec.Has(at, n * 2))
          for (size_t k = 0; k < n; ++k) dx.push_back(rec.S16(at + 2 * k));
        pl.Text(x, y, s, dx.empty() ? nullptr : &dx);
        break;
      }
      case 0x0F43: {  // STRETCHDIB: rop, usage, srcH, srcW, ySrc, xSrc, dstH, dstW, yDst, xDst, DIB
        if (!rec.Has(p, 22)) break;
        const size_t dibAt = p + 22;
        pl.Dib(rec.p + dibAt, size - dibAt, nullptr, 0, rec.S16(p + 12), rec.S16(p + 10), rec.S16(p + 8), rec.S16(p + 6),
               rec.S16(p + 20), rec.S16(p + 18), rec.S16(p + 16), rec.S16(p + 14));
        break;
      }
      case 0x0B41: {  // DIBSTRETCHBLT: rop, srcH, srcW, ySrc, xSrc, dstH, dstW, yDst, xDst, DIB
        if (!rec.Has(p, 20) || size <= p + 20 + 12) break;
        const size_t dibAt = p + 20;
        pl.Dib(rec.p + dibAt, size - dibAt, nullptr, 0, rec.S16(p + 10), rec.S16(p + 8), rec.S16(p + 6), rec.S16(p + 4),
               rec.S16(p + 18), rec.S16(p + 16), rec.S16(p + 14), rec.S16(p + 12));
        break;
      }
      case 0x0940: {  // DIBBITBLT: rop, ySrc, xSrc, height, width, yDst, xDst, DIB
        if (!rec.Has(p, 16) || size <= p + 16 + 12) break;
        const size_t dibAt = p + 16;
        const int w = rec.S16(p + 10), h = rec.S16(p + 8);
        pl.Dib(rec.p + dibAt, size - dibAt, nullptr, 0, rec.S16(p + 6), rec.S16(p + 4), w, h, rec.S16(p + 14),
               rec.S16(p + 12), w, h);
        break;
      }
      case 0x02FA: {  // CREATEPENINDIRECT: style, width (x, y), colour
        Object ob;
        ob.kind = Object::PenObj;
        ob.pen = MakePen(rec.U16(p), rec.S16(p + 2), rec.U32(p + 6));
        addObject(ob);
        break;
      }
      case 0x02FC: {  // CREATEBRUSHINDIRECT: style, colour, hatch
        Object ob;
        ob.kind = Object::BrushObj;
        ob.brush = MakeBrush(rec.U16(p), rec.U32(p + 2));
        addObject(ob);
        break;
      }
      case 0x0142: {  // DIBCREATEPATTERNBRUSH: style, usage, DIB
        Object ob;
        ob.kind = Object::BrushObj;
        ob.brush = size > p + 4 ? PatternBrush(rec.p + p + 4, size - p - 4) : Brush{};
        addObject(ob);
        break;
      }
      case 0x02FB: {  // CREATEFONTINDIRECT
        Object ob;
        ob.kind = Object::FontObj;
        ob.font.height = rec.S16(p);
        ob.font.weight = rec.S16(p + 8);
        ob.font.italic = rec.U8(p + 10);
        ob.font.underline = rec.U8(p + 11);
        ob.font.strike = rec.U8(p + 12);
        std::string face;
        for (size_t k = p + 18; k < std::min(size, p + 18 + 32) && rec.U8(k); ++k) face += static_cast<char>(rec.U8(k));
        if (!face.empty()) ob.font.face = face;
        addObject(ob);
        break;
      }
      case 0x00F7: case 0x06FF: case 0x01F9: case 0x01FA: case 0x01FB: case 0x01FC:  // palettes, regions, patterns
      {
        Object other;
        other.kind = Object::Other;
        addObject(other);
        break;
      }
      case 0x012D: {  // SELECTOBJECT
        const size_t k = rec.U16(p);
        if (k < objects.size()) pl.Select(objects[k]);
        break;
      }
      case 0x01F0: {  // DELETEOBJECT
        const size_t k = rec.U16(p);
        if (k < objects.size()) objects[k] = Object{};
        break;
      }
      default: break;  // records without a picture of their own (ROP, clipping, escapes): skipped
    }
    o += size;
  }
}

// ---------------------------------------------------------------------------------------------
// EMF

struct EmfLayout {
  int boundsL = 0, boundsT = 0, boundsR = 0, boundsB = 0;  // device units, inclusive
  int frameL = 0, frameT = 0, frameR = 0, frameB = 0;      // 0.01 mm, inclusive
  int devW = 0, devH = 0, mmW = 0, mmH = 0;
  uint32_t records = 0;
};

bool ParseEmfLayout(const Reader& r, EmfLayout& l) {
  if (!r.Has(0, 88) || r.U32(0) != 1 || r.U32(40) != kEmfSignature) return false;
  const uint32_t headerSize = r.U32(4);
  if (headerSize < 88 || headerSize > r.n) return false;
  l.boundsL = r.S32(8); l.boundsT = r.S32(12); l.boundsR = r.S32(16); l.boundsB = r.S32(20);
  l.frameL = r.S32(24); l.frameT = r.S32(28); l.frameR = r.S32(32); l.frameB = r.S32(36);
  l.records = r.U32(52);
  l.devW = r.S32(72); l.devH = r.S32(76); l.mmW = r.S32(80); l.mmH = r.S32(84);
  return true;
}

void EmfNaturalSize(const EmfLayout& l, int& w, int& h) {
  const double fw = static_cast<double>(l.frameR) - l.frameL, fh = static_cast<double>(l.frameB) - l.frameT;
  if (fw > 0 && fh > 0) {
    w = ToInt(fw * 96 / 2540);
    h = ToInt(fh * 96 / 2540);
  } else {
    w = l.boundsR - l.boundsL + 1;
    h = l.boundsB - l.boundsT + 1;
  }
}

void PlayEmf(const Reader& r, const EmfLayout& l, Bitmap& out) {
  Player pl(out, true);
  // Reference device pixels per inch, from its size in pixels and millimetres.
  pl.deviceDpiX = l.mmW > 0 && l.devW > 0 ? l.devW * 25.4 / l.mmW : 96;
  pl.deviceDpiY = l.mmH > 0 && l.devH > 0 ? l.devH * 25.4 / l.mmH : 96;
  // The picture frame in reference device pixels maps onto the output bitmap.
  double fl = l.frameL * pl.deviceDpiX / 2540, ft = l.frameT * pl.deviceDpiY / 2540;
  double fw = (static_cast<double>(l.frameR) - l.frameL) * pl.deviceDpiX / 2540;
  double fh = (static_cast<double>(l.frameB) - l.frameT) * pl.deviceDpiY / 2540;
  if (fw <= 0 || fh <= 0) {
    fl = l.boundsL; ft = l.boundsT;
    fw = l.boundsR - l.boundsL + 1; fh = l.boundsB - l.boundsT + 1;
  }
  if (fw <= 0 || fh <= 0) return;
  pl.base.m11 = out.Width() / fw;
  pl.base.m22 = out.Height() / fh;
  pl.base.dx = -fl * pl.base.m11;
  pl.base.dy = -ft * pl.base.m22;

  std::map<uint32_t, Object> objects;
  bool inPath = false;
  std::vector<std::vector<PointF>> path;
  std::vector<bool> closedFigure;
  auto addToPath = [&](const std::vector<PointF>& pts, bool closed) {
    path.push_back(pts);
    closedFigure.push_back(closed);
  };
  auto lineTo = [&](const std::vector<PointF>& logicalPts) {
    // Appends to the figure in progress (path) or draws from the current position.
    if (logicalPts.empty()) return;
    if (inPath) {
      if (path.empty() || closedFigure.back()) addToPath({pl.ToOut(pl.dc.cur)}, false);
      for (const PointF& q : logicalPts) path.back().push_back(pl.ToOut(q));
    } else {
      std::vector<PointF> pts{pl.ToOut(pl.dc.cur)};
      for (const PointF& q : logicalPts) pts.push_back(pl.ToOut(q));
      pl.Polyline(pts);
    }
    pl.dc.cur = logicalPts.back();
  };

  size_t o = 0;
  for (int count = 0; count < kMaxRecords && r.Has(o, 8); ++count) {
    const uint32_t type = r.U32(o), size = r.U32(o + 4);
    if (size < 8 || size > r.n - o) break;
    const Reader rec{r.p + o, size};
    auto ptl = [&](size_t at) { return PointF{static_cast<double>(rec.S32(at)), static_cast<double>(rec.S32(at + 4))}; };
    auto pts16 = [&](size_t at) { return PointF{static_cast<double>(rec.S16(at)), static_cast<double>(rec.S16(at + 2))}; };
    // Points of a POLY* record: count at 24, points from 28; 4 or 8 bytes each.
    auto polyPoints = [&](bool small, std::vector<PointF>& pts) {
      const size_t n = rec.U32(24), each = small ? 4 : 8;
      if (n > size || !rec.Has(28, n * each)) return false;
      for (size_t k = 0; k < n; ++k) pts.push_back(small ? pts16(28 + k * each) : ptl(28 + k * each));
      return true;
    };
    switch (type) {
      case 14: o = r.n; continue;  // EOF
      case 2: case 85: case 3: case 86: case 4: case 87: case 5: case 88: case 6: case 89: {
        const bool small = type >= 85;
        std::vector<PointF> lp;
        if (!polyPoints(small, lp) || lp.empty()) break;
        const uint32_t kind = small ? type - 83 : type;  // 2 bezier, 3 polygon, 4 polyline, 5 bezierto, 6 polylineto
        if (kind == 2 || kind == 5) {
          // Béziers: (start,) then groups of three control points.
          std::vector<PointF> flat;
          PointF start = kind == 2 ? lp[0] : pl.dc.cur;
          size_t k = kind == 2 ? 1 : 0;
          std::vector<PointF> outPts;
          if (kind == 2) outPts.push_back(start);
          for (; k + 2 < lp.size(); k += 3) {
            Flatten(start, lp[k], lp[k + 1], lp[k + 2], outPts);
            start = lp[k + 2];
          }
          if (kind == 5) {
            lineTo(outPts);
          } else if (inPath) {
            std::vector<PointF> dev;
            for (const PointF& q : outPts) dev.push_back(pl.ToOut(q));
            addToPath(dev, false);
          } else {
            std::vector<PointF> dev;
            for (const PointF& q : outPts) dev.push_back(pl.ToOut(q));
            pl.Polyline(dev);
          }
          break;
        }
        if (kind == 6) {
          lineTo(lp);
          break;
        }
        std::vector<PointF> dev;
        for (const PointF& q : lp) dev.push_back(pl.ToOut(q));
        if (inPath) addToPath(dev, kind == 3);
        else if (kind == 3) pl.FillAndStroke({dev}, true, true);
        else pl.Polyline(dev);
        break;
      }
      case 7: case 8: case 90: case 91: {  // POLYPOLYLINE, POLYPOLYGON (32 and 16-bit)
        const bool small = type >= 90;
        const bool polygon = type == 8 || type == 91;
        const size_t polys = rec.U32(24), total = rec.U32(28), each = small ? 4 : 8;
        if (polys > size || total > size || !rec.Has(32, polys * 4)) break;
        size_t at = 32 + polys * 4;
        if (!rec.Has(at, total * each)) break;
        std::vector<std::vector<PointF>> all;
        size_t used = 0;
        for (size_t k = 0; k < polys; ++k) {
          const size_t n = rec.U32(32 + 4 * k);
          if (n > total - used) break;
          std::vector<PointF> pts;
          for (size_t i = 0; i < n; ++i) pts.push_back(pl.ToOut(small ? pts16(at + i * each) : ptl(at + i * each)));
          at += n * each;
          used += n;
          all.push_back(std::move(pts));
        }
        if (inPath) {
          for (auto& f : all) addToPath(f, polygon);
        } else if (polygon) {
          pl.FillAndStroke(all, true, true);
        } else {
          for (auto& f : all) pl.Polyline(f);
        }
        break;
      }
      case 9: pl.dc.winExt = ptl(8); break;
      case 10: pl.dc.winOrg = ptl(8); break;
      case 11: pl.dc.vpExt = ptl(8); break;
      case 12: pl.dc.vpOrg = ptl(8); break;
      case 17: pl.dc.mapMode = static_cast<int>(rec.U32(8)); break;
      case 18: pl.dc.opaqueBk = rec.U32(8) == 2; break;
      case 19: pl.dc.fill = rec.U32(8) == 2 ? PolyFillMode::Winding : PolyFillMode::Alternate; break;
      case 22: pl.dc.textAlign = rec.U32(8); break;
      case 24: pl.dc.textColor = Cref(rec.U32(8)); break;
      case 25: pl.dc.bkColor = Cref(rec.U32(8)); break;
      case 27:  // MOVETOEX
        pl.dc.cur = ptl(8);
        if (inPath) addToPath({pl.ToOut(pl.dc.cur)}, false);
        break;
      case 54: lineTo({ptl(8)}); break;  // LINETO
      case 33: pl.Save(); break;
      case 34: pl.Restore(rec.S32(8)); break;
      case 35: {  // SETWORLDTRANSFORM
        pl.dc.world = {rec.F32(8), rec.F32(12), rec.F32(16), rec.F32(20), rec.F32(24), rec.F32(28)};
        break;
      }
      case 36: {  // MODIFYWORLDTRANSFORM
        const Xform x{rec.F32(8), rec.F32(12), rec.F32(16), rec.F32(20), rec.F32(24), rec.F32(28)};
        switch (rec.U32(32)) {
          case 1: pl.dc.world = Xform{}; break;
          case 2: pl.dc.world = pl.dc.world.Then(x); break;  // x first, then the old transform
          case 3: pl.dc.world = x.Then(pl.dc.world); break;
          case 4: pl.dc.world = x; break;
          default: break;
        }
        break;
      }
      case 37: {  // SELECTOBJECT
        const uint32_t ih = rec.U32(8);
        if (ih & 0x80000000u) pl.SelectStock(ih);
        else if (auto it = objects.find(ih); it != objects.end()) pl.Select(it->second);
        break;
      }
      case 38: {  // CREATEPEN: ih, style, width (x, y), colour
        Object ob;
        ob.kind = Object::PenObj;
        ob.pen = MakePen(rec.U32(12), rec.S32(16), rec.U32(24));
        if (objects.size() < 65536) objects[rec.U32(8)] = ob;
        break;
      }
      case 95: {  // EXTCREATEPEN: ih, offBmi, cbBmi, offBits, cbBits, style, width, brush style, colour
        Object ob;
        ob.kind = Object::PenObj;
        const uint32_t style = rec.U32(28);
        ob.pen = MakePen(style, (style & 0x00010000) ? rec.U32(32) : 0, rec.U32(40));
        if (rec.U32(36) == 1) ob.pen.visible = false;  // a pen with a null brush draws nothing
        if (objects.size() < 65536) objects[rec.U32(8)] = ob;
        break;
      }
      case 39: {  // CREATEBRUSHINDIRECT: ih, style, colour, hatch
        Object ob;
        ob.kind = Object::BrushObj;
        ob.brush = MakeBrush(rec.U32(12), rec.U32(16));
        if (objects.size() < 65536) objects[rec.U32(8)] = ob;
        break;
      }
      case 94: case 93: {  // CREATEDIBPATTERNBRUSHPT, CREATEMONOBRUSH: ih, usage, offBmi, cbBmi, offBits, cbBits
        Object ob;
        ob.kind = Object::BrushObj;
        const uint32_t offBmi = rec.U32(16), cbBmi = rec.U32(20), offBits = rec.U32(24), cbBits = rec.U32(28);
        if (rec.Has(offBmi, cbBmi) && rec.Has(offBits, cbBits)) {
          std::vector<uint8_t> dib(rec.p + offBmi, rec.p + offBmi + cbBmi);
          dib.insert(dib.end(), rec.p + offBits, rec.p + offBits + cbBits);
          ob.brush = PatternBrush(dib.data(), dib.size());
        }
        if (objects.size() < 65536) objects[rec.U32(8)] = ob;
        break;
      }
      case 82: {  // EXTCREATEFONTINDIRECTW: ih, LOGFONTW
        Object ob;
        ob.kind = Object::FontObj;
        ob.font.height = rec.S32(12);
        ob.font.weight = rec.S32(28);
        ob.font.italic = rec.U8(32);
        ob.font.underline = rec.U8(33);
        ob.font.strike = rec.U8(34);
        std::u16string face;
        for (size_t k = 40; k + 2 <= std::min<size_t>(size, 40 + 64) && rec.U16(k); k += 2) face += static_cast<char16_t>(rec.U16(k));
        if (!face.empty()) ob.font.face = Utf16ToGbk(face);
        if (objects.size() < 65536) objects[rec.U32(8)] = ob;
        break;
      }
      case 40: objects.erase(rec.U32(8)); break;  // DELETEOBJECT
      case 42: case 43: {  // ELLIPSE, RECTANGLE: box (inclusive-exclusive as the platform draws)
        const double l2 = rec.S32(8), t2 = rec.S32(12), r2 = rec.S32(16), b2 = rec.S32(20);
        if (inPath) {
          addToPath(pl.BoxPoints(l2, t2, r2, b2), true);
        } else if (type == 42) {
          pl.EllipseShape(l2, t2, r2, b2);
        } else {
          pl.RectangleShape(l2, t2, r2, b2);
        }
        break;
      }
      case 44:  // ROUNDRECT: box, corner size
        pl.RoundRectShape(rec.S32(8), rec.S32(12), rec.S32(16), rec.S32(20), rec.S32(24), rec.S32(28));
        break;
      case 45: case 46: case 47:  // ARC, CHORD, PIE: box, start, end
        pl.ArcShape(type == 45 ? 0 : type == 46 ? 1 : 2, rec.S32(8), rec.S32(12), rec.S32(16), rec.S32(20), ptl(24), ptl(32));
        break;
      case 59: inPath = true; path.clear(); closedFigure.clear(); break;  // BEGINPATH
      case 60: inPath = false; break;                                      // ENDPATH
      case 61:  // CLOSEFIGURE
        if (!closedFigure.empty()) closedFigure.back() = true;
        break;
      case 62: case 63: case 64: {  // FILLPATH, STROKEANDFILLPATH, STROKEPATH
        if (type != 64) pl.FillAndStroke(path, true, false);
        if (type != 62 && pl.dc.pen.visible)
          for (size_t k = 0; k < path.size(); ++k)
            pl.canvas_.Stroke(path[k], closedFigure[k], pl.PenPixels(), pl.dc.pen.color);
        path.clear();
        closedFigure.clear();
        break;
      }
      case 67: path.clear(); closedFigure.clear(); break;  // SELECTCLIPPATH: clipping is not applied
      case 81: {  // STRETCHDIBITS
        const double xd = rec.S32(24), yd = rec.S32(28);
        const int xs = rec.S32(32), ys = rec.S32(36), cxs = rec.S32(40), cys = rec.S32(44);
        const uint32_t offBmi = rec.U32(48), cbBmi = rec.U32(52), offBits = rec.U32(56), cbBits = rec.U32(60);
        const double cxd = rec.S32(72), cyd = rec.S32(76);
        if (!rec.Has(offBmi, cbBmi) || !rec.Has(offBits, cbBits) || cbBmi < 12) break;
        pl.Dib(rec.p + offBmi, cbBmi, rec.p + offBits, cbBits, xs, ys, cxs, cys, xd, yd, cxd, cyd);
        break;
      }
      case 76: case 77: {  // BITBLT, STRETCHBLT
        const double xd = rec.S32(24), yd = rec.S32(28), cxd = rec.S32(32), cyd = rec.S32(36);
        const int xs = rec.S32(44), ys = rec.S32(48);
        const uint32_t offBmi = rec.U32(84), cbBmi = rec.U32(88), offBits = rec.U32(92), cbBits = rec.U32(96);
        const int cxs = type == 77 ? rec.S32(100) : ToInt(cxd);
        const int cys = type == 77 ? rec.S32(104) : ToInt(cyd);
        if (cbBmi == 0) {
          // No source: a pattern fill with the brush (backgrounds are drawn this way).
          if (pl.dc.brush.visible) pl.FillOutRect(xd, yd, xd + cxd, yd + cyd, pl.dc.brush.color);
          break;
        }
        if (!rec.Has(offBmi, cbBmi) || !rec.Has(offBits, cbBits) || cbBmi < 12) break;
        pl.Dib(rec.p + offBmi, cbBmi, rec.p + offBits, cbBits, xs, ys, cxs, cys, xd, yd, cxd, cyd);
        break;
      }
      case 83: case 84: {  // EXTTEXTOUTA, EXTTEXTOUTW
        const PointF ref = ptl(36);
        const size_t n = rec.U32(44), off = rec.U32(48), offDx = rec.U32(72);
        const uint32_t opts = rec.U32(52);
        const size_t bytes = type == 84 ? n * 2 : n;
        if (n > size || !rec.Has(off, bytes)) break;
        std::string s;
        if (type == 84) {
          std::u16string u;
          for (size_t k = 0; k < n; ++k) u += static_cast<char16_t>(rec.U16(off + 2 * k));
          s = Utf16ToGbk(u);
        } else {
          s.assign(reinterpret_cast<const char*>(rec.p + off), n);
        }
        if ((opts & 2) && pl.dc.opaqueBk)
          pl.FillOutRect(rec.S32(56), rec.S32(60), rec.S32(64), rec.S32(68), pl.dc.bkColor);
        std::vector<int> dx;
        if (offDx && rec.Has(offDx, n * 4))
          for (size_t k = 0; k < n; ++k) dx.push_back(rec.S32(offDx + 4 * k));
        // Wide records give one advance per character; the text now is GBK with two bytes
        // for a Chinese character, which Text() walks character by character.
        pl.Text(ref.x, ref.y, s, dx.empty() ? nullptr : &dx);
        break;
      }
      default: break;  // clipping, palettes, comments and the like: skipped
    }
    o += size;
  }
}

void ClampSize(int& w, int& h) {
  w = std::max(1, w);
  h = std::max(1, h);
  if (w > kMaxNaturalSide || h > kMaxNaturalSide) {
    const double s = static_cast<double>(kMaxNaturalSide) / std::max(w, h);
    w = std::max(1, static_cast<int>(w * s));
    h = std::max(1, static_cast<int>(h * s));
  }
}

}  // namespace

bool ProbeMetafile(std::span<const uint8_t> data, MetafileInfo& info) {
  const Reader r{data.data(), data.size()};
  EmfLayout e;
  if (ParseEmfLayout(r, e)) {
    info.enhanced = true;
    EmfNaturalSize(e, info.width, info.height);
    ClampSize(info.width, info.height);
    info.records = static_cast<int>(std::min<uint32_t>(e.records, kMaxRecords));
    return true;
  }
  WmfLayout l;
  if (!ParseWmfLayout(r, l)) return false;
  info.enhanced = false;
  if (l.placeable) {
    info.width = ToInt(std::abs(l.right - l.left) * 96 / l.inch);
    info.height = ToInt(std::abs(l.bottom - l.top) * 96 / l.inch);
  } else {
    double ox = 0, oy = 0, ex = 0, ey = 0;
    FirstWindow(r, l.start, ox, oy, ex, ey);
    info.width = ToInt(std::abs(ex));
    info.height = ToInt(std::abs(ey));
  }
  ClampSize(info.width, info.height);
  int n = 0;
  for (size_t o = l.start + 18; r.Has(o, 6) && n < kMaxRecords; ++n) {
    const uint32_t words = r.U32(o);
    if (words < 3 || words > (r.n - o) / 2) break;
    o += static_cast<size_t>(words) * 2;
  }
  info.records = n;
  return true;
}

std::unique_ptr<Bitmap> RenderMetafile(std::span<const uint8_t> data, int width, int height) {
  MetafileInfo info;
  if (!ProbeMetafile(data, info)) throw LoadError(kInvalid);
  if (width <= 0 || height <= 0) {
    width = info.width;
    height = info.height;
  }
  if (width > kMaxPictureSide || height > kMaxPictureSide) throw LoadError(kInvalid);
  auto out = Bitmap::Create(width, height, PixelFormat::Bgra32);
  if (!out) throw LoadError(kInvalid);
  const Reader r{data.data(), data.size()};
  if (info.enhanced) {
    EmfLayout e;
    ParseEmfLayout(r, e);
    PlayEmf(r, e, *out);
  } else {
    WmfLayout l;
    ParseWmfLayout(r, l);
    PlayWmf(r, l, *out);
  }
  return out;
}

}  // namespace platform
