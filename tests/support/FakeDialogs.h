#pragma once

#include "app/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vocafetch {

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
    // The filter each accepted dialog that asks for one reports as chosen; none left: the first.
    QStringList filterAnswers;
    QList<FileDialogRequest> requests;
    QList<Error> errors;
    // The answers to replace questions, in order; none left: cancel.
    QList<bool> replaceAnswers;
    QStringList replaceQuestions;

    QStringList askFiles(QWidget *, const FileDialogRequest &request) override
    {
        requests << request;
        const QStringList answer = answers.isEmpty() ? QStringList() : answers.takeFirst();
        if (request.selectedFilter && !answer.isEmpty())
            *request.selectedFilter = filterAnswers.isEmpty()
                                          ? request.filter.section(QStringLiteral(";;"), 0, 0)
                                          : filterAnswers.takeFirst();
        return answer;
    }

    void showError(QWidget *, const QString &caption, const QString &message) override
    {
        errors << Error{caption, message};
    }

    bool askReplace(QWidget *, const QString &, const QString &question, const QString &,
                    const QString &) override
    {
        replaceQuestions << question;
        return !replaceAnswers.isEmpty() && replaceAnswers.takeFirst();
    }
};

} // namespace vocafetch
