// A program the tip window tests start: appends its arguments, one per line, to the file
// "marker" in its current directory, so a test sees exactly what it was given.
#include <cstdio>

int main(int argc, char** argv) {
  std::FILE* f = std::fopen("marker", "a");
  if (f == nullptr) return 1;
  for (int i = 1; i < argc; ++i) std::fprintf(f, "%s\n", argv[i]);
  std::fprintf(f, "--\n");
  std::fclose(f);
  return 0;
}
