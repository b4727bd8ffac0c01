#pragma once
// The checks of the Windows test program and their count: a failed check
// prints what failed; the program ends with "N passed, M failed".
#include <cstdio>
#include <string>

namespace checks {

inline int passed = 0;
inline int failed = 0;

inline void expect(bool ok, const std::string& what)
{
    if (ok) {
        ++passed;
        return;
    }
    ++failed;
    std::printf("FAIL: %s\n", what.c_str());
}

// The flick hook on a real top-level window.
void flickHook();
// The name order against an oracle file (tests/data/compare-*.txt) recorded
// in the process's user locale.
void nameOrder(const std::string& oracleFile);
// The generated names in Windows' order (written to freshFile) against the
// order recorded for the same locale.
void windowsOrder(const std::string& recordedFile, const std::string& freshFile);

}
