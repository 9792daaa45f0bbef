#include "PhoneDownload.h"
#include "FakePhoneLibrary.h"
#include "PhoneCopyRegistry.h"
#include "PhoneDownloadError.h"
#include "PhoneFileEntry.h"
#include "PhoneFileName.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

const QString Listing = QStringLiteral("Получение списка файлов...");
const QString NothingFound = QStringLiteral("Не найдено файлов DRF");
const QString AllDone = QStringLiteral("Все файлы успешно загружены");

QString reading(int number, int total)
{
    return QStringLiteral("Чтение файла ") + QString::number(number) + u'/' +
           QString::number(total);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Everything below `dir`, hidden files included, as sorted relative paths.
QStringList tree(const QString &dir)
{
    QStringList paths;
    const QDir root(dir);
    const auto filters = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
    QList<QString> pending{dir};
    while (!pending.isEmpty()) {
        const QString current = pending.takeFirst();
        for (const QFileInfo &info : QDir(current).entryInfoList(filters)) {
            paths << root.relativeFilePath(info.filePath());
            if (info.isDir() && !info.isSymLink())
                pending << info.filePath();
        }
    }
    paths.sort();
    return paths;
}

class PhoneDownloadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(outer.isValid());
        ASSERT_TRUE(QDir(outer.path()).mkdir(QStringLiteral("start")));
        library.statuses = {1};
    }

    QString startDir() const { return outer.filePath(QStringLiteral("start")); }
    QString local(const QString &name) const { return QDir(startDir()).filePath(name); }

    const PhoneDownloadResult &download()
    {
        texts.clear();
        current = std::make_unique<PhoneDownload>(library, startDir(), copies,
                                                  [this](const QString &t) { texts << t; });
        current->run();
        return current->result();
    }

    QTemporaryDir outer;
    FakePhoneLibrary library;
    PhoneCopyRegistry copies;
    std::unique_ptr<PhoneDownload> current;
    QStringList texts;
};

} // namespace

TEST(PhoneFileEntry, PathEndsAtFirstZeroOrFillsTheField)
{
    const QByteArray full(504, 'p');
    EXPECT_EQ(phoneEntryPath(makePhoneEntry(full, 0)), full);
    EXPECT_EQ(phoneEntryPath(makePhoneEntry(QByteArray("/a/b\0/c", 7), 0)), "/a/b");
    EXPECT_EQ(phoneEntryPath(makePhoneEntry(QByteArray(), 0)), "");

    TPhoneFileEntry entry = makePhoneEntry("/x", 0);
    const unsigned char size[4] = {0x04, 0x03, 0x02, 0x81};
    std::memcpy(&entry, size, 4);
    EXPECT_EQ(phoneEntrySize(entry), qint32(0x81020304));
}

TEST(PhoneFileName, NumberedNamesAndSaveDialogPreset)
{
    EXPECT_EQ(numberedFileName(QStringLiteral("a.drf"), 1), QStringLiteral("a (1).drf"));
    EXPECT_EQ(numberedFileName(QStringLiteral("a.b.drf"), 12), QStringLiteral("a.b (12).drf"));
    EXPECT_EQ(numberedFileName(QStringLiteral("readme"), 2), QStringLiteral("readme (2)"));
    EXPECT_EQ(numberedFileName(QStringLiteral(".hidden"), 1), QStringLiteral(".hidden (1)"));

    EXPECT_EQ(saveDialogPreset(QStringLiteral("x.drf")), QStringLiteral("x"));
    EXPECT_EQ(saveDialogPreset(QStringLiteral("ab/voice.drf")), QStringLiteral("voice"));
    EXPECT_EQ(saveDialogPreset(QStringLiteral("a/b/c.drf")), QStringLiteral("c"));
    EXPECT_EQ(saveDialogPreset(QStringLiteral(".drf")), QString());
    EXPECT_EQ(saveDialogPreset(QStringLiteral("ab")), QString());
}

TEST_F(PhoneDownloadTest, KeepsExactlyTheFilesBelowThePhoneFolder)
{
    library.addFile("/a/mobile/mms/a.drf", "0123456789");
    library.addFile("/a/mobile/mms2/b.drf", "bbb");
    library.addFile("/A/mobile/mms/x", "xxx");
    library.addFile("/a/mobile/mms", "folder itself");

    const PhoneDownloadResult &result = download();

    EXPECT_EQ(result.phoneNames, QStringList{"a.drf"});
    EXPECT_EQ(result.phoneSizes, QList<qint32>{10});
    EXPECT_EQ(result.captions, QStringList{"a.drf"});
    EXPECT_EQ(result.localPaths, QStringList{local("a.drf")});
    EXPECT_EQ(readAll(local("a.drf")), "0123456789");
    EXPECT_EQ(tree(startDir()), QStringList{"a.drf"});
    EXPECT_EQ(library.created, QList<QByteArray>{"/a/mobile/mms/a.drf"});
    EXPECT_EQ(library.createdModes, QList<int>{4});
    EXPECT_EQ((library.reads), (QList<QPair<int, int>>{{9, 10}}));
    EXPECT_EQ(library.closeCalls, 1);
    EXPECT_EQ(texts, QStringList({Listing, reading(1, 1), AllDone}));
    EXPECT_EQ(copies.files(), QStringList{local("a.drf")});
}

TEST_F(PhoneDownloadTest, CopiesHaveTheListedSizeWhateverTheLibraryDelivers)
{
    library.addFile("/a/mobile/mms/empty.drf", "");
    library.entries.push_back(makePhoneEntry("/a/mobile/mms/short.drf", 6));
    library.contents.insert("/a/mobile/mms/short.drf", "abc");
    library.entries.push_back(makePhoneEntry("/a/mobile/mms/negative.drf", -1));

    const PhoneDownloadResult &result = download();

    EXPECT_EQ(result.captions, QStringList({"empty.drf", "short.drf"}));
    EXPECT_EQ(readAll(local("empty.drf")), "");
    EXPECT_EQ(readAll(local("short.drf")), QByteArray("abc\0\0\0", 6));
    EXPECT_EQ(*result.savePreset, QStringLiteral("short"));
    EXPECT_EQ(texts, QStringList({Listing, reading(1, 2), reading(2, 2), AllDone}));
}

TEST_F(PhoneDownloadTest, EmptyOrNegativeCountListsWithNullArray)
{
    for (const int count : {0, -7}) {
        library.reportedCount = count;
        const PhoneDownloadResult &result = download();
        EXPECT_TRUE(library.listGotNull);
        EXPECT_EQ(library.listGotCount, 0);
        EXPECT_TRUE(result.captions.isEmpty());
        EXPECT_FALSE(result.savePreset.has_value());
        EXPECT_EQ(texts, QStringList({Listing, NothingFound}));
    }
    EXPECT_EQ(library.listCalls, 2);
}

TEST_F(PhoneDownloadTest, PhoneNoLongerReadyListsNothing)
{
    library.statuses = {0};
    library.addFile("/a/mobile/mms/a.drf", "a");
    download();
    EXPECT_EQ(library.countCalls, 0);
    EXPECT_EQ(texts, QStringList{NothingFound});
}

TEST_F(PhoneDownloadTest, FullWidthPathInSubfoldersIsTakenWhole)
{
    const QByteArray folder1(200, 'd');
    const QByteArray folder2(200, 'e');
    QByteArray path = "/a/mobile/mms/" + folder1 + '/' + folder2 + '/';
    path += QByteArray(504 - path.size() - 4, 'f') + ".drf";
    ASSERT_EQ(path.size(), 504);
    library.addFile(path, "full");

    const PhoneDownloadResult &result = download();

    const QString name = QString::fromLatin1(path.mid(14));
    EXPECT_EQ(result.phoneNames, QStringList{name});
    EXPECT_EQ(result.captions, QStringList{name});
    EXPECT_EQ(readAll(local(name)), "full");
    EXPECT_EQ(library.created, QList<QByteArray>{path});
}

TEST_F(PhoneDownloadTest, NamesThatCouldLeaveTheStartFolderAreSkipped)
{
    const QList<QByteArray> unsafe = {
        "",           "/etc/x.drf",  "../x.drf",     "sub/../../x.drf",
        "./x.drf",    "sub/./x.drf", "a\\..\\x.drf", "C:x.drf",
        "tab\tx.drf", "del\x7f.drf", "sub//x.drf",   "sub/",
        "..",
    };
    for (const QByteArray &name : unsafe)
        library.addFile("/a/mobile/mms/" + name, "evil");
    library.addFile("/a/mobile/mms/ok.drf", "fine");

    const PhoneDownloadResult &result = download();

    EXPECT_EQ(result.phoneNames, QStringList{"ok.drf"});
    EXPECT_EQ(result.captions, QStringList{"ok.drf"});
    EXPECT_EQ(library.created, QList<QByteArray>{"/a/mobile/mms/ok.drf"});
    EXPECT_EQ(tree(outer.path()), QStringList({"start", "start/ok.drf"}));
}

TEST_F(PhoneDownloadTest, ExistingFilesAreNeverOverwritten)
{
    writeFile(local("a.drf"), "mine");
    writeFile(local("a (1).drf"), "mine too");
    library.addFile("/a/mobile/mms/a.drf", "phone");

    const PhoneDownloadResult &result = download();

    EXPECT_EQ(result.phoneNames, QStringList{"a.drf"});
    EXPECT_EQ(result.captions, QStringList{"a (2).drf"});
    EXPECT_EQ(result.localPaths, QStringList{local("a (2).drf")});
    EXPECT_EQ(readAll(local("a (2).drf")), "phone");

    copies.removeAll();
    EXPECT_EQ(tree(startDir()), QStringList({"a (1).drf", "a.drf"}));
    EXPECT_EQ(readAll(local("a.drf")), "mine");
}

TEST_F(PhoneDownloadTest, SubfoldersAreCreatedAndOnlyThoseAreRemovedAtClose)
{
    ASSERT_TRUE(QDir(startDir()).mkdir("kept"));
    writeFile(local("kept/user.drf"), "user");
    library.addFile("/a/mobile/mms/sub/deep/x.drf", "x");
    library.addFile("/a/mobile/mms/kept/y.drf", "y");

    const PhoneDownloadResult &result = download();

    EXPECT_EQ(result.captions, QStringList({"sub/deep/x.drf", "kept/y.drf"}));
    EXPECT_EQ(readAll(local("sub/deep/x.drf")), "x");
    EXPECT_EQ(*result.savePreset, QStringLiteral("y"));

    copies.removeAll();
    EXPECT_EQ(tree(startDir()), QStringList({"kept", "kept/user.drf"}));
}

TEST_F(PhoneDownloadTest, SecondReadReplacesListsAndCleanUpCoversBoth)
{
    library.addFile("/a/mobile/mms/a.drf", "first");
    download();
    library.entries.clear();
    library.addFile("/a/mobile/mms/b.drf", "b");
    library.addFile("/a/mobile/mms/a.drf", "second");

    const PhoneDownloadResult &result = download();

    EXPECT_EQ(result.phoneNames, QStringList({"b.drf", "a.drf"}));
    EXPECT_EQ(result.captions, QStringList({"b.drf", "a (1).drf"}));
    EXPECT_EQ(result.localPaths, QStringList({local("b.drf"), local("a (1).drf")}));
    EXPECT_EQ(readAll(local("a.drf")), "first");
    EXPECT_EQ(readAll(local("a (1).drf")), "second");

    writeFile(local("opened-from-disk.drf"), "keep");
    copies.removeAll();
    EXPECT_EQ(tree(startDir()), QStringList{"opened-from-disk.drf"});
}

TEST_F(PhoneDownloadTest, FailedWriteClosesPhoneFileLeavesNoPartialCopyAndNamesTheFile)
{
    library.addFile("/a/mobile/mms/a.drf", "small");
    library.addFile("/a/mobile/mms/big.drf", QByteArray(256 * 1024, 'b'));
    library.addFile("/a/mobile/mms/c.drf", "never reached");

    // A file-size limit makes the disk "full" for the big copy only.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 64 * 1024;
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    QString message;
    try {
        download();
    } catch (const PhoneDownloadError &error) {
        message = error.message();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);

    EXPECT_TRUE(message.contains("/a/mobile/mms/big.drf")) << message.toStdString();
    EXPECT_TRUE(message.contains(local("big.drf"))) << message.toStdString();
    EXPECT_EQ(library.created.size(), 2);
    EXPECT_EQ(library.closeCalls, 2);
    EXPECT_EQ(tree(startDir()), QStringList{"a.drf"});
    EXPECT_EQ(current->result().captions, QStringList{"a.drf"});
    EXPECT_EQ(*current->result().savePreset, QStringLiteral("big"));
    EXPECT_EQ(texts, QStringList({Listing, reading(1, 3)}));
}

TEST_F(PhoneDownloadTest, FoldersThatCannotHoldTheCopyStopWithAClearError)
{
    writeFile(local("file"), "in the way");
    ASSERT_TRUE(QDir(outer.path()).mkdir("elsewhere"));
    ASSERT_TRUE(QFile::link(outer.filePath("elsewhere"), local("link")));
    for (const QByteArray &name : {QByteArray("file/x.drf"), QByteArray("link/y.drf")}) {
        library.entries.clear();
        library.addFile("/a/mobile/mms/" + name, "z");
        EXPECT_THROW(
            {
                try {
                    download();
                } catch (const PhoneDownloadError &error) {
                    EXPECT_TRUE(error.message().contains(QString::fromLatin1(name)))
                        << error.what();
                    throw;
                }
            },
            PhoneDownloadError);
    }
    EXPECT_EQ(library.closeCalls, 2);
    EXPECT_TRUE(QDir(outer.filePath("elsewhere")).isEmpty());
}

TEST(PhoneCopyRegistry, RemovesRecordedFilesThenEmptyRecordedFolders)
{
    QTemporaryDir dir;
    const QDir root(dir.path());
    ASSERT_TRUE(root.mkpath("made/inner"));
    ASSERT_TRUE(root.mkpath("busy"));
    writeFile(root.filePath("made/inner/copy.drf"), "c");
    writeFile(root.filePath("busy/copy.drf"), "c");
    writeFile(root.filePath("busy/other.drf"), "o");

    PhoneCopyRegistry copies;
    copies.recordFolder(root.filePath("made"));
    copies.recordFolder(root.filePath("made/inner"));
    copies.recordFolder(root.filePath("busy"));
    copies.recordFile(root.filePath("made/inner/copy.drf"));
    copies.recordFile(root.filePath("busy/copy.drf"));
    copies.recordFile(root.filePath("gone.drf"));
    copies.removeAll();

    EXPECT_EQ(tree(dir.path()), QStringList({"busy", "busy/other.drf"}));
    EXPECT_TRUE(copies.files().isEmpty());
}
