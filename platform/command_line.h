#pragma once
// The paths the program was started with, as the list keeps them.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The arguments after the program's own name, in native bytes: elsewhere
// the shell's split of argv unchanged, on Windows the program's own split
// of GetCommandLineW() (as splitCommandLine), in UTF-8.
std::vector<std::string> programArguments(int argc, char** argv);

// Windows' split of a command line: runs of spaces and control characters
// separate arguments; double quotes group what lies between them and are
// removed; an argument that comes out empty vanishes; a backslash is an
// ordinary character. The program's own name comes first.
std::vector<std::u16string> splitCommandLine(std::u16string_view line);

}
