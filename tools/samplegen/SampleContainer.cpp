#include "SampleContainer.h"

#include <algorithm>

namespace SampleGen {

namespace {

const QByteArray AmrHeader = QByteArrayLiteral("#!AMR\n");
const QByteArray Marker = QByteArrayLiteral("\x06\x1f\x22"
                                            "audio/amr");
constexpr int SidFrameType = 8;
constexpr int NoDataFrameType = 15;
constexpr int SidBytes = 5;

// The storage-format frame header: frame type in bits 6-3, the quality bit 2 set.
char frameHeader(int frameType)
{
    return static_cast<char>((frameType << 3) | 0x04);
}

void appendRandom(QByteArray &out, int count, Random &random)
{
    for (int i = 0; i < count; ++i)
        out.append(static_cast<char>(random.next() >> 24));
}

// WSP variable-length unsigned integer: 7 bits a byte, high bit set on all but the last.
QByteArray uintvar(quint32 value)
{
    QByteArray out(1, static_cast<char>(value & 0x7F));
    while (value >>= 7)
        out.prepend(static_cast<char>(0x80 | (value & 0x7F)));
    return out;
}

// The part's headers: content type "audio/amr" with a name parameter, and a content location.
QByteArray partHeaders(int number)
{
    const QByteArray name = "Rec" + QByteArray::number(number).rightJustified(3, '0') + ".amr";
    QByteArray params = QByteArray("\x85", 1) + name + '\0';
    QByteArray headers = Marker;
    headers += '\0';
    headers += params;
    headers += QByteArray("\x8e", 1) + name + '\0'; // Content-Location
    return headers;
}

bool spellsSignature(const QByteArray &bytes)
{
    const QByteArray lower = bytes.toLower();
    return lower.contains("#!amr") || lower.contains(Marker);
}

} // namespace

quint32 Random::next()
{
    // xorshift32
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state;
}

int frameBytes(int mode)
{
    static const int sizes[] = {12, 13, 15, 17, 19, 20, 26, 31};
    return (mode >= 0 && mode < 8) ? sizes[mode] : 0;
}

QByteArray amrRecording(int frameCount, int mode, Random &random)
{
    QByteArray out = AmrHeader;
    bool talking = true;
    int stretch = 0;
    for (int i = 0; i < frameCount; ++i) {
        if (stretch-- <= 0) { // alternate speech (1-3 s) and pauses (0.2-1 s)
            talking = !talking || i == 0;
            stretch = talking ? 50 + random.below(100) : 10 + random.below(40);
        }
        QByteArray frame;
        if (talking) {
            frame += frameHeader(mode);
            appendRandom(frame, frameBytes(mode), random);
        } else if (stretch % 8 == 0) {
            frame += frameHeader(SidFrameType);
            appendRandom(frame, SidBytes, random);
        } else {
            frame += frameHeader(NoDataFrameType);
        }
        // A signature may not end inside the new frame (the header's own one lies before).
        const qsizetype tailFrom = std::max<qsizetype>(AmrHeader.size(), out.size() - 11);
        while (spellsSignature(out.mid(tailFrom) + frame)) {
            frame.truncate(1);
            appendRandom(frame, talking ? frameBytes(mode) : 0, random);
        }
        out += frame;
    }
    return out;
}

Layout container(const QVector<QByteArray> &recordings, Random &random)
{
    Layout layout;
    // Message header: type, transaction id, version, and the multipart part count.
    layout.bytes = QByteArray("\x8c\x84\x98", 3) + "T" + QByteArray::number(random.next(), 16) +
                   '\0' + QByteArray("\x8d\x92", 2) + uintvar(quint32(recordings.size()));
    for (int k = 0; k < recordings.size(); ++k) {
        const QByteArray headers = partHeaders(k + 1);
        layout.bytes += uintvar(quint32(headers.size())) + uintvar(quint32(recordings[k].size()));
        layout.markers.append(static_cast<qint32>(layout.bytes.size()));
        layout.bytes += headers;
        layout.recordingStarts.append(static_cast<qint32>(layout.bytes.size()));
        layout.bytes += recordings[k];
    }
    for (int k = 0; k < layout.recordingStarts.size(); ++k) {
        const qint32 end = k + 1 < layout.recordingStarts.size() ? layout.recordingStarts[k + 1]
                                                                 : layout.bytes.size();
        layout.recordingSizes.append(end - layout.recordingStarts[k]);
    }
    return layout;
}

Layout sampleContainer()
{
    Random random(20061203);
    const QVector<QByteArray> recordings = {
        amrRecording(400, 7, random), // 8 s at 12.2 kbit/s
        amrRecording(300, 7, random), // 6 s
        amrRecording(200, 7, random), // 4 s
        amrRecording(350, 4, random), // 7 s at 7.4 kbit/s
    };
    return container(recordings, random);
}

Layout sprinkledContainer(qint64 totalBytes, qint64 spacing, int recordingBytes, quint32 seed)
{
    Random random(seed);
    Layout layout;
    layout.bytes.resize(totalBytes);
    auto *words = reinterpret_cast<quint32 *>(layout.bytes.data());
    for (qint64 i = 0; i < totalBytes / 4; ++i)
        words[i] = random.next();
    const QByteArray recording = amrRecording(recordingBytes / 32, 7, random);
    for (qint64 at = spacing / 2; at + Marker.size() + recording.size() < totalBytes;
         at += spacing) {
        layout.bytes.replace(at, Marker.size(), Marker);
        layout.bytes.replace(at + Marker.size(), recording.size(), recording);
        layout.markers.append(static_cast<qint32>(at));
        layout.recordingStarts.append(static_cast<qint32>(at + Marker.size()));
    }
    return layout;
}

} // namespace SampleGen
