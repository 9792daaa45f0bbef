// End to end: the real loader, the stand-in library serving a temporary folder, the
// connection on a real timer and the download.
#include "PolledWindow.h"
#include "phone/LoadedPhoneLibrary.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString StandIn = QStringLiteral(STANDIN_LIBRARY_FILE);
const QString TimedOut = QStringLiteral("Невозможно установить соединение с телефоном");

} // namespace

TEST(StandInPhone, ServesAFolderAsThePhone)
{
    QTemporaryDir root;
    QTemporaryDir start;
    writeFile(root.filePath("a/mobile/mms/голос.drf"), "#!AMR voice");
    writeFile(root.filePath("a/mobile/mms/2024/old.drf"), "#!AMR old");
    writeFile(root.filePath("a/mobile/other.drf"), "outside the phone folder");
    QTemporaryDir card;
    writeFile(card.filePath("card.drf"), "#!AMR card");
    QFile::link(card.path(), root.filePath("a/mobile/mms/card"));
    QFile::link(root.path(), root.filePath("a/mobile/mms/loop"));
    qputenv("P2K_PHONE_ROOT", root.path().toLocal8Bit());
    qputenv("P2K_PHONE_READY_DELAY_MS", "150");

    LoadedPhoneLibrary library({StandIn});
    ASSERT_TRUE(library.isLoaded()) << library.errorString().toStdString();
    PolledWindow window(library, start.path(), 100);
    window.connection.begin();
    ASSERT_TRUE(window.waitUntilIdle());

    // The stand-in calls back from a thread of its own; the text arrives on this thread.
    const QString connecting = QStringLiteral("Соединение с телефоном...");
    EXPECT_TRUE(window.onUiThread);
    EXPECT_EQ(window.texts.mid(0, 3),
              QStringList(
                  {connecting, connecting, QStringLiteral("Соединение с телефоном установленно")}));
    EXPECT_GE(window.ticks, 2) << "not ready before its delay";
    EXPECT_EQ(window.texts.last(), QStringLiteral("Все файлы успешно загружены"));
    EXPECT_EQ(window.result.captions, QStringList({"2024/old.drf", "card/card.drf", "голос.drf"}));
    QFile copy(QDir(start.path()).filePath("2024/old.drf"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "#!AMR old");
    copy.close();

    window.copies.removeAll();
    EXPECT_TRUE(QDir(start.path()).isEmpty());
}

TEST(StandInPhone, NeverReadyWithoutItsFolderOrWithoutAnyLibrary)
{
    QTemporaryDir start;
    qputenv("P2K_PHONE_READY_DELAY_MS", "0");
    LoadedPhoneLibrary standIn({StandIn});
    LoadedPhoneLibrary none({QDir(start.path()).filePath("p2kapi")});
    EXPECT_FALSE(none.isLoaded());
    EXPECT_FALSE(none.errorString().isEmpty());

    const QByteArray missing = QDir(start.path()).filePath("missing").toLocal8Bit();
    for (auto [library, root] : {std::pair<PhoneLibrary *, QByteArray>{&standIn, ""},
                                 {&standIn, missing},
                                 {&none, start.path().toLocal8Bit()}}) {
        qputenv("P2K_PHONE_ROOT", root);
        PolledWindow window(*library, start.path(), 1);
        window.connection.begin();
        ASSERT_TRUE(window.waitUntilIdle());
        EXPECT_EQ(window.texts.last(), TimedOut);
        EXPECT_EQ(library->fileCount(), 0);
    }
}

TEST(StandInPhone, LoaderFindsTheLibraryByItsPlainName)
{
    QTemporaryDir beside;
    const QString fileName = QFileInfo(StandIn).fileName();
    ASSERT_TRUE(QFile::copy(StandIn, beside.filePath(fileName)));

    LoadedPhoneLibrary library({QDir(beside.path()).filePath("p2kapi")});
    ASSERT_TRUE(library.isLoaded()) << library.errorString().toStdString();
    EXPECT_EQ(QFileInfo(library.fileName()).path(), beside.path());
}
