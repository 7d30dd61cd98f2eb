// readerfixture: plugs the simulated Tarnel reader into the Wine prefix or unplugs it, for the
// run command. Usage: readerfixture plug COMn | unplug
#include <cstdio>
#include <cstring>

#include "reader_fixture.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "plug") == 0) {
    if (simreader::PlugReader(argv[2])) return 0;
    std::fprintf(stderr, "readerfixture: the simulated reader could not be plugged in as %s\n", argv[2]);
    return 1;
  }
  if (argc == 2 && std::strcmp(argv[1], "unplug") == 0) {
    simreader::Clean();
    return 0;
  }
  std::fprintf(stderr, "usage: readerfixture plug COMn | unplug\n");
  return 2;
}
