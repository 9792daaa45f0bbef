// Any bytes as a theme file, and any bytes as an image file beside it that the theme may name:
// loaded through the theme component and every style entry read, bitmaps cut into frames.
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
            for (int k = 0; k <= frameCount % 8; ++k) {
                QImage frame;
                theme.ReadFrame(n, &frame, frameCount % 8, k);
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
    FUZZ_CHECK(fuzz::writeBytes(themePath, text));
    FUZZ_CHECK(fuzz::writeBytes(dir.filePath(QStringLiteral("image.bin")), image));

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
