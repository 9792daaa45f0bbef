#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace vocafetch {

// What a file dialog asks for: one filter entry and the dialog's behaviour.
struct FileDialogRequest
{
    enum class Mode
    {
        Open,
        Save
    };
    Mode mode = Mode::Open;
    QString filter;           // Qt filter text, e.g. "*.drf" or "AMR (*.amr)"
    QString defaultSuffix;    // appended to a typed name without extension; empty for none
    bool multiSelect = false; // open: several files may be chosen
    bool confirmOverwrite = true;
    QString directory; // where the dialog opens; empty for the current folder
    QString fileName;  // the name the dialog opens with
    // With several filters ("A (*.a);;B (*.b)"): where the dialog puts the filter the user
    // chose; may be null.
    QString *selectedFilter = nullptr;
};

// The window's modal questions and messages. The program uses QtDialogs; tests inject
// scripted answers so that no test ever waits on a modal dialog.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // The chosen files, in the dialog's order; empty when the user cancels.
    virtual QStringList askFiles(QWidget *parent, const FileDialogRequest &request) = 0;
    // Shows an error message box with an OK button.
    virtual void showError(QWidget *parent, const QString &caption, const QString &message) = 0;
    // Asks whether files may be replaced: true only for the replace button.
    virtual bool askReplace(QWidget *parent, const QString &caption, const QString &question,
                            const QString &replace, const QString &cancel) = 0;
};

// Dialogs on QFileDialog and QMessageBox.
class QtDialogs : public Dialogs
{
public:
    QStringList askFiles(QWidget *parent, const FileDialogRequest &request) override;
    void showError(QWidget *parent, const QString &caption, const QString &message) override;
    bool askReplace(QWidget *parent, const QString &caption, const QString &question,
                    const QString &replace, const QString &cancel) override;
};

} // namespace vocafetch
