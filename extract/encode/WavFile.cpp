#include "extract/encode/WavFile.h"

#include "extract/ExtractError.h"

namespace vocafetch {

void checkWavDataBytes(qint64 dataBytes)
{
    if (dataBytes > WavMaxDataBytes)
        throw ExtractError(QStringLiteral("The recording is too long for a WAV file"),
                           vocafetch::ErrorKind::Undecodable);
}

} // namespace vocafetch
