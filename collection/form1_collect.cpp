// TForm1's intake of paths named on the command line or dropped: files are
// taken when their name says picture, folders are scanned.
#include "app/form1.h"
#include "collection/file_tests.h"
#include "collection/folder_scan.h"

void TForm1::takePath(const std::string& path)
{
    if (isFile(path)) {
        if (isPictureFileName(path))
            stlf->add(path);
    } else if (isFolder(path)) {
        Findjpg(path);
    }
}

// The scan collects its finds and merges them once: nothing can look at the
// list while it runs, and merging keeps a large scan from going quadratic.
void TForm1::Findjpg(const std::string& dir)
{
    stlf->addBatch(scanFolder(dir));
}
