#pragma once
// A skinned list view showing the rows of a model it is given, with TsuiListView's look: for
// lists too long for an item object per row. Its look is set through the same functions as
// TsuiListView's (UIStyle, BorderColor, VScrollBar, ...).

#include "skin/controls/TsuiListViewLook.h"

#include <QListView>

namespace vocafetch {

class SkinnedListView : public TsuiListViewLook<QListView>
{
    Q_OBJECT

public:
    explicit SkinnedListView(QWidget *parent = nullptr);

    // Shows rows (kept by its owner) and follows its changes.
    void setModel(QAbstractItemModel *rows) override;
};

} // namespace vocafetch
