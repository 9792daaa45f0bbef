#include "cli/Console.h"

#include "extract/RawFileName.h"

#include <unistd.h>

Console::Console(std::FILE *out, std::FILE *err, bool showProgress)
    : m_out(out), m_err(err), m_progress(showProgress && isatty(fileno(err)))
{
    m_clock.start();
}

Console::~Console()
{
    clearProgress();
    std::fflush(m_out);
}

void Console::writeOut(const QByteArray &text)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    clearLocked();
    std::fwrite(text.constData(), 1, size_t(text.size()), m_out);
    // Flushed only when someone may be watching: a file receives whole buffers.
    if (m_progress)
        std::fflush(m_out);
}

void Console::writeErr(const QByteArray &text)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    clearLocked();
    std::fflush(m_out);
    std::fwrite(text.constData(), 1, size_t(text.size()), m_err);
    std::fflush(m_err);
}

void Console::reportError(const QString &path, const QString &message)
{
    writeErr("vocafetch-cli: " + vocafetch::displayName(path).toUtf8() + ": " + message.toUtf8() +
             '\n');
}

void Console::setTotal(qint64 bytes)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_total = bytes;
}

void Console::advance(qint64 bytes, int files)
{
    if (!m_progress)
        return;
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_done += bytes;
    m_files += files;
    drawLocked(false);
}

void Console::clearProgress()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    clearLocked();
}

void Console::drawLocked(bool force)
{
    const qint64 now = m_clock.elapsed();
    if (!force && now - m_lastDraw < 100)
        return;
    m_lastDraw = now;
    const double seconds = std::max<qint64>(now, 1) / 1000.0;
    const double mib = 1024.0 * 1024.0;
    char line[160];
    const int length = std::snprintf(line, sizeof line,
                                     "\r\x1b[K%.1f of %.1f MiB looked at, %d files written, "
                                     "%.1f MiB/s",
                                     m_done / mib, m_total / mib, m_files, m_done / mib / seconds);
    std::fwrite(line, 1, size_t(std::clamp(length, 0, int(sizeof line) - 1)), m_err);
    std::fflush(m_err);
    m_shown = true;
}

void Console::clearLocked()
{
    if (!m_shown)
        return;
    std::fputs("\r\x1b[K", m_err);
    std::fflush(m_err);
    m_shown = false;
}
