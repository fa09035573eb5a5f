#include "runtime/textview/TextDocument.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

namespace quillon::runtime::textview {

TextDocument::TextDocument(LineBreaks lineBreaks, std::size_t chunkChars)
    : lineBreaks_(lineBreaks), chunkChars_(std::max<std::size_t>(chunkChars, 1)) {
  Assign({});
}

void TextDocument::SetLineBreaks(LineBreaks lineBreaks) {
  if (lineBreaks == lineBreaks_) return;
  lineBreaks_ = lineBreaks;
  Assign(Text());
}

std::wstring TextDocument::Text() const {
  std::wstring text;
  text.reserve(length_);
  for (const Chunk& chunk : chunks_) text += chunk.text;
  return text;
}

std::wstring TextDocument::Substring(std::size_t start, std::size_t count) const {
  std::wstring text;
  if (start >= length_) return text;
  const std::size_t end = start + std::min(count, length_ - start);
  text.reserve(end - start);
  for (std::size_t at = start; at < end;) {
    const Chunk& chunk = ChunkOf(at);
    const std::size_t offset = at - chunk.start;
    const std::size_t take = std::min(end - at, chunk.text.size() - offset);
    text.append(chunk.text, offset, take);
    at += take;
  }
  return text;
}

std::size_t TextDocument::CopyTo(wchar_t* out, std::size_t capacity) const noexcept {
  std::size_t copied = 0;
  for (const Chunk& chunk : chunks_) {
    const std::size_t take = std::min(capacity - copied, chunk.text.size());
    std::wmemcpy(out + copied, chunk.text.data(), take);
    copied += take;
    if (copied == capacity) break;
  }
  return copied;
}

wchar_t TextDocument::At(std::size_t position) const noexcept {
  if (position >= length_) return L'\0';
  const Chunk& chunk = ChunkOf(position);
  return chunk.text[position - chunk.start];
}

void TextDocument::Assign(std::wstring_view text) {
  // Swapping with fresh containers gives the memory of a large earlier text back.
  std::vector<Chunk>().swap(chunks_);
  std::vector<std::size_t>{0}.swap(lineStarts_);
  length_ = 0;
  endsWithCr_ = false;
  chunks_.push_back({0, {}});
  Append(text);
}

void TextDocument::Append(std::wstring_view text) {
  if (text.empty()) return;
  const std::size_t base = length_;
  IndexLineStarts(text);

  // Fill the last chunk up to its size, cutting at the furthest line start that fits; a line longer than that stays
  // whole in one chunk. A single-line document has no line starts to cut at and stays one chunk.
  std::size_t done = 0;
  while (done < text.size()) {
    Chunk& last = chunks_.back();
    const std::size_t at = base + done;
    const std::size_t limit = last.start + chunkChars_;
    if (at + (text.size() - done) <= limit) {
      last.text.append(text.substr(done));
      break;
    }
    // Cuts may fall anywhere from here on except at the chunk's own start.
    const auto ahead = std::lower_bound(lineStarts_.begin(), lineStarts_.end(), std::max(at, last.start + 1));
    const auto fitting = std::upper_bound(ahead, lineStarts_.end(), limit);
    std::size_t cut = 0;
    if (fitting != ahead) {
      cut = *(fitting - 1);
    } else if (fitting != lineStarts_.end()) {
      cut = *fitting;
    } else {
      last.text.append(text.substr(done));  // the rest continues the line that is still open
      break;
    }
    last.text.append(text.substr(done, cut - at));
    done = cut - base;
    StartChunk(cut);
  }
  length_ = base + text.size();
}

void TextDocument::Replace(std::size_t start, std::size_t end, std::wstring_view text) {
  start = std::min(start, length_);
  end = std::clamp(end, start, length_);
  if (end == length_) {
    // Typing or pasting at the end, or a program adding text there, costs what the new text costs.
    Truncate(start);
    Append(text);
    return;
  }
  if (start == end && text.empty()) return;
  ReindexReplaced(start, end, text);

  // The edit goes into the chunk holding its start, which takes over the rest of the chunk holding its end. Chunks
  // after it keep their text and only move. Chunk boundaries stay at line starts: every line start up to `start`
  // survives, and the chunk holding `end` reaches past it.
  const std::size_t first = ChunkIndexOf(start);
  const std::size_t last = ChunkIndexOf(end);
  Chunk& chunk = chunks_[first];
  if (first == last) {
    chunk.text.replace(start - chunk.start, end - start, text);
  } else {
    chunk.text.resize(start - chunk.start);
    chunk.text.append(text);
    chunk.text.append(chunks_[last].text, end - chunks_[last].start);
    chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(first + 1),
                  chunks_.begin() + static_cast<std::ptrdiff_t>(last + 1));
  }
  length_ = length_ - (end - start) + text.size();
  for (std::size_t i = first + 1; i < chunks_.size(); ++i) {
    chunks_[i].start = chunks_[i].start - (end - start) + text.size();
  }
  // The next chunk may have started just after a CR LF that the edit took apart (its CR removed, or text put
  // between CR and LF): its text then continues the edited line.
  if (first + 1 < chunks_.size() && !IsLineStart(chunks_[first + 1].start)) {
    chunk.text += chunks_[first + 1].text;
    chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(first + 1));
  }
  SplitChunk(first);
}

std::size_t TextDocument::LineStart(std::size_t line) const noexcept {
  return line < lineStarts_.size() ? lineStarts_[line] : length_;
}

std::size_t TextDocument::LineLength(std::size_t line) const noexcept {
  if (line >= lineStarts_.size()) return 0;
  // Every line but the last ends with the CR LF that the next line's start follows.
  const std::size_t end = line + 1 < lineStarts_.size() ? lineStarts_[line + 1] - 2 : length_;
  return end - lineStarts_[line];
}

std::wstring_view TextDocument::LineText(std::size_t line) const noexcept {
  const std::size_t start = LineStart(line);
  const Chunk& chunk = ChunkOf(start);
  return std::wstring_view(chunk.text).substr(start - chunk.start, LineLength(line));
}

std::size_t TextDocument::LineOf(std::size_t position) const noexcept {
  const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), position);
  return static_cast<std::size_t>(after - lineStarts_.begin()) - 1;
}

void TextDocument::IndexLineStarts(std::wstring_view text) {
  if (lineBreaks_ == LineBreaks::kNone) return;
  std::size_t i = 0;
  // A CR that ended the text so far and the LF that starts this piece make one line break.
  if (endsWithCr_ && text.front() == L'\n') {
    lineStarts_.push_back(length_ + 1);
    i = 1;
  }
  for (i = text.find(L'\r', i); i != std::wstring_view::npos && i + 1 < text.size(); i = text.find(L'\r', i + 1)) {
    if (text[i + 1] == L'\n') lineStarts_.push_back(length_ + i + 2);
  }
  endsWithCr_ = text.back() == L'\r';
}

void TextDocument::ReindexReplaced(std::size_t start, std::size_t end, std::wstring_view text) {
  if (lineBreaks_ == LineBreaks::kNone) return;
  // Line starts up to `start` follow a CR LF before the edit, and those from end + 2 on one after it: both stay.
  // Between them a break is a CR LF whose LF is at a new position from `start` to the end of the new text, the CR
  // before the edit and the character after it included.
  const auto from = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), start);
  const auto kept = std::lower_bound(from, lineStarts_.end(), end + 2);
  const wchar_t before = start > 0 ? At(start - 1) : L'\0';
  const wchar_t after = At(end);
  std::vector<std::size_t> found;
  wchar_t previous = before;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const wchar_t unit = i < text.size() ? text[i] : after;
    if (previous == L'\r' && unit == L'\n') found.push_back(start + i + 1);
    previous = unit;
  }
  for (auto moved = kept; moved != lineStarts_.end(); ++moved) *moved = *moved - (end - start) + text.size();
  const auto at = lineStarts_.erase(from, kept);
  lineStarts_.insert(at, found.begin(), found.end());
}

void TextDocument::Truncate(std::size_t start) {
  if (start >= length_) return;
  // Line starts up to `start` follow a CR LF that stays.
  lineStarts_.erase(std::upper_bound(lineStarts_.begin(), lineStarts_.end(), start), lineStarts_.end());
  endsWithCr_ = start > 0 && At(start - 1) == L'\r';
  const std::size_t index = ChunkIndexOf(start);
  chunks_[index].text.resize(start - chunks_[index].start);
  chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(index + 1), chunks_.end());
  if (index > 0 && chunks_.back().text.empty()) chunks_.pop_back();
  length_ = start;
}

void TextDocument::SplitChunk(std::size_t index) {
  const std::size_t chunkStart = chunks_[index].start;
  const std::size_t chunkEnd = chunkStart + chunks_[index].text.size();
  // The same cuts as appending the chunk's text would make: the furthest line start that fits, or else the first
  // one past a line longer than a chunk.
  std::vector<std::size_t> cuts;
  for (std::size_t at = chunkStart; chunkEnd - at > chunkChars_;) {
    const auto ahead = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), at);
    const auto fitting = std::upper_bound(ahead, lineStarts_.end(), at + chunkChars_);
    if (fitting != ahead) {
      at = *(fitting - 1);
    } else if (fitting != lineStarts_.end() && *fitting < chunkEnd) {
      at = *fitting;
    } else {
      break;
    }
    cuts.push_back(at);
  }
  if (cuts.empty()) return;
  std::vector<Chunk> pieces;
  pieces.reserve(cuts.size());
  for (std::size_t i = 0; i < cuts.size(); ++i) {
    const std::size_t pieceEnd = i + 1 < cuts.size() ? cuts[i + 1] : chunkEnd;
    pieces.push_back({cuts[i], chunks_[index].text.substr(cuts[i] - chunkStart, pieceEnd - cuts[i])});
  }
  chunks_[index].text.resize(cuts.front() - chunkStart);
  chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(index + 1), std::make_move_iterator(pieces.begin()),
                 std::make_move_iterator(pieces.end()));
}

bool TextDocument::IsLineStart(std::size_t position) const noexcept {
  return std::binary_search(lineStarts_.begin(), lineStarts_.end(), position);
}

std::size_t TextDocument::ChunkIndexOf(std::size_t position) const noexcept {
  const auto after = std::upper_bound(chunks_.begin(), chunks_.end(), position,
                                      [](std::size_t at, const Chunk& chunk) { return at < chunk.start; });
  return static_cast<std::size_t>(after - chunks_.begin()) - 1;
}

void TextDocument::StartChunk(std::size_t start) {
  chunks_.push_back({start, {}});
  // Only large texts get here; a full-size buffer up front means the chunk is never copied as it fills.
  chunks_.back().text.reserve(chunkChars_);
}

}  // namespace quillon::runtime::textview
