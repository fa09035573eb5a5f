#pragma once
/// The registry operations over advapi32's ANSI functions, with the program's 32-bit handles mapped to the
/// platform's pointer-sized ones.

#include "registry/RegistryApi.h"

namespace quillon::registry {

class Win32Registry : public RegistryApi {
 public:
  // Declared in the implementation.
};

}  // namespace quillon::registry
