#pragma once

#include "extract/ByteBuffer.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Finding the recordings in a loaded container: every recording start "#!AMR" and every
// content-type marker (06 1F 22 "audio/amr"), both in any letter case.
namespace RecordingScan {
inline const QByteArray RecordingStartText = QByteArrayLiteral("#!AMR");
inline const QByteArray TypeMarkerText = QByteArrayLiteral("\x06\x1f\x22"
                                                           "audio/amr");
} // namespace RecordingScan

// What one scan of a container yields; the window shows it as it is.
struct ScanResult
{
    // Decimal byte offsets ("0", "5", ...), ascending: of each "#!AMR" and of each marker's 06.
    QStringList AmrStartList;
    QStringList TypeMarkerList;
    // One caption per recording start: "Запись_1.amr", "Запись_2.amr", ...
    QStringList captions;
    // "Найдено N записей", or "Звуковые записи не найдены" when there is no recording start.
    QString statusText;
    // Whether "save all" (the main menu's AMR1) is enabled: at least one recording start.
    bool saveAllEnabled = false;
};

// Scans the container held by the buffer: first the recording starts, then the markers. The
// buffer ends with the cursor on the last byte of the last marker found and that marker
// selected, or, without a marker, the cursor on byte 0 and bytes 0 ... 1 selected (nothing
// selected in a container shorter than 2 bytes, which has no recordings). Never throws.
ScanResult scanRecordings(TByteBuffer &sourceBuffer);

// Fills captions, statusText and saveAllEnabled from AmrStartList.
void completeScan(ScanResult &result);

// One search pass: from the buffer's cursor on, finds each occurrence of text (prepared with
// ignoreCase), selects it with the cursor on its last byte and appends its offset to list.
void findAllOccurrences(TByteBuffer &buffer, const QByteArray &text, QStringList &list);

// "Запись_" + k + ".amr"
QString recordingCaption(int k);
// The status text after a scan that found n recording starts.
QString scanStatusText(int n);
// The offsets of a list filled by a scan, as numbers.
QVector<qint32> offsetsOf(const QStringList &offsetList);
