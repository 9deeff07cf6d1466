// make_helper.exe HELPER OUTPUT FOLDER NAME...
// Writes a copy of the deletion helper whose list names FOLDER and the files,
// as the setup program writes it on uninstall. For the demo and manual tries.
#include <cstdio>
#include <string>

#include "tests/support/TestFiles.h"
#include "uninst/ListArea.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: make_helper HELPER OUTPUT FOLDER [NAME...]\n");
    return 2;
  }
  std::string image = test::ReadFile(argv[1]);
  std::string list = argv[3];
  for (int i = 4; i < argc; ++i)
    list += std::string("\n") + argv[i];
  auto* bytes = reinterpret_cast<unsigned char*>(&image[0]);
  if (image.empty() || !ListArea::Patch(bytes, image.size(), list.c_str())) {
    std::fprintf(stderr, "make_helper: no list area in %s, or the list is too long\n", argv[1]);
    return 1;
  }
  if (!test::WriteFile(argv[2], image)) {
    std::fprintf(stderr, "make_helper: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
