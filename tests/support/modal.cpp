#include "modal.h"

#include "controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimerEvent>
#include <QtTest>

namespace support {

namespace {

QList<ModalWatch*>& liveWatches()
{
    static QList<ModalWatch*> watches;
    return watches;
}

QByteArray currentTestFunction()
{
    const char* name = QTest::currentTestFunction();
    return name ? QByteArray(name) : QByteArray();
}

// Fails the running test, if one is running; otherwise only says so.
void failTest(const QString& message, const char* file, int line)
{
    if (QTest::currentTestFunction())
        QTest::qFail(qPrintable(message), file, line);
    else
        qWarning("%s", qPrintable(message));
}

QString describe(const QWidget* window)
{
    QString text = QStringLiteral("%1 \"%2\"").arg(
        window->objectName().isEmpty() ? QString::fromLatin1(window->metaObject()->className())
                                       : window->objectName(),
        window->windowTitle());
    if (const auto* box = qobject_cast<const QMessageBox*>(window))
        text += QStringLiteral(" saying \"%1\"").arg(box->text());
    return text;
}

QList<QPointer<QWidget>> openModalWindows()
{
    QList<QPointer<QWidget>> open;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->isModal())
            open << w;
    return open;
}

} // namespace

QString ModalSeen::firstFailure() const
{
    if (!failure.isEmpty())
        return failure;
    for (const ModalSeen& window : inner)
        if (const QString f = window.firstFailure(); !f.isEmpty())
            return QStringLiteral("%1, then %2").arg(name, f);
    return {};
}

ModalWatch::ModalWatch(QStringList read, Action act, int limitMs, const SourceLocation& where)
    : read_(std::move(read)), act_(std::move(act)), limitMs_(limitMs), where_(where),
      alreadyOpen_(openModalWindows()), testFunction_(currentTestFunction())
{
    clock_.start();
    poll_.start(10, this);
    liveWatches().append(this);
}

ModalWatch::~ModalWatch()
{
    liveWatches().removeOne(this);
    poll_.stop();
    if (window_ && window_->isVisible())
        closeWindow(window_);
    if (reported_ || testFunction_ != currentTestFunction() || QTest::currentTestFailed())
        return;
    // Nobody asked closed(): the failure must not go unseen.
    if (state_ == State::Waiting)
        seen_.failure = QStringLiteral("no modal window appeared");
    if (const QString failure = seen_.firstFailure(); !failure.isEmpty())
        failTest(failure, where_.file_name(), int(where_.line()));
}

bool ModalWatch::isNew(const QWidget* modal) const
{
    return std::none_of(alreadyOpen_.cbegin(), alreadyOpen_.cend(),
                        [modal](const QPointer<QWidget>& w) { return w == modal; });
}

void ModalWatch::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != poll_.timerId() || state_ != State::Waiting)
        return;
    if (detached_ && testFunction_ != currentTestFunction()) {
        // Its test has ended: what the action would touch may be gone.
        finish(QStringLiteral("no modal window appeared before its test ended"));
        return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible() && isNew(modal))
        take(modal);
    else if (clock_.elapsed() > limitMs_)
        finish(QStringLiteral("no modal window appeared within %1 ms").arg(limitMs_));
}

void ModalWatch::take(QWidget* window)
{
    poll_.stop();
    state_ = State::Acting;
    window_ = window;
    seen_.className = QString::fromLatin1(window->metaObject()->className());
    seen_.name = window->objectName();
    seen_.title = window->windowTitle();
    if (const auto* box = qobject_cast<const QMessageBox*>(window)) {
        seen_.text = box->text();
        seen_.icon = box->icon();
    }
    seen_.focus = focusName(window);
    seen_.texts = textsOf(window, read_);
    if (act_)
        act_(window, seen_);
    QString failure;
    if (window_ && window_->isVisible()) {
        failure = QStringLiteral("%1 was still open after its action; closed it")
                      .arg(describe(window_));
        closeWindow(window_);
    }
    finish(failure);
}

void ModalWatch::finish(const QString& failure)
{
    poll_.stop();
    state_ = State::Done;
    if (seen_.failure.isEmpty())
        seen_.failure = failure;
    if (detached_) {
        // No test function holds this watch: report at once, then go.
        reported_ = true;
        if (const QString f = seen_.firstFailure(); !f.isEmpty()) {
            if (testFunction_ == currentTestFunction())
                failTest(f, where_.file_name(), int(where_.line()));
            else
                qWarning("%s", qPrintable(f));
        }
        deleteLater();
    }
}

bool ModalWatch::closed()
{
    if (state_ == State::Acting) {
        seen_.failure = QStringLiteral("closed() was asked from inside its own action");
    } else if (state_ == State::Waiting) {
        const int left = int(qMax<qint64>(0, limitMs_ - clock_.elapsed()));
        // The poll ends the wait at the limit; the margin only covers a late tick.
        (void)QTest::qWaitFor([this] { return state_ != State::Waiting; }, left + 200);
        if (state_ == State::Waiting)
            finish(QStringLiteral("no modal window appeared within %1 ms").arg(limitMs_));
    }
    reported_ = true;
    return seen_.firstFailure().isEmpty();
}

const char* ModalWatch::why() const
{
    why_ = seen_.firstFailure().toUtf8();
    return why_.constData();
}

ModalWatch::Action ModalWatch::pressOk()
{
    return [](QWidget* window, ModalSeen& seen) {
        if (auto* box = qobject_cast<QMessageBox*>(window)) {
            if (QAbstractButton* ok = box->button(QMessageBox::Ok))
                QTest::mouseClick(ok, Qt::LeftButton);
            else
                seen.failure = QStringLiteral("%1 has no OK button").arg(describe(window));
            return;
        }
        press(QStringLiteral("cmdOK"))(window, seen);
    };
}

ModalWatch::Action ModalWatch::press(const QString& name)
{
    return [name](QWidget* window, ModalSeen& seen) {
        if (auto* button = window->findChild<QAbstractButton*>(name))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            seen.failure = QStringLiteral("%1 has no button %2").arg(describe(window), name);
    };
}

ModalWatch::Action ModalWatch::closeBox()
{
    return [](QWidget* window, ModalSeen&) { window->close(); };
}

ModalSeen pressAndWatch(const QWidget* window, const QString& button, const QStringList& read,
                        const ModalWatch::Action& act, const SourceLocation& where)
{
    ModalWatch watch(read, act, kModalLimitMs, where);
    click(window, button, where);
    (void)watch.closed();
    return watch.seen();
}

void closeWindow(QWidget* window)
{
    if (!window)
        return;
    window->close();
    if (window && window->isVisible())
        window->hide();
}

// Closes a modal window that no watch takes once it has stayed open for the limit, and
// fails the running test: such a window would otherwise hold the test until CTest's
// time-out, and every test after it in the same program would never run.
class ModalGuard : public QObject {
public:
    explicit ModalGuard(QObject* parent) : QObject(parent) { poll_.start(50, this); }

protected:
    void timerEvent(QTimerEvent* event) override
    {
        if (event->timerId() != poll_.timerId())
            return;
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || claimed(modal)) {
            unwatched_ = nullptr;
            return;
        }
        if (unwatched_ != modal) {
            unwatched_ = modal;
            since_.start();
            return;
        }
        if (since_.elapsed() < kModalLimitMs)
            return;
        const QString what = describe(modal);
        unwatched_ = nullptr;
        closeWindow(modal);
        failTest(QStringLiteral("%1 opened with no watch for it and stayed open %2 ms; closed it")
                     .arg(what)
                     .arg(kModalLimitMs),
                 __FILE__, __LINE__);
    }

private:
    static bool claimed(const QWidget* modal)
    {
        const QList<ModalWatch*>& watches = liveWatches();
        return std::any_of(watches.cbegin(), watches.cend(), [modal](const ModalWatch* w) {
            return (w->state_ == ModalWatch::State::Waiting && w->isNew(modal))
                   || (w->state_ == ModalWatch::State::Acting && w->window_ == modal);
        });
    }

    QBasicTimer poll_;
    QPointer<QWidget> unwatched_;
    QElapsedTimer since_;
};

namespace {
void startModalGuard() { new ModalGuard(QCoreApplication::instance()); }
} // namespace
Q_COREAPP_STARTUP_FUNCTION(startModalGuard)

} // namespace support

void whenModalAppears(std::function<void(QWidget*)> act, int timeoutMs,
                      const support::SourceLocation& where)
{
    auto* watch = new support::ModalWatch(
        {}, [act = std::move(act)](QWidget* window, support::ModalSeen&) { act(window); },
        timeoutMs, where);
    // Deleted when done, or with the application if it never is.
    watch->setParent(QCoreApplication::instance());
    watch->detached_ = true;
}
