#include "ledger_document.h"

#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>

LedgerDocument::LedgerDocument(const LedgerPreferences& settings, QObject* parent)
    : QObject(parent), settings_(settings), replay_(std::make_shared<const Replay>())
{
    connect(&watcher_, &QFutureWatcherBase::finished, this, &LedgerDocument::finished);
    connect(&watcher_, &QFutureWatcherBase::progressValueChanged, this, &LedgerDocument::progressed);
}

LedgerDocument::~LedgerDocument()
{
    watcher_.disconnect(this);
    cancel();
    wait();
}

void LedgerDocument::open(const QStringList& paths)
{
    QStringList files = files_;
    for (const QString& path : paths) {
        const QString absolute = QFileInfo(path).absoluteFilePath();
        if (!files.contains(absolute))
            files.append(absolute);
    }
    start(files, settings_, fundNames_);
}

void LedgerDocument::setSettings(const LedgerPreferences& settings) { start(files_, settings, fundNames_); }

void LedgerDocument::setFundNames(const QString& path)
{
    start(files_, settings_, path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath());
}

void LedgerDocument::closeAll()
{
    cancel();
    wait();
    files_.clear();
    fundNames_.clear();
    replay_ = std::make_shared<const Replay>();
    emit replayed();
}

void LedgerDocument::cancel()
{
    if (watcher_.isRunning())
        watcher_.cancel();
}

void LedgerDocument::wait() { watcher_.waitForFinished(); }

void LedgerDocument::start(const QStringList& files, const LedgerPreferences& settings, const QString& fundNames)
{
    if (busy()) {
        emit refused(QStringLiteral("読み込みの途中です。終わるか中止してから、もう一度操作してください"));
        return;
    }
    pendingFiles_ = files;
    pendingFundNames_ = fundNames;
    pendingSettings_ = settings;
    const ledger::BookOptions options = bookOptions(settings);
    InputRequest request;
    request.fundNames = fundNames;
    request.given = settings.given;
    watcher_.setFuture(QtConcurrent::run([files, request, options](QPromise<ReplayOutcome>& promise) mutable {
        promise.setProgressRange(0, 1000);
        if (const QString why = sortOpened(files, request); !why.isEmpty()) {
            promise.addResult(ReplayOutcome{nullptr, why});
            return;
        }
        ReplayControl control;
        control.cancelled = [&promise] { return promise.isCanceled(); };
        control.progress = [&promise](int permille) { promise.setProgressValue(permille); };
        promise.addResult(replayFiles(request, options, control));
    }));
    emit busyChanged(true);
}

void LedgerDocument::finished()
{
    emit busyChanged(false);
    if (watcher_.isCanceled() || watcher_.future().resultCount() == 0)
        return;
    const ReplayOutcome outcome = watcher_.result();
    if (!outcome.replay) {
        emit refused(outcome.problem);
        return;
    }
    files_ = pendingFiles_;
    fundNames_ = pendingFundNames_;
    settings_ = pendingSettings_;
    replay_ = outcome.replay;
    emit replayed();
}
