// A second yardstick: the bare window plus one line of Japanese text. Any program that
// shows Japanese text pays for the font database and a CJK face; this window pays for
// them too, so that Miroven's own costs stand out beside it.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("今買うと何口になる？"));
    window.show();
    return QApplication::exec();
}
