#pragma once
// Owns the reader of the currently loaded theme file (replaced on every successful load) and
// turns entry numbers into the reader's key names.

#include "skin/style/TsuiThemeFileReader.h"

#include <QImage>
#include <QString>

#include <memory>

class TsuiFileThemeMgr
{
public:
    // Reads path with a new reader; the old one is kept when that throws
    // (vocafetch::ThemeError).
    void load(const QString &path);
    bool hasReader() const { return m_reader != nullptr; }

    quint32 readColor(int n) const;
    int readInt(int n) const;
    bool readBool(int n) const;
    void readBitmap(int n, QImage *bitmap) const;
    void readFrame(int n, QImage *bitmap, int frameCount, int frameIndex) const;
    QString readString(const QString &key) const;

private:
    std::unique_ptr<TsuiThemeFileReader> m_reader;
};
