#include "framework/FileDrop.h"

#include <QMimeData>
#include <QUrl>

namespace vd {

namespace {

// A file URI names a local file only when it parses: a broken one ("file://\x01") gives no path.
void AddLocalFile(const QUrl& url, std::vector<std::string>& files) {
    if (!url.isLocalFile())
        return;
    const QString path = url.toLocalFile();
    if (!path.isEmpty())
        files.push_back(path.toStdString());
}

} // namespace

std::vector<std::string> DroppedFiles(const QMimeData& data) {
    std::vector<std::string> files;
    if (data.hasUrls()) {
        for (const QUrl& url : data.urls())
            AddLocalFile(url, files);
        return files;
    }
    if (!data.hasText())
        return files;
    // File managers and terminals also hand over lists of URIs as plain text.
    for (const QString& raw : data.text().split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1String("file:"))) {
            AddLocalFile(QUrl(line), files);
        } else if (line.startsWith(QLatin1Char('/'))) {
            files.push_back(line.toStdString());
        }
    }
    return files;
}

} // namespace vd
