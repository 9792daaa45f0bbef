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
#include <cstring>
#include <string>

using namespace vocafetch;

namespace {

// The theme file and the image beside it, in a scratch folder of the run.
struct Files
{
    QString theme;
    QString image;
};

const Files &files()
{
    static const Files paths = [] {
        const QDir root(fuzz::scratch().path());
        root.mkdir(QStringLiteral("theme"));
        const QDir dir(root.filePath(QStringLiteral("theme")));
        return Files{dir.filePath(QStringLiteral("t.theme")),
                     dir.filePath(QStringLiteral("image.bin"))};
    }();
    return paths;
}

// A file of the input, written only when its bytes differ from what the last input wrote there:
// most mutations change only one of the two files. The last bytes are kept in a buffer set aside
// once, so that inputs allocate nothing here.
struct WrittenFile
{
    std::string last;
    bool written = false;

    void write(const QString &path, const char *bytes, size_t size)
    {
        if (written && last.size() == size && std::memcmp(last.data(), bytes, size) == 0)
            return;
        FUZZ_CHECK(fuzz::writeBytes(path, QByteArray::fromRawData(bytes, qsizetype(size))));
        last.assign(bytes, size);
        written = true;
    }
};

WrittenFile writtenTheme, writtenImage;

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
    const char *input = reinterpret_cast<const char *>(bytes);
    const void *zero = std::memchr(input, 0, size);
    const size_t textSize = zero ? size_t(static_cast<const char *>(zero) - input) : size;
    const size_t imageStart = zero ? textSize + 1 : size;
    writtenTheme.write(files().theme, input, textSize);
    writtenImage.write(files().image, input + imageStart, size - imageStart);

    TsuiFileTheme theme;
    QString error;
    const bool loaded = theme.loadThemeFile(files().theme, &error);
    FUZZ_CHECK(loaded == theme.IsLoaded());
    FUZZ_CHECK(loaded || !error.isEmpty());
    readEveryEntry(theme, quint8(size));
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Malformed lines are reported as warnings; printing each would slow the run down.
    QLoggingCategory::setFilterRules(QStringLiteral("vocafetch.*=false\nqt.gui.imageio*=false"));
    (void)files();
    // Room for the longest input the runs give (-max_len).
    writtenTheme.last.reserve(16384);
    writtenImage.last.reserve(16384);
    return 0;
}
