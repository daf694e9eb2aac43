// The desktop's typefaces mapped onto installed fontconfig families: "MS Sans Serif", blank and
// unknown faces become the sans family, the classic faces their metric-compatible equivalents.
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <string_view>

#include "runtime/strings.h"
#include "runtime/text/text_internal.h"
#include "runtime/textmetrics.h"

namespace rt::text {
namespace {

bool FamilyInstalled(const std::string& family) {
  // Guarded by the caller's lock; never destroyed, for threads still running at exit.
  static auto& known = *new std::map<std::string, bool>();
  if (auto it = known.find(family); it != known.end()) return it->second;
  FcPattern* pattern =
      FcPatternBuild(nullptr, FC_FAMILY, FcTypeString,
                     reinterpret_cast<const FcChar8*>(family.c_str()), static_cast<char*>(nullptr));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, static_cast<char*>(nullptr));
  FcFontSet* fonts = pattern && objects ? FcFontList(nullptr, pattern, objects) : nullptr;
  const bool found = fonts && fonts->nfont > 0;
  if (fonts) FcFontSetDestroy(fonts);
  if (objects) FcObjectSetDestroy(objects);
  if (pattern) FcPatternDestroy(pattern);
  known.emplace(family, found);
  return found;
}

// The family for the default face: the narrower Liberation Sans keeps text widths close to
// those the tips were written for; DejaVu Sans when it is missing; fontconfig's alias last.
const std::string& SansFamily() {
  static const std::string& family = *new std::string([] {
    for (const char* f : {"Liberation Sans", "DejaVu Sans"}) {
      if (FamilyInstalled(f)) return std::string(f);
    }
    return std::string("Sans");
  }());
  return family;
}

struct Substitute {
  std::string_view face;    // lower case
  std::string_view family;  // installed equivalent
};
constexpr std::array<Substitute, 3> kSubstitutes = {{
    {"arial", "Liberation Sans"},
    {"times new roman", "Liberation Serif"},
    {"courier new", "Liberation Mono"},
}};

std::string FamilyFor(std::string_view typeface, bool& symbol) {
  const std::string face = Lower(Clip(Left(typeface)));
  symbol = face == "wingdings";
  if (face.empty() || face == "ms sans serif" || symbol) return SansFamily();
  for (const Substitute& s : kSubstitutes) {
    if (face == s.face) {
      const std::string family(s.family);
      return FamilyInstalled(family) ? family : SansFamily();
    }
  }
  const std::string utf8 = Cp1252ToUtf8(face);
  return FamilyInstalled(utf8) ? utf8 : SansFamily();
}

}  // namespace

ResolvedFont ResolveFont(const Font& font) {
  ResolvedFont r;
  r.family = FamilyFor(font.typeface, r.symbol);
  r.points = font.size <= 0 ? kDefaultPoints : std::min(font.size, kMaxPoints);
  const int32_t weight = font.style & kFontWeightMask;
  r.weight = weight == 0 ? 400 : std::clamp(weight, 100, 1000);
  r.italic = (font.style & kFontItalic) != 0;
  return r;
}

}  // namespace rt::text
