#include "extract/ClipboardData.h"

#include <gtest/gtest.h>

using namespace vocafetch;

namespace {

quint32 le32(const QByteArray &block, int offset)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(block.at(offset + i));
    return value;
}

TEST(ClipboardDataTest, OffersTheFourFormatsInOrder)
{
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(0, Qt::UTC);
    const ClipboardData object(QByteArray("ab\0cd", 5), "rec.drf", when);
    EXPECT_EQ(object.formats(), QStringList({"Bytewell Clipboard Format", "CF_TEXT",
                                             "FileGroupDescriptor", "FileContents"}));
    EXPECT_EQ(object.data("Bytewell Clipboard Format"),
              QByteArray("BBCF\x01\x00\x01\x00\x05\x00\x00\x00"
                         "ab\0cd",
                         17));
    EXPECT_EQ(object.data("CF_TEXT"), QByteArray("ab\0", 3));
    EXPECT_EQ(object.data("FileContents"), QByteArray("ab\0cd", 5));
    EXPECT_TRUE(object.data("CF_BITMAP").isEmpty());
    // Text without a zero byte keeps every byte and gains the terminator.
    EXPECT_EQ(makeClipboardText("abc"), QByteArray("abc\0", 4));
}

TEST(ClipboardDataTest, FileGroupDescriptorLayout)
{
    // 2001-02-03 04:05:06.789 UTC
    const QDateTime when(QDate(2001, 2, 3), QTime(4, 5, 6, 789), Qt::UTC);
    const QByteArray block = makeFileGroupDescriptor(0x123456789LL, "/home/u/calls/rec.drf", when);
    ASSERT_EQ(block.size(), 336);
    EXPECT_EQ(le32(block, 0), 1u);
    EXPECT_EQ(le32(block, 4), 0x60u);
    const quint64 ticks = (quint64(le32(block, 64)) << 32) | le32(block, 60);
    EXPECT_EQ(ticks, (quint64(when.toMSecsSinceEpoch()) + 11644473600000ULL) * 10000ULL);
    EXPECT_EQ(le32(block, 68), 1u);
    EXPECT_EQ(le32(block, 72), 0x23456789u);
    EXPECT_EQ(QByteArray(block.constData() + 76), "Dump of rec.bin");
    for (int offset : {8, 24, 32, 40, 44, 52})
        EXPECT_EQ(le32(block, offset), 0u) << offset;

    // A long name is cut to 255 bytes and stays zero-terminated.
    const QByteArray longBlock = makeFileGroupDescriptor(1, QString(400, 'n') + ".drf", when);
    EXPECT_EQ(qstrlen(longBlock.constData() + 76), 255u);
    EXPECT_EQ(longBlock.mid(76, 8), "Dump of ");
}

TEST(ClipboardDataTest, PrivateBlockRoundTripAndBadHeaders)
{
    const QByteArray bytes("\x00\x01#!AMR\xff", 8);
    EXPECT_EQ(readPrivateClipboardBlock(makePrivateClipboardBlock(bytes)).value(), bytes);
    EXPECT_EQ(readPrivateClipboardBlock(makePrivateClipboardBlock({})).value(), QByteArray());

    QByteArray wrongMagic = makePrivateClipboardBlock(bytes);
    wrongMagic[3] = 'X';
    EXPECT_FALSE(readPrivateClipboardBlock(wrongMagic));
    QByteArray wrongVersion = makePrivateClipboardBlock(bytes);
    wrongVersion[6] = 2;
    EXPECT_FALSE(readPrivateClipboardBlock(wrongVersion));
    EXPECT_FALSE(readPrivateClipboardBlock("BBCF"));
    // A count larger than the block is refused.
    QByteArray truncated = makePrivateClipboardBlock(bytes);
    truncated.chop(1);
    EXPECT_FALSE(readPrivateClipboardBlock(truncated));
}

TEST(ClipboardDataTest, MimeTypesMapBothWays)
{
    EXPECT_EQ(clipboardMimeType("CF_TEXT"), "text/plain");
    QStringList all = ClipboardData({}, {}, {}).formats() + ClipboardFormat::pastePriority();
    all.removeDuplicates();
    QStringList seen;
    for (const QString &format : all) {
        const QString mime = clipboardMimeType(format);
        EXPECT_FALSE(seen.contains(mime)) << mime.toStdString();
        seen << mime;
        EXPECT_EQ(clipboardFormatForMimeType(mime), format);
    }
    EXPECT_TRUE(clipboardFormatForMimeType("application/x-unknown").isEmpty());
}

} // namespace
