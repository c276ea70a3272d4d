// Times 計算過程 from the command to the working window being exposed (mapped and
// drawn), on the running X server: 21 openings over one redemption statement.
//   build-bench/bench/working_open      (DISPLAY set; a window manager makes it real)
#include "calc/redemption/redemption_calculation.h"
#include "windows/redemption/redemption_statement_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    CalcRecord record;
    Trace working;
    const auto formed = calculateRedemption(
        record, BoxTexts::inReadingOrder(kRedemptionBoxes, {"10000", "12000", "100000", "0.3"}),
        NumberFormat{}, &working);
    frmWithdrawShow statement(shownFigures(kRedemptionStatement, *formed), working);
    statement.show();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500)
        QApplication::processEvents();

    std::vector<double> ms;
    for (int i = 0; i < 21; ++i) {
        QElapsedTimer clock;
        QTimer poll;
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* shown = QApplication::activeModalWidget();
            if (shown && shown != &statement && shown->windowHandle()
                && shown->windowHandle()->isExposed()) {
                ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
                poll.stop();
                shown->close();
            }
        });
        poll.start();
        clock.start();
        statement.mnuWorking_Click();
    }
    std::sort(ms.begin(), ms.end());
    std::printf("計算過程 to exposed: median %.1f ms, min %.1f, max %.1f over %zu openings\n",
                ms[ms.size() / 2], ms.front(), ms.back(), ms.size());
}
