// Theme files: loading, entry reads and their defaults, looking a file up beside the program and
// handing the theme again to the form's skinned controls.
#include "SkinTestControls.h"
#include "skin/style/StyleLookup.h"
#include "skin/style/ThemeError.h"
#include "skin/style/TsuiFileTheme.h"
#include "skin/style/TsuiThemeFileReader.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace vocafetch;

using skintest::PlainControl;
using skintest::TsuiFakeControl;

namespace {

constexpr char kTheme[] = "; sample\n"
                          "[Bitmaps]\n"
                          "TitleBarButtonImage = strip.png\n"
                          "ButtonImage=missing.png\n"
                          "[Integers]\n"
                          "FormBorderColor=13118464\n"
                          "FormBackgroundColor=0x00DEEBEF\n"
                          "FormBorderWidthInt = 3\n"
                          "TitleBarButtonRightOffsetInt=-2\n"
                          "FormRoundCornerInt=thirteen\n"
                          "FormMinWidthInt=\n"
                          "[Booleans]\n"
                          "ButtonTransparentBool=1\n"
                          "TitleBarButtonTransparentBool=0\n"
                          "SideChannelHandleImage=yes\n"
                          "[Strings]\n"
                          "Name=Sample\n"
                          "this line has no equals sign\n";

class ThemeFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QImage strip(378, 21, QImage::Format_RGB32);
        for (int x = 0; x < strip.width(); ++x)
            for (int y = 0; y < strip.height(); ++y)
                strip.setPixel(x, y, qRgb(x % 256, x / 256, 7));
        ASSERT_TRUE(strip.save(dir.filePath(QStringLiteral("strip.png"))));
        path = write(QStringLiteral("sample.theme"), kTheme);
    }

    QString write(const QString &name, const QByteArray &text)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    }

    QTemporaryDir dir;
    QString path;
};

QImage marker()
{
    QImage img(3, 3, QImage::Format_RGB32);
    img.fill(qRgb(1, 2, 3));
    return img;
}

} // namespace

TEST_F(ThemeFile, ReadsBeforeLoadingGiveTheUnloadedDefaults)
{
    TsuiFileTheme theme;
    EXPECT_FALSE(theme.IsLoaded());
    EXPECT_EQ(theme.ReadColor(16), 0u);
    EXPECT_EQ(theme.ReadInt(17), 0);
    EXPECT_FALSE(theme.ReadBool(2));
    QImage b = marker();
    theme.ReadBitmap(5, &b);
    EXPECT_EQ(b, marker());
    theme.ReadFrame(5, &b, 18, 1);
    EXPECT_TRUE(b.isNull());
}

TEST_F(ThemeFile, LoadsAndReadsEntriesByNumber)
{
    TsuiFileTheme theme;
    int loaded = 0;
    QObject::connect(&theme, &TsuiFileTheme::themeLoaded, [&] { ++loaded; });
    theme.setThemeFile(path);
    ASSERT_TRUE(theme.IsLoaded());
    EXPECT_EQ(theme.ThemeFile(), path);
    EXPECT_EQ(loaded, 1);

    EXPECT_EQ(theme.ReadColor(16), 13118464u);
    EXPECT_EQ(theme.ReadColor(15), 0x00DEEBEFu);
    EXPECT_EQ(theme.ReadInt(17), 3);
    EXPECT_EQ(theme.ReadInt(8), -2);
    EXPECT_TRUE(theme.ReadBool(2));
    EXPECT_FALSE(theme.ReadBool(6));
    EXPECT_EQ(theme.ReadString(QStringLiteral("Name")), QStringLiteral("Sample"));

    QImage b;
    theme.ReadBitmap(5, &b);
    EXPECT_EQ(b.size(), QSize(378, 21));
    theme.ReadFrame(5, &b, 18, 17);
    ASSERT_EQ(b.size(), QSize(21, 21));
    auto column = [&](int x) { return qRed(b.pixel(x, 0)) + 256 * qGreen(b.pixel(x, 0)); };
    EXPECT_EQ(column(0), 336);
    EXPECT_EQ(column(20), 356);
}

TEST_F(ThemeFile, MissingKeysAndNonNumbers)
{
    TsuiFileTheme theme;
    ASSERT_TRUE(theme.loadThemeFile(path));
    EXPECT_EQ(theme.ReadInt(14), TsuiFileTheme::MissingValue); // "thirteen"
    EXPECT_EQ(theme.ReadInt(13), -1);                          // empty value
    EXPECT_EQ(theme.ReadInt(9), -1);                           // missing
    EXPECT_EQ(theme.ReadColor(27), 0xFFFFFFFFu);               // missing colour
    EXPECT_FALSE(theme.ReadBool(41));                          // "yes"
    EXPECT_FALSE(theme.ReadBool(3));                           // missing
    EXPECT_EQ(theme.ReadInt(0), -1);                           // no such entry

    QImage b = marker();
    theme.ReadBitmap(1, &b); // named file does not exist
    EXPECT_EQ(b, marker());
    theme.ReadBitmap(3, &b); // key missing
    EXPECT_EQ(b, marker());
    theme.ReadFrame(3, &b, 4, 1);
    EXPECT_TRUE(b.isNull());
}

TEST_F(ThemeFile, AFileThatCannotBeFoundChangesNothing)
{
    TsuiFileTheme theme;
    QString error;
    EXPECT_FALSE(theme.loadThemeFile(dir.filePath(QStringLiteral("none.theme")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("none.theme")));
    EXPECT_FALSE(theme.IsLoaded());
    EXPECT_TRUE(theme.ThemeFile().isEmpty());

    theme.setThemeFile(path);
    theme.setThemeFile(dir.filePath(QStringLiteral("elsewhere/none.theme")));
    EXPECT_TRUE(theme.IsLoaded());
    EXPECT_EQ(theme.ThemeFile(), path);
    EXPECT_EQ(theme.ReadInt(17), 3);
    theme.setThemeFile(QString());
    EXPECT_EQ(theme.ThemeFile(), path);
}

TEST_F(ThemeFile, SettingTheSamePathAgainDoesNotReload)
{
    TsuiFileTheme theme;
    theme.setThemeFile(path);
    write(QStringLiteral("sample.theme"), "[Integers]\nFormBorderWidthInt=9\n");
    theme.setThemeFile(path);
    EXPECT_EQ(theme.ReadInt(17), 3);

    // Another file replaces the reader entirely: keys of the old file are gone.
    const QString other =
        write(QStringLiteral("other.theme"), "[Integers]\nFormBorderWidthInt=9\n");
    theme.setThemeFile(other);
    EXPECT_EQ(theme.ReadInt(17), 9);
    EXPECT_EQ(theme.ReadColor(16), 0xFFFFFFFFu);
}

TEST_F(ThemeFile, AMissingFileIsLookedUpBesideTheProgram)
{
    const QString name =
        QStringLiteral("skin-test-%1.theme").arg(QCoreApplication::applicationPid());
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    ASSERT_TRUE(QFile::copy(path, beside));
    TsuiFileTheme theme;
    theme.setThemeFile(dir.filePath(QStringLiteral("gone/") + name));
    QFile::remove(beside);
    EXPECT_TRUE(theme.IsLoaded());
    EXPECT_EQ(QFileInfo(theme.ThemeFile()), QFileInfo(beside));
    EXPECT_EQ(theme.ReadInt(17), 3);
}

TEST_F(ThemeFile, LoadingHandsTheThemeAgainToTheFormsSkinnedControls)
{
    QWidget form;
    auto *theme = new TsuiFileTheme(&form);
    TsuiFileTheme otherTheme;
    QWidget panel(&form);
    TsuiFakeControl user(&panel); // a grandchild of the form still belongs to it
    user.setFileTheme(theme);
    TsuiFakeControl elsewhere(&form);
    elsewhere.setFileTheme(&otherTheme);
    PlainControl notSkinned(&form);
    notSkinned.setFileTheme(theme);
    const int before[] = {user.themeWrites, elsewhere.themeWrites, notSkinned.themeWrites};

    theme->setThemeFile(path);
    EXPECT_EQ(user.themeWrites, before[0] + 1);
    EXPECT_EQ(user.FileTheme(), theme);
    EXPECT_EQ(elsewhere.themeWrites, before[1]);
    EXPECT_EQ(notSkinned.themeWrites, before[2]);
}

TEST_F(ThemeFile, ToleratesAByteOrderMarkAndWindowsLineEnds)
{
    TsuiFileTheme theme;
    ASSERT_TRUE(theme.loadThemeFile(write(QStringLiteral("edited.theme"),
                                          "\xEF\xBB\xBF[Integers]\r\nFormBorderWidthInt=4\r\n"
                                          "[booleans]\r\nButtonTransparentBool = 1\r\n")));
    EXPECT_EQ(theme.ReadInt(17), 4);
    EXPECT_TRUE(theme.ReadBool(2));
}

TEST_F(ThemeFile, UnreadableThemeFileKeepsTheOldTheme)
{
    TsuiFileTheme theme;
    theme.setThemeFile(path);
    const QString big = write(QStringLiteral("big.theme"),
                              QByteArray(int(TsuiThemeFileReader::MaxThemeFileSize) + 1, ';'));
    QString error;
    EXPECT_FALSE(theme.loadThemeFile(big, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(theme.ThemeFile(), path);
    EXPECT_EQ(theme.ReadInt(17), 3);
}

// A theme's bitmaps cost what the style can show: unknown keys are not read, a file named by
// several keys is read once, and more than MaxBitmapBytes in all is an error, not a load that
// takes all the memory there is.
TEST_F(ThemeFile, BitmapsAreReadForKnownKeysOnlyOnceEachAndWithinABound)
{
    const auto sparse = [&](const QString &name, qint64 size) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(size));
    };
    const qint64 large = TsuiThemeFileReader::MaxBitmapFileSize - 1;
    sparse(QStringLiteral("large.png"), large);
    QByteArray theme = "[Bitmaps]\nButtonImage=strip.png\n";
    for (int k = 0; k < 200; ++k)
        theme += "Unknown" + QByteArray::number(k) + "Image=large.png\n";
    // The same file under several keys, and one key given again.
    theme += "CheckBoxImage=large.png\nRadioButtonImage=large.png\nTitleBarLeftImage=large.png\n"
             "TitleBarLeftImage=strip.png\n";
    TsuiThemeFileReader reader;
    reader.load(write(QStringLiteral("many.theme"), theme));
    EXPECT_EQ(reader.entryCount(), 4);
    EXPECT_FALSE(reader.bitmap(QStringLiteral("Unknown7Image")));
    EXPECT_TRUE(reader.bitmap(QStringLiteral("TitleBarLeftImage")));

    // Five different files of almost 16 MiB: more than the bound together.
    QByteArray heavy = "[Bitmaps]\n";
    for (const char *key : {"ButtonImage", "CheckBoxImage", "RadioButtonImage",
                            "TitleBarLeftImage", "TitleBarRightImage"}) {
        sparse(QStringLiteral("%1.png").arg(key), large);
        heavy += QByteArray(key) + '=' + key + ".png\n";
    }
    TsuiThemeFileReader refused;
    try {
        refused.load(write(QStringLiteral("heavy.theme"), heavy));
        ADD_FAILURE() << "a theme of 80 MiB of bitmaps loaded";
    } catch (const ThemeError &error) {
        EXPECT_TRUE(error.message().contains("names bitmaps of more than 67108864 bytes together"))
            << error.what();
    }
}

// Keys naming one file, by one path or by others (a link, "./"), share its single decoding;
// keys naming other files keep their own.
TEST_F(ThemeFile, KeysNamingOneFileShareItsBitmap)
{
    ASSERT_TRUE(marker().save(dir.filePath(QStringLiteral("other.png"))));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("strip.png")),
                            dir.filePath(QStringLiteral("link.png"))));
    TsuiThemeFileReader reader;
    reader.load(write(QStringLiteral("shared.theme"), "[Bitmaps]\n"
                                                      "ButtonImage=strip.png\n"
                                                      "CheckBoxImage=other.png\n"
                                                      "RadioButtonImage=./strip.png\n"
                                                      "TitleBarLeftImage=missing.png\n"
                                                      "TitleBarRightImage=link.png\n"
                                                      "TitleBarClientImage=strip.png\n"));
    const auto strip = reader.bitmap(QStringLiteral("ButtonImage"));
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->size(), QSize(378, 21));
    for (const char *key : {"RadioButtonImage", "TitleBarRightImage", "TitleBarClientImage"}) {
        const auto same = reader.bitmap(QString::fromLatin1(key));
        ASSERT_TRUE(same) << key;
        EXPECT_EQ(same->cacheKey(), strip->cacheKey()) << key;
    }
    const auto other = reader.bitmap(QStringLiteral("CheckBoxImage"));
    ASSERT_TRUE(other);
    EXPECT_EQ(*other, marker());
    EXPECT_FALSE(reader.bitmap(QStringLiteral("TitleBarLeftImage")));
    EXPECT_EQ(reader.entryCount(), 5);
}

// The shipped sample theme answers every entry: each bitmap loads with the frame layout the
// controls cut it by, and no number is missing.
TEST(SampleTheme, AnswersEveryEntry)
{
    TsuiFileTheme theme;
    QString error;
    ASSERT_TRUE(
        theme.loadThemeFile(QStringLiteral(VOCAFETCH_THEMES_DIR "/amber/amber.theme"), &error))
        << error.toStdString();
    for (int n = 1; n <= 42; ++n) {
        switch (StyleEntryKindOf(n)) {
        case StyleEntryKind::Bitmap: {
            QImage b;
            theme.ReadBitmap(n, &b);
            QImage builtin;
            LoadStyleBitmap(TsuiUIStyle::DeepBlue, n, &builtin, 0, 0);
            EXPECT_EQ(b.size(), builtin.size()) << StyleEntryKeyName(n);
            break;
        }
        case StyleEntryKind::Integer:
        case StyleEntryKind::Colour:
            EXPECT_NE(theme.ReadInt(n), TsuiFileTheme::MissingValue) << StyleEntryKeyName(n);
            break;
        case StyleEntryKind::Boolean:
            break;
        }
    }
    // It differs visibly from every built-in style.
    for (TsuiUIStyle s : {TsuiUIStyle::MacOS, TsuiUIStyle::WinXP, TsuiUIStyle::DeepBlue,
                          TsuiUIStyle::Protein, TsuiUIStyle::BlueGlass}) {
        EXPECT_NE(theme.ReadColor(StyleEntry::FormBackgroundColor),
                  StyleColor(s, StyleEntry::FormBackgroundColor));
        EXPECT_NE(theme.ReadColor(StyleEntry::MenuSelectedBackgroundColor),
                  StyleColor(s, StyleEntry::MenuSelectedBackgroundColor));
    }
}
