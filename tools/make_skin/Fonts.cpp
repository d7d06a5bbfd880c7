#include "tools/make_skin/Fonts.h"

#include <QFontDatabase>
#include <QString>
#include <QStringList>

#include <map>
#include <stdexcept>

namespace vd::art {

namespace {

QString fontFile(FontFace face) {
    const QString dir = QStringLiteral("/usr/share/fonts/truetype/liberation/");
    switch (face) {
    case FontFace::SansBoldItalic:
        return dir + "LiberationSans-BoldItalic.ttf";
    case FontFace::SansRegular:
        return dir + "LiberationSans-Regular.ttf";
    case FontFace::SansBold:
        return dir + "LiberationSans-Bold.ttf";
    }
    return {};
}

} // namespace

QFont loadFont(FontFace face, int pixel_size) {
    static std::map<FontFace, QString> families;
    auto it = families.find(face);
    if (it == families.end()) {
        const int id = QFontDatabase::addApplicationFont(fontFile(face));
        const QStringList names = QFontDatabase::applicationFontFamilies(id);
        if (id < 0 || names.isEmpty()) {
            throw std::runtime_error("cannot load font " + fontFile(face).toStdString() +
                                     " (package fonts-liberation)");
        }
        it = families.emplace(face, names.front()).first;
    }
    QFont font(it->second);
    font.setPixelSize(pixel_size);
    font.setBold(face != FontFace::SansRegular);
    font.setItalic(face == FontFace::SansBoldItalic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

} // namespace vd::art
