#pragma once
// Fonts of forms and labels, and the small images on the OK and Help buttons.

#include <string>

#include "platform/Ui.h"
#include "platform/win32/Resource.h"

namespace varnel::win32 {

// The form's font: `spec.face` when the system has it, otherwise the first Japanese UI face
// that is installed (Windows without the Japanese fonts, Wine with the IPA fonts), always with
// the Shift-JIS character set so that the font mapper prefers faces with Japanese glyphs.
// Heights are design pixels, made for a window at `dpi`; a height of 0 takes the system's
// message font height at that DPI.
unique_hfont CreateFormFont(const platform::FontSpec& spec, UINT dpi);

// A label's own font: `base` (already made for `dpi`) changed by whatever `spec` sets (face,
// height, styles). Null when `spec` changes nothing, so the label keeps its parent's font.
unique_hfont CreateDerivedFont(HFONT base, const platform::FontSpec& spec, UINT dpi);

// Whether a font family of that name is installed.
bool FontFaceExists(const std::wstring& face);

// The glyph of a button as a one-image list sized for a window at `dpi`: a green check mark
// for OK, a blue disc with a white question mark for Help. Null for ButtonGlyph::None.
unique_himagelist CreateGlyphImageList(platform::ButtonGlyph glyph, UINT dpi);

}  // namespace varnel::win32
