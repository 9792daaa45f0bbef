#include "skin/chrome/TsuiFormMessages.h"

#include <QMessageBox>

namespace vocafetch {

namespace {

std::function<void(const QString &)> &handler()
{
    static std::function<void(const QString &)> h;
    return h;
}

} // namespace

void ShowSkinError(const QString &text)
{
    if (handler()) {
        handler()(text);
        return;
    }
    QMessageBox::critical(nullptr, QString(), text, QMessageBox::Ok);
}

std::function<void(const QString &)> SetSkinErrorHandler(std::function<void(const QString &)> h)
{
    std::function<void(const QString &)> previous = std::move(handler());
    handler() = std::move(h);
    return previous;
}

} // namespace vocafetch
