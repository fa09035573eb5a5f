#pragma once
/// The text of a text box and its lines, held for a text view of our own: lines end with CR LF, positions count
/// UTF-16 code units from 0. The text is kept in chunks that start at line starts, so that a text growing to tens of
/// millions of characters is never copied as it grows, and every line can still be read in one piece.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::runtime::textview {

class TextDocument {
 public:
  TextDocument();

  std::size_t Length() const noexcept { return length_; }
  bool Empty() const noexcept { return length_ == 0; }
  /// The whole text, copied.
  std::wstring Text() const;
  /// Up to `count` characters from `start` (clamped to the text).
  std::wstring Substring(std::size_t start, std::size_t count) const;
  /// Copies up to `capacity` characters from the start into `out`; returns how many.
  std::size_t CopyTo(wchar_t* out, std::size_t capacity) const noexcept;
  wchar_t At(std::size_t position) const noexcept;

  void Assign(std::wstring_view text);
  /// Appends at the end; costs what the appended text costs, however long the text already is.
  void Append(std::wstring_view text);
  /// Replaces the characters [start, end) (clamped) by `text`. Rebuilds the chunks: meant for the small edits of
  /// typing, not for large texts.
  void Replace(std::size_t start, std::size_t end, std::wstring_view text);

  /// Lines: a text without CR LF is one line; an empty text is one empty line.
  std::size_t LineCount() const noexcept { return lineStarts_.size(); }
  std::size_t LineStart(std::size_t line) const noexcept;
  /// The length of a line without its CR LF.
  std::size_t LineLength(std::size_t line) const noexcept;
  std::size_t LineEnd(std::size_t line) const noexcept { return LineStart(line) + LineLength(line); }
  /// The line's characters without its CR LF; valid until the document changes.
  std::wstring_view LineText(std::size_t line) const noexcept;
  /// The line holding `position`; the position just after a line's last character (before its CR LF) belongs to
  /// that line, and so does the LF of its CR LF.
  std::size_t LineOf(std::size_t position) const noexcept;

 private:
  struct Chunk {
    std::size_t start;
    std::wstring text;
  };

  /// Adds the line starts that `text`, appended at the current end, creates.
  void IndexLineStarts(std::wstring_view text);
  const Chunk& ChunkOf(std::size_t position) const noexcept;
  void StartChunk(std::size_t start);

  std::vector<Chunk> chunks_;
  std::vector<std::size_t> lineStarts_;
  std::size_t length_ = 0;
  bool endsWithCr_ = false;
};

}  // namespace quillon::runtime::textview
