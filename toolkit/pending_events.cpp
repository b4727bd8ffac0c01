#include "toolkit/pending_events.h"
#include <QCoreApplication>

namespace toolkit {

void processPendingEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}
