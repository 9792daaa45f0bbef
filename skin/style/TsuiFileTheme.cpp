#include "skin/style/TsuiFileTheme.h"

#include "skin/style/StyleProperties.h"
#include "skin/style/ThemeError.h"
#include "skin/style/TsuiFileThemeMgr.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

using namespace vocafetch;

namespace {

bool isFile(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

// The file itself, else a file of the same name beside the executable; empty when neither exists.
QString findThemeFile(const QString &path)
{
    if (isFile(path))
        return path;
    const QString name = QFileInfo(path).fileName();
    if (name.isEmpty() || !QCoreApplication::instance())
        return QString();
    const QString besideProgram = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    return isFile(besideProgram) ? besideProgram : QString();
}

} // namespace

TsuiFileTheme::TsuiFileTheme(QObject *owner)
    : QObject(owner), m_mgr(std::make_unique<TsuiFileThemeMgr>())
{
}

TsuiFileTheme::~TsuiFileTheme() = default;

void TsuiFileTheme::setThemeFile(const QString &path)
{
    loadThemeFile(path, nullptr);
}

bool TsuiFileTheme::loadThemeFile(const QString &path, QString *error)
{
    if (path == m_themeFile)
        return m_loaded;
    try {
        load(path);
    } catch (const vocafetch::ThemeError &failure) {
        // The theme keeps what it had.
        if (error)
            *error = failure.message();
        return false;
    }
    emit themeLoaded();
    reassignToFormControls();
    return true;
}

void TsuiFileTheme::load(const QString &path)
{
    const QString found = findThemeFile(path);
    if (found.isEmpty())
        throw vocafetch::ThemeError(QStringLiteral("Theme file \"%1\" not found").arg(path));
    m_mgr->load(found);
    m_themeFile = found;
    m_loaded = true;
}

// Controls of the owning form that use this theme get it assigned again so they re-read it.
void TsuiFileTheme::reassignToFormControls()
{
    const auto *form = qobject_cast<const QWidget *>(parent());
    if (!form || !form->isWindow())
        return;
    const QList<QObject *> components = form->findChildren<QObject *>();
    for (QObject *component : components) {
        if (!UnqualifiedClassName(component->metaObject()).startsWith("Tsui"))
            continue;
        if (!HasMetaProperty(component, FileThemePropertyName))
            continue;
        if (ReadFileThemeProperty(component) == this)
            WriteFileThemeProperty(component, this);
    }
}

quint32 TsuiFileTheme::ReadColor(int n) const
{
    return m_mgr->readColor(n);
}

int TsuiFileTheme::ReadInt(int n) const
{
    return m_mgr->readInt(n);
}

bool TsuiFileTheme::ReadBool(int n) const
{
    return m_mgr->readBool(n);
}

void TsuiFileTheme::ReadBitmap(int n, QImage *bitmap) const
{
    m_mgr->readBitmap(n, bitmap);
}

void TsuiFileTheme::ReadFrame(int n, QImage *bitmap, int frameCount, int frameIndex) const
{
    m_mgr->readFrame(n, bitmap, frameCount, frameIndex);
}

QString TsuiFileTheme::ReadString(const QString &key) const
{
    return m_mgr->readString(key);
}
