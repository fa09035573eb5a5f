#include "runtime/headless/HeadlessControls.h"

#include <algorithm>
#include <vector>

namespace quillon::runtime {

namespace {

wchar_t FoldCase(wchar_t ch) {
  if (ch >= L'A' && ch <= L'Z') return static_cast<wchar_t>(ch + 32);
  if (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7) return static_cast<wchar_t>(ch + 32);
  return ch;
}

// The order of the platform's sorted list boxes, which sort with CompareString ignoring case ("word sort"):
// symbols come before digits and digits before letters; hyphens and apostrophes count only when all else is
// equal; an accented letter sorts with its base letter, after it when all else is equal.
bool IgnoredInWordSort(wchar_t ch) { return ch == L'-' || ch == L'\''; }

wchar_t BaseLetter(wchar_t folded) {
  static const wchar_t kLatin1Bases[] = L"aaaaaaaceeeeiiiidnooooo\xF7ouuuuy\xFEy";  // U+00E0 to U+00FF
  if (folded >= 0xE0 && folded <= 0xFF) return kLatin1Bases[folded - 0xE0];
  return folded;
}

int PrimaryWeight(wchar_t ch) {
  const wchar_t folded = FoldCase(ch);
  const wchar_t base = BaseLetter(folded);
  if (base >= L'a' && base <= L'z') return 0x30000 + base;
  if (ch >= L'0' && ch <= L'9') return 0x20000 + ch;
  if (ch < 0xC0 || ch == 0xD7 || ch == 0xF7) return 0x10000 + ch;  // symbols, ASCII and Latin-1
  return 0x40000 + folded;
}

bool LessIgnoringCase(const std::wstring& a, const std::wstring& b) {
  auto weights = [](const std::wstring& text, auto weight) {
    std::vector<int> result;
    for (wchar_t ch : text) {
      if (!IgnoredInWordSort(ch)) result.push_back(weight(ch));
    }
    return result;
  };
  const auto primary = [](wchar_t ch) { return PrimaryWeight(ch); };
  const auto accent = [](wchar_t ch) { return BaseLetter(FoldCase(ch)) != FoldCase(ch) ? 1 : 0; };
  const std::vector<int> primaryA = weights(a, primary);
  const std::vector<int> primaryB = weights(b, primary);
  if (primaryA != primaryB) return primaryA < primaryB;
  const std::vector<int> accentA = weights(a, accent);
  const std::vector<int> accentB = weights(b, accent);
  if (accentA != accentB) return accentA < accentB;
  return std::count_if(a.begin(), a.end(), IgnoredInWordSort) < std::count_if(b.begin(), b.end(), IgnoredInWordSort);
}

bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return FoldCase(x) == FoldCase(y); });
}

}  // namespace

// ---- List box -------------------------------------------------------------------------------------------------

HeadlessListBox::HeadlessListBox(const ControlSpec& spec)
    : sorted_((spec.options & kSorted) != 0), extended_((spec.options & kExtendedSelection) != 0) {}

void HeadlessListBox::AddItem(const std::wstring& text) {
  auto position = items_.end();
  // Ahead of an entry that compares equal, as the control's binary search inserts.
  if (sorted_) position = std::lower_bound(items_.begin(), items_.end(), text, LessIgnoringCase);
  const int index = static_cast<int>(position - items_.begin());
  items_.insert(position, text);
  marks_.insert(marks_.begin() + index, false);
  if (current_ >= index) ++current_;
}

void HeadlessListBox::RemoveItem(int index) {
  if (!InRange(index)) return;
  items_.erase(items_.begin() + index);
  marks_.erase(marks_.begin() + index);
  if (current_ == index) {
    current_ = -1;
  } else if (current_ > index) {
    --current_;
  }
}

void HeadlessListBox::Clear() {
  items_.clear();
  marks_.clear();
  current_ = -1;
}

int HeadlessListBox::ListCount() const { return static_cast<int>(items_.size()); }

std::wstring HeadlessListBox::List(int index) const { return InRange(index) ? items_[index] : std::wstring(); }

int HeadlessListBox::ListIndex() const { return current_; }

void HeadlessListBox::SetListIndex(int index) {
  if (IsExtended()) {
    if (InRange(index)) current_ = index;
    return;
  }
  current_ = InRange(index) ? index : -1;
  RaiseClick();
}

bool HeadlessListBox::Selected(int index) const {
  if (!InRange(index)) return false;
  return IsExtended() ? static_cast<bool>(marks_[index]) : index == current_;
}

void HeadlessListBox::SetSelected(int index, bool selected) {
  if (!InRange(index)) return;
  if (IsExtended()) {
    // As LB_SETSEL does, marking an entry also moves the focus to it; unmarking leaves the focus.
    marks_[index] = selected;
    if (selected) current_ = index;
    return;
  }
  if (selected) {
    current_ = index;
  } else if (current_ == index) {
    current_ = -1;
  } else {
    return;
  }
  RaiseClick();
}

int HeadlessListBox::SelCount() const {
  if (!IsExtended()) return current_ >= 0 ? 1 : 0;
  return static_cast<int>(std::count(marks_.begin(), marks_.end(), true));
}

std::wstring HeadlessListBox::Text() const { return List(current_); }

void HeadlessListBox::SetText(const std::wstring& text) {
  const auto match =
      std::find_if(items_.begin(), items_.end(), [&](const std::wstring& item) { return EqualIgnoringCase(item, text); });
  const int index = match == items_.end() ? -1 : static_cast<int>(match - items_.begin());
  if (IsExtended()) {
    if (index >= 0) current_ = index;
    return;
  }
  current_ = index;
  RaiseClick();
}

void HeadlessListBox::BeginUpdate() { ++updateDepth_; }

void HeadlessListBox::EndUpdate() {
  if (updateDepth_ > 0) --updateDepth_;
}

void HeadlessListBox::SelectOnly(int index) {
  std::fill(marks_.begin(), marks_.end(), false);
  marks_[index] = true;
  current_ = index;
}

void HeadlessListBox::UserClick(int index) {
  if (!InRange(index)) return;
  if (IsExtended()) {
    SelectOnly(index);
  } else {
    current_ = index;
  }
  RaiseClick();
}

void HeadlessListBox::UserCtrlClick(int index) {
  if (!InRange(index)) return;
  if (!IsExtended()) {
    UserClick(index);
    return;
  }
  marks_[index] = !marks_[index];
  current_ = index;
  RaiseClick();
}

void HeadlessListBox::UserDoubleClick(int index) {
  if (!InRange(index)) return;
  UserClick(index);
  if (DblClick) DblClick();
}

void HeadlessListBox::RaiseClick() {
  if (Click) Click();
}

// ---- Combo box ------------------------------------------------------------------------------------------------

void HeadlessComboBox::SetText(const std::wstring& text) {
  text_ = text;
  index_ = -1;
}

void HeadlessComboBox::Clear() {
  items_.clear();
  text_.clear();
  index_ = -1;
}

std::wstring HeadlessComboBox::List(int index) const {
  return index >= 0 && index < ListCount() ? items_[index] : std::wstring();
}

void HeadlessComboBox::SetListIndex(int index) {
  if (index < 0 || index >= ListCount()) {
    index_ = -1;
    text_.clear();
    return;
  }
  index_ = index;
  text_ = items_[index];
}

// ---- Text box -------------------------------------------------------------------------------------------------

void HeadlessTextBox::SetText(const std::wstring& text) {
  // A fresh string, as the platform's box gives the memory of a large earlier text back.
  std::wstring(text).swap(text_);
  selStart_ = 0;
  selLength_ = 0;
}

void HeadlessTextBox::AppendText(const std::wstring& text) { text_ += text; }

void HeadlessTextBox::SetSelStart(int start) {
  const int length = static_cast<int>(text_.size());
  selStart_ = std::clamp(start, 0, length);
  selLength_ = 0;
}

void HeadlessTextBox::SetSelLength(int length) {
  const int room = static_cast<int>(text_.size()) - selStart_;
  selLength_ = std::clamp(length, 0, room);
}

void HeadlessTextBox::UserClick(int caret) {
  SetSelStart(caret);
  if (Click) Click();
}

// ---- Check box ------------------------------------------------------------------------------------------------

HeadlessCheckBox::HeadlessCheckBox(const ControlSpec& spec)
    : caption_(spec.caption),
      value_((spec.options & kChecked) != 0 ? 1 : 0),
      enabled_((spec.options & kDisabled) == 0) {}

void HeadlessCheckBox::UserClick() {
  if (!enabled_) return;
  value_ = value_ == 1 ? 0 : 1;
  if (Click) Click();
}

}  // namespace quillon::runtime
