// The text view's display: font measures, the lines in view, painting, scroll bars and the caret.
#include <algorithm>
#include <optional>
#include <vector>

#include "runtime/textview/win32/Win32TextView.h"

#include "runtime/textview/CaretStops.h"
#include "runtime/textview/LineGeometry.h"
#include "runtime/textview/win32/Win32BidiRuns.h"
#include "runtime/textview/win32/Win32FontFallback.h"
#include "support/Utf16.h"

namespace quillon::runtime::win32 {

namespace {

constexpr UINT kScrollBarMilliseconds = 400;

/// A bitmap the size of the area painted, drawn into and then copied to the window in one go.
class OffscreenDc {
 public:
  OffscreenDc(HDC target, int width, int height) noexcept
      : dc_(CreateCompatibleDC(target)), bitmap_(CreateCompatibleBitmap(target, std::max(width, 1), std::max(height, 1))) {
    if (dc_ && bitmap_) old_ = SelectObject(dc_.Get(), bitmap_.Get());
  }
  OffscreenDc(const OffscreenDc&) = delete;
  OffscreenDc& operator=(const OffscreenDc&) = delete;
  ~OffscreenDc() {
    // The bitmap leaves the DC before either is deleted (the members go in reverse order: bitmap, then DC).
    if (old_) SelectObject(dc_.Get(), old_);
  }
  HDC Get() const noexcept { return old_ ? dc_.Get() : nullptr; }

 private:
  UniqueDc dc_;
  UniqueGdiObject<HBITMAP> bitmap_;
  HGDIOBJ old_ = nullptr;
};

using support::IsHighSurrogate;
using support::IsLowSurrogate;

/// What a line draws: units in drawn order from `left` on, each at its own advance and in the face that has it.
/// Characters the platform's control lays out without room, whatever the font has for them: line and paragraph
/// separators, the C1 controls, the soft hyphen and the invisible formatting characters.
bool TakesNoRoom(char32_t c) {
  return c == L'\n' || c == L'\r' || (c >= 0x1C && c <= 0x1F) || (c >= 0x7F && c <= 0x9F) || c == 0xAD ||
         (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x2064) ||
         (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

struct Glyphs {
  int left = 0;
  std::vector<wchar_t> units;
  std::vector<INT> advances;
  std::vector<HFONT> fonts;  // nullptr: the box's own font

  void Add(std::wstring_view text, std::size_t column, int advance, FontFallback& fallback) {
    const wchar_t unit = text[column];
    // What takes no room shows nothing either, as in the platform's control: a face's glyph for a soft hyphen or a
    // control character would draw over the next character.
    if (TakesNoRoom(unit)) return;
    units.push_back(unit == L'\t' ? L' ' : unit);
    advances.push_back(advance);
    HFONT font = nullptr;
    if (IsHighSurrogate(unit) && column + 1 < text.size() && IsLowSurrogate(text[column + 1])) {
      font = fallback.FontOf(support::CombineSurrogates(unit, text[column + 1]));
    } else if (IsLowSurrogate(unit)) {
      // The second half of a pair goes with the first, added just before it.
      if (column > 0 && IsHighSurrogate(text[column - 1]) && !fonts.empty()) font = fonts.back();
    } else if (!IsHighSurrogate(unit)) {
      font = fallback.FontOf(unit);
    }
    fonts.push_back(font);
  }

  /// The units whose cells start in [from, to), each with the units of no width after it (its marks).
  Glyphs Within(int from, int to) const {
    Glyphs out;
    bool taken = false;
    int x = left;
    for (std::size_t i = 0; i < units.size(); x += advances[i++]) {
      if (advances[i] != 0 || i == 0) taken = x >= from && x < to;
      if (!taken) continue;
      if (out.units.empty()) out.left = x;
      out.units.push_back(units[i]);
      out.advances.push_back(advances[i]);
      out.fonts.push_back(fonts[i]);
    }
    return out;
  }
};

/// Draws the units a face at a time at their own advances; ETO_IGNORELANGUAGE keeps GDI from reordering or
/// shaping them (and from Uniscribe's glyph placement).
void Draw(HDC dc, int baseline, const Glyphs& glyphs) {
  int x = glyphs.left;
  for (std::size_t i = 0; i < glyphs.units.size();) {
    std::size_t end = i + 1;
    while (end < glyphs.units.size() && glyphs.fonts[end] == glyphs.fonts[i]) ++end;
    SelectedObject face(dc, glyphs.fonts[i]);
    ExtTextOutW(dc, x, baseline, ETO_IGNORELANGUAGE, nullptr, glyphs.units.data() + i, static_cast<UINT>(end - i),
                glyphs.advances.data() + i);
    for (; i < end; ++i) x += glyphs.advances[i];
  }
}

}  // namespace

void Win32TextView::TakeFont(HFONT font) {
  font_ = font;
  const int oldAverage = averageCharWidth_;
  const HGDIOBJ selected = font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT);
  {
    ScreenDc dc(window_);
    SelectedObject using_(dc.Get(), selected);
    TEXTMETRICW metrics{};
    if (dc.Get() && GetTextMetricsW(dc.Get(), &metrics)) {
      lineHeight_ = std::max<int>(metrics.tmHeight, 1);
      averageCharWidth_ = std::max<int>(metrics.tmAveCharWidth, 1);
      ascent_ = metrics.tmAscent;
      // The platform's measure of a character for margins and tab stops: the average of the Latin letters.
      SIZE letters{};
      static constexpr wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
      if (GetTextExtentPoint32W(dc.Get(), kLetters, 52, &letters)) letterWidth_ = std::max<int>(1, (letters.cx / 26 + 1) / 2);
      // Outline fonts get half of it as margins on either side; others none.
      fontMargin_ = (metrics.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) ? letterWidth_ / 2 : 0;
    }
  }
  // A new size of the same text (another DPI) keeps the view on the same characters.
  view_.ScaleXOffset(averageCharWidth_, oldAverage);
  // Each character is measured in the face that draws it: the box's font, or a face that has what it lacks.
  fallback_ = FontFallback::For(selected);
  std::shared_ptr<FontFallback> fallback = fallback_;
  const int average = averageCharWidth_;
  widths_ = std::make_unique<textview::CharWidths>(
      [selected, fallback, average](char32_t first, std::size_t count, int* widths) {
        if (!fallback->MeasureRange(selected, first, count, widths)) std::fill(widths, widths + count, average);
        for (std::size_t i = 0; i < count; ++i) {
          if (TakesNoRoom(static_cast<char32_t>(first + i))) widths[i] = 0;
        }
      },
      [selected, fallback, average](char32_t character) {
        int width = 0;
        return fallback->MeasureOne(selected, character, width) ? width : average;
      },
      // A multi-line box has tab stops every eight letter widths; on one line a tab takes no room.
      IsMultiLine() ? 8 * letterWidth_ : 0);
  MeasureAllLines();
  // The text is laid out in the whole box again, with the font's margins.
  SetTextArea(ClientArea());
  SetMargins(EC_LEFTMARGIN | EC_RIGHTMARGIN, EC_USEFONTINFO, EC_USEFONTINFO);
  if (HasFocus()) {
    CreateCaret(window_, nullptr, 1, lineHeight_);
    ShowCaret(window_);
  }
  Changed();
}

RECT Win32TextView::ClientArea() const noexcept {
  RECT client{};
  GetClientRect(window_, &client);
  return client;
}

std::size_t Win32TextView::SetTextArea(RECT bounds) {
  // Inside a one-pixel inset for the sunken edge (at the top and bottom only when a line still fits), less the
  // margins.
  if (GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) {
    bounds.left += 1;
    bounds.right -= 1;
    if (bounds.bottom - bounds.top >= lineHeight_ + 2) {
      bounds.top += 1;
      bounds.bottom -= 1;
    }
  }
  bounds.left += margin_;
  bounds.right -= rightMargin_;
  textArea_ = bounds;
  return AdjustTextArea();
}

std::size_t Win32TextView::AdjustTextArea() {
  // At least an average character wide; a single line at the top, whole lines only in a multi-line box, and never
  // below the box. The view is kept within a page of the lines before that last cut, as in the platform's control.
  RECT& area = textArea_;
  area.right = std::max<LONG>(area.right, area.left + averageCharWidth_);
  const LONG lines = IsMultiLine() ? std::max<LONG>(1, (area.bottom - area.top) / lineHeight_) : 1;
  area.bottom = std::min<LONG>(area.top + lines * lineHeight_, ClientArea().bottom);
  KeepViewWithinText(static_cast<std::size_t>(lines));
  PlaceCaret();  // at once, as the platform's control does, whether or not the box is painted again
  return static_cast<std::size_t>(lines);
}

void Win32TextView::SetMargins(WPARAM sides, WORD left, WORD right) {
  // EC_USEFONTINFO asks for the font's margins, which a box too narrow for them and two characters more does not
  // take (an empty one counts 80 pixels): it keeps the margins it has.
  const RECT client = ClientArea();
  const LONG width = IsRectEmpty(&client) ? 80 : client.right - client.left;
  const bool keeps = fontMargin_ > 0 && width < 2 * fontMargin_ + 2 * letterWidth_;
  const auto margin = [&](WORD given, int now) { return given != EC_USEFONTINFO ? given : keeps ? now : fontMargin_; };
  if (sides & EC_LEFTMARGIN) {
    const int next = margin(left, margin_);
    textArea_.left += next - margin_;
    margin_ = next;
  }
  if (sides & EC_RIGHTMARGIN) {
    const int next = margin(right, rightMargin_);
    textArea_.right -= next - rightMargin_;
    rightMargin_ = next;
  }
  if (sides & (EC_LEFTMARGIN | EC_RIGHTMARGIN)) AdjustTextArea();
}

int Win32TextView::VisibleLines() const noexcept { return std::max(1, PageLines()); }

int Win32TextView::PageLines() const noexcept {
  const RECT area = TextArea();
  return static_cast<int>(area.bottom - area.top) / lineHeight_;
}

textview::Viewport::Extent Win32TextView::ViewExtent() const noexcept {
  const RECT area = TextArea();
  return {document_.LineCount(), VisibleLines(), static_cast<int>(area.right - area.left),
          widestLine_, averageCharWidth_};
}

textview::Viewport::SingleLine Win32TextView::SingleLineExtent() {
  return {document_.Length(), LineWidth(0), averageCharWidth_,
          [this](std::size_t column) { return XOfPosition(column); }};
}

textview::LineGeometry Win32TextView::GeometryOf(std::size_t line) {
  const std::wstring_view text = document_.LineText(line);
  if (!HoldsRightToLeft(text)) return textview::LineGeometry(text, *widths_);
  return textview::LineGeometry(text, *widths_, [](std::wstring_view runs) { return VisualRunsOf(runs); });
}

int Win32TextView::XOfPosition(std::size_t position) {
  position = std::min(position, document_.Length());
  const std::size_t line = document_.LineOf(position);
  const std::size_t column = position - document_.LineStart(line);
  // Inside the line break ending a line (past its last stop: between CR and LF, or in a CR CR LF) the platform's
  // control answers the line's start.
  if (position > textview::LineEndStop(document_, line)) return 0;
  return GeometryOf(line).XOf(column);
}

POINT Win32TextView::PointOf(std::size_t position) {
  position = std::min(position, document_.Length());
  const std::size_t line = document_.LineOf(position);
  const RECT area = TextArea();
  const long long row = static_cast<long long>(line) - static_cast<long long>(view_.FirstLine());
  return {area.left + XOfPosition(position) - view_.XOffset(), static_cast<LONG>(area.top + row * lineHeight_)};
}

void Win32TextView::MeasureAllLines() {
  widestLine_ = 0;
  MeasureLinesFrom(0);
}

int Win32TextView::LineWidth(std::size_t line) {
  if (!widths_ || line >= document_.LineCount()) return 0;
  // Only a tab's width depends on the order the runs are drawn in; other lines are summed without asking.
  const std::wstring_view text = document_.LineText(line);
  if (text.find(L'\t') == std::wstring_view::npos) return textview::LineLayout(*widths_).Width(text);
  return GeometryOf(line).Width();
}

void Win32TextView::MeasureLinesFrom(std::size_t line) {
  if (!widths_) return;
  textview::LineLayout layout(*widths_);
  for (std::size_t i = line; i < document_.LineCount(); ++i) {
    if (layout.SurelyWithin(document_.LineText(i), widestLine_)) continue;
    widestLine_ = std::max(widestLine_, LineWidth(i));
  }
}

void Win32TextView::OnPaint(HDC target, const RECT& area) {
  RECT client{};
  GetClientRect(window_, &client);
  OffscreenDc offscreen(target, client.right, client.bottom);
  HDC dc = offscreen.Get() ? offscreen.Get() : target;

  // The parent picks the colours, as for any edit control: read-only and disabled boxes ask as static ones do. A
  // parent that answers nothing gets the default answer, as the platform's control asks for it: a read-only box
  // then shows the face colour of a static control, not the window colour.
  const bool enabled = IsWindowEnabled(window_) != FALSE;
  const UINT colorMessage = IsReadOnly() || !enabled ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  HWND parent = GetParent(window_);
  const auto dcParam = reinterpret_cast<WPARAM>(dc);
  const auto selfParam = reinterpret_cast<LPARAM>(window_);
  auto brush = parent ? reinterpret_cast<HBRUSH>(SendMessageW(parent, colorMessage, dcParam, selfParam)) : nullptr;
  if (!brush && parent) brush = reinterpret_cast<HBRUSH>(DefWindowProcW(parent, colorMessage, dcParam, selfParam));
  if (!brush) brush = GetSysColorBrush(COLOR_WINDOW);
  FillRect(dc, &client, brush);
  const COLORREF textColor = enabled ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);

  SelectedObject font(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(SYSTEM_FONT));
  SetBkMode(dc, TRANSPARENT);
  // Faces that fill in for the box's font share its baseline.
  SetTextAlign(dc, TA_LEFT | TA_BASELINE | TA_NOUPDATECP);
  const RECT text = TextArea();
  const UniqueGdiObject<HRGN> clip(CreateRectRgnIndirect(&text));
  SelectClipRgn(dc, clip.Get());
  const int rows = VisibleLines() + 1;  // the partly visible line below the last whole one too
  for (int row = 0; row < rows; ++row) {
    const std::size_t line = view_.FirstLine() + static_cast<std::size_t>(row);
    if (line >= document_.LineCount()) break;
    DrawLine(dc, line, text.top + row * lineHeight_, text, textColor);
  }
  SelectClipRgn(dc, nullptr);
  if (dc != target) {
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc, area.left, area.top,
           SRCCOPY);
  }
}

void Win32TextView::DrawLine(HDC dc, std::size_t line, int y, const RECT& area, COLORREF textColor) {
  const std::wstring_view text = document_.LineText(line);
  const std::size_t lineStart = document_.LineStart(line);
  // The selected columns of this line, when the selection shows.
  std::size_t selectedFrom = 0;
  std::size_t selectedTo = 0;
  if (anchor_ != caret_ && ShowsSelection()) {
    selectedFrom = std::clamp(SelectionStart(), lineStart, lineStart + text.size()) - lineStart;
    selectedTo = std::clamp(SelectionEnd(), lineStart, lineStart + text.size()) - lineStart;
  }
  const int left = area.left - view_.XOffset();
  const int right = view_.XOffset() + static_cast<int>(area.right - area.left);

  // Only the characters in view are drawn, each at the advance its cell has.
  textview::LineGeometry geometry = GeometryOf(line);
  const std::vector<std::pair<int, int>> selected = geometry.Ranges(selectedFrom, selectedTo);
  Glyphs glyphs;
  int drawnFrom = 0;
  for (const textview::LineGeometry::DrawnUnit& unit : geometry.Drawn(view_.XOffset(), right, drawnFrom))
    glyphs.Add(text, unit.column, unit.advance, *fallback_);
  glyphs.left = left + drawnFrom;

  const int baseline = y + ascent_;
  SetTextColor(dc, textColor);
  if (!glyphs.units.empty()) Draw(dc, baseline, glyphs);
  // The selected cells again, wherever the runs put them, as the platform's control draws a selection: the highlight
  // fills them afresh and only their own glyphs go on it, whole, in the highlight's text colour. What a glyph next
  // to them reaches into them is covered; what theirs reach out of them shows.
  SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  for (const auto& [from, to] : selected) {
    const RECT band{left + from, y, left + to, y + lineHeight_};
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, band.left, band.top, band.right, band.bottom);
    FillRect(dc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
    const Glyphs chosen = glyphs.Within(band.left, band.right);
    if (!chosen.units.empty()) Draw(dc, baseline, chosen);
    RestoreDC(dc, saved);
  }
}

void Win32TextView::UpdateScrollBars(ScrollBarUpdate when) {
  if (!scrollBarsStale_) return;
  // Setting a scroll bar costs Wine milliseconds; while text keeps coming they follow it a few times a second.
  const ULONGLONG now = GetTickCount64();
  if (when == ScrollBarUpdate::kWhenDue && now - lastScrollBarUpdate_ < kScrollBarMilliseconds) {
    if (!scrollBarTimer_) scrollBarTimer_ = SetTimer(window_, kScrollBarTimer, kScrollBarMilliseconds, nullptr) != 0;
    return;
  }
  lastScrollBarUpdate_ = now;
  scrollBarsStale_ = false;
  const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
  const RECT area = TextArea();
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_PAGE | SIF_POS | SIF_RANGE | SIF_DISABLENOSCROLL;
  if (style & WS_VSCROLL) {
    info.nMax = static_cast<int>(std::min<std::size_t>(document_.LineCount(), 0x7FFFFFFF)) - 1;
    info.nPage = static_cast<UINT>(std::max(0, PageLines()));
    info.nPos = static_cast<int>(std::min<std::size_t>(view_.FirstLine(), 0x7FFFFFFF));
    SetScrollBar(SB_VERT, info);
  }
  if (style & WS_HSCROLL) {
    info.nMax = widestLine_ - 1;
    info.nPage = static_cast<UINT>(area.right - area.left);
    info.nPos = view_.XOffset();
    SetScrollBar(SB_HORZ, info);
  }
}

void Win32TextView::SetScrollBar(int bar, SCROLLINFO& info) {
  // Setting a bar redraws it, which under Wine costs milliseconds: a bar that already shows this is left alone.
  SCROLLINFO shown{};
  shown.cbSize = sizeof shown;
  shown.fMask = SIF_PAGE | SIF_POS | SIF_RANGE;
  if (GetScrollInfo(window_, bar, &shown) && shown.nMin == info.nMin && shown.nMax == info.nMax &&
      shown.nPage == info.nPage && shown.nPos == info.nPos) {
    return;
  }
  SetScrollInfo(window_, bar, &info, TRUE);
}

void Win32TextView::LineScroll(long long dx, long long dy) {
  const textview::Viewport::Extent extent = ViewExtent();
  // Scrolling stops at the page of the lines the text area holds, none when a rectangle set for the text was cut
  // at the box's bottom above its first line: that view may go past the last line, as the platform's control's does.
  textview::Viewport::Extent scrolling = extent;
  scrolling.visibleLines = PageLines();
  const textview::Viewport::Scroll scrolled = view_.LineScroll({dx, dy}, scrolling);
  if (scrolled.dx == 0 && scrolled.dy == 0) return;
  if (IsMultiLine()) view_.SetFollowsEnd(view_.ShowsLastLine(extent));
  Changed();
  UpdateScrollBars(ScrollBarUpdate::kNow);  // a dragged thumb or a turned wheel shows where it is at once
  if (scrolled.dx != 0) Notify(EN_HSCROLL);
  if (scrolled.dy != 0) Notify(EN_VSCROLL);
}

void Win32TextView::KeepViewWithinText(std::size_t pageLines) {
  // No page starts past the last one and no scroll goes past the widest line.
  if (!IsMultiLine()) {
    view_.ShowFromColumn(view_.FirstColumn(), SingleLineExtent());
  } else {
    // A view following the end shows its last line whole; any other is kept within a page of the lines the text's
    // rectangle held before the box's bottom cut it.
    textview::Viewport::Extent extent = ViewExtent();
    if (pageLines && !view_.FollowsEnd()) extent.visibleLines = static_cast<long long>(pageLines);
    view_.KeepWithinText(extent);
  }
  Changed();
}

void Win32TextView::ScrollCaretIntoView() {
  if (!IsMultiLine()) {
    // One line scrolls by whole characters until the caret stands a third of the width inside the edge it crossed.
    const textview::Viewport::SingleLine line = SingleLineExtent();
    view_.ShowFromColumn(view_.ColumnShowing(XOfPosition(caret_), ViewExtent().width, line), line);
  } else {
    const textview::Viewport::Extent extent = ViewExtent();
    textview::Viewport::Scroll scroll;
    if (view_.ScrollShowing(document_.LineOf(caret_), XOfPosition(caret_), extent, scroll)) LineScroll(scroll.dx, scroll.dy);
    view_.SetFollowsEnd(view_.ShowsLastLine(extent) && caret_ == document_.Length());
  }
  Changed();
}

LRESULT Win32TextView::OnScrollMessage(UINT message, WPARAM request) {
  if (!IsMultiLine()) return message == EM_SCROLL ? FALSE : 0;
  if (message == EM_SCROLL) return OnEmScroll(LOWORD(request));
  if (message == WM_VSCROLL) {
    OnVerticalScroll(request);
  } else {
    OnHorizontalScroll(request);
  }
  return 0;
}

LRESULT Win32TextView::OnEmScroll(WORD action) {
  const long long lines = static_cast<long long>(document_.LineCount());
  const long long first = static_cast<long long>(view_.FirstLine());
  // A page is the lines the text area holds, none where it is cut above them; no page starts past the last one.
  const long long page = PageLines();
  const long long visible = VisibleLines();
  long long dy = 0;
  switch (action) {
    case SB_LINEUP:
      dy = first > 0 ? -1 : 0;
      break;
    case SB_LINEDOWN:
      dy = first < lines - 1 ? 1 : 0;
      break;
    case SB_PAGEUP:
      dy = first > 0 ? -page : 0;
      break;
    case SB_PAGEDOWN:
      dy = first < lines - 1 ? page : 0;
      break;
    default:
      return FALSE;
  }
  if (first + dy > lines - visible) dy = std::max<long long>(lines - visible, 0) - first;
  if (dy == 0) return FALSE;
  LineScroll(0, dy);
  return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(dy), TRUE));
}

std::optional<long long> Win32TextView::ThumbTarget(int bar, LONG_PTR withBar, long long range, WPARAM request) const {
  // The position comes in 16 bits: while our own bar is dragged, its full tracking position is taken instead.
  const short position = static_cast<short>(HIWORD(request));
  if (!(GetWindowLongPtrW(window_, GWL_STYLE) & withBar)) {
    if (position < 0 || position > 100) return std::nullopt;
    return position * range / 100;
  }
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_TRACKPOS;
  if (GetScrollInfo(window_, bar, &info) && static_cast<WORD>(info.nTrackPos) == HIWORD(request)) return info.nTrackPos;
  return position;
}

void Win32TextView::OnVerticalScroll(WPARAM request) {
  if (!(GetWindowLongPtrW(window_, GWL_STYLE) & ES_AUTOVSCROLL)) return;
  const long long lines = static_cast<long long>(document_.LineCount());
  const long long first = static_cast<long long>(view_.FirstLine());
  long long dy = 0;
  switch (LOWORD(request)) {
    case SB_LINEUP:
    case SB_LINEDOWN:
    case SB_PAGEUP:
    case SB_PAGEDOWN:
      OnEmScroll(LOWORD(request));
      return;
    case SB_TOP:
      dy = -first;
      break;
    case SB_BOTTOM:
      dy = lines - 1 - first;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      const std::optional<long long> target = ThumbTarget(SB_VERT, WS_VSCROLL, lines - PageLines(), request);
      if (!target) return;
      dy = *target - first;
      break;
    }
    default:
      return;
  }
  if (dy != 0) LineScroll(0, dy);
}

void Win32TextView::OnHorizontalScroll(WPARAM request) {
  const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
  if (!(style & ES_AUTOHSCROLL)) return;
  const RECT area = TextArea();
  const long long width = area.right - area.left;
  const long long step = std::max(1, averageCharWidth_);
  const long long x = view_.XOffset();
  long long dx = 0;
  switch (LOWORD(request)) {
    case SB_LINELEFT:
      dx = x > 0 ? -step : 0;
      break;
    case SB_LINERIGHT:
      dx = x < widestLine_ ? step : 0;
      break;
    case SB_PAGELEFT:
      dx = x > 0 ? -(width / 3 / step * step) : 0;
      break;
    case SB_PAGERIGHT:
      dx = x < widestLine_ ? width / 3 / step * step : 0;
      break;
    case SB_LEFT:
      dx = -x;
      break;
    case SB_RIGHT:
      dx = x < widestLine_ ? widestLine_ - x : 0;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      const std::optional<long long> target = ThumbTarget(SB_HORZ, WS_HSCROLL, widestLine_ - width, request);
      if (!target) return;
      dx = (style & WS_HSCROLL) || widestLine_ ? *target - x : 0;
      break;
    }
    default:
      return;
  }
  if (dx != 0 && x + dx + width > widestLine_) dx = widestLine_ - width - x;
  if (dx != 0) LineScroll(dx, 0);
}

void Win32TextView::OnWheel(short delta, WPARAM) {
  UINT linesPerNotch = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &linesPerNotch, 0);
  if (linesPerNotch == WHEEL_PAGESCROLL) linesPerNotch = static_cast<UINT>(VisibleLines());
  if (linesPerNotch == 0) return;
  // Turning on in the same direction adds up; a turn the other way starts afresh.
  if ((delta < 0 && wheelRemainder_ < 0) || (delta > 0 && wheelRemainder_ > 0)) {
    wheelRemainder_ += delta;
  } else {
    wheelRemainder_ = delta;
  }
  if (wheelRemainder_ == 0) return;
  const long long lines = std::min<long long>(static_cast<long long>(document_.LineCount()), linesPerNotch);
  const long long scrolled = lines * wheelRemainder_ / WHEEL_DELTA;
  wheelRemainder_ -= static_cast<int>(WHEEL_DELTA * scrolled / lines);
  // The wheel turned away from the user scrolls towards the text's start.
  LineScroll(0, -scrolled);
}

void Win32TextView::PlaceCaret() {
  caretStale_ = false;
  if (!HasFocus()) return;
  const POINT point = PointOf(caret_);
  SetCaretPos(point.x, point.y);
}

void Win32TextView::Changed() {
  // The picture, the caret and the scroll bars follow the text when the window is next painted, that is when events
  // are next processed: a search appending thousands of lines in between costs one paint. Under Wine even marking
  // the window for painting is a round trip to the server, so it is done once until the paint comes.
  scrollBarsStale_ = true;
  caretStale_ = true;
  if (repaintPending_) return;
  repaintPending_ = true;
  InvalidateRect(window_, nullptr, FALSE);
}

void Win32TextView::BeforePaint() {
  repaintPending_ = false;
  UpdateScrollBars(ScrollBarUpdate::kWhenDue);
  if (caretStale_) PlaceCaret();
}

}  // namespace quillon::runtime::win32
