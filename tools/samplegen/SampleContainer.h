#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Builds recording containers the way phones write them, for the sample data, the tests and
// the benchmarks: AMR-NB recordings ("#!AMR\n" and whole frames) as parts of a multipart
// message whose part headers carry the content type 06 1F 22 "audio/amr".
namespace SampleGen {

// A deterministic random source: one seed gives the same bytes on every machine.
class Random
{
public:
    explicit Random(quint32 seed) : m_state(seed ? seed : 0x2545F491u) {}
    quint32 next();
    int below(int n) { return static_cast<int>(next() % static_cast<quint32>(n)); }

private:
    quint32 m_state;
};

// Speech-frame payload sizes of AMR-NB modes 0 ... 7 (4.75 ... 12.2 kbit/s), without header.
int frameBytes(int mode);

// "#!AMR\n" and frameCount 20 ms frames: mostly the given mode, with silence frames (SID and
// NO_DATA) in the pauses, as a phone with discontinuous transmission records them.
QByteArray amrRecording(int frameCount, int mode, Random &random);

// What is where in a built container.
struct Layout
{
    QByteArray bytes;
    QVector<qint32> recordingStarts; // offset of each "#!AMR"
    QVector<qint32> markers;         // offset of each content-type marker
    QVector<qint32> recordingSizes;  // bytes from each "#!AMR" up to the next one or the end
};

// A container holding the recordings, each preceded by a part header with the marker.
// Payload bytes that would spell a signature by accident are re-drawn.
Layout container(const QVector<QByteArray> &recordings, Random &random);

// The sample shipped with the program: four recordings of 4 to 8 seconds.
Layout sampleContainer();

// About totalBytes of random bytes with a recording of recordingBytes sprinkled in every
// spacing bytes (each with its marker), for measuring the scan.
Layout sprinkledContainer(qint64 totalBytes, qint64 spacing, int recordingBytes, quint32 seed);

} // namespace SampleGen
