#pragma once
// What the fuzz targets share: turning fuzz bytes into text, a small fixed registry tree, a fresh window over it,
// and a failure that libFuzzer reports as a crash with the input that caused it.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "registry/memory/MemoryRegistry.h"
#include "runtime/headless/HeadlessRuntime.h"
#include "window/frmRegEdit.h"

namespace quillon::fuzz {

inline void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

inline const runtime::Windows1252Text& Text() {
  static const runtime::Windows1252Text text;
  return text;
}

/// The bytes as code page 1252 text, with a few control bytes standing for the characters paths and result lines
/// are made of, so that the fuzzer reaches them without having to find them by chance.
inline std::wstring Decode(const std::uint8_t* data, std::size_t size) {
  static const char kShortcuts[] = {'\\', ':', ' ', '*', '['};
  std::string bytes(reinterpret_cast<const char*>(data), size);
  for (char& c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 1 && byte <= sizeof kShortcuts) c = kShortcuts[byte - 1];
  }
  return Text().FromAnsi(bytes);
}

/// The input cut at its zero bytes, each piece decoded.
inline std::vector<std::wstring> Pieces(const std::uint8_t* data, std::size_t size) {
  std::vector<std::wstring> pieces;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= size; ++i) {
    if (i < size && data[i] != 0) continue;
    pieces.push_back(Decode(data + start, i - start));
    start = i + 1;
  }
  return pieces;
}

/// A small tree with the shapes paths run into: nested keys, blanks, a dotted name, non-ASCII names, values.
inline registry::MemoryRegistry& FixtureTree() {
  static registry::MemoryRegistry* tree = [] {
    auto* made = new registry::MemoryRegistry;
    made->PutString("HKCU\\Software\\Quillon", "Name", "value: with a colon");
    made->PutDword("HKCU\\Software\\Quillon", "Number", 42);
    made->PutBinary("HKCU\\Software\\Quillon\\Sub Key", "Bytes", {0, 1, 0xFF});
    made->Put("HKCU\\Software\\Quillon\\..x\\Deep\\Deeper");
    made->PutString("HKCU\\Software\\\xC4rger \xDC", "", "default");
    made->Put("HKLM\\SOFTWARE\\Classes\\.txt");
    made->PutString("HKCR\\.txt", "Content Type", "text/plain");
    made->Put("HKU\\S-1-5-18\\Software");
    return made;
  }();
  return *tree;
}

/// How many calls that could change the registry were made so far, failed ones included.
inline std::uint32_t WriteCalls(const registry::MemoryRegistry& registry) {
  using registry::Operation;
  std::uint32_t calls = 0;
  for (const Operation operation :
       {Operation::CreateKey, Operation::SetValueEx, Operation::DeleteKey, Operation::DeleteValue})
    calls += registry.CallCount(operation);
  return calls;
}

/// A freshly loaded window over the fixture tree, with settings of its own, so that no input depends on another.
struct FreshWindow {
  runtime::HeadlessRuntime runtime;
  frmRegEdit window{runtime, FixtureTree(), nullptr};
  FreshWindow() { window.Show(); }
};

}  // namespace quillon::fuzz
