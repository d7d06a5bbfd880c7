#pragma once

#include <QFont>

// Outline fonts used by the decorations. They are loaded from fixed files rather than looked up
// through the system, so the generated pictures do not change with the fonts a machine has.
namespace vd::art {

enum class FontFace { SansBoldItalic, SansRegular, SansBold };

// Throws std::runtime_error when the font file is missing. Needs a QGuiApplication.
[[nodiscard]] QFont loadFont(FontFace face, int pixel_size);

} // namespace vd::art
