// Go To with any text, twice in a row (the second from where the first left the window): no crash, no key left
// open, nothing written to the registry, and the key the window shows is one that exists.
#include "tests/fuzz/FuzzSupport.h"

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  registry::MemoryRegistry& tree = fuzz::FixtureTree();
  const std::uint32_t writesBefore = fuzz::WriteCalls(tree);

  fuzz::FreshWindow fresh;
  frmRegEdit& w = fresh.window;
  const std::vector<std::wstring> pieces = fuzz::Pieces(data, size);
  for (std::size_t i = 0; i < pieces.size() && i < 2; ++i) {
    w.txtGoTo->SetText(pieces[i]);
    w.cmdGoTo_Click();
    fuzz::Require(tree.OpenHandleCount() == 0, "no key left open");
    const std::wstring& shown = w.CurrentKeyPath();
    fuzz::Require(shown.empty() || tree.KeyExists(fuzz::Text().ToAnsi(shown)), "the window shows a key that exists");
  }
  fuzz::Require(fuzz::WriteCalls(tree) == writesBefore, "Go To does not even try to write to the registry");
  return 0;
}
