#pragma once

#include "extract/RecordingScan.h"

#include <QString>

// The scan of a container read from its file piece by piece, in a small fixed amount of memory:
// for listing large containers fast. Its lists equal those that loading the file into a
// TByteBuffer and running vocafetch::scanRecordings() gives.
struct ContainerFileScan
{
    qint64 size = 0; // bytes read from the file
    vocafetch::ContainerScan scan;
};

// Throws ExtractError with TByteBuffer::LoadFromFile's messages when the file cannot be read
// or exceeds 2147483647 bytes.
ContainerFileScan scanContainerFile(const QString &path);
