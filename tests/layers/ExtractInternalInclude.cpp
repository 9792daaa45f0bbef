// Reaches past the extraction core's public headers, as the command line might to flush files
// its own way: builds only for a target that links vocafetch_extract_internal.
#include "extract/io/SyncCalls.h"

using namespace vocafetch;

int main()
{
    return vocafetch::syncCallCount() == 0 ? 0 : 1;
}
