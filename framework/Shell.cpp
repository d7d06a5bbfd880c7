#include "framework/Shell.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace vd {

namespace {

UrlOpener& CurrentOpener() {
    static UrlOpener opener; // tests only
    return opener;
}

} // namespace

void SetUrlOpener(UrlOpener opener) {
    CurrentOpener() = std::move(opener);
}

bool OpenUrl(const std::string& url) {
    if (CurrentOpener())
        return CurrentOpener()(url);
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

} // namespace vd
