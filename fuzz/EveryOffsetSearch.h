#pragma once

#include "extract/analysis/HeaderlessRuns.h"

namespace vocafetch::fuzz {

// The headerless search that tries every offset (no probes), kept from input to input: its
// working memory is set up once, where findHeaderlessRuns sets up a search for each call.
inline HeaderlessSearch &everyOffsetSearch()
{
    static HeaderlessSearch search([] {
        HeaderlessLimits limits;
        limits.probe = false;
        return limits;
    }());
    return search;
}

} // namespace vocafetch::fuzz
