// A stand-in Qt app for the quitting tests: one window on $DISPLAY, as a Qt editor shows.
// Asked to close its window, it quits, as Qt apps do when their last window closes.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Kestrix Qt test window"));
    window.resize(240, 120);
    window.show();
    return app.exec();
}
