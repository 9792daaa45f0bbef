#include "skin/style/TsuiFileThemeMgr.h"

#include "skin/style/StyleLookup.h"
#include "skin/style/TsuiUIStyle.h"

using namespace vocafetch;

void TsuiFileThemeMgr::load(const QString &path)
{
    auto reader = std::make_unique<TsuiThemeFileReader>();
    reader->load(path);
    m_reader = std::move(reader);
}

quint32 TsuiFileThemeMgr::readColor(int n) const
{
    return quint32(readInt(n));
}

int TsuiFileThemeMgr::readInt(int n) const
{
    if (!m_reader)
        return 0;
    return m_reader->integer(StyleEntryKey(n)).value_or(-1);
}

bool TsuiFileThemeMgr::readBool(int n) const
{
    if (!m_reader)
        return false;
    return m_reader->boolean(StyleEntryKey(n)).value_or(false);
}

void TsuiFileThemeMgr::readBitmap(int n, QImage *bitmap) const
{
    if (!bitmap || !m_reader)
        return;
    if (std::optional<QImage> image = m_reader->bitmap(StyleEntryKey(n)))
        *bitmap = std::move(*image);
}

void TsuiFileThemeMgr::readFrame(int n, QImage *bitmap, int frameCount, int frameIndex) const
{
    if (!bitmap)
        return;
    QImage whole;
    readBitmap(n, &whole);
    CutFrame(whole, bitmap, frameCount, frameIndex);
}

QString TsuiFileThemeMgr::readString(const QString &key) const
{
    return m_reader ? m_reader->string(key) : QString();
}
