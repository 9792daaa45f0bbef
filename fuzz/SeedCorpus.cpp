// vocafetch-fuzz-seeds: writes the seed corpora of the fuzz targets from the sample
// generators: containers as phones write them, recordings of every storage format, headerless
// runs, phone file lists with the awkward names and sizes, and the sample theme with one of its
// bitmaps.
// Usage: vocafetch-fuzz-seeds OUTPUT-FOLDER [SAMPLE-THEME-FOLDER]
#include "PhoneFuzzInput.h"

#include "RecordingGenerator.h"
#include "SampleContainer.h"
#include "SampleContainers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

using namespace vocafetch;

namespace {

int written = 0;

// Seeds stay within the inputs the runs allow (scripts/fuzz.sh): a longer one is cut there.
constexpr qsizetype SeedBytes = 4096;

bool write(const QDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "vocafetch-fuzz-seeds: %s: %s\n", qPrintable(file.fileName()),
                     qPrintable(file.errorString()));
        return false;
    }
    ++written;
    return true;
}

QDir subfolder(const QDir &out, const QString &name)
{
    out.mkpath(name);
    return QDir(out.filePath(name));
}

QVector<QByteArray> smallContainers()
{
    SampleGen::Random random(7);
    QVector<QByteArray> containers;
    containers << SampleGen::container({SampleGen::amrRecording(3, 7, random)}, random).bytes;
    containers << SampleGen::container({SampleGen::amrRecording(5, 0, random),
                                        SampleGen::amrRecording(2, 4, random)},
                                       random)
                      .bytes;
    containers << RecGen::multipartSample().data() << RecGen::mixedSample().data();
    containers << QByteArray("#!AMR#!AMR") << QByteArray("#!amr\n\x3c") << QByteArray("x");
    return containers;
}

QVector<QByteArray> recordings()
{
    RecGen::Rng rng(11);
    QVector<QByteArray> out;
    out << RecGen::makeRecording(AmrFormat::NarrowBand, 1, RecGen::phoneLikeFrames(false, 12, rng))
               .bytes;
    out << RecGen::makeRecording(AmrFormat::WideBand, 1, RecGen::phoneLikeFrames(true, 12, rng))
               .bytes;
    out << RecGen::makeRecording(AmrFormat::MultiChannelNarrowBand, 2,
                                 RecGen::randomFrames(false, 8, {7, 8, 15}, 3, rng))
               .bytes;
    out << RecGen::makeRecording(AmrFormat::MultiChannelWideBand, 2,
                                 RecGen::randomFrames(true, 6, {2, 9, 14}, 2, rng))
               .bytes;
    const RecGen::Recording part = RecGen::makeRecording(
        AmrFormat::NarrowBand, 1, RecGen::randomFrames(false, 6, {7}, 0, rng));
    out << RecGen::wspPart(RecGen::audioContentType(), part.bytes);
    out << RecGen::wspPart(RecGen::audioContentType(), part.bytes, part.bytes.size() + 40);
    RecGen::ContainerBuilder builder;
    builder.randomBytes(20, rng).recordingPart(part).imagePart(30, rng).truncatedFrame(false, 7, 9,
                                                                                       rng);
    out << builder.data();
    return out;
}

QByteArray joined(const QList<QByteArray> &frames)
{
    QByteArray bytes;
    for (const QByteArray &frame : frames)
        bytes += frame;
    return bytes;
}

// Headerless runs, each a few hundred bytes to 1.5 KiB after a control byte (the window): plain
// ones in either band, the shortest kind, one across a damaged header, one after DTX silence,
// one beside a signed recording and one longer than its window; and a table of counters that
// must give none. Each run holds a little more than the fifty frames a run needs, in modes whose
// frames keep it inside the target's input bound.
QVector<QByteArray> headerlessSeeds()
{
    RecGen::Rng rng(13);
    const auto junk = [&](int count) {
        QByteArray bytes = rng.bytes(count).replace('#', '~');
        bytes[0] = char(0xFF);
        return bytes;
    };
    const QByteArray noData(1, char(RecGen::frameHeaderByte(15, true)));
    QVector<QByteArray> out;
    out << char(60) + junk(20) + joined(RecGen::randomFrames(false, 55, {5}, 0, rng)) + junk(20);
    out << char(90) + junk(20) + joined(RecGen::randomFrames(true, 55, {1}, 0, rng));
    QList<QByteArray> shortest;
    for (int i = 0; i < 50; ++i)
        shortest << (i % 2 == 0 ? RecGen::randomFrame(false, 0, true, rng) : noData);
    out << char(0) + junk(30) + joined(shortest) + junk(10);
    QByteArray damaged = joined(RecGen::randomFrames(false, 60, {4}, 0, rng));
    damaged[20 * 30] = char(0xFF);
    out << char(80) + damaged;
    QList<QByteArray> silence;
    for (int i = 0; i < 80; ++i)
        silence << (i % 8 == 0 ? RecGen::randomFrame(false, 8, true, rng) : noData);
    out << char(70) + junk(10) + joined(silence + RecGen::randomFrames(false, 60, {4}, 0, rng));
    out << char(50) +
               RecGen::makeRecording(AmrFormat::NarrowBand, 1,
                                     RecGen::randomFrames(false, 10, {7}, 0, rng))
                   .bytes +
               junk(40) + joined(RecGen::randomFrames(false, 52, {5}, 0, rng));
    QByteArray table;
    for (int i = 0; i < 60; ++i) {
        table += char(RecGen::frameHeaderByte(0, true));
        for (int b = 0; b < 17; ++b)
            table += char(b * 29 + (i % 2) * 7 + (b % 2 == 0 ? i / 2 : 0));
    }
    out << char(40) + table;
    return out;
}

QVector<PhoneFuzzInput::Phone> phones(const QByteArray &container)
{
    using namespace PhoneFuzzInput;
    auto entry = [](const QByteArray &path, const QByteArray &content, int rule = SizeOfContent,
                    bool inFolder = true) {
        Entry e;
        e.path = path;
        e.content = content;
        e.sizeRule = rule;
        e.inFolder = inFolder;
        return e;
    };
    const QByteArray small = container.left(200);
    QVector<Phone> out;
    Phone plain;
    plain.entries << entry("a.drf", small) << entry("/a/mobile/mms2/b.drf", small, 0, false)
                  << entry("/A/mobile/mms/x.drf", small, 0, false);
    out << plain;
    Phone awkward;
    awkward.entries << entry("existing.drf", small) << entry("sub/keep.drf", small)
                    << entry("sub/deeper/new.drf", small, SizeLarger)
                    << entry("link/escape.drf", small) << entry("../escape.drf", small)
                    << entry("pipe", small, SizeSmaller) << entry("pipe/x.drf", small)
                    << entry("empty.drf", {}, SizeZero) << entry("neg.drf", small, SizeMinusOne);
    out << awkward;
    Phone full;
    Entry longName = entry("f", small);
    longName.fillField = true;
    full.entries << longName << entry("c:evil.drf", small) << entry("a\\b.drf", small);
    out << full;
    Phone lying;
    lying.countLie = 3;
    lying.hostileIndex = 4;
    lying.entries << entry("a.drf", small);
    out << lying;
    Phone notReady;
    notReady.notReady = true;
    notReady.countLie = 1;
    notReady.entries << entry("a.drf", small);
    out << notReady;
    return out;
}

// File-name templates with the fields of a message as phones send them, and awkward ones:
// slashes, dots, control characters, bytes that are not UTF-8, a date out of range.
QVector<QByteArray> nameSeeds()
{
    const auto input = [](quint8 flags, const QList<QByteArray> &texts, qint64 date = 0) {
        QByteArray bytes(1, char(flags));
        if (flags & 4)
            for (int shift = 56; shift >= 0; shift -= 8)
                bytes += char(quint64(date) >> shift);
        for (const QByteArray &text : texts)
            bytes += char(qMin<qsizetype>(text.size(), 255)) + text.left(255);
        return bytes;
    };
    const QByteArray all = "{name}-{k} {date} {time} {from} {subject} {part}";
    QVector<QByteArray> out;
    out << input(0, {"{name}_{k}", "rec", "3"});
    out << input(7, {all, "rec", "12", "+79161234567", "  \xd0\x98\xd0\xb7 ", "Voice_1.amr"},
                 1240919788);
    out << input(7, {all, "../..", "lost_1", "a/b", "\n\x7f\xc2\x85", "", ".amr", "<id>"},
                 qint64(1) << 60);
    out << input(3,
                 {"{part}{subject}", "-x", "1", "\xff\xfe", "\xe2\x80\xa8", "", "dir/clip.3.amr"});
    out << input(0, {"{name", "x"}) << input(0, {"{nmae}"}) << input(0, {"..."});
    out << input(
        8, {QByteArray("{\0n\0a\0m\0e\0}\0\x00\xd8.\0", 16), QByteArray("\x3d\xd8\x00\xde", 4)});
    return out;
}

// The sample theme with every bitmap naming the image that follows it in the input.
QByteArray themeSeed(const QDir &themeFolder, const QString &bitmap)
{
    QFile theme(themeFolder.filePath(QStringLiteral("amber.theme")));
    QFile image(themeFolder.filePath(bitmap));
    if (!theme.open(QIODevice::ReadOnly) || !image.open(QIODevice::ReadOnly))
        return {};
    QByteArray text;
    bool inBitmaps = false;
    for (QByteArray line : theme.readAll().split('\n')) {
        if (line.startsWith('['))
            inBitmaps = line.trimmed() == "[Bitmaps]";
        else if (inBitmaps && line.contains('='))
            line = line.left(line.indexOf('=') + 1) + "image.bin";
        text += line + '\n';
    }
    return text + '\0' + image.readAll();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.size() > 2) {
        std::fprintf(stderr, "usage: vocafetch-fuzz-seeds OUTPUT-FOLDER [SAMPLE-THEME-FOLDER]\n");
        return 2;
    }
    const QDir out(args[0]);
    if (!out.mkpath(QStringLiteral(".")))
        return 1;

    bool ok = true;
    const QVector<QByteArray> containers = smallContainers();
    const QDir containerDir = subfolder(out, QStringLiteral("container"));
    for (int i = 0; i < containers.size(); ++i)
        ok &= write(containerDir, QStringLiteral("seed-%1.drf").arg(i),
                    containers[i].left(SeedBytes));

    const QDir frameDir = subfolder(out, QStringLiteral("frames"));
    const QVector<QByteArray> recs = recordings();
    for (int i = 0; i < recs.size(); ++i) {
        ok &= write(frameDir, QStringLiteral("seed-%1").arg(i), char(128) + recs[i]);
        ok &= write(frameDir, QStringLiteral("seed-%1-split").arg(i), char(40 + 20 * i) + recs[i]);
    }
    ok &= write(frameDir, QStringLiteral("seed-container"),
                char(100) + containers[3].left(SeedBytes - 1));

    const QDir headerlessDir = subfolder(out, QStringLiteral("headerless"));
    const QVector<QByteArray> headerless = headerlessSeeds();
    for (int i = 0; i < headerless.size(); ++i)
        ok &= write(headerlessDir, QStringLiteral("seed-%1").arg(i), headerless[i]);

    const QDir phoneDir = subfolder(out, QStringLiteral("phone"));
    const QVector<PhoneFuzzInput::Phone> phoneSeeds = phones(containers[0]);
    for (int i = 0; i < phoneSeeds.size(); ++i)
        ok &= write(phoneDir, QStringLiteral("seed-%1").arg(i),
                    PhoneFuzzInput::encode(phoneSeeds[i]));

    // A stream's container behind its flags and read size: each read in pieces of 7 bytes, one
    // byte at a time and 256 bytes, with and without the headerless search.
    const QDir streamDir = subfolder(out, QStringLiteral("stream"));
    QVector<QByteArray> streams = containers;
    streams << headerless[0].mid(1) << headerless[5].mid(1);
    for (int i = 0; i < streams.size(); ++i) {
        const QByteArray container = streams[i].left(SeedBytes - 2);
        ok &= write(streamDir, QStringLiteral("seed-%1").arg(i),
                    QByteArray("\x00\x06", 2) + container);
        ok &= write(streamDir, QStringLiteral("seed-%1-headerless").arg(i),
                    QByteArray("\x03\xff") + container);
    }

    const QDir nameDir = subfolder(out, QStringLiteral("name"));
    const QVector<QByteArray> names = nameSeeds();
    for (int i = 0; i < names.size(); ++i)
        ok &= write(nameDir, QStringLiteral("seed-%1").arg(i), names[i]);

    const QDir themeDir = subfolder(out, QStringLiteral("theme"));
    if (args.size() == 2) {
        const QDir sample(args[1]);
        for (const QString &bitmap : {QStringLiteral("button.png"), QStringLiteral("titlebtn.png"),
                                      QStringLiteral("scrollbar_track.png")}) {
            const QByteArray seed = themeSeed(sample, bitmap);
            ok &= !seed.isEmpty() && write(themeDir, QStringLiteral("seed-") + bitmap, seed);
        }
    }
    ok &= write(themeDir, QStringLiteral("seed-minimal"),
                "[Integers]\nFormBorderColor=0x00FF00\n[Booleans]\nTitleBarCustom=1\n");

    std::printf("vocafetch-fuzz-seeds: %d seeds in %s\n", written, qPrintable(out.path()));
    return ok ? 0 : 1;
}
