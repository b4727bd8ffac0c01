#pragma once
#include <string>

// path made absolute against the current directory, with "." and ".."
// taken out by its spelling alone: links are not followed, so the result
// names the file as the user reached it. Native bytes in and out.
std::string fullPath(const std::string& path);
