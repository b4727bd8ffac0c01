#include "toolkit/modal_box.h"
#include <QMessageBox>
#include <QPushButton>

namespace toolkit {

static std::function<BoxAnswer(const BoxRequest&)>& answerer()
{
    static std::function<BoxAnswer(const BoxRequest&)> instance;
    return instance;
}

void setModalBoxAnswerer(std::function<BoxAnswer(const BoxRequest&)> replacement)
{
    answerer() = std::move(replacement);
}

// No owner window, so the box is centred on the screen; no icon.
static BoxAnswer showRealBox(const BoxRequest& request)
{
    QMessageBox box(QMessageBox::NoIcon, request.title, request.text, QMessageBox::NoButton);
    if (request.kind == BoxRequest::Ok) {
        QPushButton* ok = box.addButton(QMessageBox::Ok);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
        box.exec();
        return BoxAnswer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? BoxAnswer::Yes : BoxAnswer::No;
}

BoxAnswer showModalBox(const BoxRequest& request)
{
    if (answerer())
        return answerer()(request);
    return showRealBox(request);
}

}
