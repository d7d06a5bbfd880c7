#include "framework/Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QString>
#include <QStringList>

#include <cstdlib>

namespace vd {

namespace {

bool AddFont(const QString& folder, const char* file) {
    return QFontDatabase::addApplicationFont(folder + "/" + file) >= 0;
}

} // namespace

void RegisterClassicFonts() {
    const char* env = std::getenv("VODEZARU_FONT_DIR");
    const QString folder =
        env != nullptr ? QString::fromLocal8Bit(env) : QStringLiteral("/usr/share/wine/fonts");
    if (!AddFont(folder, "ms_sans_serif.ttf"))
        QFont::insertSubstitutions("MS Sans Serif", QStringList() << "Liberation Sans"
                                                                  << "DejaVu Sans");
    const bool tahoma = AddFont(folder, "tahoma.ttf");
    AddFont(folder, "tahomabd.ttf");
    if (!tahoma)
        QFont::insertSubstitutions("Tahoma", QStringList() << "DejaVu Sans"
                                                           << "Liberation Sans");
    QFont::insertSubstitutions("Arial", QStringList() << "Liberation Sans"
                                                      << "DejaVu Sans");
}

} // namespace vd
