#include "extract/RawFileName.h"

#include <gtest/gtest.h>

namespace {

using namespace vocafetch;

TEST(RawFileName, EveryByteSurvivesTheWayThereAndBack)
{
    const QByteArray names[] = {
        "plain.drf",
        "\xd0\x93\xd0\xbe\xd0\xbb\xd0\xbe\xd1\x81.drf", // UTF-8 "Голос.drf"
        "\xc3\xee\xeb\xee\xf1.drf",                     // the same in cp1251
        "lat\xe9.drf",
        "\xed\xa0\x80 surrogate, \xc0\xaf overlong, \xf4\x90\x80\x80 too high, \xe2\x82 cut",
        "\x80\xff",
    };
    for (const QByteArray &bytes : names) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        const QString name = nameFromBytes(bytes);
        EXPECT_EQ(bytesFromName(name), bytes);
        EXPECT_EQ(hasRawBytes(name), name != QString::fromUtf8(bytes));
    }
    // Valid UTF-8 reads as Qt reads it; invalid bytes are shown replaced.
    EXPECT_EQ(nameFromBytes(names[1]), QStringLiteral("Голос.drf"));
    EXPECT_EQ(displayName(nameFromBytes("lat\xe9.drf")), QStringLiteral("lat\uFFFD.drf"));
    EXPECT_EQ(bytesFromName(QStringLiteral("Голос.drf")), names[1]);
}

} // namespace
