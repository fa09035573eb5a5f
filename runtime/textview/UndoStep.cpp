#include "runtime/textview/UndoStep.h"

#include <utility>

namespace quillon::runtime::textview {

void UndoStep::Record(std::size_t start, std::wstring_view removed, std::size_t inserted) {
  if (!removed.empty()) {
    if (inserted_ == 0 && !text_.empty() && start == position_) {
      text_.append(removed);  // Delete, again
    } else if (inserted_ == 0 && !text_.empty() && start + removed.size() == position_) {
      text_.insert(0, removed);  // Backspace, again
      position_ = start;
    } else {
      text_.assign(removed);
      position_ = start;
    }
    inserted_ = 0;
  }
  if (inserted > 0) {
    if (start == position_ || (inserted_ != 0 && start == position_ + inserted_)) {
      inserted_ += inserted;
    } else {
      position_ = start;
      inserted_ = inserted;
      text_.clear();
    }
  }
}

void UndoStep::Empty() noexcept {
  inserted_ = 0;
  text_.clear();
  text_.shrink_to_fit();
}

UndoStep::Replacement UndoStep::Take() {
  Replacement replacement{position_, position_ + inserted_, std::move(text_)};
  Empty();
  return replacement;
}

}  // namespace quillon::runtime::textview
