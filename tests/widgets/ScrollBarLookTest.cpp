// The list box's scroll bar painted in a look's colours: the playlist's metal bar on the dark
// skin, which still scrolls as the desktop's bar does.
#include "framework/ListBox.h"
#include "widgets/PlaylistView.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace vd {
namespace {

std::unique_ptr<TListBox> LongList(int lines) {
    auto list = std::make_unique<TListBox>(nullptr);
    list->SetBorderStyle(TBorderStyle::bsNone);
    list->SetBounds(0, 0, 120, 100);
    for (int i = 0; i < lines; ++i)
        list->Add("line " + std::to_string(i));
    return list;
}

QScrollBar& BarOf(TListBox& list) {
    auto* bar = list.Widget()->findChild<QScrollBar*>();
    EXPECT_NE(bar, nullptr);
    return *bar;
}

QRect Part(QScrollBar& bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.orientation = bar.orientation();
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.sliderPosition = bar.sliderPosition();
    option.sliderValue = bar.value();
    option.singleStep = bar.singleStep();
    option.pageStep = bar.pageStep();
    option.upsideDown = bar.invertedAppearance();
    return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &bar);
}

QRgb Rgb(TColor c) {
    return qRgb(static_cast<int>(GetRValue(c)), static_cast<int>(GetGValue(c)),
                static_cast<int>(GetBValue(c)));
}

TScrollBarLook TestLook() {
    TScrollBarLook look;
    look.track = RGB(10, 20, 30);
    look.track_edge = RGB(1, 1, 1);
    look.face_top = RGB(100, 100, 100);
    look.face_bottom = RGB(50, 50, 50);
    look.light_edge = RGB(200, 210, 220);
    look.outline = RGB(2, 3, 4);
    look.glyph = RGB(250, 250, 250);
    look.glyph_pressed = RGB(0, 255, 0);
    look.glyph_disabled = RGB(120, 0, 0);
    return look;
}

// The arrow's tip: the middle column, in the row where the four-row triangle starts or ends.
QRgb ArrowPixel(const QImage& picture, const QRect& button, bool up, int shift = 0) {
    const int cx = button.left() + button.width() / 2 + shift;
    const int top = button.top() + (button.height() - 4) / 2 + shift;
    return picture.pixel(cx, up ? top : top + 3);
}

void Press(QScrollBar& bar, QPoint at, QEvent::Type type) {
    QMouseEvent event(type, QPointF(at), bar.mapToGlobal(QPointF(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&bar, &event);
}

TEST(ScrollBarLook, TrackThumbAndArrowsTakeTheLooksColours) {
    auto list = LongList(40);
    ASSERT_TRUE(list->ScrollBarShown());
    list->SetScrollBarLook(TestLook());
    QScrollBar& bar = BarOf(*list);
    const QImage picture = bar.grab().toImage();
    const QRect up = Part(bar, QStyle::SC_ScrollBarSubLine);
    const QRect down = Part(bar, QStyle::SC_ScrollBarAddLine);
    const QRect thumb = Part(bar, QStyle::SC_ScrollBarSlider);
    ASSERT_FALSE(up.isEmpty());
    ASSERT_FALSE(thumb.isEmpty());
    // The track, below the thumb at the top, and its edge against the list.
    EXPECT_EQ(picture.pixel(8, thumb.bottom() + 4), Rgb(RGB(10, 20, 30)));
    EXPECT_EQ(picture.pixel(0, thumb.bottom() + 4), Rgb(RGB(1, 1, 1)));
    // The thumb: outline, light top and left edge, a metal face between.
    EXPECT_EQ(picture.pixel(thumb.left(), thumb.top() + 5), Rgb(RGB(2, 3, 4)));
    EXPECT_EQ(picture.pixel(thumb.left() + 1, thumb.top() + 5), Rgb(RGB(200, 210, 220)));
    EXPECT_EQ(picture.pixel(thumb.left() + 5, thumb.top() + 1), Rgb(RGB(200, 210, 220)));
    const QRgb face = picture.pixel(thumb.left() + 3, thumb.top() + 3);
    EXPECT_GE(qRed(face), 50);
    EXPECT_LE(qRed(face), 100);
    // Both arrows in the glyph colour on keys of the same metal.
    EXPECT_EQ(ArrowPixel(picture, up, true), Rgb(RGB(250, 250, 250)));
    EXPECT_EQ(ArrowPixel(picture, down, false), Rgb(RGB(250, 250, 250)));
    EXPECT_EQ(picture.pixel(up.left() + 1, up.top() + 1), Rgb(RGB(200, 210, 220)));
}

TEST(ScrollBarLook, WithoutALookTheDesktopPaintsIt) {
    auto list = LongList(40);
    QScrollBar& bar = BarOf(*list);
    EXPECT_FALSE(list->ScrollBarLook().has_value());
    const QRgb desktop = bar.grab().toImage().pixel(8, 60);
    list->SetScrollBarLook(TestLook());
    EXPECT_TRUE(list->ScrollBarLook().has_value());
    EXPECT_NE(bar.grab().toImage().pixel(8, 60), desktop);
    list->SetScrollBarLook(std::nullopt);
    EXPECT_EQ(bar.grab().toImage().pixel(8, 60), desktop);
}

TEST(ScrollBarLook, TheArrowsAndTheTrackStillScrollAndThePressedArrowShows) {
    auto list = LongList(40);
    list->SetScrollBarLook(TestLook());
    QScrollBar& bar = BarOf(*list);
    const QRect down = Part(bar, QStyle::SC_ScrollBarAddLine);
    Press(bar, down.center(), QEvent::MouseButtonPress);
    EXPECT_EQ(list->TopIndex(), 1) << "a press on the down arrow scrolls one line";
    const QImage pressed = bar.grab().toImage();
    EXPECT_EQ(ArrowPixel(pressed, down, false, 1), Rgb(RGB(0, 255, 0)));
    Press(bar, down.center(), QEvent::MouseButtonRelease);
    EXPECT_EQ(ArrowPixel(bar.grab().toImage(), down, false), Rgb(RGB(250, 250, 250)));
    // A press on the track below the thumb pages down.
    const QRect thumb = Part(bar, QStyle::SC_ScrollBarSlider);
    Press(bar, QPoint(8, thumb.bottom() + 3), QEvent::MouseButtonPress);
    Press(bar, QPoint(8, thumb.bottom() + 3), QEvent::MouseButtonRelease);
    EXPECT_GT(list->TopIndex(), 2);
    // And the list moving moves the thumb.
    list->SetTopIndex(0);
    EXPECT_EQ(bar.value(), 0);
    EXPECT_LT(Part(bar, QStyle::SC_ScrollBarSlider).top(), thumb.top());
}

TEST(ScrollBarLook, ADisabledListShowsGreyArrowsAndNoThumb) {
    auto list = LongList(40);
    list->SetScrollBarLook(TestLook());
    list->SetEnabled(false);
    QScrollBar& bar = BarOf(*list);
    const QImage picture = bar.grab().toImage();
    const QRect up = Part(bar, QStyle::SC_ScrollBarSubLine);
    EXPECT_EQ(ArrowPixel(picture, up, true), Rgb(RGB(120, 0, 0)));
    const QRect thumb = Part(bar, QStyle::SC_ScrollBarSlider);
    EXPECT_EQ(picture.pixel(8, thumb.center().y()), Rgb(RGB(10, 20, 30)));
}

TEST(ScrollBarLook, ThePlaylistPaintsItsBarInTheSkinsMetal) {
    auto view = std::make_unique<TPlaylistView>(nullptr);
    ConfigurePlaylistView(*view);
    ASSERT_TRUE(view->ScrollBarLook().has_value());
    EXPECT_LT(GetRValue(view->ScrollBarLook()->track), GetRValue(view->ScrollBarLook()->face_top));
}

} // namespace
} // namespace vd
