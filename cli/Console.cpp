#include "cli/Console.h"

#include "cli/TextOutput.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace vocafetch {

Console::Console(std::FILE *out, std::FILE *err, bool showProgress, Counted counted)
    : m_out(out), m_err(err), m_progress(showProgress && isatty(fileno(err))), m_counted(counted)
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
    if (m_outError != 0)
        return; // what follows a lost piece would mislead
    noteOut(std::fwrite(text.constData(), 1, size_t(text.size()), m_out) == size_t(text.size()));
    // Flushed only when someone may be watching: a file receives whole buffers.
    if (m_progress)
        noteOut(std::fflush(m_out) == 0);
}

void Console::writeErr(const QByteArray &text)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    clearLocked();
    noteOut(std::fflush(m_out) == 0);
    std::fwrite(text.constData(), 1, size_t(text.size()), m_err);
    std::fflush(m_err);
}

void Console::reportError(const QString &path, const QString &message)
{
    writeErr(errorLine(path, message));
}

void Console::setTotal(qint64 bytes)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_total = bytes;
}

void Console::advance(qint64 bytes, int counted)
{
    if (!m_progress)
        return;
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_done += bytes;
    m_count += counted;
    drawLocked(false);
}

void Console::clearProgress()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    clearLocked();
}

int Console::finish(int status)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    clearLocked();
    noteOut(std::fflush(m_out) == 0 && !std::ferror(m_out));
    if (m_outError == 0)
        return status;
    const QByteArray line =
        "vocafetch-cli: cannot write the output: " + QByteArray(std::strerror(m_outError)) + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), m_err);
    std::fflush(m_err);
    return 1;
}

void Console::noteOut(bool written)
{
    if (!written && m_outError == 0)
        m_outError = errno != 0 ? errno : EIO;
}

void Console::drawLocked(bool force)
{
    const qint64 now = m_clock.elapsed();
    if (!force && now - m_lastDraw < 100)
        return;
    m_lastDraw = now;
    const double seconds = std::max<qint64>(now, 1) / 1000.0;
    const double mib = 1024.0 * 1024.0;
    char line[192];
    const int length =
        std::snprintf(line, sizeof line, "\r\x1b[K%.1f of %.1f MiB looked at, %d %s, %.1f MiB/s",
                      m_done / mib, m_total / mib, m_count,
                      m_count == 1 ? m_counted.one : m_counted.many, m_done / mib / seconds);
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

} // namespace vocafetch
