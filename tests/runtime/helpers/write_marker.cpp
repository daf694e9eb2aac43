// A child program for the RUN tests: writes its arguments after the first, one per line, to
// the file named by its first argument (through a temporary name, so a reader never sees a
// partial file).
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string path = argv[1];
  const std::string partial = path + ".partial";
  std::FILE* f = std::fopen(partial.c_str(), "wb");
  if (!f) return 1;
  for (int i = 2; i < argc; ++i) std::fprintf(f, "%s\n", argv[i]);
  if (std::fclose(f) != 0) return 1;
  return std::rename(partial.c_str(), path.c_str()) == 0 ? 0 : 1;
}
