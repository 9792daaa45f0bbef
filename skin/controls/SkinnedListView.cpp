#include "skin/controls/SkinnedListView.h"

namespace vocafetch {

SkinnedListView::SkinnedListView(QWidget *parent) : TsuiListViewLook(parent) {}

void SkinnedListView::setModel(QAbstractItemModel *rows)
{
    if (model())
        disconnect(model(), nullptr, this, nullptr);
    TsuiListViewLook::setModel(rows);
    followModel();
}

} // namespace vocafetch
