#pragma once
// The tests that decide what a path names: a picture by its name, a file, a
// folder. Paths are native bytes.
#include <string>
#include <string_view>

// What joins a folder and a name in a path.
#ifdef _WIN32
inline constexpr char pathSeparator = '\\';
#else
inline constexpr char pathSeparator = '/';
#endif

// The extension (from the last '.' after the last separator, on Windows
// also after the last ':'), lowered in ASCII only, is exactly ".jpg",
// ".bmp" or ".png".
bool isPictureFileName(std::string_view name);
// Exists, following links, and is not a folder; a link counts only when its
// target can be opened for reading.
bool isFile(const std::string& path);
// A folder, following links; a path whose attributes can't be read for a
// reason other than its absence counts as one too (scanning it finds nothing).
bool isFolder(const std::string& path);
