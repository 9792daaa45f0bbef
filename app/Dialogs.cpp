#include "app/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace vocafetch {

QStringList QtDialogs::askFiles(QWidget *parent, const FileDialogRequest &request)
{
    const bool open = request.mode == FileDialogRequest::Mode::Open;
    QFileDialog dialog(parent);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    if (open)
        dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles
                                               : QFileDialog::ExistingFile);
    else
        dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.directory.isEmpty())
        dialog.setDirectory(request.directory);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    if (request.selectedFilter)
        *request.selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles();
}

void QtDialogs::showError(QWidget *parent, const QString &caption, const QString &message)
{
    // Messages of the core use Windows line ends; a lone '\r' has no business in a label.
    QString text = message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtDialogs::askReplace(QWidget *parent, const QString &caption, const QString &question,
                           const QString &replace, const QString &cancel)
{
    QMessageBox box(QMessageBox::Warning, caption, question, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton *replaceButton = box.addButton(replace, QMessageBox::AcceptRole);
    QPushButton *cancelButton = box.addButton(cancel, QMessageBox::RejectRole);
    box.setDefaultButton(cancelButton);
    box.setEscapeButton(cancelButton);
    box.exec();
    return box.clickedButton() == replaceButton;
}

} // namespace vocafetch
