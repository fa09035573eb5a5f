#pragma once
/// A face for every character a text box's font lacks, and each character measured in the face that draws it.

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "runtime/win32/Win32Handles.h"

namespace quillon::runtime::win32 {

/// Characters beyond the basic plane a font maps, [first, last], to the glyphs from `glyph` on.
struct CmapGroup {
  char32_t first;
  char32_t last;
  std::uint32_t glyph;
};

/// The faces one font draws with: the font itself and, for characters it has no glyph for, a face the machine has
/// that draws them (asked of the font mapper by the script's character set first, then among the installed
/// faces). Views of one thread whose fonts are alike share one, so each face is looked for once.
class FontFallback {
 public:
  static std::shared_ptr<FontFallback> For(HGDIOBJ font);

  explicit FontFallback(const LOGFONTW& base);
  FontFallback(const FontFallback&) = delete;
  FontFallback& operator=(const FontFallback&) = delete;

  const LOGFONTW& Base() const noexcept { return base_; }
  /// The face that draws `character` instead of the base font; nullptr when the base font draws it or no face does
  /// (then the base font's default glyph shows).
  HFONT FontOf(char32_t character);
  /// CharWidths' measures: each character's width in the face that draws it.
  [[nodiscard]] bool MeasureRange(HGDIOBJ base, char32_t first, std::size_t count, int* widths);
  [[nodiscard]] bool MeasureOne(HGDIOBJ base, char32_t character, int& width);

 private:
  static constexpr std::size_t kBlock = 256;
  static constexpr unsigned char kBase = 0xFF;
  using Block = std::array<unsigned char, kBlock>;  // per character: the index of its face, or kBase

  const Block& BlockOf(char32_t character);
  void Choose(char32_t first, Block& block);
  /// For a character beyond the basic plane, which GetGlyphIndicesW cannot ask about: the fonts' own cmap tables.
  unsigned char ChooseBeyond(char32_t character);
  bool Covers(HDC dc, int face, char32_t character);
  /// The glyph of a character beyond the basic plane in a face (the base as -1), from its cmap; 0 when none.
  std::uint32_t GlyphBeyond(HDC dc, int face, char32_t character);
  /// The index of the face named `face` (by the charset `charSet` when the name is empty), created on first use.
  int FaceIndex(const std::wstring& face, BYTE charSet);

  LOGFONTW base_;
  DWORD thread_ = GetCurrentThreadId();
  UniqueFont baseCopy_;  // for asking which glyphs the base font has
  std::wstring baseFace_;  // the face the mapper gave the base font
  std::vector<UniqueFont> fonts_;
  std::vector<std::wstring> faceNames_;
  std::array<std::unique_ptr<Block>, 0x10000 / kBlock> blocks_;
  std::unordered_map<char32_t, unsigned char> beyond_;
  /// Per face (the base as -1), the characters beyond the basic plane its cmap maps and their glyphs.
  std::unordered_map<int, std::vector<CmapGroup>> beyondGroups_;
};

}  // namespace quillon::runtime::win32
