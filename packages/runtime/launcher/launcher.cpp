// Stand-in launcher of the demo runtime: prints the runtime version it
// belongs to, so scripts can tell which installed copy answered.
#include <cstdio>

#include "BuildInfo.h"

int main() {
    std::printf("calyx version \"%s\"\n", CX_RUNTIME_VERSION);
    return 0;
}
