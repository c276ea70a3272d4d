#pragma once

// Modal windows in tests. A modal window runs its own event loop, so the code that
// opened it waits until it closes: a test that meets one it does not close hangs.
// ModalWatch belongs to the test function, takes the next modal window, records what
// it showed, runs an action on it and then always closes it; the test asserts on the
// record afterwards. A modal window that no watch takes is closed, and the test
// failed, by a guard that every test program linking this library runs.

#include "controls.h"
#include "support/source_location.h"

#include <QBasicTimer>
#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

#include <functional>

namespace support {

// How long a watch waits for its window, and how long the guard lets a modal window
// that nobody watches stay open. Far below CTest's time-out: a test that expects the
// wrong thing fails within seconds and the rest of its program still runs.
inline constexpr int kModalLimitMs = 3000;

} // namespace support

// Kept for callers not yet moved to ModalWatch: runs `act` on the next modal window,
// closes the window if `act` left it open, and fails the running test when none
// appears within `timeoutMs`. It never acts after the test function that called it
// has ended.
void whenModalAppears(std::function<void(QWidget*)> act, int timeoutMs = support::kModalLimitMs,
                      const support::SourceLocation& where = support::SourceLocation::current());

// Kept for callers written before the support namespace.
using support::visibleTopLevelCount;

namespace support {

// What a modal window showed when it appeared, and what happened while it was open.
struct ModalSeen {
    QString className;      // e.g. "QMessageBox"
    QString name;           // objectName, e.g. "frmBuyShow"
    QString title;
    QString text;           // a message box's text
    int icon = -1;          // a message box's QMessageBox::Icon; -1 for any other window
    QString focus;          // the window's focus widget when it appeared
    QStringList texts;      // the texts of the controls the watch was asked to read, in order
    QVariantMap notes;      // what the action chose to record
    QList<ModalSeen> inner; // modal windows met during the action, as their watches saw them
    QString failure;        // why this watch failed, or empty

    // The first failure here or in an inner window, or empty.
    [[nodiscard]] QString firstFailure() const;
};

class ModalWatch : public QObject {
public:
    // Runs on the window after it has been read. It must not assert (it runs inside the
    // window's event loop); it records into `seen` instead. It should close the window:
    // the watch closes one left open, and counts that as a failure.
    using Action = std::function<void(QWidget* window, ModalSeen& seen)>;

    // Starts watching for the next modal window to open.
    explicit ModalWatch(QStringList read = {}, Action act = pressOk(), int limitMs = kModalLimitMs,
                        const SourceLocation& where = SourceLocation::current());
    ~ModalWatch() override;
    ModalWatch(const ModalWatch&) = delete;
    ModalWatch& operator=(const ModalWatch&) = delete;

    // Waits, within the limit, until the window has appeared and been closed. False when
    // none appeared, when the action left it open, or when an inner watch failed; why()
    // then says what went wrong. Use as QVERIFY2(watch.closed(), watch.why()).
    [[nodiscard]] bool closed();
    [[nodiscard]] const char* why() const;
    [[nodiscard]] const ModalSeen& seen() const { return seen_; }

    // Presses "OK": a message box's OK button, or the button named cmdOK, by mouse.
    [[nodiscard]] static Action pressOk();
    // Presses the button named `name` by mouse.
    [[nodiscard]] static Action press(const QString& name);
    // Closes the window as its title bar's close box does.
    [[nodiscard]] static Action closeBox();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    friend class ModalGuard;
    friend void ::whenModalAppears(std::function<void(QWidget*)> act, int timeoutMs,
                                   const support::SourceLocation& where);
    enum class State { Waiting, Acting, Done };

    [[nodiscard]] bool isNew(const QWidget* modal) const;
    void take(QWidget* window);
    void finish(const QString& failure);

    const QStringList read_;
    const Action act_;
    const int limitMs_;
    const SourceLocation where_;
    const QList<QPointer<QWidget>> alreadyOpen_; // modal windows open before the watch began
    const QByteArray testFunction_;              // the test function that made the watch
    bool detached_ = false; // owned by no test function: reports and deletes itself
    QElapsedTimer clock_;
    QBasicTimer poll_; // a member: the timer cannot outlive its watch
    State state_ = State::Waiting;
    QPointer<QWidget> window_;
    ModalSeen seen_;
    bool reported_ = false;
    mutable QByteArray why_;
};

// Presses `button` in `window` and watches the modal window that opens. For use
// inside an action, whose record takes the result: seen.inner << pressAndWatch(...).
[[nodiscard]] ModalSeen pressAndWatch(
    const QWidget* window, const QString& button, const QStringList& read = {},
    const ModalWatch::Action& act = ModalWatch::pressOk(),
    const SourceLocation& where = SourceLocation::current());

// Closes a window for good: as its close box does, then, if it refused, by hiding it,
// which also ends its event loop.
void closeWindow(QWidget* window);

} // namespace support
