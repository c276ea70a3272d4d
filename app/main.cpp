#include "app/application_setup.h"
#include "app/instance_lock.h"
#include "app/startup.h"
#include "core/calc_record.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    CalcRecord record;
    return runMiroven(record, InstanceLock::defaultDirectory());
}
