#pragma once

#include "ledger_preferences.h"
#include "replay.h"

#include <QFutureWatcher>
#include <QObject>
#include <QStringList>

#include <memory>

// The files open in a window and their replay. Each change (files added, settings
// changed) replays every file again off the interface thread; the replay shown stays
// until a new one has succeeded, so a file that cannot be read, or a replay cancelled,
// changes nothing.
class LedgerDocument : public QObject {
    Q_OBJECT

public:
    explicit LedgerDocument(const LedgerPreferences& settings, QObject* parent = nullptr);
    ~LedgerDocument() override;

    // The files opened (events and a price history), and the renames (or none).
    [[nodiscard]] const QStringList& files() const { return files_; }
    [[nodiscard]] const QString& fundNames() const { return fundNames_; }
    [[nodiscard]] const LedgerPreferences& settings() const { return settings_; }
    [[nodiscard]] const std::shared_ptr<const Replay>& replay() const { return replay_; }
    [[nodiscard]] bool busy() const { return watcher_.isRunning(); }

    // The open files and `paths` (those already open once), replayed.
    void open(const QStringList& paths);
    // Replays the open files under `settings`.
    void setSettings(const LedgerPreferences& settings);
    // Replays the open files with the funds renamed by the table at `path` (none: empty).
    void setFundNames(const QString& path);
    // Closes every file.
    void closeAll();
    // Stops the replay under way; what was shown stays.
    void cancel();
    // Waits for the replay under way (tests and shutdown).
    void wait();

signals:
    void busyChanged(bool busy);
    void progressed(int permille);
    // A new replay is shown.
    void replayed();
    // The replay asked for did not happen: why, in one message. Nothing changed.
    void refused(const QString& message);

private:
    void start(const QStringList& files, const LedgerPreferences& settings, const QString& fundNames);
    void finished();

    QStringList files_;
    QString fundNames_;
    LedgerPreferences settings_;
    std::shared_ptr<const Replay> replay_;
    // What the replay under way was asked for; kept once it succeeds.
    QStringList pendingFiles_;
    QString pendingFundNames_;
    LedgerPreferences pendingSettings_;
    QFutureWatcher<ReplayOutcome> watcher_;
};
