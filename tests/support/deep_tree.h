#pragma once
// Folder trees deeper than a path may name, made relative to open folders.
#include <QByteArray>
#include <map>
#include <string>

namespace fixtures {

// A chain of depth folders named "d" below the folder root, made relative to
// open folders since the full path outgrows PATH_MAX, with a file "a.png"
// holding pictures[level] at each level pictures names. False when a folder
// or file could not be made.
bool writeDeepTree(const std::string& root, int depth, const std::map<int, QByteArray>& pictures);
// root followed by levels times "/d": where writeDeepTree's level lies.
std::string deepFolder(const std::string& root, int levels);

}
