#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <cstdio>
#include <mutex>

namespace vocafetch {

// Standard output and error shared by the workers, with a progress line on the terminal:
// bytes looked at of the total, what is counted (files written, containers listed) and the
// rate. The line is drawn on stderr only when stderr is a terminal and progress was asked for,
// and is cleared before anything else is written, so it never mixes with the listing. A write
// to standard output that fails (a full disk, a closed pipe) is remembered, so that the run
// ends with an error instead of reporting success.
class Console
{
public:
    // What the progress line counts, in the singular and the plural ("file written").
    struct Counted
    {
        const char *one;
        const char *many;
    };

    Console(std::FILE *out, std::FILE *err, bool showProgress,
            Counted counted = {"file written", "files written"});
    ~Console();
    Console(const Console &) = delete;
    Console &operator=(const Console &) = delete;

    void writeOut(const QByteArray &text);
    void writeErr(const QByteArray &text);
    // "vocafetch-cli: PATH: MESSAGE" on stderr; the path shown with its undecodable bytes
    // replaced and control characters escaped.
    void reportError(const QString &path, const QString &message);

    void setTotal(qint64 bytes);
    // Adds to the bytes looked at and to what is counted; redrawn at most ten times a second.
    void advance(qint64 bytes, int counted = 0);
    void clearProgress();

    // Flushes standard output and gives the exit status: status, or 1 with "vocafetch-cli:
    // cannot write the output: REASON" on stderr when a write to standard output failed.
    int finish(int status);

private:
    void drawLocked(bool force);
    void clearLocked();
    // Remembers the error of a write to standard output that did not succeed.
    void noteOut(bool written);

    std::FILE *m_out;
    std::FILE *m_err;
    bool m_progress;
    Counted m_counted;
    std::mutex m_mutex;
    qint64 m_total = 0;
    qint64 m_done = 0;
    int m_count = 0;
    bool m_shown = false;
    QElapsedTimer m_clock;
    qint64 m_lastDraw = -1000;
    int m_outError = 0; // errno of the first failed write to standard output
};

} // namespace vocafetch
