#include "startup.h"

#include "instance_lock.h"
#include "main_window.h"

#include <QApplication>
#include <QMessageBox>

int runMiroven(CalcRecord& record, const QString& lockDirectory)
{
    InstanceLock lock(lockDirectory);
    // When no lock can be made at all (no runtime directory, say), start anyway:
    // refusing would shut out the user for no reason of theirs.
    if (lock.acquire() == InstanceLock::Result::HeldByAnother) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("ロードエラー"),
                        QStringLiteral("このアプリケーションはすでに開かれています。"),
                        QMessageBox::Ok);
        box.setObjectName(QStringLiteral("duplicateStart"));
        box.exec();
        return 0;
    }
    frmmain window(record);
    window.show();
    return QApplication::exec();
}
