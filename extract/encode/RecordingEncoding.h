#pragma once

#include "extract/analysis/AmrDecoder.h"
#include "extract/encode/AudioEncoder.h"

#include <QIODevice>

#include <functional>

namespace vocafetch {

// Decoded recordings saved as audio files people can play anywhere.

// Encodes onto out, at rate, the samples decode hands its sink (a decode returning false with
// a message fails the encode): the common part of every decoded save.
void encodeDecoded(QIODevice &out, OutputFormat format, int rate,
                   const std::function<bool(const PcmSink &, QString *)> &decode);

} // namespace vocafetch
