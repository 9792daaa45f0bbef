#pragma once

#include "extract/ByteBuffer.h"
#include "extract/InProcessClipboard.h"
#include "extract/RecordingExport.h"
#include "extract/RecordingScan.h"

#include <QByteArray>
#include <QString>

// A container loaded and scanned as the window does it, with the facts the commands report.
class ScannedContainer
{
public:
    // Loads and scans; throws ExtractError when the file cannot be loaded.
    explicit ScannedContainer(const QString &path);
    ScannedContainer(const ScannedContainer &) = delete;
    ScannedContainer &operator=(const ScannedContainer &) = delete;

    const QString &path() const { return m_path; }
    qint32 size() const { return m_source.DataSize(); }
    const ScanResult &scan() const { return m_scan; }
    int recordingCount() const { return static_cast<int>(m_scan.AmrStartList.size()); }
    // The bytes recording i's file holds.
    RecordingRange range(int i) const;
    // Those bytes, without a copy; valid while the container lives and is not exported from.
    QByteArray recordingBytes(int i) const;

    // The buffer holding the container and the clipboard an export must share with it.
    TByteBuffer &source() { return m_source; }
    const TByteBuffer &source() const { return m_source; }
    Clipboard &clipboard() { return m_clipboard; }

private:
    QString m_path;
    InProcessClipboard m_clipboard;
    TByteBuffer m_source{m_clipboard};
    ScanResult m_scan;
};

// An error message on one line ("Cannot open X.\r\n(...)" becomes "Cannot open X. (...)").
QString oneLine(const QString &message);
