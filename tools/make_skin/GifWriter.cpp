#include "tools/make_skin/GifWriter.h"

#include <map>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace vd::art {

namespace {

constexpr int kClear = 256;
constexpr int kEnd = 257;
// The table is started afresh well before the format's limit of 4096 codes.
constexpr int kRestartAt = 4000;

// Codes of growing width, packed from the low bit up, as the reader expects.
class CodeWriter {
public:
    // A code is read at the width the reader's table size calls for at that moment.
    void put(int code) {
        int width = 9;
        while (width < 12 && reader_next_ >= (1 << width))
            ++width;
        bits_ |= static_cast<uint32_t>(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            bytes_.push_back(static_cast<char>(bits_ & 0xFF));
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    // The reader adds a table entry for every code after the first since the last clear.
    void readerAdds() {
        if (!first_ && reader_next_ < 4096)
            ++reader_next_;
        first_ = false;
    }
    void restart() {
        reader_next_ = 258;
        first_ = true;
    }
    QByteArray finish() {
        if (count_ > 0)
            bytes_.push_back(static_cast<char>(bits_ & 0xFF));
        return bytes_;
    }

private:
    QByteArray bytes_;
    uint32_t bits_ = 0;
    int count_ = 0;
    int reader_next_ = 258;
    bool first_ = true;
};

QByteArray compress(const std::vector<uint8_t>& indexes) {
    CodeWriter out;
    std::unordered_map<uint32_t, int> table;
    int next = 258;
    out.put(kClear);
    int prefix = indexes.front();
    for (std::size_t i = 1; i < indexes.size(); ++i) {
        const int k = indexes[i];
        const uint32_t key = (static_cast<uint32_t>(prefix) << 8) | static_cast<uint32_t>(k);
        if (const auto it = table.find(key); it != table.end()) {
            prefix = it->second;
            continue;
        }
        out.put(prefix);
        out.readerAdds();
        table[key] = next++;
        prefix = k;
        if (next == kRestartAt) {
            out.put(kClear);
            out.restart();
            table.clear();
            next = 258;
        }
    }
    out.put(prefix);
    out.readerAdds();
    out.put(kEnd);
    return out.finish();
}

void putWord(QByteArray& out, int value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

} // namespace

QByteArray encodeGif(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    std::map<QRgb, int> colours;
    std::vector<QRgb> palette;
    std::vector<uint8_t> indexes;
    indexes.reserve(static_cast<std::size_t>(image.width() * image.height()));
    constexpr int kTransparent = 255;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb px = image.pixel(x, y);
            if (qAlpha(px) < 128) {
                indexes.push_back(kTransparent);
                continue;
            }
            const QRgb rgb = px | 0xFF000000u;
            auto [it, added] = colours.emplace(rgb, static_cast<int>(palette.size()));
            if (added) {
                if (palette.size() == kTransparent)
                    throw std::runtime_error("GIF picture has more than 255 colours");
                palette.push_back(rgb);
            }
            indexes.push_back(static_cast<uint8_t>(it->second));
        }
    }
    // The transparent entry gets a colour no opaque pixel has.
    QRgb key = qRgb(255, 0, 255);
    while (colours.count(key) != 0)
        key = qRgb(255, 0, (qBlue(key) + 255) % 256);
    palette.resize(256, qRgb(0, 0, 0));
    palette[kTransparent] = key;

    QByteArray gif("GIF89a");
    putWord(gif, image.width());
    putWord(gif, image.height());
    gif.push_back(static_cast<char>(0xF7));         // global table of 256 entries, 8 bits a colour
    gif.push_back(static_cast<char>(kTransparent)); // background: see-through
    gif.push_back('\0');
    for (const QRgb c : palette) {
        gif.push_back(static_cast<char>(qRed(c)));
        gif.push_back(static_cast<char>(qGreen(c)));
        gif.push_back(static_cast<char>(qBlue(c)));
    }
    // Graphic control: the transparent index.
    gif.append("\x21\xF9\x04\x01\x00\x00", 6);
    gif.push_back(static_cast<char>(kTransparent));
    gif.push_back('\0');
    gif.push_back(',');
    putWord(gif, 0);
    putWord(gif, 0);
    putWord(gif, image.width());
    putWord(gif, image.height());
    gif.push_back('\0');
    gif.push_back('\x08');
    const QByteArray data = compress(indexes);
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const qsizetype n = std::min<qsizetype>(255, data.size() - at);
        gif.push_back(static_cast<char>(n));
        gif.append(data.mid(at, n));
    }
    gif.push_back('\0');
    gif.push_back(';');
    return gif;
}

} // namespace vd::art
