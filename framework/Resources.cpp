#include "framework/Resources.h"

#include "framework/Types.h"

#include <QFile>

namespace vd {

std::vector<uint8_t> LoadResource(const std::string& name) {
    QFile file(QString::fromStdString(name));
    if (!file.open(QIODevice::ReadOnly))
        throw Exception("Resource \"" + name + "\" is missing from the program.");
    const QByteArray bytes = file.readAll();
    return {bytes.begin(), bytes.end()};
}

} // namespace vd
