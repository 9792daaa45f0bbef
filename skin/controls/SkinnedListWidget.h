#pragma once
// The skinned lists that hold their own items (TsuiListView, TsuiListBox).

#include "skin/controls/SkinnedList.h"

#include <QListWidget>

namespace vocafetch {

using SkinnedListWidget = SkinnedList<QListWidget>;

} // namespace vocafetch
