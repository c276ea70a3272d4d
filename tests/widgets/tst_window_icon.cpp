// Window icons: the ready renderings must give exactly the pixels the SVG gives, at
// every size the window manager is handed, and the SVG must serve everything else.
#include "widgets/window_icon.h"

#include <QDir>
#include <QtTest>

namespace {

// What the window manager receives: straight ARGB, as the X11 platform converts it.
QImage argb(const QPixmap& pixmap) { return pixmap.toImage().convertToFormat(QImage::Format_ARGB32); }

} // namespace

class WindowIconTest : public QObject {
    Q_OBJECT
private slots:
    void sameAsSvg_data()
    {
        QTest::addColumn<QString>("svgPath");
        const QStringList svgs = QDir(QStringLiteral(":/icons")).entryList({QStringLiteral("*.svg")});
        QVERIFY(svgs.size() >= 8);
        for (const QString& svg : svgs)
            QTest::newRow(qPrintable(svg)) << QStringLiteral(":/icons/") + svg;
    }

    void sameAsSvg()
    {
        QFETCH(QString, svgPath);
        const QIcon icon = loadWindowIcon(svgPath);
        const QIcon svg(svgPath);
        QVERIFY(!icon.isNull());

        // Every size the X11 platform would otherwise draw from the SVG is ready.
        QCOMPARE(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {64, 64}, {128, 128}}));

        struct Request {
            int extent;
            qreal ratio;
            QIcon::Mode mode;
        };
        const Request requests[] = {
            {16, 1.0, QIcon::Normal},   {32, 1.0, QIcon::Normal},   {64, 1.0, QIcon::Normal},
            {128, 1.0, QIcon::Normal},  {24, 1.0, QIcon::Normal},   {48, 1.0, QIcon::Normal},
            {256, 1.0, QIcon::Normal},  {32, 2.0, QIcon::Normal},   {128, 2.0, QIcon::Normal},
            {16, 1.5, QIcon::Normal},   {32, 1.0, QIcon::Disabled}, {32, 1.0, QIcon::Active},
            {32, 1.0, QIcon::Selected},
        };
        for (const Request& r : requests) {
            const QByteArray what = QByteArray::number(r.extent) + " px at " + QByteArray::number(r.ratio)
                                    + ", mode " + QByteArray::number(int(r.mode));
            const QPixmap got = icon.pixmap(QSize(r.extent, r.extent), r.ratio, r.mode);
            const QPixmap want = svg.pixmap(QSize(r.extent, r.extent), r.ratio, r.mode);
            QVERIFY2(!want.isNull(), what.constData());
            QVERIFY2(got.size() == want.size(), what.constData());
            QVERIFY2(got.devicePixelRatio() == want.devicePixelRatio(), what.constData());
            QVERIFY2(argb(got) == argb(want), what.constData());
        }
    }

    void missingSvgGivesNullIcon() { QVERIFY(loadWindowIcon(QStringLiteral(":/icons/missing.svg")).isNull()); }
};

#include "test_main.h"
MIROVEN_TEST_MAIN(WindowIconTest)
#include "tst_window_icon.moc"
