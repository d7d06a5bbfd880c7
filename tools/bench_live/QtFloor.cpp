// qt_floor: what any Qt Widgets program costs that shows a window with one line of text changing
// about eight times a second, as a tracker's order.row display does at its usual speed. The
// live measurement runs it beside the players: the floor under the player's own CPU share and
// resident memory.
#include <QApplication>
#include <QLabel>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label("000.00");
    label.resize(518, 425); // the player's window
    label.show();
    constexpr int kRowMs = 120; // a row at speed 6, 125 BPM
    int row = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++row;
        label.setText(QStringLiteral("%1.%2")
                          .arg(row / 64, 3, 10, QChar('0'))
                          .arg(row % 64, 2, 10, QChar('0')));
    });
    timer.start(kRowMs);
    return QApplication::exec();
}
