#pragma once
// Reads one theme file into four tables (bitmaps as the raw bytes of their image files, integers,
// Booleans, strings) and parses their values on request.

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>
#include <QVector>

#include <optional>

class TsuiThemeFileReader
{
public:
    // Largest theme file, largest bitmap file a theme may name, and the most bytes its bitmap
    // files may hold together.
    static constexpr qint64 MaxThemeFileSize = 1 << 20;
    static constexpr qint64 MaxBitmapFileSize = 16 << 20;
    static constexpr qint64 MaxBitmapBytes = 64 << 20;

    // Reads the file and the bitmap files its [Bitmaps] entries name: only the keys of the
    // style's bitmap entries, each once (a key given again replaces the file it names) and a
    // file named by several keys once. Throws vocafetch::ThemeError when the theme file cannot
    // be opened or read or is too large, or its bitmaps hold more than MaxBitmapBytes together.
    // Malformed lines, unknown bitmap keys and bitmap files that cannot be read are skipped with
    // a warning.
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
    void readBitmaps(const QString &path);

    // The file a [Bitmaps] key names, or -1 when it could not be read.
    int readBitmapFile(const QString &key, const QString &path, const QString &themePath);

    QHash<QString, QString> m_bitmapFiles; // key -> the file it names, until read
    QVector<QByteArray> m_files;           // the bitmap files read, each once
    QHash<QString, int> m_canonicalFiles;  // canonical path -> index into m_files, until read
    qint64 m_bitmapBytes = 0;              // the size of m_files together
    QHash<QString, int> m_bitmaps;         // key -> index into m_files
    // Each file decoded once: the style reads one bitmap for several frames and controls, and
    // themes name one strip for several keys.
    mutable QHash<int, std::optional<QImage>> m_decoded;
    QHash<QString, QString> m_integers;
    QHash<QString, QString> m_booleans;
    QHash<QString, QString> m_strings;
};
