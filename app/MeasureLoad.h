#pragma once

namespace vocafetch {

// A hook for scripts/measure-window.sh: with VOCAFETCH_MEASURE_LOAD=1 in the environment the
// window loads the first container it lists once shown, prints on standard output how many
// milliseconds passed until the status line changed and until the first recording was painted,
// and the program ends.

class TForm1;

// Does nothing unless VOCAFETCH_MEASURE_LOAD is 1.
void measureLoadIfAsked(TForm1 &window);

} // namespace vocafetch
