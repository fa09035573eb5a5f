// The text view's display: font measures, the lines in view, painting, scroll bars and the caret.
#include <algorithm>
#include <vector>

#include "runtime/win32/Win32TextView.h"

namespace quillon::runtime::win32 {

namespace {

constexpr UINT kScrollBarMilliseconds = 150;

/// A bitmap the size of the area painted, drawn into and then copied to the window in one go.
class OffscreenDc {
 public:
  OffscreenDc(HDC target, int width, int height) noexcept
      : dc_(CreateCompatibleDC(target)), bitmap_(CreateCompatibleBitmap(target, std::max(width, 1), std::max(height, 1))) {
    if (dc_ && bitmap_) old_ = SelectObject(dc_, bitmap_);
  }
  OffscreenDc(const OffscreenDc&) = delete;
  OffscreenDc& operator=(const OffscreenDc&) = delete;
  ~OffscreenDc() {
    if (old_) SelectObject(dc_, old_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
  }
  HDC Get() const noexcept { return old_ ? dc_ : nullptr; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_ = nullptr;
};

/// Hebrew, Arabic and the scripts between them, and their presentation forms: a line holding any of these is left
/// to GDI's own ordering when drawn.
bool HoldsRightToLeft(std::wstring_view line) {
  return std::any_of(line.begin(), line.end(), [](wchar_t unit) {
    return (unit >= 0x0590 && unit <= 0x08FF) || (unit >= 0xFB1D && unit <= 0xFDFF) || (unit >= 0xFE70 && unit <= 0xFEFF);
  });
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
    }
  }
  margin_ = std::max(1, averageCharWidth_ / 3);
  // A new size of the same text (another DPI) keeps the view on the same characters.
  xOffset_ = MulDiv(xOffset_, averageCharWidth_, oldAverage);
  const int fallback = averageCharWidth_;
  widths_ = std::make_unique<textview::CharWidths>(
      [selected, fallback](char32_t first, std::size_t count, int* widths) {
        ScreenDc dc(nullptr);
        SelectedObject using_(dc.Get(), selected);
        const auto last = static_cast<UINT>(first + count - 1);
        if (!dc.Get() || !GetCharWidth32W(dc.Get(), static_cast<UINT>(first), last, widths))
          std::fill(widths, widths + count, fallback);
      },
      [selected, fallback](char32_t character) {
        const wchar_t pair[2] = {static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10)),
                                 static_cast<wchar_t>(0xDC00 + ((character - 0x10000) & 0x3FF))};
        ScreenDc dc(nullptr);
        SelectedObject using_(dc.Get(), selected);
        SIZE size{};
        return dc.Get() && GetTextExtentPoint32W(dc.Get(), pair, 2, &size) ? static_cast<int>(size.cx) : fallback;
      },
      8 * averageCharWidth_);
  MeasureAllLines();
  if (HasFocus()) {
    CreateCaret(window_, nullptr, 1, lineHeight_);
    ShowCaret(window_);
  }
  Changed();
}

RECT Win32TextView::TextArea() const noexcept {
  RECT client{};
  GetClientRect(window_, &client);
  RECT area{client.left + margin_, client.top, client.right - margin_, client.bottom};
  if (!IsMultiLine()) {
    // One line, in the middle of the box's height.
    area.top = std::max(0L, (client.bottom - lineHeight_) / 2);
    area.bottom = area.top + lineHeight_;
  }
  if (area.right < area.left) area.right = area.left;
  return area;
}

int Win32TextView::VisibleLines() const noexcept {
  const RECT area = TextArea();
  return std::max(1, static_cast<int>(area.bottom - area.top) / lineHeight_);
}

std::size_t Win32TextView::MaxFirstLine() const noexcept {
  const std::size_t lines = document_.LineCount();
  const auto visible = static_cast<std::size_t>(VisibleLines());
  return lines > visible ? lines - visible : 0;
}

bool Win32TextView::ShowsLastLine() const noexcept { return firstLine_ >= MaxFirstLine(); }

int Win32TextView::XOfPosition(std::size_t position) {
  position = std::min(position, document_.Length());
  const std::size_t line = document_.LineOf(position);
  const std::wstring_view text = document_.LineText(line);
  const std::size_t column = std::min(position - document_.LineStart(line), text.size());
  textview::LineLayout layout(*widths_);
  return layout.XOf(text, column);
}

std::size_t Win32TextView::PositionAtX(std::size_t line, int x) {
  line = std::min(line, document_.LineCount() - 1);
  textview::LineLayout layout(*widths_);
  return document_.LineStart(line) + layout.ColumnAt(document_.LineText(line), x);
}

POINT Win32TextView::PointOf(std::size_t position) {
  position = std::min(position, document_.Length());
  const std::size_t line = document_.LineOf(position);
  const RECT area = TextArea();
  const long long row = static_cast<long long>(line) - static_cast<long long>(firstLine_);
  return {area.left + XOfPosition(position) - xOffset_, static_cast<LONG>(area.top + row * lineHeight_)};
}

std::size_t Win32TextView::PositionAt(POINT point) {
  const RECT area = TextArea();
  long long row = point.y < area.top ? -1 : (point.y - area.top) / lineHeight_;
  if (!IsMultiLine()) row = 0;
  const long long line =
      std::clamp<long long>(static_cast<long long>(firstLine_) + row, 0, static_cast<long long>(document_.LineCount()) - 1);
  return PositionAtX(static_cast<std::size_t>(line), point.x - area.left + xOffset_);
}

void Win32TextView::MeasureAllLines() {
  widestLine_ = 0;
  MeasureLinesFrom(0);
}

void Win32TextView::MeasureLinesFrom(std::size_t line) {
  if (!widths_) return;
  textview::LineLayout layout(*widths_);
  for (std::size_t i = line; i < document_.LineCount(); ++i) {
    widestLine_ = std::max(widestLine_, layout.Width(document_.LineText(i)));
  }
}

void Win32TextView::OnPaint(HDC target, const RECT& area) {
  RECT client{};
  GetClientRect(window_, &client);
  OffscreenDc offscreen(target, client.right, client.bottom);
  HDC dc = offscreen.Get() ? offscreen.Get() : target;

  // The parent picks the colours, as for any edit control: read-only and disabled boxes ask as static ones do.
  const bool enabled = IsWindowEnabled(window_) != FALSE;
  const UINT colorMessage = IsReadOnly() || !enabled ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  HWND parent = GetParent(window_);
  auto brush = parent ? reinterpret_cast<HBRUSH>(
                            SendMessageW(parent, colorMessage, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window_)))
                      : nullptr;
  if (!brush) brush = GetSysColorBrush(COLOR_WINDOW);
  FillRect(dc, &client, brush);
  const COLORREF textColor = enabled ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);

  SelectedObject font(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(SYSTEM_FONT));
  SetBkMode(dc, TRANSPARENT);
  const RECT text = TextArea();
  HRGN clip = CreateRectRgnIndirect(&text);
  SelectClipRgn(dc, clip);
  const int rows = VisibleLines() + 1;  // the partly visible line below the last whole one too
  for (int row = 0; row < rows; ++row) {
    const std::size_t line = firstLine_ + static_cast<std::size_t>(row);
    if (line >= document_.LineCount()) break;
    DrawLine(dc, line, text.top + row * lineHeight_, text, textColor);
  }
  SelectClipRgn(dc, nullptr);
  if (clip) DeleteObject(clip);
  if (dc != target) {
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc, area.left, area.top,
           SRCCOPY);
  }
}

void Win32TextView::DrawLine(HDC dc, std::size_t line, int y, const RECT& area, COLORREF textColor) {
  const std::wstring_view text = document_.LineText(line);
  textview::LineLayout layout(*widths_);
  const std::size_t lineStart = document_.LineStart(line);
  // The selected columns of this line, when the selection shows.
  std::size_t selectedFrom = 0;
  std::size_t selectedTo = 0;
  if (anchor_ != caret_ && ShowsSelection()) {
    selectedFrom = std::clamp(SelectionStart(), lineStart, lineStart + text.size()) - lineStart;
    selectedTo = std::clamp(SelectionEnd(), lineStart, lineStart + text.size()) - lineStart;
  }
  const int left = area.left - xOffset_;
  if (selectedTo > selectedFrom) {
    RECT band{left + layout.XOf(text, selectedFrom), y, left + layout.XOf(text, selectedTo), y + lineHeight_};
    FillRect(dc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
  }
  if (text.empty()) return;

  if (HoldsRightToLeft(text)) {
    // GDI orders and shapes such a line itself; its own advances place it.
    std::wstring shown(text);
    std::replace(shown.begin(), shown.end(), L'\t', L' ');
    SetTextColor(dc, textColor);
    ExtTextOutW(dc, left, y, 0, nullptr, shown.c_str(), static_cast<UINT>(shown.size()), nullptr);
    return;
  }

  // Only the characters in view are drawn, each at the advance the layout gives it; tabs draw as blanks.
  int x = 0;
  const std::size_t first = layout.FirstColumnReaching(text, xOffset_, x);
  std::vector<wchar_t> units;
  std::vector<INT> advances;
  const int right = xOffset_ + (area.right - area.left);
  std::size_t end = first;
  for (int reach = x; end < text.size() && reach <= right; ++end) {
    const int advance = layout.Advance(text, end, reach);
    units.push_back(text[end] == L'\t' ? L' ' : text[end]);
    advances.push_back(advance);
    reach += advance;
  }
  // Up to three runs: before, inside and after the selection, each in its colour.
  const std::size_t cuts[] = {first, std::clamp(selectedFrom, first, end), std::clamp(selectedTo, first, end), end};
  int runX = left + x;
  for (int run = 0; run < 3; ++run) {
    const std::size_t from = cuts[run];
    const std::size_t to = std::max(cuts[run + 1], from);
    if (to == from) continue;
    SetTextColor(dc, run == 1 ? GetSysColor(COLOR_HIGHLIGHTTEXT) : textColor);
    ExtTextOutW(dc, runX, y, ETO_IGNORELANGUAGE, nullptr, units.data() + (from - first), static_cast<UINT>(to - from),
                advances.data() + (from - first));
    for (std::size_t i = from; i < to; ++i) runX += advances[i - first];
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
  info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
  if (style & WS_VSCROLL) {
    info.nMax = static_cast<int>(std::min<std::size_t>(document_.LineCount(), 0x7FFFFFFF)) - 1;
    info.nPage = static_cast<UINT>(VisibleLines());
    info.nPos = static_cast<int>(firstLine_);
    SetScrollInfo(window_, SB_VERT, &info, TRUE);
  }
  if (style & WS_HSCROLL) {
    info.nMax = widestLine_ + 2 * margin_;
    info.nPage = static_cast<UINT>(area.right - area.left + 2 * margin_);
    info.nPos = xOffset_;
    SetScrollInfo(window_, SB_HORZ, &info, TRUE);
  }
}

void Win32TextView::ScrollTo(std::size_t firstLine, int xOffset) {
  const RECT area = TextArea();
  const int maxX = std::max(0, widestLine_ + 1 - static_cast<int>(area.right - area.left));
  firstLine = std::min(firstLine, MaxFirstLine());
  xOffset = std::clamp(xOffset, 0, maxX);
  const bool vertical = firstLine != firstLine_;
  const bool horizontal = xOffset != xOffset_;
  firstLine_ = firstLine;
  xOffset_ = xOffset;
  if (IsMultiLine()) followsEnd_ = ShowsLastLine();
  if (vertical) Notify(EN_VSCROLL);
  if (horizontal) Notify(EN_HSCROLL);
  Changed();
  UpdateScrollBars(ScrollBarUpdate::kNow);  // a dragged thumb or a turned wheel shows where it is at once
}

void Win32TextView::ScrollCaretIntoView() {
  const std::size_t line = document_.LineOf(caret_);
  std::size_t first = firstLine_;
  const auto visible = static_cast<std::size_t>(VisibleLines());
  if (line < first) first = line;
  if (line >= first + visible) first = line - visible + 1;
  const RECT area = TextArea();
  const int width = area.right - area.left;
  const int caretX = PointOf(caret_).x - area.left + xOffset_;
  int x = xOffset_;
  if (caretX < x) x = std::max(0, caretX - width / 4);
  if (caretX >= x + width) x = caretX - width + std::max(1, width / 4);
  firstLine_ = std::min(first, MaxFirstLine());
  xOffset_ = std::clamp(x, 0, std::max(0, widestLine_ + 1 - width));
  if (IsMultiLine()) followsEnd_ = ShowsLastLine() && caret_ == document_.Length();
  Changed();
}

void Win32TextView::OnScroll(int bar, WORD request) {
  const int page = bar == SB_VERT ? std::max(1, VisibleLines() - 1) : std::max(1, static_cast<int>(TextArea().right - TextArea().left));
  const int step = bar == SB_VERT ? 1 : averageCharWidth_;
  const long long now = bar == SB_VERT ? static_cast<long long>(firstLine_) : xOffset_;
  long long target = now;
  switch (request) {
    case SB_LINEUP:
      target = now - step;
      break;
    case SB_LINEDOWN:
      target = now + step;
      break;
    case SB_PAGEUP:
      target = now - page;
      break;
    case SB_PAGEDOWN:
      target = now + page;
      break;
    case SB_TOP:
      target = 0;
      break;
    case SB_BOTTOM:
      target = bar == SB_VERT ? static_cast<long long>(MaxFirstLine()) : widestLine_;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(window_, bar, &info)) target = info.nTrackPos;
      break;
    }
    default:
      return;
  }
  target = std::max(0LL, target);
  if (bar == SB_VERT) {
    ScrollTo(static_cast<std::size_t>(target), xOffset_);
  } else {
    ScrollTo(firstLine_, static_cast<int>(std::min<long long>(target, 0x7FFFFFFF)));
  }
}

void Win32TextView::OnWheel(int bar, short delta) {
  UINT linesPerNotch = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &linesPerNotch, 0);
  if (linesPerNotch == WHEEL_PAGESCROLL) linesPerNotch = static_cast<UINT>(std::max(1, VisibleLines() - 1));
  wheelRemainder_ += delta;
  const int notches = wheelRemainder_ / WHEEL_DELTA;
  wheelRemainder_ %= WHEEL_DELTA;
  if (notches == 0) return;
  const long long lines = static_cast<long long>(notches) * static_cast<long long>(linesPerNotch);
  if (bar == SB_VERT) {
    // The wheel turned away from the user scrolls the text down, towards its start.
    const long long target = std::max(0LL, static_cast<long long>(firstLine_) - lines);
    ScrollTo(static_cast<std::size_t>(target), xOffset_);
  } else {
    ScrollTo(firstLine_, xOffset_ + static_cast<int>(lines) * averageCharWidth_);
  }
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
