#pragma once

#include "app/Dialogs.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace vocafetch {

// A file dialog component of the window: its settings stay with it between showings, and it
// remembers the last name chosen, so it reopens with that name (or with one set beforehand,
// as a phone download does for the save dialog).
class FileDialog
{
public:
    FileDialog(Dialogs &dialogs, QWidget *parent, FileDialogRequest settings);

    // Shows the dialog; true when the user chose something. On cancel nothing changes.
    bool Execute();

    // The first chosen path, or the name the dialog will open with.
    const QString &FileName() const { return m_fileName; }
    void SetFileName(const QString &fileName) { m_fileName = fileName; }
    // All chosen paths of the last accepted showing, in the dialog's order.
    const QStringList &Files() const { return m_files; }

    // The filter chosen in the last accepted showing (dialogs with several filters).
    const QString &SelectedFilter() const { return m_selectedFilter; }

    const FileDialogRequest &settings() const { return m_settings; }

private:
    Dialogs &m_dialogs;
    QWidget *m_parent;
    FileDialogRequest m_settings;
    QString m_fileName;
    QStringList m_files;
    QString m_selectedFilter;
};

} // namespace vocafetch
