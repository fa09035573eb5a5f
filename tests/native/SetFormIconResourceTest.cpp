// The icon file the build generates for the resource "AAA", read back with a reader of its own: the directory, the
// BMP form of each image, and agreement between each 256-colour image and its 32-bit twin.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "tools/QuillIcon.h"

namespace quillon::icon {
namespace {

unsigned U16(const std::vector<std::uint8_t>& b, std::size_t at) { return b.at(at) | (b.at(at + 1) << 8); }
std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint32_t>(U16(b, at) | (U16(b, at + 2) << 16));
}

struct DirectoryEntry {
  int width;
  int height;
  int bitCount;
  std::size_t size;
  std::size_t offset;
};

struct Pixel {
  int r, g, b, a;
  bool masked;
};

// One decoded image: pixels from the top row down.
struct Decoded {
  int size = 0;
  std::vector<Pixel> pixels;
  const Pixel& At(int x, int y) const { return pixels.at(static_cast<std::size_t>(y * size + x)); }
};

std::vector<DirectoryEntry> ReadDirectory(const std::vector<std::uint8_t>& file) {
  std::vector<DirectoryEntry> entries;
  for (unsigned i = 0; i < U16(file, 4); ++i) {
    const std::size_t at = 6 + 16 * i;
    entries.push_back({file.at(at) == 0 ? 256 : file.at(at), file.at(at + 1) == 0 ? 256 : file.at(at + 1),
                       static_cast<int>(U16(file, at + 6)), U32(file, at + 8), U32(file, at + 12)});
  }
  return entries;
}

Decoded Decode(const std::vector<std::uint8_t>& file, const DirectoryEntry& entry) {
  const std::size_t base = entry.offset;
  const int size = static_cast<int>(U32(file, base + 4));
  const int bitCount = static_cast<int>(U16(file, base + 14));
  const std::size_t paletteSize = bitCount == 8 ? 256 * 4 : 0;
  const std::size_t xorStride = static_cast<std::size_t>((size * bitCount + 31) / 32 * 4);
  const std::size_t maskStride = static_cast<std::size_t>((size + 31) / 32 * 4);
  const std::size_t palette = base + 40;
  const std::size_t bits = palette + paletteSize;
  const std::size_t mask = bits + xorStride * static_cast<std::size_t>(size);
  Decoded out;
  out.size = size;
  for (int y = 0; y < size; ++y) {
    const std::size_t row = static_cast<std::size_t>(size - 1 - y);  // bottom row first
    for (int x = 0; x < size; ++x) {
      const bool masked = (file.at(mask + row * maskStride + static_cast<std::size_t>(x / 8)) & (0x80 >> (x % 8))) != 0;
      if (bitCount == 8) {
        const std::size_t index = file.at(bits + row * xorStride + static_cast<std::size_t>(x));
        const std::size_t colour = palette + index * 4;
        out.pixels.push_back({file.at(colour + 2), file.at(colour + 1), file.at(colour), masked ? 0 : 255, masked});
        if (masked) {
          EXPECT_EQ(index, 0u) << "a transparent pixel must hold colour 0 so the background shows through";
        }
        continue;
      }
      const std::size_t at = bits + row * xorStride + static_cast<std::size_t>(x) * 4;
      out.pixels.push_back({file.at(at + 2), file.at(at + 1), file.at(at), file.at(at + 3), masked});
    }
  }
  return out;
}

class QuillonIconFile : public ::testing::Test {
 protected:
  const std::vector<std::uint8_t> file_ = MakeQuillonIcon();
  const std::vector<DirectoryEntry> entries_ = ReadDirectory(file_);

  Decoded Find(int size, int bitCount) const {
    for (const DirectoryEntry& entry : entries_)
      if (entry.width == size && entry.bitCount == bitCount) return Decode(file_, entry);
    ADD_FAILURE() << "no " << size << " px image at " << bitCount << " bpp";
    return {};
  }
};

TEST_F(QuillonIconFile, HoldsEightBitmapsAtFourSizesInBothDepthsBackToBack) {
  ASSERT_GE(file_.size(), 6u);
  EXPECT_EQ(U16(file_, 0), 0u);
  EXPECT_EQ(U16(file_, 2), 1u) << "resource type 1 is an icon";
  ASSERT_EQ(entries_.size(), 8u);
  std::set<std::pair<int, int>> formats;
  std::size_t expectedOffset = 6 + 16 * entries_.size();
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const DirectoryEntry& entry = entries_[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(entry.width, entry.height);
    EXPECT_EQ(file_.at(6 + 16 * i + 2), 0) << "colour count is 0 from 256 colours up";
    EXPECT_EQ(U16(file_, 6 + 16 * i + 4), 1u) << "planes";
    EXPECT_EQ(entry.offset, expectedOffset);
    expectedOffset += entry.size;
    // The BMP form: a 40-byte header whose height counts colour bitmap and mask, then palette, colours, mask.
    EXPECT_EQ(U32(file_, entry.offset), 40u);
    EXPECT_EQ(U32(file_, entry.offset + 8), static_cast<std::uint32_t>(2 * entry.height));
    EXPECT_EQ(U16(file_, entry.offset + 14), static_cast<unsigned>(entry.bitCount));
    const std::size_t rows = static_cast<std::size_t>(entry.height);
    const std::size_t colourBytes = static_cast<std::size_t>((entry.width * entry.bitCount + 31) / 32 * 4) * rows;
    const std::size_t maskBytes = static_cast<std::size_t>((entry.width + 31) / 32 * 4) * rows;
    EXPECT_EQ(entry.size, 40 + (entry.bitCount == 8 ? 1024u : 0u) + colourBytes + maskBytes);
    formats.insert({entry.width, entry.bitCount});
  }
  EXPECT_EQ(expectedOffset, file_.size()) << "the images fill the file exactly";
  const std::set<std::pair<int, int>> expected{{16, 8},  {24, 8},  {32, 8},  {48, 8},
                                               {16, 32}, {24, 32}, {32, 32}, {48, 32}};
  EXPECT_EQ(formats, expected);
}

TEST_F(QuillonIconFile, PaletteImagesShowTheSameQuillAsTheirTrueColourTwins) {
  for (const int size : {16, 24, 32, 48}) {
    SCOPED_TRACE(std::to_string(size) + " px");
    const Decoded paletted = Find(size, 8);
    const Decoded trueColour = Find(size, 32);
    ASSERT_EQ(paletted.pixels.size(), static_cast<std::size_t>(size * size));
    ASSERT_EQ(trueColour.pixels.size(), paletted.pixels.size());
    int opaque = 0;
    for (std::size_t i = 0; i < paletted.pixels.size(); ++i) {
      const Pixel& p = paletted.pixels[i];
      const Pixel& t = trueColour.pixels[i];
      EXPECT_EQ(t.masked, t.a == 0) << "pixel " << i << ": the 32-bit mask marks exactly the clear pixels";
      EXPECT_EQ(p.masked, t.a < kOpaqueAlpha) << "pixel " << i;
      if (p.masked) continue;
      ++opaque;
      const int error = std::abs(p.r - t.r) + std::abs(p.g - t.g) + std::abs(p.b - t.b);
      EXPECT_LE(error, 30) << "pixel " << i << ": palette colour far from the drawn one";
    }
    // A quill across the diagonal: clear corners off the diagonal, ink in the middle, neither blank nor filled.
    EXPECT_EQ(trueColour.At(0, 0).a, 0);
    EXPECT_EQ(trueColour.At(size - 1, size - 1).a, 0);
    EXPECT_EQ(trueColour.At(size / 2, size / 2).a, 255);
    EXPECT_GT(opaque, size * size / 8);
    EXPECT_LT(opaque, size * size / 2);
  }
}

}  // namespace
}  // namespace quillon::icon
