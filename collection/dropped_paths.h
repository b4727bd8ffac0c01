#pragma once
#include <string>
#include <vector>

class QMimeData;

// The file-system paths a drag carries, as native bytes, in the order the
// drag source gives them. Remote URLs and plain text carry none.
std::vector<std::string> droppedPaths(const QMimeData& data);
