// Writes the canonical dump of each file given, as one parser reads it:
//   parsedump form|reader|ini|bmp|imagelist|number|shortcut|layout FILE...
// Built for the host and for Windows; the fuzz script compares the two outputs.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "fuzz/common/Dumps.h"

int main(int argc, char** argv)
{
  struct TKind {
    const char* Name;
    std::string (*Dump)(const std::string&);
  };
  static const TKind kinds[] = {{"form", DumpForm},
                                {"reader", DumpReader},
                                {"ini", DumpIni},
                                {"bmp", DumpBmp},
                                {"imagelist", DumpImageList},
                                {"number", DumpNumbers},
                                {"shortcut", DumpShortCuts},
                                {"layout", DumpLayout}};
  const TKind* kind = nullptr;
  for (const TKind& k : kinds)
    if (argc > 1 && std::strcmp(argv[1], k.Name) == 0)
      kind = &k;
  if (!kind) {
    std::fprintf(stderr, "usage: parsedump form|reader|ini|bmp|imagelist|number|shortcut|layout FILE...\n");
    return 2;
  }
  for (int i = 2; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "parsedump: cannot read %s\n", argv[i]);
      return 1;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const char* name = std::strrchr(argv[i], '/');
    std::string out = std::string("== ") + (name ? name + 1 : argv[i]) + "\n" + kind->Dump(bytes);
    std::fwrite(out.data(), 1, out.size(), stdout);
  }
  return 0;
}
