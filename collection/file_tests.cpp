#include "collection/file_tests.h"

bool isPictureFileName(std::string_view name)
{
#ifdef _WIN32
    const size_t at = name.find_last_of(".\\:");
#else
    const size_t at = name.find_last_of("./");
#endif
    if (at == name.npos || name[at] != '.' || name.size() - at != 4)
        return false;
    std::string extension(name.substr(at));
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c += 'a' - 'A';
    return extension == ".jpg" || extension == ".bmp" || extension == ".png";
}
