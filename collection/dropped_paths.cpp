#include "collection/dropped_paths.h"
#include <QMimeData>
#include <QUrl>

std::vector<std::string> droppedPaths(const QMimeData& data)
{
    std::vector<std::string> paths;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile())
            continue;
        // Percent-decoded from the encoded form: a name that is not valid
        // UTF-8 keeps its bytes.
        const QByteArray encoded = url.path(QUrl::FullyEncoded).toLatin1();
        paths.push_back(QByteArray::fromPercentEncoding(encoded).toStdString());
    }
    return paths;
}
