#include "support/unreadable.h"
#include <QDir>

QString Unreadable::report(const std::string& absolutePath)
{
    return "ファイル " + QDir::toNativeSeparators(QString::fromStdString(absolutePath)) + " は開けません。 " + reason() + " ";
}
