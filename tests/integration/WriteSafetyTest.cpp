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

using namespace vocafetch;

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

} // namespace
