#include "support/unreadable.h"
#include "support/permissions.h"
#include <QtTest>
#include <sys/stat.h>

Unreadable::Unreadable(const std::string& path)
{
    if (chmod(path.c_str(), 0) != 0)
        qFatal("cannot take the modes of %s", path.c_str());
    held_ = new ModesEnforced;
}

Unreadable::~Unreadable()
{
    delete static_cast<ModesEnforced*>(held_);
}

QString Unreadable::reason()
{
    return QStringLiteral("Permission denied");
}
