// vocafetch-cli's recording analysis: the listing's per-recording facts, and extract's clean
// cut and WAV files, on generated containers whose true layout is known.
#include "CliFixture.h"
#include "SampleContainers.h"
#include "extract/ContainerSession.h"
#include "extract/analysis/AmrDecoder.h"
#include "support/Decoding.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace vocafetch;

using namespace RecGen;

namespace {

class CliAnalysisTest : public CliFixture
{
protected:
    // Every kind of recording, written as NAME.drf: multipart parts with an image part between
    // and trailing bytes, and plain recordings with damaged frames, wide band, two channels and
    // a cut-off last frame.
    QList<std::pair<QString, ContainerBuilder>> writeSamples()
    {
        const QList<std::pair<QString, ContainerBuilder>> samples{{"multipart", multipartSample()},
                                                                  {"mixed", mixedSample()}};
        for (const auto &[name, builder] : samples)
            write(name + ".drf", builder.data());
        return samples;
    }
};

// The file's analysis, mapped and read piecewise, equals the in-memory analysis.
void expectSameAnalyses(const QString &file, const ContainerBuilder &builder);

QString formatName(AmrFormat format)
{
    switch (format) {
    case AmrFormat::NarrowBand:
        return "amr-nb";
    case AmrFormat::WideBand:
        return "amr-wb";
    default:
        return "multichannel";
    }
}

TEST_F(CliAnalysisTest, ListReportsWhatEachRecordingHolds)
{
    const QList<std::pair<QString, ContainerBuilder>> samples = writeSamples();
    for (const auto &[name, builder] : samples) {
        SCOPED_TRACE(name.toStdString());
        const CliRun result = run({"list", "--json", name + ".drf"});
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        const QJsonArray recordings = listedRecordings(result.out);
        ASSERT_EQ(recordings.size(), builder.recordings().size());
        for (int i = 0; i < recordings.size(); ++i) {
            SCOPED_TRACE(i);
            const QJsonObject got = recordings[i].toObject();
            const PlacedRecording &placed = builder.recordings()[i];
            // The keys the listing had before are still there.
            EXPECT_EQ(got.value("number").toInt(), i + 1);
            EXPECT_EQ(got.value("offset").toInt(), placed.start);
            EXPECT_EQ(got.value("format").toString(), formatName(placed.recording.format));
            EXPECT_EQ(got.value("frames").toInteger(), placed.recording.frames);
            EXPECT_EQ(got.value("duration_ms").toInteger(), placed.recording.frames * 20);
            EXPECT_EQ(got.value("audio_end").toInteger(), placed.audioEnd);
            EXPECT_EQ(got.value("end_from").toString(), placed.inPart ? "part header" : "frames");
            EXPECT_EQ(got.value("damaged").toInteger(), placed.recording.damaged);
        }
    }

    const ContainerBuilder &mixed = samples[1].second;
    const CliRun text = run({"list", "mixed.drf"});
    EXPECT_EQ(text.exitCode, 0);
    const QStringList lines = QString::fromUtf8(text.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + mixed.recordings().size());
    const PlacedRecording &first = mixed.recordings()[0];
    EXPECT_TRUE(lines[1].contains(QStringLiteral("amr-nb")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("%1 frames  %2 ms  audio end %3 (frames)")
                                      .arg(first.recording.frames)
                                      .arg(first.recording.frames * 20)
                                      .arg(first.audioEnd)))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(QStringLiteral("%1 damaged").arg(first.recording.damaged)));
    EXPECT_TRUE(lines[3].contains(QStringLiteral("multichannel")));
}

TEST_F(CliAnalysisTest, MappedAndReadAnalysesAgree)
{
    for (const auto &[name, builder] : writeSamples())
        expectSameAnalyses(path(name + ".drf"), builder);
}

TEST_F(CliAnalysisTest, MappedStretchesOfALargeContainerAgreeWithTheWhole)
{
    const ContainerBuilder builder = largeContainer(9 << 20, 7);
    write("large.drf", builder.data());
    expectSameAnalyses(path("large.drf"), builder);
}

void expectSameAnalyses(const QString &file, const ContainerBuilder &builder)
{
    const QVector<RecordingAnalysis> inMemory = analyseRecordings(builder.data(), builder.starts());
    vocafetch::ContainerSession loaded(file);
    vocafetch::ContainerSession mapped;
    mapped.openMapped(file);
    ASSERT_EQ(mapped.scan().recordingStarts, builder.starts());
    // Stretches that begin and end anywhere give the entries of the whole.
    const int half = mapped.recordingCount() / 2;
    const QVector<RecordingAnalysis> stretched =
        mapped.analyseRange(0, half) + mapped.analyseRange(half, mapped.recordingCount());
    ASSERT_EQ(stretched.size(), inMemory.size());
    for (int i = 0; i < inMemory.size(); ++i) {
        SCOPED_TRACE(i);
        for (const RecordingAnalysis *got :
             {&loaded.analyses().at(i), &mapped.analyses().at(i), &stretched.at(i)}) {
            EXPECT_EQ(got->start, inMemory[i].start);
            EXPECT_EQ(got->limit, inMemory[i].limit);
            EXPECT_EQ(got->audioEnd, inMemory[i].audioEnd);
            EXPECT_EQ(got->endFrom, inMemory[i].endFrom);
            EXPECT_EQ(got->frames(), inMemory[i].frames());
            EXPECT_EQ(got->partHeader.dataOffset, inMemory[i].partHeader.dataOffset);
        }
    }
}

TEST_F(CliAnalysisTest, CleanExtractWritesExactlyTheAudio)
{
    const QList<std::pair<QString, ContainerBuilder>> samples = writeSamples();
    CliRun result = run({"extract", "--clean", "-o", "clean", "multipart.drf", "mixed.drf"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    for (const auto &[name, builder] : samples) {
        const QList<PlacedRecording> &placed = builder.recordings();
        for (int i = 0; i < placed.size(); ++i)
            EXPECT_EQ(read(QStringLiteral("clean/%1_%2.amr").arg(name).arg(i + 1)),
                      placed[i].recording.bytes)
                << name.toStdString() << i;
    }

    // Same no-overwrite rule as the whole-range extract.
    write("clean/mixed_2.amr", "keep me");
    result = run({"extract", "--clean", "-o", "clean", "mixed.drf"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("exists; nothing written")) << result.err.toStdString();
    EXPECT_EQ(read("clean/mixed_2.amr"), "keep me");
}

TEST_F(CliAnalysisTest, CleanExtractKeepsTheWholeRangeOfAnUnknownHeader)
{
    // "#!AMRx" is found by the scan but is no storage header.
    QByteArray bytes = QByteArray(20, '.') + "#!AMRx" + QByteArray(30, '\x3c');
    write("odd.drf", bytes);
    CliRun result = run({"extract", "--clean", "odd.drf"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(read("odd_1.amr"), bytes.mid(20));

    result = run({"extract", "--wav", "odd.drf"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("odd.drf: recording 1 does not start with a known AMR header"))
        << result.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("odd_1.wav")));
}

TEST_F(CliAnalysisTest, WavExtractWritesTheDecodedAudio)
{
    const ContainerBuilder builder = writeSamples()[1].second;
    const CliRun result = run({"extract", "--wav", "mixed.drf"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.amr"}).isEmpty());
    const QList<PlacedRecording> &placed = builder.recordings();
    for (int i = 0; i < placed.size(); ++i) {
        SCOPED_TRACE(i);
        const QByteArray wav = read(QStringLiteral("mixed_%1.wav").arg(i + 1));
        const Recording &recording = placed[i].recording;
        const int rate = isWideBand(recording.format) ? 16000 : 8000;
        const qint64 samples = recording.frames * (rate / 50);
        // The samples, then the tag chunks.
        ASSERT_GE(wav.size(), 44 + samples * 2);
        EXPECT_EQ(qFromLittleEndian<quint32>(wav.constData() + 40), quint32(samples * 2));
        EXPECT_TRUE(wav.startsWith("RIFF"));
        EXPECT_EQ(qFromLittleEndian<quint16>(wav.constData() + 22), 1); // mono
        EXPECT_EQ(qFromLittleEndian<quint32>(wav.constData() + 24), quint32(rate));
        EXPECT_EQ(qFromLittleEndian<quint16>(wav.constData() + 34), 16);
        const PcmAudio expected = decodeWhole(recording.bytes.constData(), recording.bytes.size());
        EXPECT_EQ(wav.mid(44, samples * 2), expected.samples);
    }
}

} // namespace
