// The registry contract against advapi32, run under Wine in a throw-away prefix.
#include "registry/win32/Win32Registry.h"
#include "contract/RegistryContract.h"

namespace quillon::registry::contract {
namespace {

struct Win32Backend {
  using Registry = Win32Registry;
  // Wine lists values sorted by name and subkeys compared lower-cased; Windows lists values in the order first
  // written and subkeys compared upper-cased. Either passes here.
  static constexpr Ordering kOrdering = Ordering::WindowsOrWine;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryContract, Win32Backend);

}  // namespace
}  // namespace quillon::registry::contract
