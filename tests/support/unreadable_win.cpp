#include "support/unreadable.h"
#include <QtTest>
#include <windows.h>

Unreadable::Unreadable(const std::string& path)
{
    const HANDLE file = CreateFileW(QString::fromStdString(path).toStdWString().c_str(), GENERIC_READ, 0, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        qFatal("cannot hold %s", path.c_str());
    held_ = file;
}

Unreadable::~Unreadable()
{
    CloseHandle(held_);
}

QString Unreadable::reason()
{
    wchar_t text[512];
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        ERROR_SHARING_VIOLATION, 0, text, 512, nullptr);
    return QString::fromWCharArray(text, int(length)).trimmed();
}
