// Drawing text with the same cached layouts that measure and wrap it (runtime/textmetrics.h),
// so what is drawn matches what the model reports (a caret's x is the width of the text before
// it). For the painter; thread-safe.
#pragma once

#include <string_view>

#include "runtime/font.h"
#include "runtime/text/mnemonic.h"

typedef struct _cairo cairo_t;

namespace rt::text {

// Draws one line of Windows-1252 text in the cairo source colour with its top-left corner at
// (x, y), rounded to whole pixels. The font's underline and strikeout flags apply; `mnemonic`
// (a byte offset into text) underlines that one character as well.
void DrawLine(cairo_t* cr, const Font& font, std::string_view text, double x, double y,
              size_t mnemonic = kNoMnemonic);

}  // namespace rt::text
