#include "runtime/textview/TextDocument.h"

#include <algorithm>
#include <cwchar>

namespace quillon::runtime::textview {

namespace {

// Chunks are cut at line starts once they reach this size; a single longer line keeps a chunk to itself.
constexpr std::size_t kChunkChars = std::size_t{1} << 18;

}  // namespace

TextDocument::TextDocument() { Assign({}); }

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
  const std::size_t firstNewStart = lineStarts_.size();
  IndexLineStarts(text);

  // Fill the last chunk up to its size, cutting at the furthest line start that fits; a line longer than that stays
  // whole in one chunk.
  std::size_t done = 0;
  while (done < text.size()) {
    Chunk& last = chunks_.back();
    const std::size_t at = base + done;
    const std::size_t room = last.text.size() < kChunkChars ? kChunkChars - last.text.size() : 0;
    if (text.size() - done <= room) {
      last.text.append(text.substr(done));
      break;
    }
    const auto newStarts = lineStarts_.begin() + static_cast<std::ptrdiff_t>(firstNewStart);
    const auto ahead = std::upper_bound(newStarts, lineStarts_.end(), at);
    const auto fitting = std::upper_bound(ahead, lineStarts_.end(), at + room);
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
  std::wstring all = Text();
  all.replace(start, end - start, text);
  Assign(all);
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

const TextDocument::Chunk& TextDocument::ChunkOf(std::size_t position) const noexcept {
  const auto after = std::upper_bound(chunks_.begin(), chunks_.end(), position,
                                      [](std::size_t at, const Chunk& chunk) { return at < chunk.start; });
  return *(after - 1);
}

void TextDocument::StartChunk(std::size_t start) {
  chunks_.push_back({start, {}});
  // Only large texts get here; a full-size buffer up front means the chunk is never copied as it fills.
  chunks_.back().text.reserve(kChunkChars);
}

}  // namespace quillon::runtime::textview
