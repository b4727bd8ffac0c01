#include "platform/modal_box.h"
#include "platform/real_box.h"

namespace platform {

static std::function<BoxAnswer(const BoxRequest&)>& answerer()
{
    static std::function<BoxAnswer(const BoxRequest&)> instance;
    return instance;
}

void setModalBoxAnswerer(std::function<BoxAnswer(const BoxRequest&)> replacement)
{
    answerer() = std::move(replacement);
}

BoxAnswer showModalBox(const BoxRequest& request)
{
    if (answerer())
        return answerer()(request);
    return showRealBox(request);
}

}
