#include "phone/PhoneNameDecoding.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

using namespace vocafetch;

using vocafetch::decodeCp1251;
using vocafetch::decodePhoneName;

TEST(PhoneNameDecoding, ValidUtf8IsKeptAndEverythingElseIsCp1251)
{
    EXPECT_EQ(decodePhoneName("plain.drf"), QStringLiteral("plain.drf"));
    EXPECT_EQ(decodePhoneName("\xD0\x93\xD0\xBE\xD0\xBB\xD0\xBE\xD1\x81.drf"),
              QStringLiteral("Голос.drf"));
    EXPECT_EQ(decodePhoneName("\xC3\xEE\xEB\xEE\xF1.drf"), QStringLiteral("Голос.drf"));
    // Sequences cut off at the end, overlong or encoding a surrogate are not UTF-8.
    EXPECT_EQ(decodePhoneName("\xD0\x93\xD0"), QStringLiteral("Р“Р"));
    EXPECT_EQ(decodePhoneName("\xC0\xAF"), QStringLiteral("АЇ"));
    EXPECT_EQ(decodePhoneName("\xED\xA0\x80"), QStringLiteral("н\u00A0Ђ"));
    EXPECT_EQ(decodePhoneName("\xEF\xBB\xBFx"), QStringLiteral("\uFEFFx")) << "the mark stays";
    EXPECT_EQ(decodePhoneName("\x98"), QStringLiteral("\uFFFD")) << "unassigned in cp1251";
    EXPECT_EQ(decodeCp1251("\xA8\xB8\xB9\x88"), QStringLiteral("Ёё№€"));
}

// The system's own cp1251 converter (through ICU, where Qt has it) checks the whole table.
TEST(PhoneNameDecoding, Cp1251TableMatchesTheSystemConverter)
{
    QStringDecoder system("windows-1251");
    if (!system.isValid())
        GTEST_SKIP() << "this Qt has no cp1251 converter";
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        if (byte == 0x98)
            continue;
        const QByteArray raw(1, static_cast<char>(byte));
        EXPECT_EQ(decodeCp1251(raw), system.decode(raw)) << "byte " << byte;
    }
}
