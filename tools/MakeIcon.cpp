// Writes the program's icon file. Built and run on the build host, before the resources are compiled.
// Usage: MakeIcon OUTPUT.ico
#include <cstdio>
#include <fstream>
#include <vector>

#include "tools/QuillIcon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.ico\n", argv[0]);
    return 2;
  }
  const std::vector<std::uint8_t> file = quillon::icon::MakeQuillonIcon();
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
