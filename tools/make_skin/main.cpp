// make_skin OUTDIR [--preview FILE.png]
// Draws the player's artwork and writes OUTDIR/skin/*.bmp, OUTDIR/skin/main.vsk,
// OUTDIR/menu/menu_thumbs.bmp, OUTDIR/icons/vodezaru-{16,22,24,32,48,64,128,256}.png (the
// window's and the desktop's icon in every size of the hicolor theme) and the About dialog's
// picture OUTDIR/about/about.gif. The output depends only on this program and the fonts it loads,
// so a rerun reproduces the same bytes.

#include "tools/make_skin/AboutPicture.h"
#include "tools/make_skin/AppIcon.h"
#include "tools/make_skin/Background.h"
#include "tools/make_skin/Bevel.h"
#include "tools/make_skin/BmpWriter.h"
#include "tools/make_skin/ButtonStrips.h"
#include "tools/make_skin/GifWriter.h"
#include "tools/make_skin/Lamps.h"
#include "tools/make_skin/MenuThumbs.h"
#include "tools/make_skin/Palette.h"
#include "tools/make_skin/Preview.h"
#include "tools/make_skin/SkinStore.h"
#include "tools/make_skin/SliderParts.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <exception>
#include <vector>

namespace {

using namespace vd::art;

void ensureDir(const QString& path) {
    if (!QDir().mkpath(path)) {
        throw std::runtime_error("cannot create folder " + path.toStdString());
    }
}

QByteArray encodePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        throw std::runtime_error("cannot encode PNG");
    }
    return bytes;
}

// Mask pixels and the horizontal runs of window pixels, counted as the window shape sees them.
void reportShape(const QImage& background) {
    long masked = 0;
    long runs = 0;
    for (int y = 0; y < background.height(); ++y) {
        bool in_run = false;
        for (int x = 0; x < background.width(); ++x) {
            const bool mask = (background.pixel(x, y) | 0xFF000000u) == palette::kMask;
            masked += mask ? 1 : 0;
            if (!mask && !in_run) {
                ++runs;
            }
            in_run = !mask;
        }
    }
    std::printf("playerSkin.bmp: %ld mask pixels, %ld opaque runs\n", masked, runs);
}

int run(const QString& out_dir, const QString& preview) {
    const QImage shape = skinShape();
    SkinParts parts;
    parts.background = drawBackground(shape);
    parts.transport = drawTransportButtons(parts.background);
    parts.playlist_buttons = drawPlaylistButtons(parts.background);
    parts.round_button = drawRoundButton(parts.background);
    parts.thumb = drawSliderThumb();
    parts.cell = drawMeterCell();
    const QImage menu = drawMenuThumbs();
    const QImage lamps = drawLitLamps(parts.background);

    ensureDir(out_dir + "/skin");
    ensureDir(out_dir + "/menu");
    ensureDir(out_dir + "/icons");
    ensureDir(out_dir + "/about");

    const std::vector<NamedBitmap> graphics{
        {"playerSkin.bmp", encodeBmp24(parts.background)},
        {"2. buttons.bmp", encodeBmp24(parts.transport)},
        {"3. thumb.bmp", encodeBmp24(parts.thumb)},
        {"RoundBtn.bmp", encodeBmp24(parts.round_button)},
        {"mod_progress2.bmp", encodeBmp24(parts.cell)},
        {"2. playlist_btn.bmp", encodeBmp24(parts.playlist_buttons)},
    };
    for (const NamedBitmap& g : graphics) {
        writeFile(out_dir + "/skin/" + g.name, g.bmp);
    }
    writeFile(out_dir + "/skin/main.vsk", encodeSkinStore(graphics));
    // The lit lamps stay outside the store, which keeps the six graphics the layout names.
    writeFile(out_dir + "/skin/lamps.bmp", encodeBmp24(lamps));
    writeFile(out_dir + "/menu/menu_thumbs.bmp", encodeBmp24(menu));
    writeFile(out_dir + "/about/about.gif", encodeGif(drawAboutPicture()));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        writeFile(out_dir + QString("/icons/vodezaru-%1.png").arg(size),
                  encodePng(drawAppIcon(size)));
    }
    reportShape(parts.background);
    for (const QRect& word : lampWords()) {
        std::printf("lamp word at %d,%d size %dx%d\n", word.x(), word.y(), word.width(),
                    word.height());
    }

    if (!preview.isEmpty()) {
        writeFile(preview, encodePng(previewWindow(parts)));
        QString strips = preview;
        strips.replace(".png", "_strips.png");
        writeFile(strips, encodePng(previewStrips(parts, menu)));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    QString out_dir;
    QString preview;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == "--preview" && i + 1 < args.size()) {
            preview = args[++i];
        } else if (out_dir.isEmpty()) {
            out_dir = args[i];
        } else {
            out_dir.clear();
            break;
        }
    }
    if (out_dir.isEmpty()) {
        std::fprintf(stderr, "usage: make_skin OUTDIR [--preview FILE.png]\n");
        return 2;
    }
    try {
        return run(out_dir, preview);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_skin: %s\n", e.what());
        return 1;
    }
}
