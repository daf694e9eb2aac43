// Writing tip files in the old record layout through VISTIPOLD, for tests, benchmarks and tools
// that need a file to convert. Call from one thread at a time (it uses VTG and VISTIPOLD).
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "tipstore/declarations.h"

namespace vistip {

// Fills the record buffer with old record n (counted from 1).
using OldTipFiller = std::function<void(int32_t n, OldTipBuffer& record)>;

// Creates `name` as an empty old-layout tip file (replacing any file of that name) and adds
// `count` records in one batch. GLO.VTAPPNAMEOLD names the file meanwhile and is restored
// afterwards; VISTIPOLD is left closed. Returns 0 or the code of the first failure.
int32_t WriteOldTipFile(std::string_view name, int32_t count, const OldTipFiller& fill);

}  // namespace vistip
