#include "app/ErrorText.h"

#include "extract/ExtractError.h"

#include <QCoreApplication>

namespace vocafetch {

namespace {

QString translated(const char *text)
{
    return QCoreApplication::translate("ErrorText", text);
}

// What a text needs filled in.
enum class Fills
{
    Nothing,
    Path,
    PathAndReason,
    Recording,
};

struct ErrorWords
{
    ErrorKind kind;
    const char *text;
    Fills fills;
};

// One row per kind the window words itself; %1 is the file (or the recording's number), %2 the
// system's reason. The failures the window's contract words keep those words in both languages
// (their English text is the source); the others speak the window's language. A failure without
// what its row fills in, or of a kind without a row ("List index out of bounds (3)", the
// clipboard's and the selection's failures), is shown in the core's words.
const ErrorWords Table[] = {
    // A container that cannot be read names its path and the reason on two lines.
    {ErrorKind::NotReadable, QT_TRANSLATE_NOOP("ErrorText", "Cannot open %1.\r\n(%2.)"),
     Fills::PathAndReason},
    {ErrorKind::CannotOpen, QT_TRANSLATE_NOOP("ErrorText", "Cannot open file \"%1\". %2"),
     Fills::PathAndReason},
    {ErrorKind::CannotCreate, QT_TRANSLATE_NOOP("ErrorText", "Cannot create file \"%1\". %2"),
     Fills::PathAndReason},
    {ErrorKind::TooLarge,
     QT_TRANSLATE_NOOP("ErrorText", "Невозможно открыть файл \"%1\": окно загружает не больше "
                                    "2147483647 байт. Программа vocafetch-cli обрабатывает файлы "
                                    "большего размера."),
     Fills::Path},
    {ErrorKind::ContainerChanged,
     QT_TRANSLATE_NOOP("ErrorText", "Файл \"%1\" изменился, пока его читали"), Fills::Path},
    {ErrorKind::Undecodable, QT_TRANSLATE_NOOP("ErrorText", "Запись %1 не удаётся декодировать"),
     Fills::Recording},
    {ErrorKind::NothingToConvert,
     QT_TRANSLATE_NOOP("ErrorText", "В записи %1 нет ни одного звукового кадра"), Fills::Recording},
};

} // namespace

QString errorText(const ExtractError &error)
{
    for (const ErrorWords &words : Table) {
        if (words.kind != error.kind())
            continue;
        const bool needsPath = words.fills == Fills::Path || words.fills == Fills::PathAndReason;
        const bool missing = (needsPath && error.path().isEmpty()) ||
                             (words.fills == Fills::PathAndReason && error.reason().isEmpty()) ||
                             (words.fills == Fills::Recording && error.recording() == 0);
        if (missing)
            break;
        const QString text = translated(words.text);
        switch (words.fills) {
        case Fills::Nothing:
            return text;
        case Fills::Path:
            return text.arg(error.path());
        case Fills::PathAndReason:
            return text.arg(error.path(), error.reason());
        case Fills::Recording:
            return text.arg(error.recording());
        }
    }
    return error.message();
}

} // namespace vocafetch
