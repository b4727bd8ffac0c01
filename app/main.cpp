#include "app/form1.h"
#include "image/picture_reader.h"
#include "platform/command_line.h"
#include "platform/error_report.h"
#include "platform/qt_translations.h"
#include "view3d/accessible_view.h"
#include "widgets/accessible_controls.h"
#include <cstdio>
#include <cstdlib>
#include <string_view>
#if defined(__unix__) && !defined(__APPLE__)
#include <xcb/xcb.h>
#endif

// Qt aborts inside the application's constructor, after a screen of warnings,
// when it cannot reach the X server. Try the connection first and say in one
// line what to do. Another platform chosen by the user reports for itself.
static bool displayReachable()
{
#if defined(__unix__) && !defined(__APPLE__)
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform && !std::string_view(platform).starts_with("xcb"))
        return true;
    if (!platform && std::getenv("WAYLAND_DISPLAY"))
        return true;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool reachable = !xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (!reachable) {
        const char* display = std::getenv("DISPLAY");
        if (display && *display)
            std::fprintf(stderr, "ruk-viewer: cannot open the display '%s'; ", display);
        else
            std::fprintf(stderr, "ruk-viewer: no display (DISPLAY is not set); ");
        std::fprintf(stderr, "run it inside a graphical session or set DISPLAY\n");
    }
    return reachable;
#else
    return true;
#endif
}

int main(int argc, char** argv)
{
    if (!displayReachable())
        return EXIT_FAILURE;
    const std::vector<std::string> arguments = platform::programArguments(argc, argv);
    platform::Application app(argc, argv);
    image::setDecoderAllocationLimit();
    platform::installQtTranslations(app);
    widgets::installAccessibleControls();
    view3d::installAccessibleView();
    TForm1 form;
    form.FormCreate(arguments);
    form.show();
    return app.exec();
}
