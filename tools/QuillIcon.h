#pragma once
/// The program's icon, drawn from simple vector shapes and written as a multi-image .ico file. Header-only so that
/// the generator (tools/MakeIcon.cpp, built for the build host) and the native tests share one definition without a
/// library target of their own.
///
/// The picture: a quill pen lying on the diagonal, its nib at the lower left resting on a short ink stroke and its
/// feather sweeping up to the upper right. The feather takes the greyish blue of the window's title band.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillon::icon {

struct Rgba {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  std::uint8_t a = 0;
};

/// A square image, rows from the top, straight (not premultiplied) alpha.
struct Image {
  int size = 0;
  std::vector<Rgba> pixels;
  const Rgba& At(int x, int y) const { return pixels[static_cast<std::size_t>(y * size + x)]; }
};

/// One image of the icon file: its edge length and colour depth.
struct Format {
  int size;
  int bitCount;
};

/// The images the icon group holds: each size at 256 colours and at 32 bits with alpha.
constexpr std::array<Format, 8> kFormats{{
    {16, 8}, {24, 8}, {32, 8}, {48, 8}, {16, 32}, {24, 32}, {32, 32}, {48, 32},
}};

namespace detail {

constexpr double kPi = 3.14159265358979323846;

struct Color {
  double r;
  double g;
  double b;
};

inline Color Mix(Color a, Color b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// The quill's own frame: u runs along the shaft from the nib (0) to the feather's tip (1); v is the distance across
// it, negative towards the upper left. Both in units of the shaft's length.
struct QuillPoint {
  double u;
  double v;
};

constexpr double kNibX = 0.13;
constexpr double kNibY = 0.88;
constexpr double kTipX = 0.90;
constexpr double kTipY = 0.09;

inline QuillPoint ToQuill(double x, double y) {
  const double dx = kTipX - kNibX;
  const double dy = kTipY - kNibY;
  const double length2 = dx * dx + dy * dy;
  const double px = x - kNibX;
  const double py = y - kNibY;
  const double u = (px * dx + py * dy) / length2;
  const double v = (px * -dy + py * dx) / length2;
  // The shaft bows a little towards the upper left, as a feather does.
  return {u, v + 0.045 * std::sin(kPi * std::clamp(u, 0.0, 1.0))};
}

// Half-widths of the feather's two vanes at `u`, grown by `grow`; the upper-left vane is the wider one. A notch in
// each vane breaks the outline the way a real feather's barbs part.
inline void VaneWidths(double u, double grow, double& upper, double& lower) {
  constexpr double kStart = 0.30;
  const double s = (u - kStart) / (1.0 - kStart);
  if (s < 0.0 || s > 1.0) {
    upper = lower = grow > 0.0 && s > -grow * 2.0 && s <= 1.0 + grow * 2.0 ? grow : -1.0;
    return;
  }
  const double profile = std::pow(std::sin(kPi * std::pow(s, 0.75)), 0.8);
  const double notchUpper = std::max(0.0, 0.045 - 0.9 * std::abs(s - 0.42));
  const double notchLower = std::max(0.0, 0.035 - 0.9 * std::abs(s - 0.66));
  upper = 0.20 * profile - notchUpper + grow;
  lower = 0.12 * profile - notchLower + grow;
}

inline bool InVane(QuillPoint q, double grow) {
  double upper = 0.0;
  double lower = 0.0;
  VaneWidths(q.u, grow, upper, lower);
  return q.v < 0.0 ? -q.v <= upper : q.v <= lower;
}

inline bool InShaft(QuillPoint q, double halfWidth, double grow) {
  if (q.u < 0.10 - grow || q.u > 0.97 + grow) return false;
  // The barrel near the nib is thicker and narrows into the shaft.
  const double barrel = q.u < 0.30 ? 0.030 - 0.06 * (q.u - 0.10) : 0.0;
  const double taper = q.u > 0.80 ? (q.u - 0.80) * halfWidth * 3.0 : 0.0;
  return std::abs(q.v) <= std::max(halfWidth + barrel - taper, 0.0) + grow;
}

inline bool InNib(QuillPoint q, double grow) {
  if (q.u < -grow || q.u > 0.13 + grow) return false;
  return std::abs(q.v) <= 0.045 * std::clamp(q.u / 0.13, 0.0, 1.0) + grow;
}

// A short wavy ink stroke leaving the nib to the right.
inline bool InInk(double x, double y, double halfWidth) {
  if (x < 0.08 || x > 0.62) return false;
  const double centre = 0.925 - 0.025 * std::sin((x - 0.08) / 0.54 * 2.0 * kPi);
  const double taper = 1.0 - std::clamp((x - 0.45) / 0.17, 0.0, 1.0) * 0.7;
  return std::abs(y - centre) <= halfWidth * taper;
}

constexpr Color kOutline{38.0, 48.0, 78.0};
constexpr Color kVaneEdge{139.0, 155.0, 184.0};  // the title band's colour
constexpr Color kVaneInner{226.0, 233.0, 246.0};
constexpr Color kBarb{108.0, 124.0, 156.0};
constexpr Color kShaft{250.0, 246.0, 232.0};
constexpr Color kNib{34.0, 36.0, 52.0};
constexpr Color kInk{36.0, 62.0, 140.0};

// The colour of the topmost shape at (x, y), in [0, 1] image coordinates, or false where nothing is drawn.
// `pixel` is one pixel's width, so that outlines and thin lines stay visible at every size.
inline bool Shade(double x, double y, double pixel, Color& out) {
  const QuillPoint q = ToQuill(x, y);
  const double outline = pixel * 0.9;
  const double shaftHalf = std::max(pixel * 0.5, 0.012);
  bool hit = false;
  if (InInk(x, y, std::max(pixel * 0.6, 0.022))) {
    out = kInk;
    hit = true;
  }
  if (InVane(q, outline)) {
    out = kOutline;
    hit = true;
  }
  if (InVane(q, 0.0)) {
    double upper = 0.0;
    double lower = 0.0;
    VaneWidths(q.u, 0.0, upper, lower);
    const double across = std::clamp(std::abs(q.v) / std::max(q.v < 0.0 ? upper : lower, 1e-6), 0.0, 1.0);
    out = Mix(kVaneInner, kVaneEdge, std::pow(across, 0.7));
    // Barbs: faint lines slanting from the shaft towards the tip, drawn only where there is room for them.
    if (pixel < 1.0 / 30.0) {
      const double barb = q.u - 0.55 * std::abs(q.v);
      const double phase = barb * 26.0 - std::floor(barb * 26.0);
      if (phase < 0.18 && across > 0.25) out = Mix(out, kBarb, 0.55);
    }
    hit = true;
  }
  if (InShaft(q, shaftHalf, outline) || InNib(q, outline)) {
    out = kOutline;
    hit = true;
  }
  if (InShaft(q, shaftHalf, 0.0)) {
    out = kShaft;
    hit = true;
  }
  if (InNib(q, 0.0)) {
    out = kNib;
    // The nib's slit, where there is room for it.
    if (pixel < 1.0 / 30.0 && q.u > 0.035 && q.u < 0.10 && std::abs(q.v) < pixel * 0.45) out = Mix(kNib, kShaft, 0.6);
    hit = true;
  }
  return hit;
}

inline std::uint8_t ToByte(double value) { return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L)); }

}  // namespace detail

/// Draws the quill at `size` pixels, anti-aliased by averaging 8 x 8 samples per pixel.
inline Image DrawQuill(int size) {
  constexpr int kSamples = 8;
  Image image;
  image.size = size;
  image.pixels.resize(static_cast<std::size_t>(size * size));
  const double pixel = 1.0 / size;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      double r = 0.0;
      double g = 0.0;
      double b = 0.0;
      int covered = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          detail::Color color{};
          const double px = (x + (sx + 0.5) / kSamples) * pixel;
          const double py = (y + (sy + 0.5) / kSamples) * pixel;
          if (!detail::Shade(px, py, pixel, color)) continue;
          r += color.r;
          g += color.g;
          b += color.b;
          ++covered;
        }
      }
      Rgba& out = image.pixels[static_cast<std::size_t>(y * size + x)];
      if (covered == 0) continue;
      out = {detail::ToByte(r / covered), detail::ToByte(g / covered), detail::ToByte(b / covered),
             detail::ToByte(255.0 * covered / (kSamples * kSamples))};
    }
  }
  return image;
}

/// Pixels with less alpha than this are transparent in the 256-colour images, which have no alpha of their own.
constexpr std::uint8_t kOpaqueAlpha = 128;

namespace detail {

// Median cut: splits the colour set along its widest channel until there are `count` boxes, and returns each
// box's average. Deterministic, so the same drawing always gives the same file.
inline std::vector<Rgba> MedianCutPalette(std::vector<Rgba> colors, std::size_t count) {
  struct Box {
    std::size_t begin;
    std::size_t end;
  };
  auto channel = [](const Rgba& c, int which) { return which == 0 ? c.r : which == 1 ? c.g : c.b; };
  auto widest = [&](const Box& box, int& range) {
    int best = 0;
    range = -1;
    for (int which = 0; which < 3; ++which) {
      int lo = 255;
      int hi = 0;
      for (std::size_t i = box.begin; i < box.end; ++i) {
        lo = std::min<int>(lo, channel(colors[i], which));
        hi = std::max<int>(hi, channel(colors[i], which));
      }
      if (hi - lo > range) {
        range = hi - lo;
        best = which;
      }
    }
    return best;
  };
  std::vector<Box> boxes;
  if (!colors.empty()) boxes.push_back({0, colors.size()});
  while (boxes.size() < count) {
    std::size_t split = boxes.size();
    int splitRange = 0;
    int splitChannel = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      int range = 0;
      const int which = widest(boxes[i], range);
      if (boxes[i].end - boxes[i].begin > 1 && range > splitRange) {
        split = i;
        splitRange = range;
        splitChannel = which;
      }
    }
    if (split == boxes.size()) break;  // every box holds one colour
    Box& box = boxes[split];
    auto first = colors.begin() + static_cast<std::ptrdiff_t>(box.begin);
    auto last = colors.begin() + static_cast<std::ptrdiff_t>(box.end);
    std::sort(first, last, [&](const Rgba& a, const Rgba& b) {
      const int ka = channel(a, splitChannel);
      const int kb = channel(b, splitChannel);
      if (ka != kb) return ka < kb;
      return std::array<int, 3>{a.r, a.g, a.b} < std::array<int, 3>{b.r, b.g, b.b};
    });
    const std::size_t middle = box.begin + (box.end - box.begin) / 2;
    boxes.push_back({middle, box.end});
    boxes[split].end = middle;
  }
  std::vector<Rgba> palette;
  for (const Box& box : boxes) {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
    for (std::size_t i = box.begin; i < box.end; ++i) {
      r += colors[i].r;
      g += colors[i].g;
      b += colors[i].b;
    }
    const double n = static_cast<double>(box.end - box.begin);
    palette.push_back({ToByte(r / n), ToByte(g / n), ToByte(b / n), 255});
  }
  return palette;
}

inline std::uint8_t NearestIndex(const std::vector<Rgba>& palette, const Rgba& c, std::size_t firstIndex) {
  std::size_t best = firstIndex;
  long bestDistance = -1;
  for (std::size_t i = firstIndex; i < palette.size(); ++i) {
    const long dr = long{palette[i].r} - c.r;
    const long dg = long{palette[i].g} - c.g;
    const long db = long{palette[i].b} - c.b;
    const long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return static_cast<std::uint8_t>(best);
}

class ByteWriter {
 public:
  explicit ByteWriter(std::vector<std::uint8_t>& out) : out_(out) {}
  void U8(unsigned value) { out_.push_back(static_cast<std::uint8_t>(value)); }
  void U16(unsigned value) {
    U8(value & 0xFF);
    U8((value >> 8) & 0xFF);
  }
  void U32(std::uint32_t value) {
    U16(value & 0xFFFF);
    U16(value >> 16);
  }
  void Zeros(std::size_t count) { out_.insert(out_.end(), count, 0); }

 private:
  std::vector<std::uint8_t>& out_;
};

constexpr std::size_t kInfoHeaderSize = 40;

inline std::size_t XorStride(int size, int bitCount) {
  return static_cast<std::size_t>((size * bitCount + 31) / 32 * 4);
}
inline std::size_t MaskStride(int size) { return static_cast<std::size_t>((size + 31) / 32 * 4); }

// One image in the icon file's BMP form: the header with the doubled height of colour and mask bitmaps, the
// palette, the colour bitmap and the AND mask, both bottom row first.
inline std::vector<std::uint8_t> EncodeImage(const Image& image, int bitCount) {
  const int size = image.size;
  const std::size_t xorStride = XorStride(size, bitCount);
  const std::size_t maskStride = MaskStride(size);
  std::vector<Rgba> palette;
  std::vector<std::uint8_t> indices;
  if (bitCount == 8) {
    std::vector<Rgba> opaque;
    for (const Rgba& p : image.pixels)
      if (p.a >= kOpaqueAlpha) opaque.push_back({p.r, p.g, p.b, 255});
    // Index 0 is black and stands for the transparent pixels: under a set mask bit the colour must be 0, so the
    // background shows through unchanged.
    palette.push_back({0, 0, 0, 255});
    for (const Rgba& c : MedianCutPalette(opaque, 255)) palette.push_back(c);
    for (const Rgba& p : image.pixels)
      indices.push_back(p.a >= kOpaqueAlpha ? NearestIndex(palette, p, 1) : std::uint8_t{0});
    palette.resize(256, Rgba{0, 0, 0, 255});
  }

  std::vector<std::uint8_t> out;
  ByteWriter w(out);
  w.U32(static_cast<std::uint32_t>(kInfoHeaderSize));
  w.U32(static_cast<std::uint32_t>(size));
  w.U32(static_cast<std::uint32_t>(size * 2));
  w.U16(1);
  w.U16(static_cast<unsigned>(bitCount));
  w.U32(0);  // BI_RGB
  w.U32(static_cast<std::uint32_t>((xorStride + maskStride) * static_cast<std::size_t>(size)));
  w.U32(0);
  w.U32(0);
  w.U32(bitCount == 8 ? 256u : 0u);
  w.U32(0);
  for (const Rgba& c : palette) {
    w.U8(c.b);
    w.U8(c.g);
    w.U8(c.r);
    w.U8(0);
  }
  for (int y = size - 1; y >= 0; --y) {
    const std::size_t rowStart = out.size();
    for (int x = 0; x < size; ++x) {
      const Rgba& p = image.At(x, y);
      if (bitCount == 8) {
        w.U8(indices[static_cast<std::size_t>(y * size + x)]);
        continue;
      }
      w.U8(p.b);
      w.U8(p.g);
      w.U8(p.r);
      w.U8(p.a);
    }
    w.Zeros(xorStride - (out.size() - rowStart));
  }
  // Mask bit 1 = transparent. The 32-bit images carry their own alpha; their mask marks the fully clear pixels
  // for the places that draw with the mask alone.
  for (int y = size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(maskStride, 0);
    for (int x = 0; x < size; ++x) {
      const std::uint8_t alpha = image.At(x, y).a;
      const bool clear = bitCount == 8 ? alpha < kOpaqueAlpha : alpha == 0;
      if (clear) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace detail

/// The whole .ico file: the directory of kFormats followed by each image.
inline std::vector<std::uint8_t> MakeQuillonIcon() {
  std::vector<std::vector<std::uint8_t>> images;
  for (const Format& format : kFormats) images.push_back(detail::EncodeImage(DrawQuill(format.size), format.bitCount));

  std::vector<std::uint8_t> file;
  detail::ByteWriter w(file);
  constexpr std::size_t kDirectorySize = 6;
  constexpr std::size_t kEntrySize = 16;
  w.U16(0);
  w.U16(1);  // icon
  w.U16(static_cast<unsigned>(kFormats.size()));
  std::size_t offset = kDirectorySize + kEntrySize * kFormats.size();
  for (std::size_t i = 0; i < kFormats.size(); ++i) {
    w.U8(static_cast<unsigned>(kFormats[i].size));
    w.U8(static_cast<unsigned>(kFormats[i].size));
    w.U8(0);  // colour count: 0 for 256 colours and more
    w.U8(0);
    w.U16(1);
    w.U16(static_cast<unsigned>(kFormats[i].bitCount));
    w.U32(static_cast<std::uint32_t>(images[i].size()));
    w.U32(static_cast<std::uint32_t>(offset));
    offset += images[i].size();
  }
  for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());
  return file;
}

}  // namespace quillon::icon
