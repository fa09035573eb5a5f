#include "runtime/textview/win32/Win32FontFallback.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <mutex>
#include <utility>

#include "support/Utf16.h"

namespace quillon::runtime::win32 {

namespace {

/// Characters no face is looked for: controls, surrogates, private use and non-characters keep the base font's
/// default glyph.
bool NeedsNoFace(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0xD800 && c <= 0xF8FF) || c >= 0xFFFE;
}

/// The character sets whose default faces are likeliest to draw a block, best first. For the ideographs shared by
/// Chinese, Japanese and Korean, the one of the user's code page goes first.
std::vector<BYTE> CharSetsFor(char32_t c) {
  if ((c >= 0x0370 && c <= 0x03FF) || (c >= 0x1F00 && c <= 0x1FFF)) return {GREEK_CHARSET};
  if (c >= 0x0400 && c <= 0x052F) return {RUSSIAN_CHARSET};
  if ((c >= 0x0590 && c <= 0x05FF) || (c >= 0xFB00 && c <= 0xFB4F)) return {HEBREW_CHARSET};
  if ((c >= 0x0600 && c <= 0x08FF) || (c >= 0xFB50 && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF))
    return {ARABIC_CHARSET};
  if (c >= 0x0E00 && c <= 0x0E7F) return {THAI_CHARSET};
  if (c >= 0x1E00 && c <= 0x1EFF) return {VIETNAMESE_CHARSET, EASTEUROPE_CHARSET};
  if (c >= 0x0100 && c <= 0x024F) return {EASTEUROPE_CHARSET, TURKISH_CHARSET, BALTIC_CHARSET};
  if ((c >= 0x1100 && c <= 0x11FF) || (c >= 0x3130 && c <= 0x318F) || (c >= 0xAC00 && c <= 0xD7AF))
    return {HANGUL_CHARSET};
  const bool eastAsian = (c >= 0x2E80 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
                         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFFEF);
  if (!eastAsian) return {};
  std::vector<BYTE> sets{SHIFTJIS_CHARSET, GB2312_CHARSET, CHINESEBIG5_CHARSET, HANGUL_CHARSET};
  BYTE own = 0;
  switch (GetACP()) {
    case 936: own = GB2312_CHARSET; break;
    case 949: own = HANGUL_CHARSET; break;
    case 950: own = CHINESEBIG5_CHARSET; break;
    default: own = SHIFTJIS_CHARSET; break;
  }
  std::stable_partition(sets.begin(), sets.end(), [own](BYTE set) { return set == own; });
  return sets;
}

int CALLBACK AddFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM faces) noexcept {
  // Symbol fonts put pictures where letters are, and raster fonts answer glyph questions unreliably.
  if (font->lfCharSet == SYMBOL_CHARSET || (type & RASTER_FONTTYPE) || font->lfFaceName[0] == L'@') return 1;
  auto& list = *reinterpret_cast<std::vector<std::wstring>*>(faces);
  try {
    if (std::find(list.begin(), list.end(), font->lfFaceName) == list.end()) list.emplace_back(font->lfFaceName);
  } catch (...) {
    return 0;
  }
  return 1;
}

/// The installed faces, asked once: fonts installed while the program runs are not looked at.
const std::vector<std::wstring>& InstalledFaces() {
  static const std::vector<std::wstring> faces = [] {
    std::vector<std::wstring> list;
    ScreenDc dc(nullptr);
    LOGFONTW any{};
    any.lfCharSet = DEFAULT_CHARSET;
    if (dc.Get()) EnumFontFamiliesExW(dc.Get(), &any, AddFace, reinterpret_cast<LPARAM>(&list), 0);
    return list;
  }();
  return faces;
}

/// The glyph of each character of a block in a font: 0xFFFF where it has none.
bool GlyphsOf(HDC dc, HGDIOBJ font, char32_t first, WORD* glyphs, std::size_t count) {
  std::wstring block(count, L'\0');
  for (std::size_t i = 0; i < count; ++i) block[i] = static_cast<wchar_t>(first + i);
  SelectedObject using_(dc, font);
  return GetGlyphIndicesW(dc, block.c_str(), static_cast<int>(count), glyphs, GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR;
}

std::uint32_t BigEndian(const std::vector<unsigned char>& data, std::size_t at, std::size_t bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < bytes; ++i) value = (value << 8) | data[at + i];
  return value;
}

/// The characters beyond the basic plane the font in `dc` has glyphs for, with their glyphs, from the segmented
/// coverage (format 12) subtable of its cmap table; none when it has no such subtable.
std::vector<CmapGroup> BeyondBasicPlane(HDC dc) {
  constexpr DWORD kCmap = 0x70616D63;  // "cmap", as GetFontData reads tags
  std::vector<CmapGroup> groups;
  const DWORD size = GetFontData(dc, kCmap, 0, nullptr, 0);
  if (size == GDI_ERROR || size < 4) return groups;
  std::vector<unsigned char> data(size);
  if (GetFontData(dc, kCmap, 0, data.data(), size) != size) return groups;
  const std::size_t tables = BigEndian(data, 2, 2);
  for (std::size_t i = 0; i < tables && 4 + i * 8 + 8 <= data.size(); ++i) {
    const std::size_t offset = BigEndian(data, 4 + i * 8 + 4, 4);
    if (offset + 16 > data.size() || BigEndian(data, offset, 2) != 12) continue;
    const std::size_t count = BigEndian(data, offset + 12, 4);
    for (std::size_t g = 0; g < count && offset + 16 + g * 12 + 12 <= data.size(); ++g) {
      const std::size_t at = offset + 16 + g * 12;
      CmapGroup group{static_cast<char32_t>(BigEndian(data, at, 4)), static_cast<char32_t>(BigEndian(data, at + 4, 4)),
                      BigEndian(data, at + 8, 4)};
      if (group.last < 0x10000 || group.first > group.last) continue;
      // A group starting at glyph 0 maps its first character to nothing.
      if (group.glyph == 0) {
        ++group.first;
        ++group.glyph;
      }
      if (group.first < 0x10000) {
        group.glyph += 0x10000 - group.first;
        group.first = 0x10000;
      }
      if (group.first <= group.last) groups.push_back(group);
    }
    return groups;
  }
  return groups;
}

bool SameFont(const LOGFONTW& a, const LOGFONTW& b) {
  return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
         a.lfCharSet == b.lfCharSet && a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
         a.lfEscapement == b.lfEscapement && a.lfOrientation == b.lfOrientation &&
         std::wcsncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

}  // namespace

std::shared_ptr<FontFallback> FontFallback::For(HGDIOBJ font) {
  LOGFONTW base{};
  if (!font || GetObjectW(font, sizeof base, &base) == 0) GetObjectW(GetStockObject(SYSTEM_FONT), sizeof base, &base);
  // Boxes of windows on other threads may ask at the same time; each thread's boxes share their own.
  static std::mutex guard;
  static std::vector<std::weak_ptr<FontFallback>> shared;
  const std::lock_guard<std::mutex> lock(guard);
  shared.erase(std::remove_if(shared.begin(), shared.end(), [](const auto& kept) { return kept.expired(); }),
               shared.end());
  for (const auto& kept : shared) {
    auto found = kept.lock();
    if (found && found->thread_ == GetCurrentThreadId() && SameFont(found->Base(), base)) return found;
  }
  auto made = std::make_shared<FontFallback>(base);
  shared.push_back(made);
  return made;
}

FontFallback::FontFallback(const LOGFONTW& base) : base_(base), baseCopy_(CreateFontIndirectW(&base)) {
  wchar_t face[LF_FACESIZE] = {};
  ScreenDc dc(nullptr);
  SelectedObject using_(dc.Get(), baseCopy_.Get());
  if (dc.Get() && baseCopy_.Get() && GetTextFaceW(dc.Get(), LF_FACESIZE, face) > 0) baseFace_ = face;
}

HFONT FontFallback::FontOf(char32_t character) {
  const unsigned char face = character >= 0x10000 ? ChooseBeyond(character) : BlockOf(character)[character % kBlock];
  return face == kBase ? nullptr : fonts_[face].Get();
}

const FontFallback::Block& FontFallback::BlockOf(char32_t character) {
  std::unique_ptr<Block>& block = blocks_[character / kBlock];
  if (!block) {
    block = std::make_unique<Block>();
    block->fill(kBase);
    Choose(static_cast<char32_t>(character - character % kBlock), *block);
  }
  return *block;
}

void FontFallback::Choose(char32_t first, Block& block) {
  ScreenDc dc(nullptr);
  if (!dc.Get() || !baseCopy_.Get()) return;
  std::array<WORD, kBlock> glyphs{};
  if (!GlyphsOf(dc.Get(), baseCopy_.Get(), first, glyphs.data(), kBlock)) return;
  std::vector<std::size_t> missing;
  for (std::size_t i = 0; i < kBlock; ++i) {
    if (glyphs[i] == 0xFFFF && !NeedsNoFace(first + static_cast<char32_t>(i))) missing.push_back(i);
  }
  if (missing.empty()) return;

  // Faces in the order they are tried: the mapper's for the script, those already chosen, then every other one.
  std::vector<int> tried;
  auto tryFace = [&](int face) {
    if (face < 0 || std::find(tried.begin(), tried.end(), face) != tried.end()) return;
    tried.push_back(face);
    if (!GlyphsOf(dc.Get(), fonts_[static_cast<std::size_t>(face)].Get(), first, glyphs.data(), kBlock)) return;
    missing.erase(std::remove_if(missing.begin(), missing.end(),
                                 [&](std::size_t i) {
                                   if (glyphs[i] == 0xFFFF) return false;
                                   block[i] = static_cast<unsigned char>(face);
                                   return true;
                                 }),
                  missing.end());
  };
  for (const BYTE charSet : CharSetsFor(first)) {
    if (missing.empty()) return;
    tryFace(FaceIndex(std::wstring(), charSet));
  }
  for (std::size_t face = 0; face < fonts_.size() && !missing.empty(); ++face) tryFace(static_cast<int>(face));
  for (const std::wstring& name : InstalledFaces()) {
    if (missing.empty()) return;
    tryFace(FaceIndex(name, DEFAULT_CHARSET));
  }
}

unsigned char FontFallback::ChooseBeyond(char32_t character) {
  const auto known = beyond_.find(character);
  if (known != beyond_.end()) return known->second;
  unsigned char chosen = kBase;
  ScreenDc dc(nullptr);
  // Not for the tags and variation selectors of plane 14 nor for private use.
  const bool wanted = dc.Get() && character < 0xE0000 && !Covers(dc.Get(), -1, character);
  if (wanted) {
    // Faces already chosen first, then every other one.
    int found = -1;
    for (std::size_t face = 0; face < fonts_.size() && found < 0; ++face) {
      if (Covers(dc.Get(), static_cast<int>(face), character)) found = static_cast<int>(face);
    }
    for (auto name = InstalledFaces().begin(); name != InstalledFaces().end() && found < 0; ++name) {
      const int face = FaceIndex(*name, DEFAULT_CHARSET);
      if (face >= 0 && Covers(dc.Get(), face, character)) found = face;
    }
    if (found >= 0) chosen = static_cast<unsigned char>(found);
  }
  beyond_.emplace(character, chosen);
  return chosen;
}

bool FontFallback::Covers(HDC dc, int face, char32_t character) { return GlyphBeyond(dc, face, character) != 0; }

std::uint32_t FontFallback::GlyphBeyond(HDC dc, int face, char32_t character) {
  auto groups = beyondGroups_.find(face);
  if (groups == beyondGroups_.end()) {
    groups = beyondGroups_.emplace(face, std::vector<CmapGroup>()).first;
    SelectedObject using_(dc, face < 0 ? static_cast<HGDIOBJ>(baseCopy_.Get()) : fonts_[static_cast<std::size_t>(face)].Get());
    groups->second = BeyondBasicPlane(dc);
  }
  for (const CmapGroup& group : groups->second) {
    if (character >= group.first && character <= group.last) return group.glyph + (character - group.first);
  }
  return 0;
}

int FontFallback::FaceIndex(const std::wstring& face, BYTE charSet) {
  const auto known = std::find(faceNames_.begin(), faceNames_.end(), face);
  if (!face.empty() && known != faceNames_.end()) return static_cast<int>(known - faceNames_.begin());
  if (face == baseFace_ || fonts_.size() >= kBase) return -1;
  LOGFONTW wanted = base_;
  wanted.lfCharSet = charSet;
  wanted.lfFaceName[0] = L'\0';
  if (!face.empty()) std::wcsncpy(wanted.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  UniqueFont font(CreateFontIndirectW(&wanted));
  if (!font.Get()) return -1;
  // The mapper may answer with another face than the one named, or with one already kept.
  wchar_t actual[LF_FACESIZE] = {};
  {
    ScreenDc dc(nullptr);
    SelectedObject using_(dc.Get(), font.Get());
    if (!dc.Get() || GetTextFaceW(dc.Get(), LF_FACESIZE, actual) == 0) return -1;
  }
  if (baseFace_ == actual) return -1;
  const auto same = std::find(faceNames_.begin(), faceNames_.end(), actual);
  if (same != faceNames_.end()) return static_cast<int>(same - faceNames_.begin());
  fonts_.push_back(std::move(font));
  faceNames_.emplace_back(actual);
  return static_cast<int>(fonts_.size() - 1);
}

bool FontFallback::MeasureRange(HGDIOBJ base, char32_t first, std::size_t count, int* widths) {
  ScreenDc dc(nullptr);
  if (!dc.Get()) return false;
  {
    SelectedObject using_(dc.Get(), base);
    if (!GetCharWidth32W(dc.Get(), static_cast<UINT>(first), static_cast<UINT>(first + count - 1), widths)) return false;
  }
  // Then each other face once, for the characters it draws.
  std::vector<HFONT> faces(count);
  for (std::size_t i = 0; i < count; ++i) faces[i] = FontOf(static_cast<char32_t>(first + i));
  for (std::size_t i = 0; i < count; ++i) {
    HFONT face = faces[i];
    if (!face) continue;
    SelectedObject using_(dc.Get(), face);
    for (std::size_t j = i; j < count; ++j) {
      if (faces[j] != face) continue;
      INT width = 0;
      const auto character = static_cast<UINT>(first + j);
      if (GetCharWidth32W(dc.Get(), character, character, &width)) widths[j] = width;
      faces[j] = nullptr;
    }
  }
  return true;
}

bool FontFallback::MeasureOne(HGDIOBJ base, char32_t character, int& width) {
  // A character some face has is measured in it; one no face has takes one missing-character glyph, as the
  // platform's control shows it (GDI would measure the pair as two).
  const wchar_t pair[2] = {support::HighSurrogateOf(character), support::LowSurrogateOf(character)};
  const unsigned char face = ChooseBeyond(character);
  ScreenDc dc(nullptr);
  if (!dc.Get()) return false;
  const bool drawn = face != kBase || GlyphBeyond(dc.Get(), -1, character) != 0;
  SelectedObject using_(dc.Get(), face != kBase ? static_cast<HGDIOBJ>(fonts_[face].Get()) : base);
  if (drawn) {
    SIZE size{};
    if (!GetTextExtentPoint32W(dc.Get(), pair, 2, &size)) return false;
    width = static_cast<int>(size.cx);
    return true;
  }
  INT missing = 0;
  if (!GetCharWidth32W(dc.Get(), 0xD800, 0xD800, &missing)) return false;
  width = missing;
  return true;
}

}  // namespace quillon::runtime::win32
