#include "app/SystemClipboard.h"
#include "extract/ByteBuffer.h"
#include "extract/ClipboardData.h"
#include "extract/InProcessClipboard.h"
#include "support/ContainerBytes.h"

#include <QClipboard>
#include <QDateTime>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

std::shared_ptr<const ClipboardData> dataObject(const QByteArray &bytes)
{
    return std::make_shared<const ClipboardData>(
        bytes, QStringLiteral("/recordings/box.drf"),
        QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC));
}

// The same contract for every clipboard the byte buffer can use.
template <class ClipboardType> class ClipboardContractTest : public ::testing::Test
{
protected:
    void SetUp() override { QGuiApplication::clipboard()->clear(); }
    void TearDown() override { QGuiApplication::clipboard()->clear(); }

    ClipboardType clipboard;
};

using Clipboards = ::testing::Types<InProcessClipboard, SystemClipboard>;
TYPED_TEST_SUITE(ClipboardContractTest, Clipboards);

TYPED_TEST(ClipboardContractTest, OffersEveryFormatOfTheDataObjectInItsOrder)
{
    const QByteArray bytes("ab\0cd#!AMR", 10);
    const auto data = dataObject(bytes);
    this->clipboard.setData(data);
    EXPECT_EQ(this->clipboard.formats(), data->formats());
    for (const QString &format : data->formats())
        EXPECT_EQ(this->clipboard.data(format), data->data(format)) << format.toStdString();
    EXPECT_EQ(readPrivateClipboardBlock(this->clipboard.data(ClipboardFormat::Private)), bytes);
    EXPECT_EQ(this->clipboard.data(ClipboardFormat::Text), QByteArray("ab\0", 3));
    EXPECT_TRUE(this->clipboard.data(ClipboardFormat::UnicodeText).isEmpty());
}

TYPED_TEST(ClipboardContractTest, KnowsWhetherItStillHoldsAnObject)
{
    const auto first = dataObject("one");
    const auto second = dataObject("two");
    EXPECT_FALSE(this->clipboard.holds(first.get()));
    this->clipboard.setData(first);
    EXPECT_TRUE(this->clipboard.holds(first.get()));
    EXPECT_FALSE(this->clipboard.holds(second.get()));
    this->clipboard.setData(second);
    EXPECT_FALSE(this->clipboard.holds(first.get()));
    EXPECT_TRUE(this->clipboard.holds(second.get()));
    this->clipboard.clear();
    EXPECT_FALSE(this->clipboard.holds(second.get()));
    EXPECT_TRUE(this->clipboard.formats().isEmpty());
    EXPECT_TRUE(this->clipboard.data(ClipboardFormat::Private).isEmpty());
}

TYPED_TEST(ClipboardContractTest, CarriesABuffersSelectionIntoAnotherBufferUnchanged)
{
    QByteArray bytes;
    for (int i = 0; i < 300; ++i)
        bytes.append(char(i * 7));
    QTemporaryDir dir;
    const QString path = writeFile(QDir(dir.path()), QStringLiteral("box.drf"), bytes);
    ASSERT_FALSE(path.isEmpty());

    TByteBuffer target(this->clipboard);
    {
        TByteBuffer source(this->clipboard);
        source.LoadFromFile(path);
        source.SetSelStart(10);
        source.SetSelEnd(250);
        ASSERT_TRUE(source.CopyToClipboard());
        target.CreateEmpty(QStringLiteral("temp.amr"));
        ASSERT_TRUE(target.PasteFromClipboard());
        EXPECT_EQ(target.Data(), bytes.mid(10, 241));
        EXPECT_FALSE(this->clipboard.formats().isEmpty());
    }
    // A buffer takes its own data object off the clipboard when it goes.
    EXPECT_TRUE(this->clipboard.formats().isEmpty());
}

// Only the desktop's clipboard is shared: what other programs put there is seen, and a
// buffer that goes leaves their content alone.
TEST(SystemClipboardTest, SeesOtherProgramsTextAndLeavesItInPlace)
{
    SystemClipboard clipboard;
    QGuiApplication::clipboard()->setText(QStringLiteral("from elsewhere"));
    EXPECT_TRUE(clipboard.formats().contains(ClipboardFormat::Text));
    EXPECT_EQ(clipboard.data(ClipboardFormat::Text).left(14), QByteArray("from elsewhere"));
    {
        TByteBuffer buffer(clipboard);
        buffer.CreateEmpty(QString());
        ASSERT_TRUE(buffer.PasteFromClipboard());
        EXPECT_EQ(buffer.Data(), QByteArray("from elsewhere"));
    }
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("from elsewhere"));

    // Programs reading plain text get the copied bytes up to the first zero byte.
    clipboard.setData(dataObject(QByteArray("text\0more", 9)));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("text"));
    QGuiApplication::clipboard()->clear();
}

} // namespace
