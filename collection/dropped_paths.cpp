#include "collection/dropped_paths.h"
#include "platform/native_text.h"
#include <QDir>
#include <QMimeData>
#include <QUrl>

// A local URL's path as the platform spells it.
static std::string nativePath(const QUrl& url)
{
#ifdef _WIN32
    return platform::nativeText(QDir::toNativeSeparators(url.toLocalFile()).toStdU16String());
#else
    // Percent-decoded from the encoded form: a name that is not valid UTF-8
    // keeps its bytes.
    const QByteArray encoded = url.path(QUrl::FullyEncoded).toLatin1();
    return QByteArray::fromPercentEncoding(encoded).toStdString();
#endif
}

std::vector<std::string> droppedPaths(const QMimeData& data)
{
    std::vector<std::string> paths;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile())
            paths.push_back(nativePath(url));
    return paths;
}
