// Writes that must never land anywhere but where the user chose: a phone file whose folder is a
// link leading out of the start folder, and a WAV file on a disk that fills up.
#include "extract/ExtractError.h"
#include "extract/encode/WavFile.h"
#include "phone/PhoneCopyRegistry.h"
#include "phone/PhoneDownload.h"
#include "phone/PhoneDownloadError.h"
#include "support/FakePhoneLibrary.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

namespace {

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

TEST(WriteSafetyTest, PhoneFolderBehindALinkOutOfTheStartFolderIsNeverCreated)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QDir dir(root.path());
    ASSERT_TRUE(dir.mkpath(QStringLiteral("start")) && dir.mkpath(QStringLiteral("outside")));
    ASSERT_TRUE(
        QFile::link(QStringLiteral("../outside"), dir.filePath(QStringLiteral("start/link"))));

    FakePhoneLibrary phone;
    phone.statuses = {PhoneLibrary::ReadyStatus};
    phone.addFile("/a/mobile/mms/link/new/x.drf", "#!AMR\n");
    PhoneCopyRegistry copies;
    PhoneDownload download(phone, dir.filePath(QStringLiteral("start")), copies,
                           [](const QString &) {});
    EXPECT_THROW(download.run(), PhoneDownloadError);

    EXPECT_TRUE(entries(dir.filePath(QStringLiteral("outside"))).isEmpty());
    EXPECT_EQ(entries(dir.filePath(QStringLiteral("start"))), QStringList{QStringLiteral("link")});
    EXPECT_TRUE(copies.files().isEmpty() && copies.folders().isEmpty());
}

TEST(WriteSafetyTest, WavFileOnAFullDiskFailsAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = QDir(dir.path()).filePath(QStringLiteral("rec.wav"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    }

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit full = saved;
    full.rlim_cur = 1000; // less than the samples, more than the header
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    QString error;
    try {
        writeWavFile(path, QByteArray(4000, '\x11'), 8000);
    } catch (const ExtractError &e) {
        error = e.message();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);

    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("rec.wav")});
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old"));
}

} // namespace
