#pragma once
// Reads one theme file into four tables (bitmaps as the raw bytes of their image files, integers,
// Booleans, strings) and parses their values on request.

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>

#include <optional>

class TsuiThemeFileReader
{
public:
    // Largest theme file and largest bitmap file a theme may name.
    static constexpr qint64 MaxThemeFileSize = 1 << 20;
    static constexpr qint64 MaxBitmapFileSize = 16 << 20;

    // Reads the file; throws vocafetch::ThemeError when it cannot be opened or read or is too
    // large. Malformed lines and bitmap files that cannot be read are skipped with a warning.
    void load(const QString &path);

    // Number of an [Integers] key: decimal, or hexadecimal with a 0x prefix; 32 bits (unsigned
    // values above 0x7FFFFFFF wrap, so colours can be given as 0x00BBGGRR). Nothing when the key
    // is missing or its value is no number.
    std::optional<qint32> integer(const QString &key) const;
    // Boolean of a [Booleans] key: a number, non-zero meaning true; nothing when missing or no
    // number.
    std::optional<bool> boolean(const QString &key) const;
    // Decodes the bitmap of a [Bitmaps] key; nothing when missing or not decodable.
    std::optional<QImage> bitmap(const QString &key) const;
    QString string(const QString &key) const { return m_strings.value(key); }

    int entryCount() const;

private:
    void parse(const QString &text, const QString &baseDir, const QString &path);
    void addBitmap(const QString &key, const QString &file, const QString &baseDir);

    QHash<QString, QByteArray> m_bitmaps;
    QHash<QString, QString> m_integers;
    QHash<QString, QString> m_booleans;
    QHash<QString, QString> m_strings;
};
