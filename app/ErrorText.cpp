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
};

struct ErrorWords
{
    ErrorKind kind;
    const char *text;
    Fills fills;
};

// One row per kind the window words itself; %1 is the file, %2 the system's reason. A failure
// without what its row fills in is shown in the core's words.
const ErrorWords Table[] = {
    {ErrorKind::OutOfBounds,
     QT_TRANSLATE_NOOP("ErrorText", "Индекс списка вне допустимых пределов"), Fills::Nothing},
    // A container that cannot be read names its path and the reason on two lines.
    {ErrorKind::NotReadable, QT_TRANSLATE_NOOP("ErrorText", "Невозможно открыть %1.\r\n(%2.)"),
     Fills::PathAndReason},
    {ErrorKind::CannotOpen, QT_TRANSLATE_NOOP("ErrorText", "Невозможно открыть файл \"%1\". %2"),
     Fills::PathAndReason},
    {ErrorKind::TooLarge,
     QT_TRANSLATE_NOOP("ErrorText", "Невозможно открыть файл \"%1\": окно загружает не больше "
                                    "2147483647 байт. Программа vocafetch-cli обрабатывает файлы "
                                    "большего размера."),
     Fills::Path},
    {ErrorKind::CannotCreate, QT_TRANSLATE_NOOP("ErrorText", "Невозможно создать файл \"%1\". %2"),
     Fills::PathAndReason},
    {ErrorKind::ContainerChanged,
     QT_TRANSLATE_NOOP("ErrorText", "Файл \"%1\" изменился, пока его читали"), Fills::Path},
    {ErrorKind::Undecodable, QT_TRANSLATE_NOOP("ErrorText", "Запись не удаётся декодировать"),
     Fills::Nothing},
    {ErrorKind::NothingToConvert,
     QT_TRANSLATE_NOOP("ErrorText", "В записи нет ни одного звукового кадра"), Fills::Nothing},
    {ErrorKind::Clipboard, QT_TRANSLATE_NOOP("ErrorText", "Буфер обмена не выполнил операцию"),
     Fills::Nothing},
};

} // namespace

QString errorText(const ExtractError &error)
{
    for (const ErrorWords &words : Table) {
        if (words.kind != error.kind())
            continue;
        const bool missing = (words.fills != Fills::Nothing && error.path().isEmpty()) ||
                             (words.fills == Fills::PathAndReason && error.reason().isEmpty());
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
        }
    }
    return error.message();
}

} // namespace vocafetch
