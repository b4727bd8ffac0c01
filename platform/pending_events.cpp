#include "platform/pending_events.h"
#include <QCoreApplication>

namespace platform {

void processPendingEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}
