#pragma once
/// The one step of undo a text box keeps, as the platform's edit control keeps it: the run of characters last
/// inserted, or the text last deleted, at one place. Undoing replaces the run by the deleted text, which is recorded
/// as any edit is, so undoing again swaps them back.

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon::runtime::textview {

class UndoStep {
 public:
  /// What undoing does: replace [start, end) by `text`.
  struct Replacement {
    std::size_t start = 0;
    std::size_t end = 0;
    std::wstring text;
  };

  /// An edit that can be undone: `removed` at `start` was replaced by `inserted` characters. Deleting next to the
  /// text deleted last grows that deletion, typing on where the last insertion (or deletion) was grows that run;
  /// anything else starts a new step.
  void Record(std::size_t start, std::wstring_view removed, std::size_t inserted);
  bool CanUndo() const noexcept { return inserted_ != 0 || !text_.empty(); }
  void Empty() noexcept;
  /// The replacement that undoes the step; the step is emptied, to be recorded anew as the replacement is made.
  Replacement Take();
  /// The run last inserted, [Start(), End()): what undoing selects.
  std::size_t Start() const noexcept { return position_; }
  std::size_t End() const noexcept { return position_ + inserted_; }

 private:
  std::size_t position_ = 0;
  std::size_t inserted_ = 0;
  std::wstring text_;
};

}  // namespace quillon::runtime::textview
