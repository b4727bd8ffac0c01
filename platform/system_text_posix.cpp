#include "platform/system_text.h"
#include <QFile>
#include <system_error>

namespace platform {

QString pathText(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QString errorText(int code)
{
    return QString::fromStdString(std::generic_category().message(code));
}

}
