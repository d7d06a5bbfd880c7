#include "framework/FileDrop.h"

#include <QMimeData>
#include <QUrl>

namespace vd {

std::vector<std::string> DroppedFiles(const QMimeData& data) {
    std::vector<std::string> files;
    if (data.hasUrls()) {
        for (const QUrl& url : data.urls())
            if (url.isLocalFile())
                files.push_back(url.toLocalFile().toStdString());
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
            const QUrl url(line);
            if (url.isLocalFile())
                files.push_back(url.toLocalFile().toStdString());
        } else if (line.startsWith(QLatin1Char('/'))) {
            files.push_back(line.toStdString());
        }
    }
    return files;
}

} // namespace vd
