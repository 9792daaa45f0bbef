#pragma once

#include "app/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

// Dialogs with scripted answers: each file dialog takes the next queued answer (an empty
// answer, or none left, is a cancel) and every request and error message is recorded.
class FakeDialogs : public Dialogs
{
public:
    struct Error
    {
        QString caption;
        QString message;
    };

    QList<QStringList> answers;
    QList<FileDialogRequest> requests;
    QList<Error> errors;

    QStringList askFiles(QWidget *, const FileDialogRequest &request) override
    {
        requests << request;
        return answers.isEmpty() ? QStringList() : answers.takeFirst();
    }

    void showError(QWidget *, const QString &caption, const QString &message) override
    {
        errors << Error{caption, message};
    }
};
