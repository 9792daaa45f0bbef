// Reaches past the extraction core's public headers, as the command line might to save a file
// its own way: builds only for a target that links vocafetch_extract_internal.
#include "extract/io/AtomicSave.h"

int main(int argc, char **argv)
{
    if (argc < 2)
        return 1;
    vocafetch::saveAtomically(QString::fromLocal8Bit(argv[1]),
                              [](QIODevice &out) { out.write("#!AMR\n"); });
    return 0;
}
