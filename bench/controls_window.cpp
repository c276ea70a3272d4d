// A third yardstick: what Qt alone costs to show the main menu's contents. A main window
// with the same menu bar item and the same four buttons, captions, sizes and places, and
// nothing else: no icon, no single-instance check, no calculation code. Miroven's
// distance from this window is what Miroven itself adds.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QFont font = QApplication::font();
    font.setPointSize(9);
    app.setFont(font);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Miroven"));
    window.menuBar()->addAction(QStringLiteral("About(&A)"));
    auto* client = new QWidget(&window);
    client->setFixedSize(334, 124);
    window.setCentralWidget(client);
    const struct {
        const char16_t* caption;
        QRect pixels;
    } buttons[] = {
        {u"今買うと何口になる？", {16, 24, 217, 25}},
        {u"今解約するといくらになる？", {16, 56, 217, 25}},
        {u"分配金が出た場合", {16, 88, 217, 25}},
        {u"終了", {240, 24, 89, 25}},
    };
    for (const auto& b : buttons)
        (new QPushButton(QString::fromUtf16(b.caption), client))->setGeometry(b.pixels);

    const int menuHeight = window.menuBar()->sizeHint().height();
    window.setFixedSize(client->width(), client->height() + menuHeight);
    window.move(158, 86 - menuHeight);
    window.show();
    return QApplication::exec();
}
