#include "fund_name.h"

QString fundNameKey(QStringView name)
{
    QString key = name.toString().normalized(QString::NormalizationForm_KC);
    key.removeIf([](QChar c) { return c.isSpace(); });
    return key;
}
