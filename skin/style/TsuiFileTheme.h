#pragma once
// A theme file attached to skinned controls whose UIStyle is FromThemeFile: it loads the file named
// by ThemeFile and answers entry reads by number. The file layout is described in
// docs/theme-format.md.
//
// Controls hold their theme in a QPointer<TsuiFileTheme> (it may be destroyed first) and fall back
// as their class describes when it goes away (QObject::destroyed).

#include "skin/style/TsuiUIStyle.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <memory>

class TsuiFileThemeMgr;

class TsuiFileTheme : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString ThemeFile READ ThemeFile WRITE setThemeFile NOTIFY themeLoaded)

public:
    // Colour and integer answer of a key that is missing from a loaded file or is no number.
    static constexpr qint32 MissingValue = -1;

    explicit TsuiFileTheme(QObject *owner = nullptr);
    ~TsuiFileTheme() override;

    QString ThemeFile() const { return m_themeFile; }
    // Loads the theme file at path. A path naming no file is looked up by its file name in the
    // directory of the executable; when that fails too, or the file cannot be read, nothing
    // changes. Setting the current value again does nothing.
    void setThemeFile(const QString &path);
    // As setThemeFile, with the reason in *error when the theme was not loaded.
    bool loadThemeFile(const QString &path, QString *error = nullptr);

    bool IsLoaded() const { return m_loaded; }

    // Entry reads (n = 1..42). Before any file is loaded: colour 0, integer 0, Boolean false,
    // ReadBitmap leaves bitmap unchanged and ReadFrame leaves it empty. With a loaded file, a key
    // that is missing or no number gives MissingValue for colours and integers and false for
    // Booleans; a missing bitmap leaves bitmap unchanged (ReadFrame: empty).
    quint32 ReadColor(int n) const;
    int ReadInt(int n) const;
    bool ReadBool(int n) const;
    void ReadBitmap(int n, QImage *bitmap) const;
    void ReadFrame(int n, QImage *bitmap, int frameCount, int frameIndex) const;
    // A value of the [Strings] table, empty when missing.
    QString ReadString(const QString &key) const;

signals:
    // The theme file was (re)loaded; controls using it should re-read their values.
    void themeLoaded();

private:
    // Finds and reads the file; throws vocafetch::ThemeError, leaving the theme as it was.
    void load(const QString &path);
    void reassignToFormControls();

    QString m_themeFile;
    bool m_loaded = false;
    std::unique_ptr<TsuiFileThemeMgr> m_mgr;
};
