#include "extract/encode/RecordingEncoding.h"

#include "extract/ExtractError.h"

namespace vocafetch {

void encodeDecoded(QIODevice &out, OutputFormat format, int rate,
                   const std::function<bool(const PcmSink &, QString *)> &decode)
{
    AudioEncoder encoder(out, format, rate);
    QString error;
    const bool decoded = decode(
        [&](const qint16 *samples, int count) {
            encoder.write(samples, count);
            return true;
        },
        &error);
    if (!decoded)
        throw ExtractError(error, ErrorKind::Undecodable);
    encoder.finish();
}

} // namespace vocafetch
