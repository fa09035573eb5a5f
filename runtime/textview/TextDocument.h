#pragma once
/// The text of a text box and its lines, held for a text view of our own: lines end with CR LF (or, in a single-line
/// box, the whole text is one line), positions count UTF-16 code units from 0. The text is kept in chunks that start
/// at line starts, so that a text growing to tens of millions of characters is never copied as it grows or edited,
/// and every line can still be read in one piece.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::runtime::textview {

/// Where lines break: multi-line boxes break at CR LF; a single-line box shows its whole text, CR and LF included,
/// as one line.
enum class LineBreaks { kCrLf, kNone };

class TextDocument {
 public:
  /// Chunks are cut at line starts once they reach this many characters; a longer line keeps a chunk to itself.
  static constexpr std::size_t kDefaultChunkChars = std::size_t{1} << 18;

  explicit TextDocument(LineBreaks lineBreaks = LineBreaks::kCrLf, std::size_t chunkChars = kDefaultChunkChars);

  LineBreaks GetLineBreaks() const noexcept { return lineBreaks_; }
  /// Changes where lines break and indexes the lines again (a view learns its box's style only when it attaches).
  void SetLineBreaks(LineBreaks lineBreaks);

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
  /// Replaces the characters [start, end) (clamped) by `text`. Costs what the edit costs plus a shift of the lines
  /// and chunks after it: only the chunks the edit touches are rewritten.
  void Replace(std::size_t start, std::size_t end, std::wstring_view text);

  /// Lines: a text without line breaks is one line; an empty text is one empty line.
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
  /// Finds the line starts again around [start, end) replaced by `text`, and moves those after it.
  void ReindexReplaced(std::size_t start, std::size_t end, std::wstring_view text);
  /// Drops the text from `start` on.
  void Truncate(std::size_t start);
  /// Cuts chunk `index` at line starts while it is longer than a chunk and can be cut.
  void SplitChunk(std::size_t index);
  bool IsLineStart(std::size_t position) const noexcept;
  std::size_t ChunkIndexOf(std::size_t position) const noexcept;
  const Chunk& ChunkOf(std::size_t position) const noexcept { return chunks_[ChunkIndexOf(position)]; }
  void StartChunk(std::size_t start);

  LineBreaks lineBreaks_;
  std::size_t chunkChars_;
  std::vector<Chunk> chunks_;
  std::vector<std::size_t> lineStarts_;
  std::size_t length_ = 0;
  bool endsWithCr_ = false;
};

}  // namespace quillon::runtime::textview
