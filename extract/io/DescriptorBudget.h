#pragma once

#include <QtGlobal>

#include <optional>

namespace vocafetch {

// The descriptors the process may hold open for its work: its open-file limit, raised once to
// the hard limit (at most 65,536), less those kept free for everything else it opens (the
// program's own files, containers, folders). None when the system sets no limit. Jobs and the
// files waiting in save batches share this one budget.
std::optional<qint64> workDescriptors();

} // namespace vocafetch
