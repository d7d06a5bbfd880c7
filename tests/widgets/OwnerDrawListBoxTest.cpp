#include "framework/ListBox.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace vd {
namespace {

// A variable list whose lines are numbers giving their own heights; it records what it draws.
class NumberList : public TListBox {
public:
    NumberList() : TListBox(nullptr) {
        SetBorderStyle(TBorderStyle::bsNone);
        SetStyle(TListBoxStyle::lbOwnerDrawVariable);
        SetBounds(0, 0, 120, 100);
    }
    std::vector<TDrawItemStruct> drawn;
    int measured = 0;

protected:
    void MeasureItem(int index, int& height) override {
        ++measured;
        height = std::stoi(Items(index));
    }
    void DrawItem(const TDrawItemStruct& item) override { drawn.push_back(item); }
};

std::unique_ptr<NumberList> ListOf(const std::vector<int>& heights) {
    auto list = std::make_unique<NumberList>();
    for (int h : heights)
        list->Add(std::to_string(h));
    return list;
}

void Key(TListBox& list, uint16_t key) {
    uint16_t k = key;
    list.HandleKeyDown(k, 0);
}

TEST(OwnerDrawListBox, LinesLieBelowEachOtherAtTheirMeasuredHeights) {
    auto list = ListOf({10, 20, 30, 15});
    EXPECT_EQ(list->ItemRect(0), (TRect{0, 0, 120, 10}));
    EXPECT_EQ(list->ItemRect(2), (TRect{0, 30, 120, 60}));
    EXPECT_EQ(list->ItemAtPos({5, 35}, true), 2);
    EXPECT_EQ(list->ItemAtPos({5, 74}, true), 3);
    EXPECT_EQ(list->ItemAtPos({5, 75}, true), -1);
    EXPECT_EQ(list->ItemAtPos({5, 75}, false), 4);
    EXPECT_EQ(list->ItemAtPos({-1, 5}, true), -1);
    EXPECT_FALSE(list->ScrollBarShown());
}

TEST(OwnerDrawListBox, AScrollBarShowsWhenTheLinesDoNotFit) {
    auto list = ListOf({10, 20, 30, 15});
    list->Add("40");
    EXPECT_TRUE(list->ScrollBarShown());
    EXPECT_EQ(list->ItemAreaRect(), (TRect{0, 0, 120 - TListBox::kScrollBarWidth, 100}));
    EXPECT_EQ(list->ItemRect(0).Right, 120 - TListBox::kScrollBarWidth);
    list->Delete(4);
    EXPECT_FALSE(list->ScrollBarShown());
}

TEST(OwnerDrawListBox, ScrollsNoFurtherThanTheLastLinesFill) {
    auto list = ListOf({10, 20, 30, 15, 40}); // 115 high in 100
    list->SetTopIndex(10);
    EXPECT_EQ(list->TopIndex(), 2);
    EXPECT_EQ(list->ItemRect(0).Top, -30);
    EXPECT_EQ(list->ItemAtPos({0, 0}, true), 2);
    list->SetTopIndex(-3);
    EXPECT_EQ(list->TopIndex(), 0);
    list->SetTopIndex(2);
    list->Delete(4); // now everything fits
    EXPECT_EQ(list->TopIndex(), 0);
}

TEST(OwnerDrawListBox, RunningTotalsFollowInsertsAndDeletes) {
    std::mt19937 random(7);
    auto list = std::make_unique<NumberList>();
    std::vector<int> heights;
    for (int step = 0; step < 400; ++step) {
        const int h = 1 + static_cast<int>(random() % 40);
        if (heights.empty() || random() % 3 != 0) {
            const int at = static_cast<int>(random() % (heights.size() + 1));
            list->Insert(at, std::to_string(h));
            heights.insert(heights.begin() + at, h);
        } else {
            const int at = static_cast<int>(random() % heights.size());
            list->Delete(at);
            heights.erase(heights.begin() + at);
        }
        if (step % 37 == 0 && !heights.empty()) {
            const int probe = static_cast<int>(random() % heights.size());
            const int top = std::accumulate(heights.begin(), heights.begin() + probe, 0);
            ASSERT_EQ(list->ItemRect(probe).Top, top) << "step " << step;
            ASSERT_EQ(list->ItemRect(probe).Height(), heights[static_cast<std::size_t>(probe)]);
        }
    }
}

TEST(OwnerDrawListBox, ReorderCarriesTheHeightsAlong) {
    auto list = ListOf({10, 20, 30});
    list->SetItemIndex(1);
    const std::size_t order[] = {2, 0, 1};
    list->Reorder(order);
    EXPECT_EQ(list->Lines(), (std::vector<std::string>{"30", "10", "20"}));
    EXPECT_EQ(list->ItemRect(1), (TRect{0, 30, 120, 40}));
    EXPECT_EQ(list->ItemIndex(), -1);
}

TEST(OwnerDrawListBox, EveryLineIsMeasuredOnceWhenAdded) {
    auto list = std::make_unique<NumberList>();
    list->AddRange({"10", "11", "12"});
    list->Add("13");
    list->Insert(0, "14");
    EXPECT_EQ(list->measured, 5);
}

TEST(OwnerDrawListBox, PaintingDrawsTheVisibleLinesWithTheirState) {
    auto list = ListOf({30, 30, 30, 30, 30});
    list->SetItemIndex(1);
    list->drawn.clear();
    list->Repaint();
    ASSERT_EQ(list->drawn.size(), 4u); // 0..3 reach into the 100 pixels
    EXPECT_EQ(list->drawn[0].ItemID, 0);
    EXPECT_EQ(list->drawn[0].ItemState, 0u);
    EXPECT_EQ(list->drawn[1].ItemState, unsigned{ODS_SELECTED});
    EXPECT_EQ(list->drawn[3].ItemRect, (TRect{0, 90, 120 - TListBox::kScrollBarWidth, 120}));

    list->SetEnabled(false);
    list->drawn.clear();
    list->Repaint();
    ASSERT_FALSE(list->drawn.empty());
    EXPECT_EQ(list->drawn[1].ItemState, unsigned{ODS_SELECTED | ODS_DISABLED});
}

TEST(OwnerDrawListBox, ArrowsHomeEndAndPagesMoveTheSelection) {
    auto list = ListOf(std::vector<int>(50, 10)); // ten lines to a page
    int clicks = 0;
    list->OnClick = [&](TComponent*) { ++clicks; };
    Key(*list, VK_DOWN);
    EXPECT_EQ(list->ItemIndex(), 0);
    Key(*list, VK_DOWN);
    Key(*list, VK_RIGHT);
    EXPECT_EQ(list->ItemIndex(), 2);
    Key(*list, VK_UP);
    EXPECT_EQ(list->ItemIndex(), 1);
    Key(*list, VK_NEXT);
    EXPECT_EQ(list->ItemIndex(), 10);
    EXPECT_EQ(list->TopIndex(), 1);
    Key(*list, VK_PRIOR);
    EXPECT_EQ(list->ItemIndex(), 1);
    Key(*list, VK_END);
    EXPECT_EQ(list->ItemIndex(), 49);
    EXPECT_EQ(list->TopIndex(), 40);
    Key(*list, VK_DOWN);
    EXPECT_EQ(list->ItemIndex(), 49);
    Key(*list, VK_HOME);
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(list->TopIndex(), 0);
    Key(*list, VK_UP);
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(clicks, 8); // only keys that changed the selection
}

TEST(OwnerDrawListBox, AKeyTheOwnerConsumesDoesNotMove) {
    auto list = ListOf({10, 10, 10});
    list->OnKeyDown = [](TComponent*, uint16_t& key, TShiftState) { key = 0; };
    Key(*list, VK_DOWN);
    EXPECT_EQ(list->ItemIndex(), -1);
    uint16_t other = 'A';
    list->OnKeyDown = nullptr;
    list->HandleKeyDown(other, 0);
    EXPECT_EQ(other, 'A'); // not a list key: left for the parent
}

TEST(OwnerDrawListBox, TheWheelScrollsThreeLinesANotch) {
    auto list = ListOf(std::vector<int>(50, 10));
    EXPECT_TRUE(list->HandleMouseWheel(0, -kWheelDelta, {5, 5}));
    EXPECT_EQ(list->TopIndex(), 3);
    list->HandleMouseWheel(0, -kWheelDelta / 2, {5, 5});
    EXPECT_EQ(list->TopIndex(), 3);
    list->HandleMouseWheel(0, -kWheelDelta / 2, {5, 5});
    EXPECT_EQ(list->TopIndex(), 6);
    list->HandleMouseWheel(0, 10 * kWheelDelta, {5, 5});
    EXPECT_EQ(list->TopIndex(), 0);
}

TEST(OwnerDrawListBox, ADoubleClickCanTellWhetherItHitALine) {
    auto list = ListOf({10, 20, 30, 40, 50});
    std::vector<int> hits;
    list->OnDblClick = [&](TComponent*) { hits.push_back(list->ItemAtPress()); };
    EXPECT_EQ(list->ItemAtPress(), -1) << "before any press";
    list->HandleMouseDown(TMouseButton::mbLeft, ssLeft | ssDouble, 10, 35, true);
    list->SetTopIndex(1);
    list->HandleMouseDown(TMouseButton::mbLeft, ssLeft | ssDouble, 10, 5, true); // scrolled
    list->Delete(4);
    list->Delete(3);
    list->HandleMouseDown(TMouseButton::mbLeft, ssLeft | ssDouble, 10, 80, true); // below
    EXPECT_EQ(hits, (std::vector<int>{2, 1, -1}));
}

TEST(OwnerDrawListBox, ClicksSelectDragsFollowAndDoubleClicksAreReported) {
    auto list = ListOf(std::vector<int>(50, 10));
    int double_clicks = 0;
    list->OnDblClick = [&](TComponent*) { ++double_clicks; };
    list->HandleMouseDown(TMouseButton::mbLeft, ssLeft, 10, 35, false);
    EXPECT_EQ(list->ItemIndex(), 3);
    list->HandleMouseMove(ssLeft, 10, 55);
    EXPECT_EQ(list->ItemIndex(), 5);
    list->HandleMouseMove(ssLeft, 10, 130); // below: one further, scrolled into view
    EXPECT_EQ(list->ItemIndex(), 10);
    EXPECT_EQ(list->TopIndex(), 1);
    list->HandleMouseUp(TMouseButton::mbLeft, 0, 10, 130, true);
    list->HandleMouseMove(0, 10, 15);
    EXPECT_EQ(list->ItemIndex(), 10); // no button: no selection
    list->HandleMouseDown(TMouseButton::mbLeft, ssLeft, 10, 15, false);
    list->HandleMouseUp(TMouseButton::mbLeft, 0, 10, 15, true);
    list->HandleMouseDown(TMouseButton::mbLeft, ssLeft | ssDouble, 10, 15, true);
    EXPECT_EQ(double_clicks, 1);
    EXPECT_EQ(list->ItemIndex(), 2);
    list->HandleMouseDown(TMouseButton::mbRight, ssRight, 10, 45, false);
    EXPECT_EQ(list->ItemIndex(), 2);
}

TEST(OwnerDrawListBox, KeysAndWheelTurnsOfItsWindowReachIt) {
    auto list = ListOf(std::vector<int>(50, 10));
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(list->Widget(), &down);
    QCoreApplication::sendEvent(list->Widget(), &down);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_TRUE(down.isAccepted());
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(list->Widget(), &letter);
    EXPECT_FALSE(letter.isAccepted()); // left for the parent
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -kWheelDelta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(list->Widget(), &wheel);
    EXPECT_EQ(list->TopIndex(), 3);
}

TEST(OwnerDrawListBox, TheFrameOfASingleBorderMovesTheLinesIn) {
    auto list = ListOf({10, 10});
    list->SetBorderStyle(TBorderStyle::bsSingle);
    EXPECT_EQ(list->ItemAreaRect(), (TRect{2, 2, 118, 98}));
    list->HandleMouseDown(TMouseButton::mbLeft, ssLeft, 5, 13, false);
    EXPECT_EQ(list->ItemIndex(), 1);
}

TEST(ListBox, KeepsItsSelectionAcrossEdits) {
    TListBox list(nullptr);
    EXPECT_EQ(list.Add("a"), 0);
    list.AddRange({"b", "c", "d"});
    list.SetItemIndex(2);
    list.Insert(0, "z");
    EXPECT_EQ(list.ItemIndex(), 3);
    EXPECT_TRUE(list.Selected(3));
    list.Delete(1);
    EXPECT_EQ(list.ItemIndex(), 2);
    EXPECT_EQ(list.Items(2), "c");
    list.Delete(2);
    EXPECT_EQ(list.ItemIndex(), -1);
    list.SetItemIndex(7);
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_THROW((void)list.Items(9), EListError);
    EXPECT_THROW((void)list.Selected(-1), EListError);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(ListBox, StandardStylePaintsTheSelectionInTheHighlightColour) {
    TListBox list(nullptr);
    list.SetBorderStyle(TBorderStyle::bsNone);
    list.SetItemHeight(13);
    list.AddRange({"one", "two", "three"});
    list.SetItemIndex(1);
    list.Repaint();
    TCanvas picture(&list.Picture());
    EXPECT_EQ(picture.Pixel(100, 14), ColorToRGB(clHighlight));
    EXPECT_EQ(picture.Pixel(100, 1), ColorToRGB(clWindow));
    EXPECT_EQ(picture.Pixel(100, 40), ColorToRGB(clWindow));
}

TEST(ListBox, AHundredThousandFixedLinesScrollToTheEnd) {
    TListBox list(nullptr);
    std::vector<std::string> lines(100000, "entry");
    list.AddRange(std::move(lines));
    EXPECT_TRUE(list.ScrollBarShown());
    Key(list, VK_END);
    EXPECT_EQ(list.ItemIndex(), 99999);
    // The last line sits at the bottom, with less than a line to spare below it.
    const TRect last = list.ItemRect(99999);
    EXPECT_LE(last.Bottom, list.ItemAreaRect().Height());
    EXPECT_GT(last.Bottom + last.Height(), list.ItemAreaRect().Height());
}

} // namespace
} // namespace vd
