// The ledger window through its menus, keys and drops: opening, refusing a file that
// cannot be read, the settings, the working, copying, the chart and what assistive tools
// are told.
#include "ledger_files.h"
#include "test_main.h"

#include "ledger_app/chart_tab.h"
#include "ledger_app/ledger_document.h"
#include "ledger_app/ledger_setup.h"
#include "ledger_app/ledger_window.h"
#include "ledger_app/rows_model.h"
#include "support/modal.h"

#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineSeries>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QUrl>
#include <QtTest>

using namespace support;

namespace {

// A window whose settings live in a scratch file.
struct Fixture {
    QTemporaryDir dir;
    QSettings settings{dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat};
    std::unique_ptr<LedgerWindow> window = std::make_unique<LedgerWindow>(settings);

    QTableView* rows() const { return window->findChild<QTableView*>(QStringLiteral("tblRows")); }
    const RowsModel& model() const { return *window->findChild<RowsModel*>(); }
    // Opens the files and waits for their replay to be shown.
    bool open(const QStringList& files)
    {
        QSignalSpy busy(&window->document(), &LedgerDocument::busyChanged);
        window->openFiles(files);
        return busy.wait(10000) && (busy.size() >= 2 || busy.wait(10000));
    }
};

void drop(QWidget* window, const QStringList& files)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files)
        urls << QUrl::fromLocalFile(file);
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &dropped);
}

} // namespace

class LedgerWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpLedgerApplication(*qApp); }
    void cleanup() { QTRY_COMPARE(visibleTopLevelCount(), 0); }

    void openedFileFillsEveryTab()
    {
        Fixture f;
        QVERIFY(showAndActivate(f.window.get()));
        const QString path = writeFile(f.dir, QStringLiteral("year.csv"), kYearCsv);
        QVERIFY(f.open({path}));
        QCOMPARE(f.rows()->model()->rowCount(), 6);
        QVERIFY(f.window->windowTitle().startsWith(QStringLiteral("year.csv - Miroven 取引記帳")));
        QCOMPARE(textOf(f.window.get(), QStringLiteral("lblSummary")), QStringLiteral("6 行（記帳できない行 0）"));
        QCOMPARE(f.window->findChild<QTableView*>(QStringLiteral("tblHoldings"))->model()->rowCount(), 1);
        QCOMPARE(f.window->findChild<QTableWidget*>(QStringLiteral("tblReport"))->rowCount(), 2);
        QVERIFY(!f.window->findChild<QProgressBar*>(QStringLiteral("prgReplay"))->isVisible());
        f.window->close();
    }

    // A file that cannot be read is refused in a message naming it, and what was shown
    // stays: its rows, its title and the files open.
    void unreadableFileLeavesWhatWasShown_data()
    {
        QTest::addColumn<QByteArray>("bad");
        QTest::addColumn<bool>("byDrop");
        QTest::newRow("no ledger header, opened") << QByteArray("a,b\n1,2\n") << false;
        QTest::newRow("no ledger header, dropped") << QByteArray("a,b\n1,2\n") << true;
        QTest::newRow("broken quote") << QByteArray("date,fund,event\n\"2024-01-10,A,買付\n") << false;
    }
    void unreadableFileLeavesWhatWasShown()
    {
        QFETCH(QByteArray, bad);
        QFETCH(bool, byDrop);
        Fixture f;
        QVERIFY(showAndActivate(f.window.get()));
        QVERIFY(f.open({writeFile(f.dir, QStringLiteral("events.csv"), kEventsCsv)}));
        const QString title = f.window->windowTitle();
        const QString badPath = writeFile(f.dir, QStringLiteral("bad.csv"), bad);
        ModalWatch refusal;
        if (byDrop)
            drop(f.window.get(), {badPath});
        else
            f.window->openFiles({badPath});
        QVERIFY2(refusal.closed(), refusal.why());
        QCOMPARE(refusal.seen().className, QStringLiteral("QMessageBox"));
        QVERIFY2(refusal.seen().text.startsWith(QStringLiteral("bad.csv")), qPrintable(refusal.seen().text));
        QCOMPARE(f.rows()->model()->rowCount(), 5);
        QCOMPARE(f.window->document().files().size(), 1);
        QCOMPARE(f.window->windowTitle(), title);
        QCOMPARE(f.model().text(2, RowsModel::kFirstFigure + int(RowFigure::Settlement)), QStringLiteral("11,574"));
        f.window->close();
    }

    // Brokers' downloads dropped with a price history: the rows the ledger passes over
    // are counted in the status bar, and listed with the brokers' conventions.
    void brokersDownloadsDropped()
    {
        Fixture f;
        QVERIFY(showAndActivate(f.window.get()));
        const QString stock = writeFile(
            f.dir, QStringLiteral("dividendlist_20240401.csv"),
            QStringLiteral("入金日,商品,口座,銘柄コード,銘柄,受取通貨,単価[円/現地通貨],数量[株/口],"
                           "配当・分配金合計（税引前）[円/現地通貨],税額合計[円/現地通貨],受取金額[円/現地通貨]\n"
                           "2024/03/28,国内株式,NISA成長投資枠,9999,S,円,30,100,3000,0,3000\n")
                .toUtf8());
        const QString samples = QStringLiteral(MIROVEN_BROKER_SAMPLES "/");
        QSignalSpy replayed(&f.window->document(), &LedgerDocument::replayed);
        drop(f.window.get(), {samples + QStringLiteral("rakuten_tradehistory(INVST)_20240701.csv"),
                              samples + QStringLiteral("nav_20240701.csv"), stock});
        QVERIFY(replayed.wait(10000));
        QCOMPARE(textOf(f.window.get(), QStringLiteral("lblSummary")), QStringLiteral("9 行（記帳できない行 0、読み飛ばした行 1）"));
        const QString tip = f.window->findChild<QLabel*>(QStringLiteral("lblSummary"))->toolTip();
        QVERIFY2(tip.startsWith(QStringLiteral("証券会社の慣行: 分配金の端数は四捨五入")), qPrintable(tip));
        QVERIFY2(tip.contains(QStringLiteral("dividendlist_20240401.csv:2: ")), qPrintable(tip));
        QVERIFY2(!tip.contains(QStringLiteral("--")), qPrintable(tip));
        f.window->close();
    }

    void droppedFileJoinsInDateOrder()
    {
        Fixture f;
        QVERIFY(showAndActivate(f.window.get()));
        QVERIFY(f.open({writeFile(f.dir, QStringLiteral("events.csv"), kEventsCsv)}));
        QSignalSpy replayed(&f.window->document(), &LedgerDocument::replayed);
        drop(f.window.get(), {writeFile(f.dir, QStringLiteral("more.csv"),
                                        "date,fund,event,units,nav\n2024-01-11,C,買付,100,10000\n")});
        QVERIFY(replayed.wait(10000));
        QCOMPARE(f.rows()->model()->rowCount(), 6);
        QCOMPARE(f.model().text(1, RowsModel::kFund), QStringLiteral("C"));
        QCOMPARE(f.window->document().files().size(), 2);
        f.window->close();
    }

    // A setting changed in the dialog replays at once and is there at the next start.
    void settingsReplayAndAreRemembered()
    {
        Fixture f;
        QVERIFY(showAndActivate(f.window.get()));
        const QByteArray cents = "date,fund,event,units,nav,fee\n"
                                 "2024-01-10,A,買付,3,10000,1\n"
                                 "2024-01-11,A,買付,7,10001,\n";
        QVERIFY(f.open({writeFile(f.dir, QStringLiteral("cents.csv"), cents)}));
        const int cost = RowsModel::kFirstFigure + int(RowFigure::Cost);
        const QString before = f.model().text(0, cost);
        QSignalSpy replayed(&f.window->document(), &LedgerDocument::replayed);
        ModalWatch dialog({}, [](QWidget* window, ModalSeen& seen) {
            auto* costBox = window->findChild<QComboBox*>(QStringLiteral("cboCost"));
            auto* netting = window->findChild<QCheckBox*>(QStringLiteral("chkNetting"));
            seen.notes[QStringLiteral("found")] = costBox && netting;
            // Each choice says what it means, on screen and to assistive tools.
            QStringList unexplained;
            QList<QWidget*> controls{netting};
            for (QComboBox* box : window->findChildren<QComboBox*>())
                controls << box;
            for (const QWidget* control : controls) {
                if (!control || control->accessibleDescription().size() < 20)
                    unexplained << (control ? control->objectName() : QStringLiteral("chkNetting"));
            }
            seen.notes[QStringLiteral("boxes")] = int(controls.size());
            seen.notes[QStringLiteral("unexplained")] = unexplained;
            if (costBox)
                costBox->setCurrentIndex(1);
            if (netting)
                netting->setChecked(false);
            if (auto* ok = window->findChild<QPushButton*>(QStringLiteral("cmdOK")))
                QTest::mouseClick(ok, Qt::LeftButton);
        });
        QTimer::singleShot(0, f.window.get(), [&] { f.window->mnuSettings_Click(); });
        QVERIFY2(dialog.closed(), dialog.why());
        QVERIFY(dialog.seen().notes.value(QStringLiteral("found")).toBool());
        QCOMPARE(dialog.seen().notes.value(QStringLiteral("unexplained")).toStringList(), QStringList());
        QCOMPARE(dialog.seen().notes.value(QStringLiteral("boxes")).toInt(), 9);
        QVERIFY(replayed.wait(10000));
        ledger::BookOptions book;
        book.roundings.cost = ledger::PriceStep::Cent;
        book.dividendNetting = false;
        const QList<QStringList> expected = csvRecords(streamed(cents, LedgerOutput::Rows, book));
        QCOMPARE(f.model().text(0, cost, false), expected[1][8]);
        QCOMPARE(before, QStringLiteral("13,334"));
        QCOMPARE(f.model().text(0, cost), QStringLiteral("13,333.33"));
        QCOMPARE(f.settings.value(QStringLiteral("ledger/cost-rounding")).toString(), QStringLiteral("cent"));
        // A box left as it was stays left to the brokers' files.
        QVERIFY(!f.settings.contains(QStringLiteral("ledger/distribution-rounding")));

        LedgerWindow again(f.settings);
        QCOMPARE(again.document().settings().roundings.cost, ledger::PriceStep::Cent);
        QVERIFY(!again.document().settings().dividendNetting);
        f.window->close();
    }

    // Enter on a row shows its working in the working window: the command line's text.
    void workingOfTheCurrentRow()
    {
        Fixture f;
        QVERIFY(showAndActivate(f.window.get()));
        QVERIFY(f.open({writeFile(f.dir, QStringLiteral("year.csv"), kYearCsv)}));
        QTableView* table = f.rows();
        table->setFocus();
        table->setCurrentIndex(table->model()->index(4, 0));
        ModalWatch working({}, [](QWidget* window, ModalSeen& seen) {
            if (auto* text = window->findChild<QPlainTextEdit*>(QStringLiteral("txtWorking")))
                seen.notes[QStringLiteral("text")] = text->toPlainText();
            if (auto* ok = window->findChild<QPushButton*>(QStringLiteral("cmdOK")))
                QTest::mouseClick(ok, Qt::LeftButton);
        });
        QTest::keyClick(table, Qt::Key_Return);
        QVERIFY2(working.closed(), working.why());
        QCOMPARE(working.seen().title, QStringLiteral("Miroven-計算過程"));
        const QString text = working.seen().notes.value(QStringLiteral("text")).toString();
        QVERIFY(text.startsWith(QStringLiteral("【2024 年の年末精算】")));
        QCOMPARE(text, rowWorking(*f.window->document().replay(), 4).text);
        f.window->close();
    }

    void copySelectedRows()
    {
        Fixture f;
        QVERIFY(showAndActivate(f.window.get()));
        QVERIFY(f.open({writeFile(f.dir, QStringLiteral("events.csv"), kEventsCsv)}));
        QTableView* table = f.rows();
        table->setFocus();
        table->selectRow(0);
        table->selectionModel()->select(table->model()->index(2, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QGuiApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith(QStringLiteral("受渡日\t銘柄\t口座\t取引\t口数")));
        const QStringList third = lines[2].split(u'\t');
        QCOMPARE(third.value(0), QStringLiteral("2024-01-13"));
        QVERIFY(third.contains(QStringLiteral("11574")));
        f.window->close();
    }

    void chartOfTheChosenHolding()
    {
        Fixture f;
        QVERIFY(showAndActivate(f.window.get()));
        QVERIFY(f.open({writeFile(f.dir, QStringLiteral("events.csv"), kEventsCsv)}));
        auto* holding = f.window->findChild<QComboBox*>(QStringLiteral("cboHolding"));
        QCOMPARE(holding->count(), 2);
        QCOMPARE(holding->itemText(0), QStringLiteral("A（特定）"));
        const QChart* chart = f.window->findChild<ChartTab*>(QStringLiteral("tabChart"))->chart();
        QMap<QString, int> points;
        for (const QAbstractSeries* series : chart->series())
            points[series->name()] = int(static_cast<const QXYSeries*>(series)->count());
        // Three events with a NAV; the principal and cost as steps while units are held (two
        // values, three points); each event marked.
        QCOMPARE(points.value(QStringLiteral("基準価額")), 3);
        QCOMPARE(points.value(QStringLiteral("個別元本")), 3);
        QCOMPARE(points.value(QStringLiteral("取得単価")), 3);
        QCOMPARE(points.value(QStringLiteral("買付")) + points.value(QStringLiteral("分配"))
                     + points.value(QStringLiteral("解約")),
                 3);
        holding->setCurrentIndex(1);
        QVERIFY(f.window->findChild<QWidget*>(QStringLiteral("chtHolding"))->accessibleName().contains(u'B'));
        f.window->close();
    }

    // A replay cancelled leaves what was shown; the progress shows while it runs.
    void cancelledReplayKeepsWhatWasShown()
    {
        Fixture f;
        QVERIFY(showAndActivate(f.window.get()));
        QVERIFY(f.open({writeFile(f.dir, QStringLiteral("events.csv"), kEventsCsv)}));
        QByteArray many = "date,fund,event,units,nav\n";
        for (int i = 0; i < 200000; ++i)
            many += "2024-02-10,Z,買付,1,10000\n";
        const QString big = writeFile(f.dir, QStringLiteral("big.csv"), many);
        QSignalSpy busy(&f.window->document(), &LedgerDocument::busyChanged);
        QSignalSpy refused(&f.window->document(), &LedgerDocument::refused);
        f.window->openFiles({big});
        QVERIFY(f.window->findChild<QProgressBar*>(QStringLiteral("prgReplay"))->isVisible());
        click(f.window.get(), QStringLiteral("cmdCancel"));
        QTRY_COMPARE_WITH_TIMEOUT(busy.size(), 2, 10000);
        QCOMPARE(refused.size(), 0);
        QCOMPARE(f.rows()->model()->rowCount(), 5);
        QCOMPARE(f.window->document().files().size(), 1);
        QVERIFY(!f.window->findChild<QProgressBar*>(QStringLiteral("prgReplay"))->isVisible());
        f.window->close();
    }

    // What assistive tools are told: every control has a name, every caption an access
    // key and its control, and the table describes the current row.
    void accessibleNamesAndKeys()
    {
        Fixture f;
        QVERIFY(showAndActivate(f.window.get()));
        QVERIFY(f.open({writeFile(f.dir, QStringLiteral("events.csv"), kEventsCsv)}));
        for (const char* name : {"tabs", "tblRows", "cboFund", "cboAccount", "cboYear", "tblHoldings", "tblReport",
                                 "cboHolding", "chtHolding", "prgReplay"}) {
            const QWidget* widget = f.window->findChild<QWidget*>(QLatin1String(name));
            QVERIFY2(widget && !widget->accessibleName().isEmpty(), name);
        }
        for (const QLabel* label : f.window->findChildren<QLabel*>()) {
            if (label->text().contains(u'&'))
                QVERIFY2(label->buddy(), qPrintable(label->text()));
        }
        QTableView* table = f.rows();
        table->setCurrentIndex(table->model()->index(1, 3));
        const QString described = table->accessibleDescription();
        QVERIFY2(described.startsWith(QStringLiteral("2024-01-12 A 特定 分配 保有口数 10,000 個別元本 9,800")),
                 qPrintable(described));
        QCOMPARE(table->model()->index(1, 0).data(Qt::AccessibleTextRole).toString(), described);
        // Tab from the first filter reaches the others and the table.
        f.window->findChild<QWidget*>(QStringLiteral("cboFund"))->setFocus();
        const QStringList order = tabSequence(f.window.get());
        for (const char* name : {"cboAccount", "cboYear", "tblRows"})
            QVERIFY2(order.contains(QLatin1String(name)), qPrintable(order.join(u' ')));
        f.window->close();
    }
};

MIROVEN_TEST_MAIN(LedgerWindowTest)
#include "tst_ledger_window.moc"
