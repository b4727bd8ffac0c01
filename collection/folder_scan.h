#pragma once
// The recursive folder scan (Findjpg): every picture file in a folder and
// below it, hidden entries left out.
#include "collection/path_store.h"
#include <string>

// Paths are dir + '/' + names, in native bytes, in the order a depth-first
// walk in listing order finds them. Folders that cannot be listed, and
// folders already on the way down (link loops), contribute nothing.
PathStore scanFolder(const std::string& dir);
