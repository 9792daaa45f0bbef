#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace vocafetch {

class Dialogs;

// The one place where failures of the window's handlers are caught. Every handler the window
// connects runs through run(): an exception that escapes it is shown in a message box
// captioned with the program's title, and the event loop carries on, so the window stays
// usable. Handlers themselves never catch.
class ErrorBoundary
{
public:
    ErrorBoundary(Dialogs &dialogs, QWidget *parent);

    // Runs the handler; returns false when it failed and its message was shown.
    bool run(const std::function<void()> &handler) const;

    // Wraps a handler for connecting to a signal.
    template <class Handler> auto guard(Handler handler) const
    {
        return [this, handler]() { run(handler); };
    }

private:
    void show(const QString &message) const;

    Dialogs &m_dialogs;
    QWidget *m_parent;
};

} // namespace vocafetch
