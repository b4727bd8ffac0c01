// The Windows-only pieces on their own platform. Arguments: the oracle file
// of the name order, recorded in the user locale this process runs in; then,
// optionally, the recorded Windows order of the generated names for that
// locale and where to write the order found now.
#include "checks.h"

int main(int argc, char** argv)
{
    checks::flickHook();
    if (argc > 1)
        checks::nameOrder(argv[1]);
    if (argc > 3)
        checks::windowsOrder(argv[2], argv[3]);
    std::printf("%d passed, %d failed\n", checks::passed, checks::failed);
    return checks::failed == 0 ? 0 : 1;
}
