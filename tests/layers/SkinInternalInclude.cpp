// Reaches past the skin's public headers: builds only for a target that links
// vocafetch_skin_internal.
#include "skin/chrome/WindowRegion.h"

int main()
{
    return vocafetch::WindowRegion(QSize(4, 4), 0).isEmpty() ? 1 : 0;
}
