#pragma once
// The compiled-in, read-only values of the five built-in styles: one row of 42 entries per
// style, sharing one array of kind codes. Most controls use the look-ups of StyleLookup.h instead.

#include "skin/style/TsuiUIStyle.h"

#include <array>

namespace vocafetch {

// One stored entry value: a number (integer, 0x00BBGGRR colour, Boolean as 0/1) or, for a bitmap
// entry, the name of a resource bitmap (see LoadSkinResource).
struct StyleTableValue
{
    qint32 number = 0;
    const char *resource = nullptr;
};

using StyleTableRow = std::array<StyleTableValue, StyleEntry::Count>;

struct BuiltinStyleTable
{
    // Kind codes of entries 1..42 (index n - 1), shared by all styles.
    static const std::array<StyleEntryKind, StyleEntry::Count> &kinds();
    // The row of a built-in style, nullptr for FromThemeFile and every value above 5. Only the
    // low seven bits of the style value count.
    static const StyleTableRow *row(TsuiUIStyle style);
    // Bitmap name prefix of a built-in style ("WINXP"), empty for one without a table.
    static QString prefix(TsuiUIStyle style);
    // The built-in styles in table order (MacOS .. BlueGlass).
    static const std::array<TsuiUIStyle, 5> &styles();
};

} // namespace vocafetch
