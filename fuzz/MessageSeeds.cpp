// vocafetch-message-seeds: writes the seeds of the message fuzzer with the tests' PDU builder:
// messages of each kind, charsets and body, cut short, lying about their parts, and inside an
// image with recordings. Each seed is the fuzzer's control byte, then the bytes.
// Usage: vocafetch-message-seeds OUTPUT-FOLDER
#include "message/MmsBuilder.h"

#include <QDir>
#include <QFile>

#include <cstdio>

using namespace vocafetch;

using namespace vocafetch::MmsBuild;

namespace {

QByteArray voiceMessage(quint8 type)
{
    MmsBuilder pdu = message(type);
    pdu.header(Date, longInteger(1234567890))
        .from(encodedString("+79161234567/TYPE=PLMN", 106))
        .textHeader(To, "+79037654321/TYPE=PLMN")
        .header(Cc, encodedString("\xCF\xF0\xE8", 2251))
        .header(Subject, encodedString("\xF0\xD2\xC9", 2084))
        .header(Expiry, withLength('\x81' + longInteger(604800)))
        .applicationHeader("X-Custom", "value")
        .body(contentType(MultipartRelated, startParameter("<smil>")),
              {{contentType("application/smil"), contentId("<smil>"), "<smil/>"},
               {contentType(TextPlain, charsetParameter(1000)), contentLocation("t.txt"),
                QByteArray("\xFE\xFF\x04\x1F", 4)},
               {contentType("audio/amr", nameParameter("Voice_090312_001.amr")),
                attachment("Voice_090312_001.amr"), recordingData(64)}});
    return pdu.bytes();
}

QVector<QByteArray> seeds()
{
    const QByteArray voice = voiceMessage(RetrieveConf);
    MmsBuilder notification = message(NotificationInd);
    notification.header(Subject, encodedString("\x7F\xFF\xFE\x41\x00", 1015))
        .textHeader(ContentLocationField, "http://mmsc/x");
    MmsBuilder lying = message(SendReq);
    lying.body(
        wellKnownType(MultipartMixed),
        {{wellKnownType(TextPlain), {}, "one"}, {contentType("audio/amr"), {}, "#!AMR\n", 900}}, 7);
    // A run of the message-type byte that begins no PDU; two of them hold more than the
    // fuzzer reads at (64). Short, for the run's inputs grow from the longest seed.
    const QByteArray junk(40, '\x8C');
    return {
        voice,
        voiceMessage(SendReq),
        notification.bytes(),
        voice.left(voice.size() / 3),
        lying.bytes(),
        junk + recordingData(40) + voice + junk + recordingData(40),
        voice + junk + voiceMessage(RetrieveConf) + recordingData(30),
    };
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vocafetch-message-seeds OUTPUT-FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral(".")))
        return 1;
    const QVector<QByteArray> all = seeds();
    for (int i = 0; i < all.size(); ++i) {
        QFile file(out.filePath(QStringLiteral("seed-%1").arg(i)));
        const QByteArray bytes = char(i * 37) + all[i];
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "vocafetch-message-seeds: %s: %s\n", qPrintable(file.fileName()),
                         qPrintable(file.errorString()));
            return 1;
        }
    }
    std::printf("vocafetch-message-seeds: %d seeds in %s\n", int(all.size()), argv[1]);
    return 0;
}
