#include "platform/system_text.h"
#include "platform/native_text.h"
#include <windows.h>

namespace platform {

QString pathText(const std::string& path)
{
    return QString::fromStdU16String(utf16Text(path));
}

QString errorText(int code)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
            | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, DWORD(code), 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    if (length == 0)
        return QStringLiteral("error %1").arg(code);
    const QString message = QString::fromWCharArray(text, int(length)).trimmed();
    LocalFree(text);
    return message;
}

}
