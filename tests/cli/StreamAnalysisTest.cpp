// A container read as a stream gives the recordings, markers and analyses of the same bytes
// mapped, however the stream is cut into reads, and holds only a bounded part of it.
#include "cli/StreamAnalysis.h"
#include "extract/ContainerSession.h"

#include "RecordingGenerator.h"
#include "SampleContainers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vocafetch;

namespace {

using vocafetch::ContainerSession;
using vocafetch::StreamAnalysis;

struct Named
{
    QString name;
    QByteArray bytes;
};

QVector<Named> containers()
{
    QVector<Named> all = {
        {"multipart", RecGen::multipartSample().data()},
        {"mixed", RecGen::mixedSample().data()},
        {"large parts", RecGen::largeContainer(3 << 20, 7, true).data()},
        {"large plain", RecGen::largeContainer(3 << 20, 8, false).data()},
        {"empty", QByteArray()},
        {"signatures only", QByteArray("#!AMR#!AMR\n#!amr-wb\n#!AMR")},
    };
    const QDir realWorld(QStringLiteral(VOCAFETCH_REALWORLD_DIR "/built"));
    for (const QString &name : realWorld.entryList(QDir::Files, QDir::Name)) {
        QFile file(realWorld.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            all.append({name, file.readAll()});
    }
    return all;
}

// What a listing shows of a recording, and where its part header lies.
QString described(const RecordingAnalysis &r)
{
    return QStringLiteral("start %1 limit %2 end %3 from %4 format %5 frames %6 damaged %7 "
                          "stop %8 headerless %9 part %10/%11")
        .arg(r.start)
        .arg(r.limit)
        .arg(r.audioEnd)
        .arg(endSourceName(r.endFrom))
        .arg(int(r.format()))
        .arg(r.frames())
        .arg(r.damaged())
        .arg(int(r.walk.stop))
        .arg(r.headerless)
        .arg(r.hasPartHeader ? r.partHeader.offset : -1)
        .arg(r.hasPartHeader ? r.partHeader.dataEnd() : -1);
}

QStringList described(const QVector<RecordingAnalysis> &recordings)
{
    QStringList lines;
    for (const RecordingAnalysis &r : recordings)
        lines << described(r);
    return lines;
}

TEST(StreamAnalysisTest, GivesWhatTheMappedFileGivesWhateverTheReads)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const Named &container : containers()) {
        const QString path = dir.filePath(QStringLiteral("c.drf"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(container.bytes);
        file.close();
        for (const bool headerless : {false, true}) {
            ContainerSession mapped;
            mapped.setFindHeaderless(headerless);
            mapped.openMapped(path);
            const QStringList expected = described(mapped.analyses());
            for (const qint64 read : {qint64(1), qint64(7), qint64(4093), qint64(65536),
                                      qint64(container.bytes.size() + 1)}) {
                // Tiny reads only where they stay quick.
                if (read * (1 << 20) < container.bytes.size() * 8)
                    continue;
                StreamAnalysis stream(headerless);
                for (qint64 at = 0; at < container.bytes.size(); at += read)
                    stream.feed(container.bytes.constData() + at,
                                std::min<qint64>(read, container.bytes.size() - at));
                stream.finish();
                const auto where = QStringLiteral("%1, reads of %2, headerless %3")
                                       .arg(container.name)
                                       .arg(read)
                                       .arg(headerless)
                                       .toStdString();
                EXPECT_EQ(stream.size(), mapped.size()) << where;
                EXPECT_EQ(stream.scan().recordingStarts, mapped.scan().recordingStarts) << where;
                EXPECT_EQ(stream.scan().typeMarkers, mapped.scan().typeMarkers) << where;
                EXPECT_EQ(stream.signedCount(), mapped.scan().recordingCount()) << where;
                EXPECT_EQ(described(stream.recordings()), expected) << where;
            }
        }
    }
}

TEST(StreamAnalysisTest, HoldsABoundedPartOfALongStream)
{
    // Recordings in parts, a recording of 24 MiB with no part header (its walk runs on as the
    // bytes come), and recordings again.
    RecGen::Rng rng(5);
    const QByteArray parts = RecGen::largeContainer(4 << 20, 3, true).data();
    const QByteArray longOne =
        RecGen::makeRecording(AmrFormat::NarrowBand, 1,
                              RecGen::randomFrames(false, (24 << 20) / 32, {7}, 0, rng))
            .bytes +
        '\xff'; // no frame: the walk ends here
    StreamAnalysis stream(false);
    for (const QByteArray &piece : {parts, longOne, parts})
        for (qint64 at = 0; at < piece.size(); at += 65536)
            stream.feed(piece.constData() + at, std::min<qint64>(65536, piece.size() - at));
    stream.finish();

    const qsizetype before = RecGen::largeContainer(4 << 20, 3, true).starts().size();
    ASSERT_EQ(stream.signedCount(), 2 * before + 1);
    const RecordingAnalysis &walked = stream.recordings().at(before);
    EXPECT_EQ(walked.frames(), (24 << 20) / 32);
    EXPECT_EQ(walked.audioEnd, parts.size() + longOne.size() - 1);
    EXPECT_LT(stream.peakHeld(), qint64(4) << 20);
}

} // namespace
