#include "tools/make_skin/SkinStore.h"

#include <cstdint>

namespace vd::art {

namespace {

constexpr uint32_t kStoreMagic = 0x04B2FDB6;

void putU32(QByteArray& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.append(static_cast<char>((v >> shift) & 0xFF));
    }
}

} // namespace

QByteArray encodeSkinStore(std::span<const NamedBitmap> graphics) {
    QByteArray out;
    putU32(out, kStoreMagic);
    putU32(out, static_cast<uint32_t>(graphics.size()));
    for (const NamedBitmap& graphic : graphics) {
        const QByteArray name = graphic.name.toLatin1();
        putU32(out, static_cast<uint32_t>(name.size()));
        out.append(name);
        out.append('\0'); // a bitmap follows
        out.append(graphic.bmp);
    }
    return out;
}

} // namespace vd::art
