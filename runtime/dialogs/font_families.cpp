// The font dialog's typefaces, read from fontconfig's list of installed fonts.
#include "runtime/dialogs/font_families.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>

#include "runtime/strings.h"
#include "runtime/textmetrics.h"

namespace rt::dialogs {
namespace {

// Every font's first family name, as fontconfig spells it (UTF-8).
std::vector<std::string> InstalledFamilies() {
  std::vector<std::string> names;
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, static_cast<char*>(nullptr));
  FcFontSet* fonts = pattern && objects ? FcFontList(nullptr, pattern, objects) : nullptr;
  for (int i = 0; fonts != nullptr && i < fonts->nfont; ++i) {
    FcChar8* family = nullptr;
    if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch && family)
      names.emplace_back(reinterpret_cast<const char*>(family));
  }
  if (fonts) FcFontSetDestroy(fonts);
  if (objects) FcObjectSetDestroy(objects);
  if (pattern) FcPatternDestroy(pattern);
  return names;
}

}  // namespace

std::vector<std::string> FontFamilies() {
  std::vector<std::string> families = {"MS Sans Serif", "Arial"};
  for (const std::string& utf8 : InstalledFamilies()) {
    std::string name = Utf8ToCp1252(utf8);
    if (!name.empty() && Cp1252ToUtf8(name) == utf8) families.push_back(std::move(name));
  }
  std::sort(families.begin(), families.end(), [](const std::string& a, const std::string& b) {
    const std::string la = Lower(a), lb = Lower(b);
    return la != lb ? la < lb : a < b;
  });
  families.erase(std::unique(families.begin(), families.end()), families.end());
  return families;
}

}  // namespace rt::dialogs
