#include "platform/modal_box.h"
#include <windows.h>

namespace platform {

// MessageBoxW's OK box answers Enter and Escape with OK by itself.
BoxAnswer showModalBox(const BoxRequest& request)
{
    const auto text = reinterpret_cast<LPCWSTR>(request.text.utf16());
    const auto title = reinterpret_cast<LPCWSTR>(request.title.utf16());
    if (request.kind == BoxRequest::Ok) {
        MessageBoxW(nullptr, text, title, MB_OK);
        return BoxAnswer::Ok;
    }
    return MessageBoxW(nullptr, text, title, MB_YESNO) == IDYES ? BoxAnswer::Yes : BoxAnswer::No;
}

}
