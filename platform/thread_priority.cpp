#include "platform/thread_priority.h"
#include <QThread>
#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace platform {

void giveWayToInteraction()
{
#ifdef __linux__
    // Linux keeps a niceness for each thread, which Qt's thread priorities
    // leave alone. Refused only by a security policy: the thread then keeps
    // its priority, which costs smoothness, nothing else.
    constexpr int niceness = 10;
    (void)setpriority(PRIO_PROCESS, id_t(gettid()), niceness);
#else
    QThread::currentThread()->setPriority(QThread::LowPriority);
#endif
}

}
