// Any bytes as a theme file, and any bytes as an image file beside it that the theme may name:
// loaded through the theme component and every style entry read, bitmaps cut into frames (no
// frame larger than its bitmap).
//
// Input: the theme file's text, then a zero byte, then the bytes of "image.bin".
#include "FuzzSupport.h"

#include "skin/style/StyleLookup.h"
#include "skin/style/TsuiFileTheme.h"
#include "skin/style/TsuiUIStyle.h"

#include <QImage>
#include <QLoggingCategory>

#include <cstdint>

using namespace vocafetch;

namespace {

const QString &folder()
{
    static const QString path = [] {
        const QDir root(fuzz::scratch().path());
        root.mkdir(QStringLiteral("theme"));
        return root.filePath(QStringLiteral("theme"));
    }();
    return path;
}

void readEveryEntry(const TsuiFileTheme &theme, quint8 frameCount)
{
    for (int n = StyleEntry::First; n <= StyleEntry::Last; ++n) {
        switch (StyleEntryKindOf(n)) {
        case StyleEntryKind::Bitmap: {
            QImage whole;
            theme.ReadBitmap(n, &whole);
            // The first and last frame, one between them and one past the end: each frame is a
            // copy of its pixels, and the bitmaps of a theme add up to a few hundred frames.
            const int count = frameCount % 8;
            const int frames[] = {0, count / 2, count - 1, count}; // never descending
            for (int i = 0; i < 4; ++i) {
                const int k = frames[i];
                if (k < 0 || (i > 0 && k == frames[i - 1]))
                    continue;
                QImage frame;
                theme.ReadFrame(n, &frame, count, k);
                if (!whole.isNull() && !frame.isNull())
                    FUZZ_CHECK(frame.width() <= whole.width() && frame.height() <= whole.height());
            }
            break;
        }
        case StyleEntryKind::Boolean:
            (void)theme.ReadBool(n);
            break;
        default:
            (void)theme.ReadColor(n);
            (void)theme.ReadInt(n);
            break;
        }
    }
    (void)theme.ReadString(QStringLiteral("Name"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(bytes), qsizetype(size));
    const qsizetype zero = input.indexOf('\0');
    const QByteArray text = zero < 0 ? input : input.left(zero);
    const QByteArray image = zero < 0 ? QByteArray() : input.mid(zero + 1);
    const QDir dir(folder());
    const QString themePath = dir.filePath(QStringLiteral("t.theme"));
    // A file is written only when its bytes differ from the last input's: most mutations
    // change one of the two.
    static QByteArray writtenText, writtenImage;
    static bool written = false;
    if (!written || text != writtenText)
        FUZZ_CHECK(fuzz::writeBytes(themePath, text));
    if (!written || image != writtenImage)
        FUZZ_CHECK(fuzz::writeBytes(dir.filePath(QStringLiteral("image.bin")), image));
    writtenText = text;
    writtenImage = image;
    written = true;

    TsuiFileTheme theme;
    QString error;
    const bool loaded = theme.loadThemeFile(themePath, &error);
    FUZZ_CHECK(loaded == theme.IsLoaded());
    FUZZ_CHECK(loaded || !error.isEmpty());
    readEveryEntry(theme, quint8(size));
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Malformed lines are reported as warnings; printing each would slow the run down.
    QLoggingCategory::setFilterRules(QStringLiteral("vocafetch.*=false\nqt.gui.imageio*=false"));
    return 0;
}
