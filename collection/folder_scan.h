#pragma once
// The recursive folder scan (Findjpg): every picture file in a folder and
// below it, hidden entries left out.
#include <string>
#include <vector>

// Paths are dir + '/' + names, in native bytes, in the order a depth-first
// walk in listing order finds them. Folders that cannot be listed, and
// folders already on the way down (link loops), contribute nothing.
std::vector<std::string> scanFolder(const std::string& dir);
