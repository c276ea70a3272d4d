#include "ledger_window.h"

#include "chart_tab.h"
#include "holdings_tab.h"
#include "ledger_document.h"
#include "report_tab.h"
#include "rows_model.h"
#include "rows_tab.h"
#include "save_ledger.h"
#include "settings_dialog.h"

#include "widgets/message_box.h"
#include "widgets/working_window.h"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>

namespace {

const QString kTitle = QStringLiteral("Miroven 取引記帳");
const QString kCsvFilter = QStringLiteral("CSV ファイル (*.csv *.CSV);;すべてのファイル (*)");

// The local files among dropped URLs.
QStringList localFiles(const QMimeData* data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    const QList<QUrl> urls = data->urls();
    for (const QUrl& url : urls) {
        if (url.isLocalFile())
            files << url.toLocalFile();
    }
    return files;
}

} // namespace

LedgerWindow::LedgerWindow(QSettings& settings, QWidget* parent)
    : QMainWindow(parent), store_(settings), document_(new LedgerDocument(loadLedgerPreferences(settings), this))
{
    setObjectName(QStringLiteral("frmLedger"));
    setWindowTitle(kTitle);
    setAcceptDrops(true);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabs"));
    tabs_->setAccessibleName(QStringLiteral("表示の切り替え"));
    rows_ = new RowsTab(tabs_);
    holdings_ = new HoldingsTab(tabs_);
    report_ = new ReportTab(tabs_);
    chart_ = new ChartTab(tabs_);
    tabs_->addTab(rows_, QStringLiteral("取引(&1)"));
    tabs_->addTab(holdings_, QStringLiteral("保有(&2)"));
    tabs_->addTab(report_, QStringLiteral("年間報告(&3)"));
    tabs_->addTab(chart_, QStringLiteral("グラフ(&4)"));
    setCentralWidget(tabs_);

    summary_ = new QLabel(QStringLiteral("ファイルを開くか、この窓にドロップしてください"), this);
    summary_->setObjectName(QStringLiteral("lblSummary"));
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("prgReplay"));
    progress_->setAccessibleName(QStringLiteral("読み込みの進み具合"));
    progress_->setRange(0, 1000);
    progress_->setMaximumWidth(240);
    cancel_ = new QPushButton(QStringLiteral("中止(&Q)"), this);
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    connect(cancel_, &QPushButton::clicked, this, &LedgerWindow::cmdCancel_Click);
    statusBar()->addWidget(summary_, 1);
    statusBar()->addPermanentWidget(progress_);
    statusBar()->addPermanentWidget(cancel_);
    showBusy(false);

    buildMenus();
    connect(document_, &LedgerDocument::busyChanged, this, &LedgerWindow::showBusy);
    connect(document_, &LedgerDocument::progressed, progress_, &QProgressBar::setValue);
    connect(document_, &LedgerDocument::replayed, this, &LedgerWindow::showReplay);
    connect(document_, &LedgerDocument::refused, this,
            [this](const QString& message) { showProgramMessage(this, message, QMessageBox::Warning); });
    connect(rows_, &RowsTab::workingRequested, this, &LedgerWindow::mnuWorking_Click);
    connect(rows_, &RowsTab::copyRequested, this, &LedgerWindow::mnuCopy_Click);
    resize(1000, 640);
}

LedgerWindow::~LedgerWindow() = default;

void LedgerWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->setObjectName(QStringLiteral("mnuFile"));
    const auto add = [this](QMenu* menu, const QString& text, const QString& name, auto slot,
                            const QKeySequence& keys = {}) {
        QAction* action = menu->addAction(text, this, slot);
        action->setObjectName(name);
        action->setShortcut(keys);
        return action;
    };
    add(file, QStringLiteral("開く(&O)..."), QStringLiteral("actOpen"), &LedgerWindow::mnuOpen_Click,
        QKeySequence::Open);
    add(file, QStringLiteral("銘柄名の変更を開く(&M)..."), QStringLiteral("actFundNames"),
        &LedgerWindow::mnuFundNames_Click);
    add(file, QStringLiteral("読み込みの記録(&L)..."), QStringLiteral("actReadingLog"), &LedgerWindow::mnuReadingLog_Click);
    file->addSeparator();
    add(file, QStringLiteral("行を保存(&S)..."), QStringLiteral("actSaveRows"), &LedgerWindow::mnuSaveRows_Click,
        QKeySequence::Save);
    add(file, QStringLiteral("年間報告を保存(&R)..."), QStringLiteral("actSaveReport"),
        &LedgerWindow::mnuSaveReport_Click);
    add(file, QStringLiteral("すべて閉じる(&C)"), QStringLiteral("actCloseAll"), &LedgerWindow::mnuCloseAll_Click);
    file->addSeparator();
    add(file, QStringLiteral("終了(&X)"), QStringLiteral("actQuit"), &QWidget::close, QKeySequence::Quit);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    add(edit, QStringLiteral("コピー(&C)"), QStringLiteral("actCopy"), &LedgerWindow::mnuCopy_Click, QKeySequence::Copy);
    add(edit, QStringLiteral("計算過程(&W)"), QStringLiteral("actWorking"), &LedgerWindow::mnuWorking_Click,
        QKeySequence(Qt::CTRL | Qt::Key_E));
    edit->addSeparator();
    add(edit, QStringLiteral("設定(&P)..."), QStringLiteral("actSettings"), &LedgerWindow::mnuSettings_Click);
}

void LedgerWindow::openFiles(const QStringList& paths)
{
    if (!paths.isEmpty())
        document_->open(paths);
}

void LedgerWindow::mnuOpen_Click()
{
    const QString folder = store_.value(QStringLiteral("files/folder")).toString();
    const QStringList paths = QFileDialog::getOpenFileNames(this, QStringLiteral("取引のファイルを開く"), folder, kCsvFilter);
    if (paths.isEmpty())
        return;
    store_.setValue(QStringLiteral("files/folder"), QFileInfo(paths.front()).absolutePath());
    openFiles(paths);
}

void LedgerWindow::mnuFundNames_Click()
{
    if (document_->files().isEmpty()) {
        showProgramMessage(this, QStringLiteral("先に取引のファイルを開いてください"), QMessageBox::NoIcon);
        return;
    }
    const QString folder = store_.value(QStringLiteral("files/folder")).toString();
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("銘柄名の変更を開く（1 行に古い名前,新しい名前）"), folder, kCsvFilter);
    if (!path.isEmpty())
        document_->setFundNames(path);
}

void LedgerWindow::mnuReadingLog_Click()
{
    const Replay& replay = *document_->replay();
    QStringList lines;
    if (!replay.conventions().isEmpty())
        lines << replay.conventions();
    lines << QStringLiteral("読み飛ばした行（投資信託の取引でない行）: %1").arg(replay.passedOver().size());
    if (!document_->fundNames().isEmpty())
        lines << QStringLiteral("銘柄名の変更: %1").arg(QFileInfo(document_->fundNames()).fileName());
    if (!replay.request().nav.isEmpty())
        lines << QStringLiteral("基準価額の履歴: %1").arg(QFileInfo(replay.request().nav).fileName());
    QMessageBox box(QMessageBox::Information, QStringLiteral("Miroven-読み込みの記録"), lines.join(u'\n'),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("frmReadingLog"));
    if (!replay.passedOver().isEmpty())
        box.setDetailedText(replay.passedOver().join(u'\n'));
    box.exec();
}

void LedgerWindow::mnuSaveRows_Click() { save(false); }
void LedgerWindow::mnuSaveReport_Click() { save(true); }

void LedgerWindow::save(bool report)
{
    const InputRequest& request = document_->replay()->request();
    const QStringList& files = request.files;
    if (files.isEmpty()) {
        showProgramMessage(this, QStringLiteral("保存する取引がありません。先にファイルを開いてください"),
                           QMessageBox::NoIcon);
        return;
    }
    const QFileInfo first(files.front());
    const QString suggested = first.absolutePath() + u'/' + first.completeBaseName()
                              + (report ? QStringLiteral("-年間報告.csv") : QStringLiteral("-記帳.csv"));
    const QString path = QFileDialog::getSaveFileName(
        this, report ? QStringLiteral("年間報告を保存") : QStringLiteral("行を保存"), suggested, kCsvFilter);
    if (path.isEmpty())
        return;
    const SaveOutcome outcome = saveLedger(request, document_->settings(), report, path);
    if (!outcome.problem.isEmpty())
        showProgramMessage(this, outcome.problem, QMessageBox::Warning);
    else
        summary_->setText(QStringLiteral("%1 に保存しました").arg(QFileInfo(path).fileName()));
}

void LedgerWindow::mnuCloseAll_Click() { document_->closeAll(); }

void LedgerWindow::mnuSettings_Click()
{
    if (document_->busy()) {
        showProgramMessage(this, QStringLiteral("読み込みの途中です。終わるか中止してから、設定を変えてください"),
                           QMessageBox::NoIcon);
        return;
    }
    SettingsDialog dialog(document_->settings(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const LedgerPreferences chosen = dialog.chosen();
    storeLedgerPreferences(store_, chosen);
    if (chosen == document_->settings())
        return;
    document_->setSettings(chosen);
}

void LedgerWindow::mnuCopy_Click()
{
    if (tabs_->currentWidget() != rows_)
        return;
    const QList<int> rows = rows_->selectedRows();
    if (rows.isEmpty())
        return;
    QApplication::clipboard()->setText(rows_->model().tabSeparated(rows));
}

void LedgerWindow::mnuWorking_Click()
{
    const int row = rows_->currentRow();
    if (tabs_->currentWidget() != rows_ || row < 0)
        return;
    const RowWorking working = rowWorking(*document_->replay(), row);
    if (!working.problem.isEmpty()) {
        showProgramMessage(this, working.problem, QMessageBox::Warning);
        return;
    }
    WorkingWindow window(working.text, this);
    window.exec();
}

void LedgerWindow::cmdCancel_Click() { document_->cancel(); }

void LedgerWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void LedgerWindow::dropEvent(QDropEvent* event)
{
    const QStringList files = localFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    openFiles(files);
}

void LedgerWindow::showBusy(bool busy)
{
    progress_->setVisible(busy);
    cancel_->setVisible(busy);
    progress_->setValue(0);
    if (busy)
        summary_->setText(QStringLiteral("読み込んでいます..."));
    else
        showReplay();
}

void LedgerWindow::showReplay()
{
    const std::shared_ptr<const Replay>& replay = document_->replay();
    if (document_->busy())
        return;
    if (&rows_->model().replay() != replay.get()) {
        rows_->setReplay(replay);
        holdings_->setReplay(replay);
        report_->setReplay(replay);
        chart_->setReplay(replay);
    }
    QStringList names;
    for (const QString& file : document_->files())
        names << QFileInfo(file).fileName();
    setWindowTitle(names.isEmpty() ? kTitle : names.join(QStringLiteral("、")) + QStringLiteral(" - ") + kTitle);
    if (names.isEmpty()) {
        summary_->setText(QStringLiteral("ファイルを開くか、この窓にドロップしてください"));
        summary_->setToolTip(QString());
        return;
    }
    QString summary = QStringLiteral("%1 行（記帳できない行 %2").arg(replay->rowCount()).arg(replay->refusedCount());
    if (!replay->passedOver().isEmpty())
        summary += QStringLiteral("、読み飛ばした行 %1").arg(replay->passedOver().size());
    summary_->setText(summary + u'）');
    // The first rows passed over, and where to see them all.
    QStringList tip;
    if (!replay->conventions().isEmpty())
        tip << replay->conventions();
    constexpr qsizetype kShown = 10;
    tip << replay->passedOver().mid(0, kShown);
    if (replay->passedOver().size() > kShown)
        tip << QStringLiteral("…（すべては「ファイル」の「読み込みの記録」に）");
    summary_->setToolTip(tip.join(u'\n'));
}
