#include "framework/Graphics.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

#include <algorithm>
#include <cmath>

// The drawing attributes: fonts (and the platform font each stands for), pens and brushes.

namespace vd {

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

} // namespace vd
