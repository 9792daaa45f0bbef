#include "phone/PhoneDownload.h"
#include "phone/PhoneCopyRegistry.h"
#include "phone/PhoneDownloadError.h"
#include "support/FakePhoneLibrary.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace vocafetch;

namespace {

const QString Listing = QStringLiteral("Получение списка файлов...");
const QString NothingFound = QStringLiteral("Не найдено файлов DRF");
const QString AllDone = QStringLiteral("Все файлы успешно загружены");

QString reading(int number, int total)
{
    return QStringLiteral("Чтение файла %1/%2").arg(number).arg(total);
}

class PhoneDownloadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(outer.path()).mkdir("start"));
        library.statuses = {1};
    }

    QString startDir() const { return outer.filePath("start"); }
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

TEST_F(PhoneDownloadTest, CopiesExactlyTheFilesBelowThePhoneFolderAtTheirListedSize)
{
    library.addFile("/a/mobile/mms/a.drf", "0123456789");
    library.addFile("/a/mobile/mms2/b.drf", "bbb");
    library.addFile("/A/mobile/mms/x", "xxx");
    library.addFile("/a/mobile/mms/empty.drf", "");
    library.addFile("/a/mobile/mms/last.drf", "abc");
    library.entries.push_back(makePhoneEntry("/a/mobile/mms/negative.drf", -1));

    const PhoneDownloadResult &result = download();

    const QStringList names{"a.drf", "empty.drf", "last.drf"};
    EXPECT_EQ(result.phoneNames, names);
    EXPECT_EQ(result.phoneSizes, QList<qint32>({10, 0, 3}));
    EXPECT_EQ(result.captions, names);
    EXPECT_EQ(result.localPaths.first(), local("a.drf"));
    EXPECT_EQ(tree(startDir()), names);
    EXPECT_EQ(readFile(local("a.drf")), "0123456789");
    EXPECT_EQ(readFile(local("empty.drf")), "");
    EXPECT_EQ(library.created.first(), "/a/mobile/mms/a.drf");
    EXPECT_EQ(library.reads, (QList<QPair<int, int>>{{9, 10}, {-1, 0}, {2, 3}}));
    EXPECT_EQ(library.closeCalls, 3);
    EXPECT_EQ(*result.savePreset, QStringLiteral("last"));
    EXPECT_EQ(texts, QStringList({Listing, reading(1, 3), reading(2, 3), reading(3, 3), AllDone}));
}

// A phone file that changed after the listing is never copied at its listed size: the
// download stops there with an error naming it and leaves no copy of it, not even a partial
// one, while the copies made before stay.
TEST_F(PhoneDownloadTest, FileChangedSinceTheListingStopsTheDownloadWithoutACopy)
{
    struct Change
    {
        const char *what;
        qint32 listedSize;
        QByteArray bytes;
        bool opens;
    };
    const QByteArray changed = "/a/mobile/mms/changed.drf";
    for (const Change &change :
         {Change{"cut short", 6, "cut", true}, Change{"grown", 3, "grown since", true},
          Change{"a pipe by now", 4, "pipe", false}}) {
        SCOPED_TRACE(change.what);
        copies.removeAll();
        library = FakePhoneLibrary();
        library.statuses = {1};
        library.addFile("/a/mobile/mms/a.drf", "whole");
        library.addChangedFile(changed, change.listedSize, change.bytes);
        if (!change.opens)
            library.unopenable.insert(changed);
        library.addFile("/a/mobile/mms/c.drf", "never reached");

        try {
            download();
            ADD_FAILURE() << "copied without an error";
        } catch (const PhoneDownloadError &error) {
            EXPECT_TRUE(error.message().contains(QString::fromLatin1(changed))) << error.what();
        }
        EXPECT_EQ(tree(startDir()), QStringList{"a.drf"});
        EXPECT_EQ(current->result().captions, QStringList{"a.drf"});
        EXPECT_EQ(library.created.size(), 2);
        EXPECT_EQ(library.closeCalls, 2) << "the refused file is closed too";
        EXPECT_EQ(texts, QStringList({Listing, reading(1, 3)}));
    }
}

TEST_F(PhoneDownloadTest, NothingToDownload)
{
    for (const int count : {0, -7}) {
        library.reportedCount = count;
        const PhoneDownloadResult &result = download();
        EXPECT_TRUE(library.listGotNull);
        EXPECT_EQ(library.listGotCount, 0);
        EXPECT_FALSE(result.savePreset.has_value());
        EXPECT_EQ(texts, QStringList({Listing, NothingFound}));
    }
    library.statuses = {0};
    download();
    EXPECT_EQ(library.countCalls, 2) << "a phone no longer ready is not listed";
    EXPECT_EQ(texts, QStringList{NothingFound});
}

TEST_F(PhoneDownloadTest, FullWidthPathWithoutZeroIsTakenWhole)
{
    QByteArray path = "/a/mobile/mms/" + QByteArray(200, 'd') + '/' + QByteArray(200, 'e') + '/';
    path += QByteArray(504 - path.size() - 4, 'f') + ".drf";
    library.addFile(path, "full");

    const PhoneDownloadResult &result = download();

    const QString name = QString::fromLatin1(path.mid(14));
    EXPECT_EQ(result.captions, QStringList{name});
    EXPECT_EQ(readFile(local(name)), "full");
    EXPECT_EQ(library.created, QList<QByteArray>{path});
}

TEST_F(PhoneDownloadTest, NamesThatCouldLeaveTheStartFolderAreSkipped)
{
    for (const char *name :
         {"", "/etc/x.drf", "../x.drf", "sub/../../x.drf", "./x.drf", "a\\..\\x.drf", "C:x.drf",
          "tab\tx.drf", "del\x7f.drf", "sub//x.drf", "sub/", ".."})
        library.addFile(QByteArray("/a/mobile/mms/") + name, "evil");
    library.addFile("/a/mobile/mms/ok.drf", "fine");

    const PhoneDownloadResult &result = download();

    EXPECT_EQ(result.phoneNames, QStringList{"ok.drf"});
    EXPECT_EQ(library.created, QList<QByteArray>{"/a/mobile/mms/ok.drf"});
    EXPECT_EQ(tree(outer.path()), QStringList({"start", "start/ok.drf"}));
}

TEST_F(PhoneDownloadTest, NeverOverwritesTheUsersFilesAndCleanUpRemovesOnlyWhatDownloadsWrote)
{
    writeFile(local("a.drf"), "mine");
    ASSERT_TRUE(QDir(startDir()).mkdir("kept"));
    writeFile(local("kept/user.drf"), "user");
    library.addFile("/a/mobile/mms/a.drf", "first");
    library.addFile("/a/mobile/mms/sub/deep/x.drf", "x");
    library.addFile("/a/mobile/mms/kept/y.drf", "y");
    EXPECT_EQ(download().captions, QStringList({"a (1).drf", "sub/deep/x.drf", "kept/y.drf"}));
    EXPECT_EQ(readFile(local("sub/deep/x.drf")), "x");
    EXPECT_EQ(*current->result().savePreset, QStringLiteral("y"));

    writeFile(local("opened-from-disk.drf"), "keep");
    copies.removeAll();
    EXPECT_EQ(tree(startDir()),
              QStringList({"a.drf", "kept", "kept/user.drf", "opened-from-disk.drf"}));
    EXPECT_EQ(readFile(local("a.drf")), "mine");
}

TEST_F(PhoneDownloadTest, RepeatedReadsReplaceTheirOwnCopiesAndNothingElse)
{
    writeFile(local("a.drf"), "mine");
    // The phone's second name is the one the first one's copy takes: the two must not swap.
    library.addFile("/a/mobile/mms/a.drf", "first");
    library.addFile("/a/mobile/mms/a (1).drf", "other");
    library.addFile("/a/mobile/mms/sub/x.drf", "x");
    const QStringList captions{"a (1).drf", "a (1) (1).drf", "sub/x.drf"};
    EXPECT_EQ(download().captions, captions);

    library.contents.insert("/a/mobile/mms/a.drf", "again");
    library.entries.push_back(makePhoneEntry("/a/mobile/mms/a.drf", 5)); // listed twice
    library.addFile("/a/mobile/mms/b.drf", "b");
    const PhoneDownloadResult &second = download();
    EXPECT_EQ(second.captions, captions + QStringList({"a (2).drf", "b.drf"}));
    EXPECT_EQ(second.localPaths.first(), local("a (1).drf"));
    EXPECT_EQ(readFile(local("a (1).drf")), "again");
    EXPECT_EQ(readFile(local("a (1) (1).drf")), "other");
    EXPECT_EQ(readFile(local("a.drf")), "mine");

    // A copy the user changed, or replaced by a file of their own, is theirs from then on.
    writeFile(local("sub/x.drf"), "edited by the user");
    QFile::remove(local("b.drf"));
    writeFile(local("b.drf"), "the user's b");
    library.entries.erase(library.entries.begin() + 3); // the second a.drf
    EXPECT_EQ(download().captions,
              QStringList({"a (1).drf", "a (1) (1).drf", "sub/x (1).drf", "b (1).drf"}));
    EXPECT_EQ(tree(startDir()),
              QStringList({"a (1) (1).drf", "a (1).drf", "a (2).drf", "a.drf", "b (1).drf", "b.drf",
                           "sub", "sub/x (1).drf", "sub/x.drf"}));

    copies.removeAll();
    EXPECT_EQ(tree(startDir()), QStringList({"a.drf", "b.drf", "sub", "sub/x.drf"}));
    EXPECT_EQ(readFile(local("a.drf")), "mine");
    EXPECT_EQ(readFile(local("b.drf")), "the user's b");
    EXPECT_EQ(readFile(local("sub/x.drf")), "edited by the user");
}

// Phones that do not speak UTF-8 name their files in cp1251.
TEST_F(PhoneDownloadTest, EightBitNamesAreReadAsCp1251)
{
    const QByteArray cp1251 = "/a/mobile/mms/\xC3\xEE\xEB\xEE\xF1.drf";
    library.addFile(cp1251, "cp1251");
    library.addFile("/a/mobile/mms/\xD0\xB7\xD0\xB2\xD1\x83\xD0\xBA.drf", "utf-8");

    const PhoneDownloadResult &result = download();

    const QStringList names{QStringLiteral("Голос.drf"), QStringLiteral("звук.drf")};
    EXPECT_EQ(result.phoneNames, names);
    EXPECT_EQ(result.captions, names);
    EXPECT_EQ(tree(startDir()), names);
    EXPECT_EQ(readFile(local(names[0])), "cp1251");
    EXPECT_EQ(library.created.first(), cp1251) << "the phone is asked in its own bytes";

    download();
    EXPECT_EQ(tree(startDir()), names) << "a second read replaces its copies";
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
    EXPECT_EQ(texts, QStringList({Listing, reading(1, 3)}));
}

TEST_F(PhoneDownloadTest, FoldersThatCannotHoldTheCopyStopWithAClearError)
{
    writeFile(local("file"), "in the way");
    ASSERT_TRUE(QDir(outer.path()).mkdir("elsewhere"));
    ASSERT_TRUE(QFile::link(outer.filePath("elsewhere"), local("link")));
    for (const char *name : {"file/x.drf", "link/y.drf"}) {
        library.entries.clear();
        library.addFile(QByteArray("/a/mobile/mms/") + name, "z");
        try {
            download();
            ADD_FAILURE() << "no error for " << name;
        } catch (const PhoneDownloadError &error) {
            EXPECT_TRUE(error.message().contains(QString::fromLatin1(name))) << error.what();
        }
    }
    EXPECT_EQ(library.closeCalls, 2);
    EXPECT_TRUE(QDir(outer.filePath("elsewhere")).isEmpty());
}

// Qt reads paths beginning with ':' as the program's resources; phone names like that must
// still be plain files below the start folder.
TEST_F(PhoneDownloadTest, NamesBeginningWithAColonStayFilesBelowTheStartFolder)
{
    library.addFile("/a/mobile/mms/:", "colon");
    library.addFile("/a/mobile/mms/:dir/:x.drf", "deep");

    const PhoneDownloadResult &result = download();

    EXPECT_EQ(result.captions, QStringList({":", ":dir/:x.drf"}));
    EXPECT_EQ(result.localPaths, QStringList({startDir() + "/:", startDir() + "/:dir/:x.drf"}));
    EXPECT_EQ(readFile(startDir() + "/:"), "colon");
    EXPECT_EQ(readFile(startDir() + "/:dir/:x.drf"), "deep");
    copies.removeAll();
    EXPECT_EQ(tree(outer.path()), QStringList({"start"}));
}
