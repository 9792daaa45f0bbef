#include "app/StartOptions.h"
#include "app/Localization.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace vocafetch;

using vocafetch::Language;
using vocafetch::parseStartOptions;
using vocafetch::StartOptionError;

TEST(StartOptionsTest, LangIsTakenInBothSpellingsAndEveryOtherArgumentIsAFile)
{
    const vocafetch::StartOptions spaced = parseStartOptions({"a.drf", "--lang", "en", "b.drf"});
    EXPECT_EQ(spaced.language, Language::English);
    EXPECT_EQ(spaced.files, QStringList({"a.drf", "b.drf"}));

    const vocafetch::StartOptions joined = parseStartOptions({"--lang=ru", "-x", "c.drf"});
    EXPECT_EQ(joined.language, Language::Russian);
    EXPECT_EQ(joined.files, QStringList({"-x", "c.drf"}));

    const vocafetch::StartOptions none = parseStartOptions({"--language.drf"});
    EXPECT_FALSE(none.language.has_value());
    EXPECT_EQ(none.files, QStringList({"--language.drf"}));
}

TEST(StartOptionsTest, AfterADoubleDashEveryArgumentIsAFile)
{
    const vocafetch::StartOptions options = parseStartOptions({"--", "--lang", "xx", "--"});
    EXPECT_FALSE(options.language.has_value());
    EXPECT_EQ(options.files, QStringList({"--lang", "xx", "--"}));
}

TEST(StartOptionsTest, AnUnknownOrMissingLanguageIsRefusedWithItsName)
{
    try {
        parseStartOptions({"--lang", "xx"});
        FAIL() << "--lang xx was accepted";
    } catch (const StartOptionError &error) {
        EXPECT_NE(std::string(error.what()).find("'xx'"), std::string::npos) << error.what();
    }
    EXPECT_THROW(parseStartOptions({"--lang=EN"}), StartOptionError);
    EXPECT_THROW(parseStartOptions({"--lang="}), StartOptionError);
    EXPECT_THROW(parseStartOptions({"a.drf", "--lang"}), StartOptionError);
}

TEST(StartOptionsTest, HelpAndVersionAreOptionsBeforeADoubleDash)
{
    EXPECT_TRUE(parseStartOptions({"a.drf", "--help"}).help);
    EXPECT_TRUE(parseStartOptions({"-h"}).help);
    const vocafetch::StartOptions version = parseStartOptions({"--version"});
    EXPECT_TRUE(version.version);
    EXPECT_FALSE(version.help);
    EXPECT_TRUE(version.files.isEmpty());
    const vocafetch::StartOptions files = parseStartOptions({"--", "--help", "--version"});
    EXPECT_FALSE(files.help || files.version);
    EXPECT_EQ(files.files, QStringList({"--help", "--version"}));
}

TEST(StartOptionsTest, EnglishUnlessTheSystemPrefersRussianOrNamesNoLanguage)
{
    using Localization::systemLanguage;
    EXPECT_EQ(systemLanguage({"en-US"}), Language::English);
    EXPECT_EQ(systemLanguage({"ru-RU"}), Language::Russian);
    EXPECT_EQ(systemLanguage({"en-GB", "ru-RU"}), Language::English);
    // The first language the window speaks wins.
    EXPECT_EQ(systemLanguage({"de-DE", "en", "ru"}), Language::English);
    EXPECT_EQ(systemLanguage({"de-DE", "ru-RU", "en"}), Language::Russian);
    // Languages the window does not speak get English.
    EXPECT_EQ(systemLanguage({"de-DE"}), Language::English);
    // A system that names no language gets the window's source language.
    EXPECT_EQ(systemLanguage({"C"}), Language::Russian);
    EXPECT_EQ(systemLanguage({}), Language::Russian);
    // As the system's locales give their languages.
    EXPECT_EQ(systemLanguage(QLocale(QLocale::German, QLocale::Germany).uiLanguages()),
              Language::English);
    EXPECT_EQ(systemLanguage(QLocale(QLocale::Russian, QLocale::Russia).uiLanguages()),
              Language::Russian);
    EXPECT_EQ(systemLanguage(QLocale::c().uiLanguages()), Language::Russian);
}
