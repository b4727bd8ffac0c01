#include "platform/modal_box.h"
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <cstdlib>
#include <cstring>

namespace platform {

static xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return found;
}

// Qt on X11 gives a window with an empty title the program's name; the
// window's properties are emptied again before it is mapped.
static void keepTitleEmpty(QWidget& box)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !box.windowTitle().isEmpty())
        return;
    xcb_connection_t* connection = x11->connection();
    const auto window = static_cast<xcb_window_t>(box.winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atom(connection, "_NET_WM_NAME"),
                        atom(connection, "UTF8_STRING"), 8, 0, nullptr);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0,
                        nullptr);
    xcb_flush(connection);
}

BoxAnswer showModalBox(const BoxRequest& request)
{
    QMessageBox box(QMessageBox::NoIcon, request.title, request.text, QMessageBox::NoButton);
    keepTitleEmpty(box);
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

}
