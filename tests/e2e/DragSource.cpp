// drag_source FILE...: a small window at the top left of the screen; a left press on it starts
// dragging FILE... as a URI list (XDND), as a file manager does. Ends a second after the drag:
// status 0 when it was dropped and taken, 1 when not.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

class Source final : public QWidget {
public:
    explicit Source(QList<QUrl> urls) : urls_(std::move(urls)) {
        setWindowTitle(QStringLiteral("vd drag source"));
        setGeometry(0, 0, 120, 120);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton)
            return;
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls(urls_);
        drag->setMimeData(data);
        const Qt::DropAction done = drag->exec(Qt::CopyAction);
        // A file manager stays: the target may still ask for the data after the drop.
        QTimer::singleShot(1000, [done] { QApplication::exit(done == Qt::CopyAction ? 0 : 1); });
    }

private:
    QList<QUrl> urls_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QList<QUrl> urls;
    for (int i = 1; i < argc; ++i)
        urls << QUrl::fromLocalFile(QString::fromLocal8Bit(argv[i]));
    Source source(urls);
    source.show();
    return QApplication::exec();
}
