#pragma once

#include <QByteArray>

#include <functional>

namespace vocafetch {

// Turns a SIGBUS raised while reading mapped file memory (the file was truncated by someone else)
// into an ExtractError instead of the end of the process.

// Runs pass on this thread; when touching mapped memory inside it raises SIGBUS, the pass is
// abandoned and ExtractError ""PATH" changed while it was read" is thrown. Guards nest and run
// on any number of threads at once. A SIGBUS outside every guard goes to the handler that was
// installed before (by default: the process ends).
//
// The pass is left by a jump, so destructors of objects created inside it do not run when the
// fault hits: keep results in objects owned by the caller, and do not take locks or allocate
// in the loop that touches the mapping.
void runMappedAccessGuarded(const QByteArray &path, const std::function<void()> &pass);

} // namespace vocafetch
