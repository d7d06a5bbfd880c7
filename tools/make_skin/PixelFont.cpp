#include "tools/make_skin/PixelFont.h"

#include <algorithm>
#include <vector>

namespace vd::art {

namespace {

struct Glyph {
    char ch;
    std::vector<std::string_view> rows; // 'X' is ink
};

// Capitals seven pixels high; most are four wide, M T V W X Y need five to stay legible.
const std::vector<Glyph> kCaps7 = {
    {'A', {".XX.", "X..X", "X..X", "XXXX", "X..X", "X..X", "X..X"}},
    {'B', {"XXX.", "X..X", "X..X", "XXX.", "X..X", "X..X", "XXX."}},
    {'C', {".XX.", "X..X", "X...", "X...", "X...", "X..X", ".XX."}},
    {'D', {"XXX.", "X..X", "X..X", "X..X", "X..X", "X..X", "XXX."}},
    {'E', {"XXXX", "X...", "X...", "XXX.", "X...", "X...", "XXXX"}},
    {'F', {"XXXX", "X...", "X...", "XXX.", "X...", "X...", "X..."}},
    {'G', {".XX.", "X..X", "X...", "X.XX", "X..X", "X..X", ".XXX"}},
    {'H', {"X..X", "X..X", "X..X", "XXXX", "X..X", "X..X", "X..X"}},
    {'I', {"XXX", ".X.", ".X.", ".X.", ".X.", ".X.", "XXX"}},
    {'J', {"..XX", "...X", "...X", "...X", "X..X", "X..X", ".XX."}},
    {'K', {"X..X", "X..X", "X.X.", "XX..", "X.X.", "X..X", "X..X"}},
    {'L', {"X...", "X...", "X...", "X...", "X...", "X...", "XXXX"}},
    {'M', {"X...X", "XX.XX", "X.X.X", "X.X.X", "X...X", "X...X", "X...X"}},
    {'N', {"X..X", "XX.X", "XX.X", "X.XX", "X.XX", "X..X", "X..X"}},
    {'O', {".XX.", "X..X", "X..X", "X..X", "X..X", "X..X", ".XX."}},
    {'P', {"XXX.", "X..X", "X..X", "XXX.", "X...", "X...", "X..."}},
    {'Q', {".XX.", "X..X", "X..X", "X..X", "X.XX", "X..X", ".XXX"}},
    {'R', {"XXX.", "X..X", "X..X", "XXX.", "X.X.", "X..X", "X..X"}},
    {'S', {".XXX", "X...", "X...", ".XX.", "...X", "...X", "XXX."}},
    {'T', {"XXXXX", "..X..", "..X..", "..X..", "..X..", "..X..", "..X.."}},
    {'U', {"X..X", "X..X", "X..X", "X..X", "X..X", "X..X", ".XX."}},
    {'V', {"X...X", "X...X", "X...X", "X...X", ".X.X.", ".X.X.", "..X.."}},
    {'W', {"X...X", "X...X", "X...X", "X.X.X", "X.X.X", "XX.XX", "X...X"}},
    {'X', {"X...X", "X...X", ".X.X.", "..X..", ".X.X.", "X...X", "X...X"}},
    {'Y', {"X...X", "X...X", ".X.X.", "..X..", "..X..", "..X..", "..X.."}},
    {'Z', {"XXXX", "...X", "..X.", "..X.", ".X..", "X...", "XXXX"}},
    {' ', {"..", "..", "..", "..", "..", "..", ".."}},
};

// Capitals five pixels high.
const std::vector<Glyph> kCaps5 = {
    {'A', {".X.", "X.X", "XXX", "X.X", "X.X"}},
    {'B', {"XX.", "X.X", "XX.", "X.X", "XX."}},
    {'C', {".XX", "X..", "X..", "X..", ".XX"}},
    {'D', {"XX.", "X.X", "X.X", "X.X", "XX."}},
    {'E', {"XXX", "X..", "XX.", "X..", "XXX"}},
    {'F', {"XXX", "X..", "XX.", "X..", "X.."}},
    {'G', {".XX", "X..", "X.X", "X.X", ".XX"}},
    {'H', {"X.X", "X.X", "XXX", "X.X", "X.X"}},
    {'I', {"XXX", ".X.", ".X.", ".X.", "XXX"}},
    {'J', {"..X", "..X", "..X", "X.X", ".X."}},
    {'K', {"X.X", "X.X", "XX.", "X.X", "X.X"}},
    {'L', {"X..", "X..", "X..", "X..", "XXX"}},
    {'M', {"X...X", "XX.XX", "X.X.X", "X...X", "X...X"}},
    {'N', {"X..X", "XX.X", "X.XX", "X..X", "X..X"}},
    {'O', {".X.", "X.X", "X.X", "X.X", ".X."}},
    {'P', {"XX.", "X.X", "XX.", "X..", "X.."}},
    {'Q', {".X.", "X.X", "X.X", "XX.", ".XX"}},
    {'R', {"XX.", "X.X", "XX.", "X.X", "X.X"}},
    {'S', {".XX", "X..", ".X.", "..X", "XX."}},
    {'T', {"XXX", ".X.", ".X.", ".X.", ".X."}},
    {'U', {"X.X", "X.X", "X.X", "X.X", "XXX"}},
    {'V', {"X.X", "X.X", "X.X", "X.X", ".X."}},
    {'W', {"X...X", "X...X", "X.X.X", "XX.XX", "X...X"}},
    {'X', {"X.X", "X.X", ".X.", "X.X", "X.X"}},
    {'Y', {"X.X", "X.X", ".X.", ".X.", ".X."}},
    {'Z', {"XXX", "..X", ".X.", "X..", "XXX"}},
    {'-', {"...", "...", "XXX", "...", "..."}},
    {'.', {".", ".", ".", ".", "X"}},
    {' ', {"..", "..", "..", "..", ".."}},
};

const Glyph* findGlyph(char ch, PixelFont font) {
    const auto& glyphs = font == PixelFont::Caps7 ? kCaps7 : kCaps5;
    const auto it =
        std::find_if(glyphs.begin(), glyphs.end(), [ch](const Glyph& g) { return g.ch == ch; });
    return it == glyphs.end() ? nullptr : &*it;
}

QImage fromRows(const std::vector<std::string_view>& rows) {
    int width = 0;
    for (std::string_view row : rows) {
        width = std::max(width, static_cast<int>(row.size()));
    }
    QImage image(width, static_cast<int>(rows.size()), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    int y = 0;
    for (std::string_view row : rows) {
        for (int x = 0; x < static_cast<int>(row.size()); ++x) {
            if (row[static_cast<size_t>(x)] == 'X') {
                image.setPixel(x, y, qRgba(255, 255, 255, 255));
            }
        }
        ++y;
    }
    return image;
}

} // namespace

QImage pixelText(std::string_view text, PixelFont font) {
    const int height = font == PixelFont::Caps7 ? 7 : 5;
    std::vector<QImage> letters;
    int width = 0;
    for (char ch : text) {
        const Glyph* glyph = findGlyph(ch, font);
        letters.push_back(glyph ? fromRows(glyph->rows) : QImage(2, height, QImage::Format_ARGB32));
        if (!glyph) {
            letters.back().fill(Qt::transparent);
        }
        width += letters.back().width() + 1;
    }
    QImage image(std::max(1, width - 1), height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    int x = 0;
    for (const QImage& letter : letters) {
        stamp(image, letter, QPoint(x, 0), qRgb(255, 255, 255));
        x += letter.width() + 1;
    }
    return image;
}

QImage pixelSymbol(PixelSymbol symbol) {
    switch (symbol) {
    case PixelSymbol::Previous:
        return fromRows({"X....X...X", "X...XX..XX", "X..XXX.XXX", "X.XXXXXXXX", "X..XXX.XXX",
                         "X...XX..XX", "X....X...X"});
    case PixelSymbol::Play:
        return fromRows(
            {"X....", "XX...", "XXX..", "XXXX.", "XXXXX", "XXXX.", "XXX..", "XX...", "X...."});
    case PixelSymbol::Pause:
        return fromRows({"XX..XX", "XX..XX", "XX..XX", "XX..XX", "XX..XX", "XX..XX", "XX..XX"});
    case PixelSymbol::Stop:
        return fromRows(
            {"XXXXXXX", "XXXXXXX", "XXXXXXX", "XXXXXXX", "XXXXXXX", "XXXXXXX", "XXXXXXX"});
    case PixelSymbol::Next:
        return fromRows({"X...X....X", "XX..XX...X", "XXX.XXX..X", "XXXXXXXX.X", "XXX.XXX..X",
                         "XX..XX...X", "X...X....X"});
    case PixelSymbol::Eject:
        return fromRows(
            {"...X...", "..XXX..", ".XXXXX.", "XXXXXXX", ".......", "XXXXXXX", "XXXXXXX"});
    case PixelSymbol::Plus:
        return fromRows({"..X..", "..X..", "XXXXX", "..X..", "..X.."});
    case PixelSymbol::Minus:
        return fromRows({".....", ".....", "XXXXX", ".....", "....."});
    case PixelSymbol::SortArrows:
        return fromRows({"..X..", ".XXX.", "XXXXX", ".....", "XXXXX", ".XXX.", "..X.."});
    case PixelSymbol::Folder:
        return fromRows({"XXX....", "XXXXXXX", "X.....X", "X.....X", "X.....X", "XXXXXXX"});
    case PixelSymbol::Diskette:
        return fromRows(
            {"XXXXXX.", "X.XXX.X", "X.XXX.X", "X.....X", "X.XXX.X", "X.XXX.X", "XXXXXXX"});
    }
    return {};
}

void stamp(QImage& dst, const QImage& mask, QPoint at, QRgb color) {
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const QPoint p = at + QPoint(x, y);
            if (qAlpha(mask.pixel(x, y)) > 0 && dst.rect().contains(p)) {
                dst.setPixel(p, color);
            }
        }
    }
}

} // namespace vd::art
