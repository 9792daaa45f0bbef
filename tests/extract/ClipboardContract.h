#pragma once

// The behaviour every Clipboard implementation owes TByteBuffer, as a typed test suite.
// Instantiate it for an implementation with a factory type F that has
// `static std::unique_ptr<Clipboard> make()`:
//   INSTANTIATE_TYPED_TEST_SUITE_P(Mine, ClipboardContract, ::testing::Types<MyFactory>);

#include "extract/ByteBuffer.h"
#include "extract/Clipboard.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <memory>

namespace vocafetch {

template <class Factory> class ClipboardContract : public ::testing::Test
{
protected:
    std::unique_ptr<Clipboard> clipboard = Factory::make();

    static std::shared_ptr<const ClipboardData> object(const QByteArray &bytes)
    {
        return std::make_shared<const ClipboardData>(bytes, QStringLiteral("rec.drf"),
                                                     QDateTime::currentDateTimeUtc());
    }
};

TYPED_TEST_SUITE_P(ClipboardContract);

TYPED_TEST_P(ClipboardContract, OffersTheObjectUntilReplacedOrCleared)
{
    Clipboard &board = *this->clipboard;
    const QByteArray bytes("\x00\xff#!AMR\n\x00", 9);
    const auto first = this->object(bytes);
    board.setData(first);
    EXPECT_TRUE(board.holds(first.get()));
    for (const QString &format : first->formats()) {
        EXPECT_TRUE(board.formats().contains(format)) << format.toStdString();
        EXPECT_EQ(board.data(format), first->data(format)) << format.toStdString();
    }

    const auto second = this->object("other");
    board.setData(second);
    EXPECT_FALSE(board.holds(first.get()));
    EXPECT_TRUE(board.holds(second.get()));

    board.clear();
    EXPECT_FALSE(board.holds(second.get()));
    EXPECT_FALSE(board.formats().contains(ClipboardFormat::Private));
    EXPECT_TRUE(board.data(ClipboardFormat::Private).isEmpty());
}

TYPED_TEST_P(ClipboardContract, CarriesEveryByteFromCopyToPaste)
{
    QByteArray bytes(256 * 3, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i);
    // The buffers take their bytes from the private block alone, so a direct object does.
    this->clipboard->setData(this->object(bytes));
    TByteBuffer target(*this->clipboard);
    ASSERT_TRUE(target.PasteFromClipboard());
    EXPECT_EQ(target.Data(), bytes);
}

REGISTER_TYPED_TEST_SUITE_P(ClipboardContract, OffersTheObjectUntilReplacedOrCleared,
                            CarriesEveryByteFromCopyToPaste);

} // namespace vocafetch
