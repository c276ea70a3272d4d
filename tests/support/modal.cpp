#include "modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>


void whenModalAppears(std::function<void(QWidget*)> act, int timeoutMs)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act = std::move(act), clock, timeoutMs]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        } else if (clock.elapsed() > timeoutMs) {
            qWarning("no modal window appeared within %d ms", timeoutMs);
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

void dismissNextMessage(QString* text, QString* title, int* icon)
{
    whenModalAppears([text, title, icon](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            qWarning("expected a message box, got %s", modal->metaObject()->className());
            modal->close();
            return;
        }
        if (text)
            *text = box->text();
        if (title)
            *title = box->windowTitle();
        if (icon)
            *icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
}

int visibleTopLevelCount()
{
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        count += w->isVisible() ? 1 : 0;
    return count;
}
