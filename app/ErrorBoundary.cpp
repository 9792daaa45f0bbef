#include "app/ErrorBoundary.h"

#include "app/AppInfo.h"
#include "app/Dialogs.h"
#include "app/ErrorText.h"
#include "extract/ExtractError.h"

#include <QCoreApplication>

#include <exception>
#include <new>

namespace vocafetch {

namespace {

QString outOfMemoryText()
{
    return QCoreApplication::translate(
        "ErrorBoundary", "Недостаточно памяти: контейнер слишком велик для окна. Программа "
                         "vocafetch-cli обрабатывает контейнеры любого размера.");
}

} // namespace

ErrorBoundary::ErrorBoundary(Dialogs &dialogs, QWidget *parent)
    : m_dialogs(dialogs), m_parent(parent)
{
}

bool ErrorBoundary::run(const std::function<void()> &handler) const
{
    try {
        handler();
        return true;
    } catch (const ExtractError &error) {
        show(errorText(error));
    } catch (const std::bad_alloc &) {
        show(outOfMemoryText());
    } catch (const std::exception &error) {
        show(QString::fromUtf8(error.what()));
    } catch (...) {
        show(QStringLiteral("Unexpected error"));
    }
    return false;
}

void ErrorBoundary::show(const QString &message) const
{
    m_dialogs.showError(m_parent, AppInfo::Title, message);
}

} // namespace vocafetch
