// The temporary directories of the host-interface tests.
#include "tests/api/api_fixture.h"

#include <stdlib.h>

#include <cstdlib>

namespace vistip::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vistip-api-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace vistip::testing
