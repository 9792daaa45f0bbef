// A phone whose file list is any bytes: entries, names, sizes and contents fuzzed, served by
// the scripted fake library through the download into a start folder that already holds the
// user's files, a folder, a link leading outside and a pipe. Every copy must lie inside the
// start folder and hold what the phone served, nothing else may change anywhere, and the
// clean-up at close must leave the start folder as it was.
#include "FuzzSupport.h"
#include "PhoneFuzzInput.h"

#include "phone/PhoneCopyRegistry.h"
#include "phone/PhoneDownload.h"
#include "phone/PhoneDownloadError.h"
#include "phone/PhoneFileName.h"
#include "support/FakePhoneLibrary.h"

#include <sys/stat.h>

#include <cstdint>

using namespace vocafetch;

namespace {

const QByteArray UserBytes = "the user's own container";

struct Layout
{
    QString root;
    QString start;
    QStringList rootTree; // as made, before any download
};

const Layout &layout()
{
    static const Layout made = [] {
        Layout l;
        l.root = fuzz::scratch().path();
        const QDir root(l.root);
        root.mkpath(QStringLiteral("start/sub"));
        root.mkpath(QStringLiteral("outside"));
        l.start = root.filePath(QStringLiteral("start"));
        FUZZ_CHECK(
            fuzz::writeBytes(root.filePath(QStringLiteral("outside/secret.drf")), UserBytes));
        FUZZ_CHECK(
            fuzz::writeBytes(root.filePath(QStringLiteral("start/existing.drf")), UserBytes));
        FUZZ_CHECK(
            fuzz::writeBytes(root.filePath(QStringLiteral("start/sub/keep.drf")), UserBytes));
        FUZZ_CHECK(
            QFile::link(QStringLiteral("../outside"), root.filePath(QStringLiteral("start/link"))));
        FUZZ_CHECK(::mkfifo(qPrintable(root.filePath(QStringLiteral("start/pipe"))), 0600) == 0);
        l.rootTree = fuzz::listTree(l.root);
        return l;
    }();
    return made;
}

qint32 listedSize(const PhoneFuzzInput::Entry &entry)
{
    const auto length = qint32(entry.content.size());
    switch (entry.sizeRule) {
    case PhoneFuzzInput::SizeLarger:
        return length + 7;
    case PhoneFuzzInput::SizeSmaller:
        return length / 2;
    case PhoneFuzzInput::SizeZero:
        return 0;
    case PhoneFuzzInput::SizeMinusOne:
        return -1;
    case PhoneFuzzInput::SizeMinimum:
        return INT32_MIN;
    case PhoneFuzzInput::SizeFarLarger:
        return 1 << 16;
    default:
        return length;
    }
}

void script(FakePhoneLibrary &phone, const PhoneFuzzInput::Phone &input)
{
    phone.statuses = {input.notReady ? 0 : PhoneLibrary::ReadyStatus};
    for (const PhoneFuzzInput::Entry &entry : input.entries) {
        QByteArray path = entry.inFolder ? PhoneFuzzInput::Folder + entry.path : entry.path;
        if (entry.fillField && !path.isEmpty())
            path = path.leftJustified(504, path.back());
        const TPhoneFileEntry listed = makePhoneEntry(path, listedSize(entry));
        phone.entries.push_back(listed);
        // Served under the path as the list shows it: up to its first zero, at most 504 bytes.
        phone.contents.insert(QByteArray(listed.Path, int(qstrnlen(listed.Path, 504))),
                              entry.content);
    }
    const int listed = int(phone.entries.size());
    switch (input.countLie) {
    case 1:
        phone.reportedCount = listed + 1;
        break;
    case 2:
        phone.reportedCount = qMax(0, listed - 1);
        break;
    case 3:
        phone.reportedCount = input.hostileCount();
        break;
    default:
        break;
    }
}

// The root folder's tree as listed after a download: each entry's type.
using Tree = QHash<QString, unsigned char>;

// Whether path is an entry of the given type below the start folder, reached without passing
// through a link: the listing enters real folders only.
bool insideStart(const Tree &tree, const QString &path, unsigned char type)
{
    const QString relative = QDir(layout().root).relativeFilePath(path);
    return relative.startsWith(QLatin1String("start/")) && tree.value(relative, DT_UNKNOWN) == type;
}

void checkCopies(const FakePhoneLibrary &phone, const PhoneDownloadResult &result,
                 const PhoneCopyRegistry &copies, const Tree &tree)
{
    FUZZ_CHECK(result.captions.size() == result.localPaths.size());
    FUZZ_CHECK(result.captions.size() <= result.phoneNames.size());
    FUZZ_CHECK(result.captions.size() <= phone.created.size());
    for (int i = 0; i < result.captions.size(); ++i) {
        const QString &local = result.localPaths[i];
        FUZZ_CHECK(local == pathBelow(QDir(layout().start).path(), result.captions[i]));
        if (!insideStart(tree, local, DT_REG))
            std::fprintf(stderr, "copy %d: \"%s\" is not a file inside the start folder\n", i,
                         qPrintable(local));
        FUZZ_CHECK(insideStart(tree, local, DT_REG));
        const qint32 size = result.phoneSizes[i];
        const QByteArray served = phone.contents.value(phone.created[i]);
        const QByteArray expected = served.left(size).leftJustified(size, '\0', true);
        FUZZ_CHECK(fuzz::readBytes(local) == expected);
    }
    for (const QString &file : copies.files())
        FUZZ_CHECK(insideStart(tree, file, DT_REG));
    for (const QString &folder : copies.folders())
        FUZZ_CHECK(insideStart(tree, folder, DT_DIR));
}

// The tree is the one made at the start with the copies and their folders added, and the
// user's files still hold what they held.
Tree checkNothingElseChanged(const PhoneCopyRegistry &copies)
{
    const QDir root(layout().root);
    FUZZ_CHECK(fuzz::readBytes(root.filePath(QStringLiteral("outside/secret.drf"))) == UserBytes);
    FUZZ_CHECK(fuzz::readBytes(root.filePath(QStringLiteral("start/existing.drf"))) == UserBytes);
    FUZZ_CHECK(fuzz::readBytes(root.filePath(QStringLiteral("start/sub/keep.drf"))) == UserBytes);
    QStringList created;
    for (const QString &path : copies.files() + copies.folders())
        created << root.relativeFilePath(path);
    QStringList expected = layout().rootTree + created;
    expected.sort();
    Tree tree;
    const QStringList now = fuzz::listTree(layout().root, &tree);
    if (now != expected) {
        std::fprintf(stderr, "tree now:      %s\nexpected tree: %s\n", qPrintable(now.join(u' ')),
                     qPrintable(expected.join(u' ')));
    }
    FUZZ_CHECK(now == expected);
    return tree;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const PhoneFuzzInput::Phone input =
        PhoneFuzzInput::decode(QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(size)));
    FakePhoneLibrary phone;
    script(phone, input);

    PhoneCopyRegistry copies;
    PhoneDownload download(phone, layout().start, copies, [](const QString &) {});
    try {
        download.run();
    } catch (const PhoneDownloadError &) {
        // A refused list or copy; what was copied before must still be right.
    }
    FUZZ_CHECK(phone.closeCalls == phone.created.size());
    const Tree tree = checkNothingElseChanged(copies);
    checkCopies(phone, download.result(), copies, tree);

    copies.removeAll();
    FUZZ_CHECK(fuzz::listTree(layout().root) == layout().rootTree);
    return 0;
}
