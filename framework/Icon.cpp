#include "framework/Icon.h"

#include "framework/ImageList.h"

#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QRegularExpression>

#include <algorithm>

namespace vd {

namespace {

// The sizes desktops ask notification-area and window icons in.
constexpr int kSiblingSizes[] = {16, 22, 24, 32, 48, 64, 128};

} // namespace

struct TIcon::Pictures {
    std::vector<QImage> images; // smallest first
};

TIcon::TIcon() : pictures_(std::make_unique<Pictures>()) {}

TIcon::TIcon(const TIcon& other) : TGraphicsObject(), pictures_(std::make_unique<Pictures>()) {
    pictures_->images = other.pictures_->images;
}

TIcon& TIcon::operator=(const TIcon& other) {
    if (this != &other) {
        pictures_->images = other.pictures_->images;
        Changed();
    }
    return *this;
}

TIcon::~TIcon() = default;

void TIcon::Assign(const TPersistent* source) {
    if (const auto* icon = dynamic_cast<const TIcon*>(source)) {
        *this = *icon;
        return;
    }
    TGraphicsObject::Assign(source);
}

bool TIcon::Empty() const {
    return pictures_->images.empty();
}

std::vector<int> TIcon::Sizes() const {
    std::vector<int> sizes;
    for (const QImage& image : pictures_->images)
        sizes.push_back(image.width());
    return sizes;
}

void TIcon::LoadFromFile(const std::string& path) {
    const QString file = QString::fromStdString(path);
    QImage first(file);
    if (first.isNull())
        throw EInvalidGraphic("Cannot read the icon \"" + path + "\".");
    std::vector<QImage> images{first};
    static const QRegularExpression sized(QStringLiteral("^(.*)-(\\d+)(\\.[^./]+)$"));
    if (const QRegularExpressionMatch m = sized.match(file); m.hasMatch()) {
        for (int size : kSiblingSizes) {
            if (size == m.captured(2).toInt())
                continue;
            const QString sibling = m.captured(1) + u'-' + QString::number(size) + m.captured(3);
            if (!QFileInfo::exists(sibling))
                continue;
            if (QImage image(sibling); !image.isNull())
                images.push_back(image);
        }
    }
    std::sort(images.begin(), images.end(),
              [](const QImage& a, const QImage& b) { return a.width() < b.width(); });
    pictures_->images = std::move(images);
    Changed();
}

void TIcon::LoadFromImageList(const TImageList& list, int index) {
    std::vector<QImage> images;
    if (index >= 0 && index < list.Count()) {
        QImage image(list.Width(), list.Height(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        {
            TCanvas canvas(&image);
            list.Draw(canvas, 0, 0, index);
        }
        images.push_back(image);
    }
    pictures_->images = std::move(images);
    Changed();
}

void TIcon::Clear() {
    if (pictures_->images.empty())
        return;
    pictures_->images.clear();
    Changed();
}

QIcon TIcon::ToQIcon() const {
    QIcon icon;
    for (const QImage& image : pictures_->images)
        icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

const std::vector<QImage>& TIcon::Images() const {
    return pictures_->images;
}

bool operator==(const TIcon& a, const TIcon& b) {
    return a.pictures_->images == b.pictures_->images;
}

} // namespace vd
