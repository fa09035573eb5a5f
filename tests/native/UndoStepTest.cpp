// The text box's one step of undo over a document: runs of typing and of deleting grow it, an edit elsewhere
// starts a new one, and undoing twice puts the text back as it was.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "runtime/textview/TextDocument.h"
#include "runtime/textview/UndoStep.h"

namespace quillon::runtime::textview {
namespace {

/// Replaces [start, end) as the box does, recording the edit; with no text given, undoes.
void Edit(TextDocument& document, UndoStep& undo, std::size_t start = 0, std::size_t end = 0,
          std::optional<std::wstring> text = std::nullopt) {
  if (!text) {
    UndoStep::Replacement replacement = undo.Take();
    return Edit(document, undo, replacement.start, replacement.end, std::move(replacement.text));
  }
  undo.Record(start, document.Substring(start, end - start), text->size());
  document.Replace(start, end, *text);
}

TEST(UndoStep, RunsOfTypingOrDeletingAreOneStepAndUndoingTwiceRedoes) {
  TextDocument document;
  document.Assign(L"abcdef");
  UndoStep undo;
  EXPECT_FALSE(undo.CanUndo());
  // Delete, Delete, then Backspace twice: one deletion of "bcde".
  for (const std::size_t at : {3, 3, 2, 1}) Edit(document, undo, at, at + 1, L"");
  EXPECT_EQ(document.Text(), L"af");
  Edit(document, undo, 1, 1, L"x");  // typing where it was deleted replaces it
  Edit(document, undo, 2, 2, L"y");
  Edit(document, undo);
  EXPECT_EQ(document.Text(), L"abcdef");
  EXPECT_EQ(undo.Start(), 1u);
  EXPECT_EQ(undo.End(), 5u) << "what was put back is what undoing selects";
  Edit(document, undo);
  EXPECT_EQ(document.Text(), L"axyf");

  Edit(document, undo, 4, 4, L"!");  // typing elsewhere: a step of its own
  Edit(document, undo);
  EXPECT_EQ(document.Text(), L"axyf");
}

}  // namespace
}  // namespace quillon::runtime::textview
