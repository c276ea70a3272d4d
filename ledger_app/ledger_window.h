#pragma once

#include "ledger_preferences.h"

#include <QMainWindow>

class LedgerDocument;
class QLabel;
class QProgressBar;
class QPushButton;
class QSettings;
class QTabWidget;
class RowsTab;
class HoldingsTab;
class ReportTab;
class ChartTab;

// 「Miroven 取引記帳」: the opened files' events (the ledger's own files and brokers'
// downloads, with a price history and renamed funds beside them) replayed as the command
// line replays them, in four tabs (取引, 保有, 年間報告, グラフ). Files come from the
// command line, the file dialog or a drop; each addition replays everything, off the
// interface thread, with a progress bar and 中止. A file that cannot be read is refused
// in a message and changes nothing shown. The status bar counts the rows refused and
// those passed over; 読み込みの記録 lists the latter with the brokers' conventions used.
class LedgerWindow : public QMainWindow {
    Q_OBJECT

public:
    // `settings` holds the choices between runs; the window reads and writes it.
    explicit LedgerWindow(QSettings& settings, QWidget* parent = nullptr);
    ~LedgerWindow() override;

    // Adds the files to those open and replays them all.
    void openFiles(const QStringList& paths);
    [[nodiscard]] LedgerDocument& document() { return *document_; }

    void mnuOpen_Click();
    void mnuFundNames_Click();
    void mnuReadingLog_Click();
    void mnuSaveRows_Click();
    void mnuSaveReport_Click();
    void mnuCloseAll_Click();
    void mnuSettings_Click();
    void mnuCopy_Click();
    void mnuWorking_Click();
    void cmdCancel_Click();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void showReplay();
    void showBusy(bool busy);
    void save(bool report);

    QSettings& store_;
    LedgerDocument* document_;
    QTabWidget* tabs_;
    RowsTab* rows_;
    HoldingsTab* holdings_;
    ReportTab* report_;
    ChartTab* chart_;
    QLabel* summary_;
    QProgressBar* progress_;
    QPushButton* cancel_;
};
