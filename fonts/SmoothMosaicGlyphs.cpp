#include "fonts/SmoothMosaicGlyphs.h"

#include <array>
#include <cmath>

#include "fonts/GlyphSource.h"

namespace tolv::fonts {
namespace {

// Points of the cell's 2 x 3 grid of sixels, in pixels.
struct Point {
  double x, y;
};
constexpr double kW = kCellWidth, kH = kCellHeight;
constexpr Point kUL{0, 0}, kUC{kW / 2, 0}, kUR{kW, 0};
constexpr Point kUML{0, kH / 3}, kUMR{kW, kH / 3};
constexpr Point kLML{0, 2 * kH / 3}, kLMR{kW, 2 * kH / 3};
constexpr Point kLL{0, kH}, kLC{kW / 2, kH}, kLR{kW, kH};
constexpr Point kCentre{kW / 2, kH / 2};

// A lower half-plane shape: the part of the cell on the side of the line from a to b where the
// corner is (lower left or lower right). Codes 0x20..0x2B and 0x30..0x3B; the codes 0x40
// above them are the rest of the cell.
struct Diagonal {
  Point a, b, corner;
};

constexpr std::array<Diagonal, 12> kLowerLeftFirst = {{
    {kLML, kLC, kLL},
    {kLML, kLR, kLL},
    {kUML, kLC, kLL},
    {kUML, kLR, kLL},
    {kUL, kLC, kLL},
    {kUL, kLR, kLL},
    {kUML, kUC, kLR},
    {kUML, kUR, kLR},
    {kLML, kUC, kLR},
    {kLML, kUR, kLR},
    {kLL, kUC, kLR},
    {kLML, kUMR, kLR},
}};
constexpr std::array<Diagonal, 12> kLowerRightFirst = {{
    {kLC, kLMR, kLR},
    {kLL, kLMR, kLR},
    {kLC, kUMR, kLR},
    {kLL, kUMR, kLR},
    {kLC, kUR, kLR},
    {kLL, kUR, kLR},
    {kUC, kUMR, kLL},
    {kUL, kUMR, kLL},
    {kUC, kLMR, kLL},
    {kUL, kLMR, kLL},
    {kUC, kLR, kLL},
    {kUML, kLMR, kLL},
}};

double Side(const Point& a, const Point& b, const Point& p) {
  return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

BitmapGlyph Blank() { return BitmapGlyph{kCellWidth, std::vector<std::uint32_t>(kCellHeight, 0)}; }

void Set(BitmapGlyph& glyph, int x, int y) {
  if (x >= 0 && y >= 0 && x < static_cast<int>(kCellWidth) && y < static_cast<int>(kCellHeight)) {
    glyph.Rows[static_cast<unsigned>(y)] |= 0x80000000u >> x;
  }
}

template <class Inside>
BitmapGlyph Fill(Inside inside) {
  BitmapGlyph glyph = Blank();
  for (int y = 0; y < static_cast<int>(kCellHeight); ++y) {
    for (int x = 0; x < static_cast<int>(kCellWidth); ++x) {
      if (inside(Point{x + 0.5, y + 0.5})) Set(glyph, x, y);
    }
  }
  return glyph;
}

BitmapGlyph HalfPlane(const Diagonal& d) {
  const double corner = Side(d.a, d.b, d.corner);
  return Fill([&](const Point& p) { return Side(d.a, d.b, p) * corner > 0; });
}

BitmapGlyph Complement(BitmapGlyph glyph) {
  for (auto& row : glyph.Rows) row = ~row & (~0u << (32 - kCellWidth));
  return glyph;
}

bool InTriangle(const Point& p, const Point& a, const Point& b, const Point& c) {
  const double s1 = Side(a, b, p), s2 = Side(b, c, p), s3 = Side(c, a, p);
  return (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
}

BitmapGlyph Triangle(const Point& a, const Point& b) {
  return Fill([&](const Point& p) { return InTriangle(p, a, b, kCentre); });
}

// Box drawing: light strokes two pixels wide and one high, heavy ones four wide and three high,
// through the cell's middle (columns 6-7, row 7).
enum Arm : unsigned { kUp = 1, kDown = 2, kLeft = 4, kRight = 8 };
BitmapGlyph Box(unsigned arms, unsigned heavyArms = 0) {
  BitmapGlyph glyph = Blank();
  for (unsigned arm : {kUp, kDown, kLeft, kRight}) {
    if ((arms & arm) == 0) continue;
    const bool heavy = (heavyArms & arm) != 0;
    if (arm == kUp || arm == kDown) {
      const int from = arm == kUp ? 0 : 7, to = arm == kUp ? 8 : 15;
      for (int y = from; y < to; ++y) {
        for (int x = heavy ? 5 : 6; x <= (heavy ? 8 : 7); ++x) Set(glyph, x, y);
      }
    } else {
      const int from = arm == kLeft ? 0 : 6, to = arm == kLeft ? 8 : 14;
      for (int x = from; x < to; ++x) {
        for (int y = heavy ? 6 : 7; y <= (heavy ? 8 : 7); ++y) Set(glyph, x, y);
      }
    }
  }
  return glyph;
}

// A line two pixels wide from a to b, one step per pixel row.
void Line(BitmapGlyph& glyph, const Point& a, const Point& b) {
  const int top = static_cast<int>(std::floor(std::fmin(a.y, b.y)));
  const int bottom = static_cast<int>(std::ceil(std::fmax(a.y, b.y)));
  for (int y = top; y < bottom; ++y) {
    const double t = (y + 0.5 - a.y) / (b.y - a.y);
    const int x = static_cast<int>(std::lround(a.x + t * (b.x - a.x) - 1));
    Set(glyph, x, y);
    Set(glyph, x + 1, y);
  }
}

BitmapGlyph Lines(std::initializer_list<std::array<Point, 2>> lines) {
  BitmapGlyph glyph = Blank();
  for (const auto& line : lines) Line(glyph, line[0], line[1]);
  return glyph;
}

BitmapGlyph Disc(double radius, double hole) {
  return Fill([&](const Point& p) {
    const double d = std::hypot((p.x - kCentre.x) / 1.0, p.y - kCentre.y);
    return d <= radius && d > hole;
  });
}

// An arrow along one axis: a shaft through the middle and a head of rows (or columns) that
// widen towards the shaft's start.
BitmapGlyph Arrow(unsigned direction) {
  BitmapGlyph glyph = Blank();
  for (int i = 1; i < 13; ++i) {
    if (direction == kLeft || direction == kRight) {
      Set(glyph, i, 7);
    } else {
      Set(glyph, 6, i + 1);
      Set(glyph, 7, i + 1);
    }
  }
  for (int step = 0; step < 5; ++step) {
    for (int w = -step; w <= step; ++w) {
      switch (direction) {
        case kRight: Set(glyph, 12 - 5 + step, 7 + w); break;
        case kLeft: Set(glyph, 1 + 5 - step, 7 + w); break;
        case kUp: Set(glyph, 6 + w, 2 + step), Set(glyph, 7 + w, 2 + step); break;
        default: Set(glyph, 6 + w, 13 - step), Set(glyph, 7 + w, 13 - step); break;
      }
    }
  }
  return glyph;
}

BitmapGlyph LineDrawing(std::uint8_t code) {
  switch (code) {
    case 0x40: return Box(kUp | kLeft | kRight, kLeft | kRight);
    case 0x41: return Box(kDown | kLeft | kRight, kLeft | kRight);
    case 0x42: return Box(kUp | kDown | kRight, kRight);
    case 0x43: return Box(kUp | kDown | kLeft, kLeft);
    case 0x44: return Lines({{kUC, Point{0, kH / 2}}, {Point{0, kH / 2}, kLC}});
    case 0x45: return Lines({{kUC, Point{kW, kH / 2}}, {Point{kW, kH / 2}, kLC}});
    case 0x46: return Lines({{Point{0, kH / 2}, kLC}, {kLC, Point{kW, kH / 2}}});
    case 0x47: return Lines({{Point{0, kH / 2}, kUC}, {kUC, Point{kW, kH / 2}}});
    case 0x48: return Lines({{kUC, Point{0, kH / 2}}});
    case 0x49: return Lines({{kUC, Point{kW, kH / 2}}});
    case 0x4A: return Lines({{Point{0, kH / 2}, kLC}});
    case 0x4B: return Lines({{Point{kW, kH / 2}, kLC}});
    case 0x4C: return Box(kUp | kDown | kLeft | kRight, kLeft | kRight);
    case 0x4D: return Disc(2.0, -1);
    case 0x4E: return Disc(5.0, -1);
    case 0x4F: return Disc(5.0, 3.5);
    case 0x50: return Box(kUp | kDown);
    case 0x51: return Box(kLeft | kRight);
    case 0x52: return Box(kDown | kRight);
    case 0x53: return Box(kDown | kLeft);
    case 0x54: return Box(kUp | kRight);
    case 0x55: return Box(kUp | kLeft);
    case 0x56: return Box(kUp | kDown | kRight);
    case 0x57: return Box(kUp | kDown | kLeft);
    case 0x58: return Box(kDown | kLeft | kRight);
    case 0x59: return Box(kUp | kLeft | kRight);
    case 0x5A: return Box(kUp | kDown | kLeft | kRight);
    case 0x5B: return Arrow(kRight);
    case 0x5C: return Arrow(kLeft);
    case 0x5D: return Arrow(kUp);
    case 0x5E: return Arrow(kDown);
    default: return Blank();
  }
}

// Column 2 and 3 of 0x20..0x3F: the lower smooth mosaics and the shapes between them.
BitmapGlyph LowerShape(std::uint8_t code) {
  const unsigned index = code & 0x0F;
  const bool second = code >= 0x30;
  if (index < 12) return HalfPlane(second ? kLowerRightFirst[index] : kLowerLeftFirst[index]);
  switch (code) {
    case 0x2C: return Complement(Triangle(kUL, kLL));
    case 0x2D: return Complement(Triangle(kUL, kUR));
    case 0x2E: return Fill([](const Point& p) { return p.x > 1.75 && p.x < 3.5 + 0.5; });
    case 0x2F: return Fill([](const Point& p) { return (static_cast<int>(p.x) + static_cast<int>(p.y)) % 2 == 0; });
    case 0x3C: return Complement(Triangle(kUR, kLR));
    case 0x3D: return Complement(Triangle(kLL, kLR));
    case 0x3E: return Fill([](const Point& p) { return p.x > 10 && p.x < 12; });
    default: return Complement(Blank());  // 0x3F, the full block
  }
}

}  // namespace

BitmapGlyph SmoothMosaicGlyph(std::uint8_t code) {
  if (code < 0x20 || code > 0x7F) return Blank();
  if (code < 0x40) return LowerShape(code);
  if (code < 0x60) return LineDrawing(code);
  const unsigned index = code & 0x0F;
  // The upper smooth mosaics are the rest of the cell of their lower partners.
  if (index < 12) return Complement(LowerShape(static_cast<std::uint8_t>(code - 0x40)));
  switch (code) {
    case 0x6C: return Triangle(kUL, kLL);
    case 0x6D: return Triangle(kUL, kUR);
    case 0x7C: return Triangle(kUR, kLR);
    case 0x7D: return Triangle(kLL, kLR);
    default: return Blank();
  }
}

}  // namespace tolv::fonts
