// A phone whose file list is any bytes: entries, names, sizes and contents fuzzed, served by
// the scripted fake library through the download. Every input: each copy the download stores
// is the next file the list names below the phone folder, under a name safe to store below the
// start folder (relative, no empty, "." or ".." component, no backslash, drive letter or
// control character), holding exactly what the phone served at the listed size; every phone
// file opened is closed; the result lists the copies in order.
//
// One input in thirty-two (picked by its bytes, so a failure reproduces) downloads into a real
// start folder that already holds the user's files, a folder, a link leading outside and a
// pipe: every copy must lie inside the start folder and hold what the phone served, nothing
// else may change anywhere, and the clean-up at close must leave the start folder as it was.
// That round trip makes a hundred system calls and more, several times the cost of the rest;
// the share keeps a run at a million inputs in five minutes while the disk still gets tens of
// thousands of downloads.
#include "FuzzSupport.h"
#include "PhoneFuzzInput.h"

#include "phone/PhoneCopyRegistry.h"
#include "phone/PhoneCopyStore.h"
#include "phone/PhoneDownload.h"
#include "phone/PhoneDownloadError.h"
#include "phone/PhoneFileName.h"
#include "support/FakePhoneLibrary.h"

#include <sys/stat.h>

#include <cstdint>

using namespace vocafetch;

namespace {

constexpr unsigned DiskShare = 32;

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
        return 1 << 12;
    default:
        return length;
    }
}

void script(FakePhoneLibrary &phone, const PhoneFuzzInput::Phone &input)
{
    phone.statuses = {input.notReady ? 0 : PhoneLibrary::ReadyStatus};
    phone.entries.reserve(size_t(input.entries.size()));
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

QByteArray servedAtListedSize(const FakePhoneLibrary &phone, const QByteArray &phonePath,
                              qint32 size)
{
    return phone.contents.value(phonePath).left(size).leftJustified(size, '\0', true);
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
        FUZZ_CHECK(fuzz::readBytes(local) ==
                   servedAtListedSize(phone, phone.created[i], result.phoneSizes[i]));
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

// Whether a stored name can only lie below the start folder, as text: what the list's raw
// bytes were checked for must still hold once they are decoded. A drive letter is an ASCII
// one: "і:7" (cp1251 0xB3) is a plain name.
bool isSafeStoredName(const QString &name)
{
    if (name.isEmpty() || name.contains(u'\\') ||
        (name.size() >= 2 && name[1] == u':' && name[0].isLetter() && name[0].unicode() < 0x80))
        return false;
    for (const QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    for (const QStringView component : QStringView(name).split(u'/'))
        if (component.isEmpty() || component == u"." || component == u"..")
            return false;
    return true;
}

// The copies kept in memory, in the order stored, each under its name, or the name numbered
// as the start folder would number it when this download stored that name before.
class MemoryStore : public PhoneCopyStore
{
public:
    struct Copy
    {
        QString name;
        QByteArray bytes;
        QByteArray phonePath;
        QString caption;
    };

    QString write(const QString &name, const QByteArray &bytes,
                  const QByteArray &phonePath) override
    {
        if (!isSafeStoredName(name))
            std::fprintf(stderr, "stored name \"%s\" is not safe\n", qPrintable(name));
        FUZZ_CHECK(isSafeStoredName(name));
        const qsizetype slash = name.lastIndexOf(u'/');
        QString caption = name;
        for (int number = 1; m_taken.contains(caption); ++number)
            caption = name.left(slash + 1) + numberedFileName(name.mid(slash + 1), number);
        m_taken.insert(caption);
        copies.append({name, bytes, phonePath, caption});
        return caption;
    }

    QList<Copy> copies;

private:
    QSet<QString> m_taken;
};

void downloadToMemory(FakePhoneLibrary &phone)
{
    const QString start = QStringLiteral("/start");
    MemoryStore store;
    PhoneDownload download(phone, start, store, [](const QString &) {});
    try {
        download.run();
    } catch (const PhoneDownloadError &) {
        // A refused list or copy; what was stored before must still be right.
    }
    FUZZ_CHECK(phone.closeCalls == phone.created.size());
    const PhoneDownloadResult &result = download.result();
    FUZZ_CHECK(result.captions.size() == store.copies.size());
    FUZZ_CHECK(result.localPaths.size() == store.copies.size());
    FUZZ_CHECK(result.phoneSizes.size() == result.phoneNames.size());
    FUZZ_CHECK(store.copies.size() <= result.phoneNames.size());
    FUZZ_CHECK(store.copies.size() <= phone.created.size());
    for (qsizetype i = 0; i < store.copies.size(); ++i) {
        const MemoryStore::Copy &copy = store.copies[i];
        FUZZ_CHECK(copy.name == result.phoneNames[i]);
        FUZZ_CHECK(copy.phonePath == phone.created[i]);
        FUZZ_CHECK(copy.phonePath.startsWith(PhoneFolderPrefix));
        FUZZ_CHECK(copy.bytes == servedAtListedSize(phone, copy.phonePath, result.phoneSizes[i]));
        FUZZ_CHECK(result.captions[i] == copy.caption);
        FUZZ_CHECK(result.localPaths[i] == pathBelow(start, copy.caption));
    }
}

void downloadToDisk(FakePhoneLibrary &phone)
{
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
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const PhoneFuzzInput::Phone input =
        PhoneFuzzInput::decode(QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(size)));
    FakePhoneLibrary phone;
    script(phone, input);
    if (fuzz::inShare(bytes, size, DiskShare))
        downloadToDisk(phone);
    else
        downloadToMemory(phone);
    return 0;
}
