// Builds a tip file from its text form: build_tips SOURCE.vtx TIPFILE (replacing TIPFILE).
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "runtime/thread.h"
#include "tools/tip_file_io.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: build_tips SOURCE TIPFILE\n";
    return 2;
  }
  rt::RuntimeThread thread;
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream source;
  source << in.rdbuf();
  std::vector<vistip::TipText> tips;
  if (const vistip::TipTextError e = vistip::ReadTipText(source.str(), tips); e.line != 0) {
    std::cerr << argv[1] << ":" << e.line << ": " << e.message << "\n";
    return 1;
  }
  std::error_code ignored;
  std::filesystem::remove(argv[2], ignored);
  const vistip::TipWriteResult r = vistip::ImportTips(argv[2], tips);
  if (!r.ok) {
    std::cerr << r.error << "\n";
    return 1;
  }
  std::cout << "built " << argv[2] << " with " << r.added << " tips\n";
  return 0;
}
