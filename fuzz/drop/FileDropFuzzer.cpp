// Any bytes offered as a URI list, as plain text or as both give a list of local files without
// failing, and never an empty path; nothing comes of a drag that carries neither.

#include "framework/FileDrop.h"

#include "fuzz/FuzzCheck.h"

#include <QByteArray>
#include <QMimeData>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using vd::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte says what the drag carries.
    const std::uint8_t carries = data[0] % 3;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1),
                           static_cast<qsizetype>(size - 1));

    QMimeData mime;
    if (carries != 1)
        mime.setData(QStringLiteral("text/uri-list"), bytes);
    if (carries != 0)
        mime.setText(QString::fromUtf8(bytes));
    const auto files = vd::DroppedFiles(mime);

    for (const auto& file : files)
        Check(!file.empty());
    if (!mime.hasUrls() && !mime.hasText())
        Check(files.empty());

    QMimeData empty;
    Check(vd::DroppedFiles(empty).empty());
    return 0;
}
