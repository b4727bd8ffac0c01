// The Windows-only pieces on their own platform. Arguments: oracle files of
// the name order, recorded in the user locale this process runs in.
#include "checks.h"

int main(int argc, char** argv)
{
    checks::flickHook();
    for (int i = 1; i < argc; ++i)
        checks::nameOrder(argv[i]);
    std::printf("%d passed, %d failed\n", checks::passed, checks::failed);
    return checks::failed == 0 ? 0 : 1;
}
