// Files dropped on a window: what a drag carries is read as local files (a URI list, or plain
// text listing file URIs or paths), a window takes drops only with a handler, the handler runs
// once the drop is over, and a child that takes no drops passes them to its window.
#include "framework/FileDrop.h"
#include "framework/Forms.h"
#include "tests/support/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>

namespace vd {
namespace {

using Files = std::vector<std::string>;

TEST(DroppedFilesTest, AUriListGivesItsLocalFilesInOrder) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/music/b song.xm"), QUrl("https://example.org/a.mod"),
                  QUrl::fromLocalFile("/music/a.mod")});
    EXPECT_EQ(DroppedFiles(data), (Files{"/music/b song.xm", "/music/a.mod"}));
}

TEST(DroppedFilesTest, PlainTextListsOfUrisAndPathsAreReadLineByLine) {
    QMimeData data;
    data.setText("# a comment\r\nfile:///music/my%20song.mod\r\n\n  /music/plain.xm  \n"
                 "relative.mod\nhttp://example.org/x.mod\n");
    EXPECT_EQ(DroppedFiles(data), (Files{"/music/my song.mod", "/music/plain.xm"}));
    QMimeData nothing;
    nothing.setText("just words");
    EXPECT_TRUE(DroppedFiles(nothing).empty());
}

TEST(DroppedFilesTest, ABrokenFileUriGivesNoEmptyPath) {
    const QByteArray broken("file://\x01\x00mod\n/music/a.mod\nfile:\n", 32);
    QMimeData text;
    text.setText(QString::fromUtf8(broken));
    EXPECT_EQ(DroppedFiles(text), (Files{"/music/a.mod"}));
    QMimeData list;
    list.setData("text/uri-list", "file://\x01\r\nfile:///music/a.mod\r\n");
    EXPECT_EQ(DroppedFiles(list), (Files{"/music/a.mod"}));
}

class WindowDropTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::StartGui();
        form_ = test::MakeUnowned<TForm>();
        form_->SetBounds(0, 0, 200, 100);
        child_ = TComponent::Create<TCustomControl>(form_.get());
        child_->SetParent(form_.get());
        child_->SetBounds(10, 10, 50, 50);
    }

    // Delivers a drag over `target` and the drop, as the window system does; whether the drag
    // was accepted.
    bool Drop(QWidget* target, const QMimeData& data) {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        return drop.isAccepted();
    }

    test::ComponentPtr<TForm> form_;
    TCustomControl* child_ = nullptr;
};

TEST_F(WindowDropTest, AWindowWithoutAHandlerTakesNoDrop) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/music/a.mod")});
    EXPECT_FALSE(form_->Widget()->acceptDrops());
    EXPECT_FALSE(Drop(form_->Widget(), data));
}

TEST_F(WindowDropTest, TheHandlerGetsTheFilesOnceTheDropIsOver) {
    std::vector<Files> got;
    form_->SetOnDropFiles([&](TComponent* sender, const Files& files) {
        EXPECT_EQ(sender, form_.get());
        got.push_back(files);
    });
    EXPECT_TRUE(form_->Widget()->acceptDrops());
    QMimeData data;
    data.setData("text/uri-list", "file:///music/a.mod\r\nfile:///music/b.xm\r\n");
    ASSERT_TRUE(Drop(form_->Widget(), data));
    EXPECT_TRUE(got.empty()) << "handled inside the drop";
    TApplication::ProcessMessages();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], (Files{"/music/a.mod", "/music/b.xm"}));

    // A drag with no file in it is turned away.
    QMimeData words;
    words.setText("hello");
    EXPECT_FALSE(Drop(form_->Widget(), words));
}

TEST_F(WindowDropTest, AChildThatTakesNoDropsLeavesThemToItsWindow) {
    // Qt hands a drag to the nearest widget that accepts drops: the child's window passes it on.
    EXPECT_FALSE(child_->Widget()->acceptDrops());
    EXPECT_EQ(child_->Widget()->parentWidget(), form_->Widget());
}

TEST_F(WindowDropTest, MediaKeysReachKeyHandlersAsTheirVirtualKeys) {
    std::vector<uint16_t> keys;
    form_->OnKeyDown = [&](TComponent*, uint16_t& key, TShiftState) {
        keys.push_back(key);
        key = 0;
    };
    for (int qt_key : {Qt::Key_MediaTogglePlayPause, Qt::Key_MediaPlay, Qt::Key_MediaNext,
                       Qt::Key_MediaPrevious, Qt::Key_MediaStop}) {
        QKeyEvent press(QEvent::KeyPress, qt_key, Qt::NoModifier);
        QCoreApplication::sendEvent(form_->Widget(), &press);
    }
    EXPECT_EQ(keys,
              (std::vector<uint16_t>{VK_MEDIA_PLAY_PAUSE, VK_MEDIA_PLAY_PAUSE, VK_MEDIA_NEXT_TRACK,
                                     VK_MEDIA_PREV_TRACK, VK_MEDIA_STOP}));
}

} // namespace
} // namespace vd
