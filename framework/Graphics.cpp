#include "framework/Graphics.h"

#include "framework/BmpCodec.h"
#include "framework/Stream.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <vector>

namespace vd {

namespace {

QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(static_cast<int>(GetRValue(rgb)), static_cast<int>(GetGValue(rgb)),
                  static_cast<int>(GetBValue(rgb)));
}

TColor FromQRgb(QRgb rgb) {
    return RGB(static_cast<unsigned>(qRed(rgb)), static_cast<unsigned>(qGreen(rgb)),
               static_cast<unsigned>(qBlue(rgb)));
}

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

// ---- TFont ------------------------------------------------------------------------------------

struct TFont::Cache {
    QFont font;
    bool simulated_bold = false;
};

TFont::TFont() = default;
TFont::~TFont() = default;

TFont::TFont(const TFont& other)
    : TGraphicsObject(), name_(other.name_), height_(other.height_), color_(other.color_),
      style_(other.style_), orientation_(other.orientation_), cache_(other.cache_) {}

TFont& TFont::operator=(const TFont& other) {
    if (this != &other)
        Assign(&other);
    return *this;
}

void TFont::Assign(const TPersistent* source) {
    if (const auto* font = dynamic_cast<const TFont*>(source)) {
        if (name_ == font->name_ && height_ == font->height_ && color_ == font->color_ &&
            style_ == font->style_ && orientation_ == font->orientation_)
            return;
        name_ = font->name_;
        height_ = font->height_;
        color_ = font->color_;
        style_ = font->style_;
        orientation_ = font->orientation_;
        cache_ = font->cache_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

void TFont::SetName(std::string_view name) {
    if (name_ == name)
        return;
    name_ = name;
    Invalidate();
    Changed();
}

void TFont::SetHeight(int height) {
    if (height_ == height)
        return;
    height_ = height;
    Invalidate();
    Changed();
}

int TFont::Size() const {
    return -static_cast<int>(std::lround(static_cast<double>(height_) * 72.0 / 96.0));
}

void TFont::SetSize(int points) {
    SetHeight(-static_cast<int>(std::lround(static_cast<double>(points) * 96.0 / 72.0)));
}

void TFont::SetColor(TColor color) {
    if (color_ == color)
        return;
    color_ = color;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (style_ == style)
        return;
    style_ = style;
    Invalidate();
    Changed();
}

void TFont::SetOrientation(int tenths) {
    if (orientation_ == tenths)
        return;
    orientation_ = tenths;
    Invalidate();
    Changed();
}

void TFont::Invalidate() {
    cache_.reset();
}

const QFont& TFont::PlatformFont() const {
    if (!cache_) {
        auto cache = std::make_shared<Cache>();
        QFont& f = cache->font;
        f.setFamily(QString::fromStdString(name_));
        f.setPixelSize(std::max(1, std::abs(height_)));
        f.setBold((style_ & fsBold) != 0);
        f.setItalic((style_ & fsItalic) != 0);
        f.setUnderline((style_ & fsUnderline) != 0);
        f.setStrikeOut((style_ & fsStrikeOut) != 0);
        f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
        f.setHintingPreference(QFont::PreferFullHinting);
        // A bitmap face has no bold strike: draw bold by overstriking one pixel to the right,
        // as the classic raster fonts did.
        QString family = QFontInfo(f).family();
        if (orientation_ != 0 && !QFontDatabase::isSmoothlyScalable(family)) {
            // Bitmaps do not turn: the nearest outline face draws turned text.
            f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
            family = QFontInfo(f).family();
        }
        cache->simulated_bold =
            (style_ & fsBold) != 0 && !QFontDatabase::isSmoothlyScalable(family);
        if (cache->simulated_bold)
            f.setBold(false);
        cache_ = std::move(cache);
    }
    return cache_->font;
}

bool TFont::SimulatedBold() const {
    (void)PlatformFont();
    return cache_->simulated_bold;
}

// ---- TPen, TBrush -----------------------------------------------------------------------------

void TPen::Assign(const TPersistent* source) {
    if (const auto* pen = dynamic_cast<const TPen*>(source)) {
        color_ = pen->color_;
        width_ = pen->width_;
        style_ = pen->style_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

void TPen::SetColor(TColor color) {
    if (color_ != color) {
        color_ = color;
        Changed();
    }
}

void TPen::SetWidth(int width) {
    if (width_ != width) {
        width_ = width;
        Changed();
    }
}

void TPen::SetStyle(TPenStyle style) {
    if (style_ != style) {
        style_ = style;
        Changed();
    }
}

void TBrush::Assign(const TPersistent* source) {
    if (const auto* brush = dynamic_cast<const TBrush*>(source)) {
        color_ = brush->color_;
        style_ = brush->style_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

void TBrush::SetColor(TColor color) {
    if (color_ != color) {
        color_ = color;
        Changed();
    }
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style_ != style) {
        style_ = style;
        Changed();
    }
}

// ---- TCanvas ----------------------------------------------------------------------------------

TCanvas::TCanvas(QImage* target, TPoint origin, TRect clip)
    : target_(target), origin_(origin), clip_(clip) {}

TCanvas::~TCanvas() {
    Release();
}

void TCanvas::Release() {
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
}

QImage& TCanvas::Target() const {
    const_cast<TCanvas*>(this)->Release();
    return *target_;
}

void TCanvas::ApplyClip(QPainter& p) const {
    if (!clip_.IsEmpty())
        p.setClipRect(QRect(clip_.Left, clip_.Top, clip_.Width(), clip_.Height()));
}

QPainter& TCanvas::Painter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(target_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setRenderHint(QPainter::TextAntialiasing, false);
        painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter_->translate(origin_.X, origin_.Y);
        ApplyClip(*painter_);
    }
    return *painter_;
}

TRect TCanvas::ClipRect() const {
    TRect whole{-origin_.X, -origin_.Y, target_->width() - origin_.X,
                target_->height() - origin_.Y};
    if (clip_.IsEmpty())
        return whole;
    return whole.Intersect(clip_);
}

namespace {

Qt::BrushStyle HatchOf(TBrushStyle style) {
    switch (style) {
    case TBrushStyle::bsHorizontal:
        return Qt::HorPattern;
    case TBrushStyle::bsVertical:
        return Qt::VerPattern;
    case TBrushStyle::bsFDiagonal:
        return Qt::BDiagPattern;
    case TBrushStyle::bsBDiagonal:
        return Qt::FDiagPattern;
    case TBrushStyle::bsCross:
        return Qt::CrossPattern;
    case TBrushStyle::bsDiagCross:
        return Qt::DiagCrossPattern;
    default:
        return Qt::SolidPattern;
    }
}

} // namespace

void TCanvas::FillRect(const TRect& r) {
    if (r.IsEmpty() || brush_.Style() == TBrushStyle::bsClear)
        return;
    Painter().fillRect(QRect(r.Left, r.Top, r.Width(), r.Height()),
                       QBrush(ToQColor(brush_.Color()), HatchOf(brush_.Style())));
}

void TCanvas::FrameRect(const TRect& r) {
    if (r.IsEmpty())
        return;
    const TBrushStyle style = brush_.Style();
    if (style == TBrushStyle::bsClear)
        return;
    FillRect({r.Left, r.Top, r.Right, r.Top + 1});
    FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
    FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
    FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
}

void TCanvas::Rectangle(const TRect& r) {
    if (r.IsEmpty())
        return;
    const bool has_pen = pen_.Style() != TPenStyle::psClear;
    if (brush_.Style() != TBrushStyle::bsClear) {
        // Without a pen the fill ends one pixel short on the right and at the bottom.
        const TRect inner = has_pen ? TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}
                                    : TRect{r.Left, r.Top, r.Right - 1, r.Bottom - 1};
        FillRect(inner);
    }
    if (has_pen) {
        const TPoint saved = pen_pos_;
        MoveTo(r.Left, r.Top);
        LineTo(r.Right - 1, r.Top);
        LineTo(r.Right - 1, r.Bottom - 1);
        LineTo(r.Left, r.Bottom - 1);
        LineTo(r.Left, r.Top);
        pen_pos_ = saved;
    }
}

void TCanvas::MoveTo(int x, int y) {
    pen_pos_ = {x, y};
}

void TCanvas::LineTo(int x, int y) {
    const TPoint from = pen_pos_;
    pen_pos_ = {x, y};
    if (pen_.Style() == TPenStyle::psClear)
        return;
    QPainter& p = Painter();
    const QColor color = ToQColor(pen_.Color());
    if (pen_.Width() > 1) {
        p.setPen(QPen(color, pen_.Width()));
        p.drawLine(from.X, from.Y, x, y);
        return;
    }
    // Bresenham, the last point left out; dotted pens set every other pixel.
    const int dx = std::abs(x - from.X);
    const int dy = -std::abs(y - from.Y);
    const int sx = from.X < x ? 1 : -1;
    const int sy = from.Y < y ? 1 : -1;
    int err = dx + dy;
    int cx = from.X;
    int cy = from.Y;
    int step = 0;
    const bool dotted =
        pen_.Style() != TPenStyle::psSolid && pen_.Style() != TPenStyle::psInsideFrame;
    p.setPen(QPen(color, 0));
    while (!(cx == x && cy == y)) {
        if (!dotted || step % 2 == 0)
            p.drawPoint(cx, cy);
        ++step;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            cx += sx;
        }
        if (e2 <= dx) {
            err += dx;
            cy += sy;
        }
    }
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    if (bitmap.Empty())
        return;
    Painter().drawImage(x, y, bitmap.Image());
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& source_rect) {
    if (dest.IsEmpty() || source_rect.IsEmpty())
        return;
    const QImage& src = source.Target();
    const QRect s(source_rect.Left + source.origin_.X, source_rect.Top + source.origin_.Y,
                  source_rect.Width(), source_rect.Height());
    if (&src == target_) {
        // Copying within one picture: take the source out first.
        const QImage copy = src.copy(s);
        Painter().drawImage(QRect(dest.Left, dest.Top, dest.Width(), dest.Height()), copy);
        return;
    }
    Painter().drawImage(QRect(dest.Left, dest.Top, dest.Width(), dest.Height()), src, s);
}

void TCanvas::CopyRect(const TRect& dest, const TBitmap& source, const TRect& source_rect) {
    if (dest.IsEmpty() || source_rect.IsEmpty() || source.Empty())
        return;
    Painter().drawImage(
        QRect(dest.Left, dest.Top, dest.Width(), dest.Height()), source.Image(),
        QRect(source_rect.Left, source_rect.Top, source_rect.Width(), source_rect.Height()));
}

void TCanvas::BrushCopy(const TRect& dest, const TBitmap& source, const TRect& source_rect,
                        TColor transparent) {
    if (dest.IsEmpty() || source_rect.IsEmpty() || source.Empty())
        return;
    if (transparent == clNone) {
        CopyRect(dest, source, source_rect);
        return;
    }
    // Cut the source out at the destination's size, then replace or drop the key colour.
    QImage part = source.Image().copy(
        QRect(source_rect.Left, source_rect.Top, source_rect.Width(), source_rect.Height()));
    if (part.size() != QSize(dest.Width(), dest.Height()))
        part = part.scaled(dest.Width(), dest.Height());
    const TColor key_rgb = transparent & 0xFFFFFF;
    const QRgb key =
        qRgb(static_cast<int>(GetRValue(key_rgb)), static_cast<int>(GetGValue(key_rgb)),
             static_cast<int>(GetBValue(key_rgb)));
    const bool clear = brush_.Style() == TBrushStyle::bsClear;
    const QRgb fill = ToQColor(brush_.Color()).rgb();
    QImage out(part.size(), QImage::Format_ARGB32);
    for (int y = 0; y < part.height(); ++y) {
        const auto* s = reinterpret_cast<const QRgb*>(part.constScanLine(y));
        auto* d = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < part.width(); ++x) {
            const QRgb px = s[x] | 0xFF000000u;
            if ((px & 0xFFFFFFu) == (key & 0xFFFFFFu))
                d[x] = clear ? 0u : (fill | 0xFF000000u);
            else
                d[x] = px;
        }
    }
    Painter().drawImage(dest.Left, dest.Top, out);
}

namespace {

struct TextLine {
    QString text;
    int width = 0;
};

QString ExpandTabs(const QString& s) {
    QString out;
    int column = 0;
    for (QChar c : s) {
        if (c == u'\t') {
            const int spaces = 8 - column % 8;
            out.append(QString(spaces, u' '));
            column += spaces;
        } else {
            out.append(c);
            ++column;
        }
    }
    return out;
}

QString StripPrefix(const QString& s) {
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'&' && i + 1 < s.size()) {
            ++i;
        } else if (s[i] == u'&') {
            continue;
        }
        out.append(s[i]);
    }
    return out;
}

} // namespace

int TCanvas::DrawText(std::string_view text, TRect& rect, unsigned flags) {
    const QFont& font = font_.PlatformFont();
    const QFontMetrics fm(font);
    const int extra = font_.SimulatedBold() ? 1 : 0;
    auto width_of = [&](const QString& s) {
        return s.isEmpty() ? 0 : fm.horizontalAdvance(s) + extra;
    };

    QString all = ToQString(text);
    if ((flags & DT_NOPREFIX) == 0)
        all = StripPrefix(all);
    if ((flags & DT_EXPANDTABS) != 0)
        all = ExpandTabs(all);

    std::vector<QString> paragraphs;
    if ((flags & DT_SINGLELINE) != 0) {
        all.remove(u'\r');
        all.remove(u'\n');
        paragraphs.push_back(all);
    } else {
        QString current;
        for (qsizetype i = 0; i < all.size(); ++i) {
            if (all[i] == u'\r' || all[i] == u'\n') {
                paragraphs.push_back(current);
                current.clear();
                if (all[i] == u'\r' && i + 1 < all.size() && all[i + 1] == u'\n')
                    ++i;
            } else {
                current.append(all[i]);
            }
        }
        paragraphs.push_back(current);
    }

    std::vector<TextLine> lines;
    const int limit = rect.Width();
    const bool wrap = (flags & DT_WORDBREAK) != 0 && (flags & DT_SINGLELINE) == 0;
    for (const QString& paragraph : paragraphs) {
        if (!wrap) {
            lines.push_back({paragraph, -1}); // measured only if something needs the width
            continue;
        }
        const int whole = width_of(paragraph);
        if (whole <= limit) {
            lines.push_back({paragraph, whole});
            continue;
        }
        // Greedy word wrap: break after blanks; a word wider than the rectangle stays whole.
        QString line;
        qsizetype i = 0;
        while (i < paragraph.size()) {
            qsizetype j = i;
            while (j < paragraph.size() && paragraph[j] != u' ')
                ++j;
            qsizetype k = j;
            while (k < paragraph.size() && paragraph[k] == u' ')
                ++k;
            const QString word = paragraph.mid(i, j - i);
            const QString candidate = line + word;
            if (!line.isEmpty() && width_of(candidate) > limit) {
                QString out = line;
                while (out.endsWith(u' '))
                    out.chop(1);
                lines.push_back({out, width_of(out)});
                line = word;
            } else {
                line = candidate;
            }
            line += paragraph.mid(j, k - j);
            i = k;
        }
        while (line.endsWith(u' '))
            line.chop(1);
        lines.push_back({line, width_of(line)});
    }

    const int line_height = fm.height();
    const int text_height = line_height * static_cast<int>(lines.size());
    auto measured = [&](TextLine& line) {
        if (line.width < 0)
            line.width = width_of(line.text);
        return line.width;
    };
    if ((flags & DT_CALCRECT) != 0) {
        int widest = 0;
        for (TextLine& l : lines)
            widest = std::max(widest, measured(l));
        rect.Right = rect.Left + widest;
        rect.Bottom = rect.Top + text_height;
        return text_height;
    }

    int y = rect.Top;
    if ((flags & DT_SINGLELINE) != 0) {
        if ((flags & DT_VCENTER) != 0)
            y = rect.Top + (rect.Height() - line_height) / 2;
        else if ((flags & DT_BOTTOM) != 0)
            y = rect.Bottom - line_height;
    }
    QPainter& p = Painter();
    p.save();
    if ((flags & DT_NOCLIP) == 0)
        p.setClipRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), Qt::IntersectClip);
    p.setFont(font);
    p.setPen(ToQColor(font_.Color()));
    const bool opaque = brush_.Style() != TBrushStyle::bsClear;
    for (TextLine& line : lines) {
        if ((flags & DT_END_ELLIPSIS) != 0 && measured(line) > rect.Width()) {
            line.text = fm.elidedText(line.text, Qt::ElideRight, std::max(0, rect.Width() - extra));
            line.width = width_of(line.text);
        }
        int x = rect.Left;
        if ((flags & DT_CENTER) != 0)
            x = rect.Left + (rect.Width() - measured(line)) / 2;
        else if ((flags & DT_RIGHT) != 0)
            x = rect.Right - measured(line);
        if (opaque && measured(line) > 0)
            p.fillRect(QRect(x, y, line.width, line_height), ToQColor(brush_.Color()));
        p.drawText(x, y + fm.ascent(), line.text);
        if (extra != 0)
            p.drawText(x + 1, y + fm.ascent(), line.text);
        y += line_height;
    }
    p.restore();
    return text_height;
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    if (font_.Orientation() != 0) {
        // A turned line starts at (x, y), the top-left corner of its first character cell.
        const QFont& font = font_.PlatformFont();
        QPainter& p = Painter();
        p.save();
        p.translate(x, y);
        p.rotate(-font_.Orientation() / 10.0);
        p.setFont(font);
        p.setPen(ToQColor(font_.Color()));
        const int ascent = QFontMetrics(font).ascent();
        p.drawText(0, ascent, ToQString(text));
        if (font_.SimulatedBold())
            p.drawText(1, ascent, ToQString(text));
        p.restore();
        pen_pos_ = {x, y};
        return;
    }
    TRect r{x, y, x + TextWidth(text), y + TextHeight(text)};
    DrawText(text, r, DT_NOCLIP | DT_NOPREFIX | DT_SINGLELINE);
    pen_pos_ = {r.Right, y};
}

int TCanvas::TextWidth(std::string_view text) const {
    if (text.empty())
        return 0;
    const QFontMetrics fm(font_.PlatformFont());
    return fm.horizontalAdvance(ToQString(text)) + (font_.SimulatedBold() ? 1 : 0);
}

int TCanvas::TextHeight(std::string_view) const {
    return QFontMetrics(font_.PlatformFont()).height();
}

TColor TCanvas::Pixel(int x, int y) const {
    const QImage& img = Target();
    const int tx = x + origin_.X;
    const int ty = y + origin_.Y;
    if (tx < 0 || ty < 0 || tx >= img.width() || ty >= img.height())
        return clNone;
    if (!clip_.IsEmpty() && !clip_.Contains({x, y}))
        return clNone;
    return FromQRgb(img.pixel(tx, ty));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    QImage& img = Target();
    const int tx = x + origin_.X;
    const int ty = y + origin_.Y;
    if (tx < 0 || ty < 0 || tx >= img.width() || ty >= img.height())
        return;
    if (!clip_.IsEmpty() && !clip_.Contains({x, y}))
        return;
    img.setPixel(tx, ty, ToQColor(color).rgb());
}

namespace {

int& DisplayDepth() {
    static int bits = 32;
    return bits;
}

} // namespace

int TCanvas::BitsPerPixel() const {
    return std::min(target_->depth(), DisplayDepth());
}

void TCanvas::SetDisplayBitsPerPixel(int bits) {
    DisplayDepth() = std::clamp(bits, 1, 32);
}

int TCanvas::DisplayBitsPerPixel() {
    return DisplayDepth();
}

// ---- TBitmap ----------------------------------------------------------------------------------

TBitmap::TBitmap() : image_(std::make_unique<QImage>()) {}

TBitmap::TBitmap(int width, int height) : TBitmap() {
    SetSize(width, height);
}

TBitmap::TBitmap(const TBitmap& other)
    : TGraphicsObject(), image_(std::make_unique<QImage>(other.Image())) {}

TBitmap& TBitmap::operator=(const TBitmap& other) {
    if (this != &other)
        SetImage(other.Image());
    return *this;
}

TBitmap::~TBitmap() {
    canvas_.reset();
}

void TBitmap::Assign(const TPersistent* source) {
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        SetImage(bitmap->Image());
        return;
    }
    if (source == nullptr) {
        SetImage(QImage());
        return;
    }
    TGraphicsObject::Assign(source);
}

int TBitmap::Width() const {
    return image_->width();
}
int TBitmap::Height() const {
    return image_->height();
}
bool TBitmap::Empty() const {
    return image_->isNull() || Width() == 0 || Height() == 0;
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == Width() && height == Height())
        return;
    if (canvas_)
        canvas_->Release();
    if (width == 0 || height == 0) {
        *image_ = QImage();
    } else {
        QImage resized(width, height, QImage::Format_RGB32);
        resized.fill(0xFF000000u);
        if (!image_->isNull()) {
            QPainter p(&resized);
            p.drawImage(0, 0, *image_);
        }
        *image_ = std::move(resized);
    }
    Changed();
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_)
        canvas_ = std::make_unique<TCanvas>(image_.get());
    return *canvas_;
}

TColor TBitmap::Pixel(int x, int y) const {
    const QImage& img = Image();
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height())
        return clNone;
    return FromQRgb(img.pixel(x, y));
}

void TBitmap::ReadRow(int y, std::vector<TColor>& out) const {
    const QImage& img = Image();
    out.resize(static_cast<std::size_t>(std::max(0, img.width())));
    if (y < 0 || y >= img.height())
        return;
    const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x)
        out[static_cast<std::size_t>(x)] = FromQRgb(line[x]);
}

QImage& TBitmap::Image() const {
    if (canvas_)
        canvas_->Release();
    return *image_;
}

void TBitmap::SetImage(const QImage& image) {
    if (canvas_)
        canvas_->Release();
    if (image.isNull() || image.format() == QImage::Format_RGB32)
        *image_ = image;
    else
        *image_ = image.convertToFormat(QImage::Format_RGB32);
    Changed();
}

void TBitmap::LoadFromStream(TStream& stream) {
    uint8_t header[14];
    stream.ReadBuffer(header, sizeof header);
    const uint32_t total = BmpDeclaredSize(header);
    if (total < sizeof header || static_cast<int64_t>(total - sizeof header) > stream.Remaining())
        throw EInvalidGraphic("Bitmap image is not valid");
    std::vector<uint8_t> file(total);
    std::copy(std::begin(header), std::end(header), file.begin());
    stream.ReadBuffer(file.data() + sizeof header, total - sizeof header);
    SetImage(DecodeBmp(file));
}

void TBitmap::SaveToStream(TStream& stream) const {
    if (Empty())
        return;
    const std::vector<uint8_t> bytes = EncodeBmp24(Image());
    stream.WriteBuffer(bytes.data(), bytes.size());
}

void TBitmap::LoadFromFile(const std::string& path) {
    TFileStream stream(path, TFileStream::Mode::OpenRead);
    LoadFromStream(stream);
}

void TBitmap::SaveToFile(const std::string& path) const {
    TFileStream stream(path, TFileStream::Mode::Create);
    SaveToStream(stream);
}

} // namespace vd
