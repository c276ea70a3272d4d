// How long the ledger window takes to show a large file: from asking it to open the
// file to its table painted with the rows, in the window as shipped. Prints each run's
// time (and of it, how long the interface thread was busy showing the replay: the rest
// is the replay's own thread), the median and the peak resident memory.
//
//   ledger_open FILE [RUNS]
#include "ledger_app/ledger_document.h"
#include "ledger_app/ledger_setup.h"
#include "ledger_app/ledger_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    setUpLedgerApplication(app);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: ledger_open FILE [RUNS]\n");
        return 2;
    }
    const int runs = arguments.size() > 2 ? arguments[2].toInt() : 5;
    QTemporaryDir scratch;
    QSettings settings(scratch.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    std::vector<qint64> times;
    qsizetype rows = 0;
    for (int run = 0; run < std::max(runs, 1); ++run) {
        LedgerWindow window(settings);
        window.show();
        QCoreApplication::processEvents();
        QEventLoop shown;
        // The replay's thread ends just before the interface shows what it made; the
        // window's own slots run before these, connected after them.
        QElapsedTimer showing;
        QObject::connect(&window.document(), &LedgerDocument::busyChanged, &shown, [&](bool busy) {
            if (!busy)
                showing.start();
        });
        QObject::connect(&window.document(), &LedgerDocument::replayed, &shown, &QEventLoop::quit);
        QObject::connect(&window.document(), &LedgerDocument::refused, &shown, [&](const QString& message) {
            std::fprintf(stderr, "refused: %s\n", qPrintable(message));
            shown.exit(1);
        });
        QElapsedTimer clock;
        clock.start();
        window.openFiles({arguments[1]});
        if (shown.exec() != 0)
            return 1;
        // The table as the user sees it: laid out and painted.
        auto* table = window.findChild<QTableView*>(QStringLiteral("tblRows"));
        table->viewport()->repaint();
        times.push_back(clock.elapsed());
        rows = table->model()->rowCount();
        std::printf("run %d: %lld ms, of which the interface thread %lld ms\n", run + 1,
                    static_cast<long long>(times.back()), static_cast<long long>(showing.elapsed()));
    }
    std::sort(times.begin(), times.end());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("rows %lld, median %lld ms, peak RSS %.1f MB\n", static_cast<long long>(rows),
                static_cast<long long>(times[times.size() / 2]), double(usage.ru_maxrss) / 1024.0);
    return 0;
}
