#pragma once
// Windows' sort weights of every UTF-16 unit, learnt from its own sort keys
// by tools/windows_sort/make_table.sh, which generates
// windows_sort_table.cpp: base64 of a 4-byte big-endian length and the zlib
// stream of the records windows_sort_key.cpp reads.
namespace order::windows_sort {

extern const char* const tableEnUs;
extern const char* const tableJaJp;

}
