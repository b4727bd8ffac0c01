#include "app/form1.h"
#include "toolkit/error_report.h"

int main(int argc, char** argv)
{
    // The shell has split the arguments already; keep their bytes unchanged.
    std::vector<std::string> arguments(argv + 1, argv + argc);
    toolkit::Application app(argc, argv);
    TForm1 form(std::move(arguments));
    form.show();
    return app.exec();
}
