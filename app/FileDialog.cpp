#include "app/FileDialog.h"

#include <QFileInfo>

namespace vocafetch {

FileDialog::FileDialog(Dialogs &dialogs, QWidget *parent, FileDialogRequest settings)
    : m_dialogs(dialogs), m_parent(parent), m_settings(std::move(settings))
{
}

bool FileDialog::Execute()
{
    FileDialogRequest request = m_settings;
    request.fileName = m_fileName;
    if (!m_fileName.isEmpty()) {
        const QFileInfo last(m_fileName);
        if (last.isAbsolute())
            request.directory = last.absolutePath();
    }
    QString filter;
    request.selectedFilter = &filter;
    const QStringList chosen = m_dialogs.askFiles(m_parent, request);
    if (chosen.isEmpty())
        return false;
    m_files = chosen;
    m_selectedFilter = filter;
    m_fileName = chosen.first();
    return true;
}

} // namespace vocafetch
