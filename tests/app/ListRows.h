#pragma once
// Reaching the rows of the window's lists, whether they hold items (FileDRF) or show a model
// (AMRFiles): a row's caption, tool tip and icon, selecting and clicking a row.

#include <QAbstractItemView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QStringList>
#include <QTest>

namespace vocafetch {

inline int rowCount(const QAbstractItemView *list)
{
    return list->model()->rowCount();
}

inline QVariant rowData(const QAbstractItemView *list, int row, int role)
{
    return list->model()->data(list->model()->index(row, 0), role);
}

inline QString rowText(const QAbstractItemView *list, int row)
{
    return rowData(list, row, Qt::DisplayRole).toString();
}

inline QString rowToolTip(const QAbstractItemView *list, int row)
{
    return rowData(list, row, Qt::ToolTipRole).toString();
}

inline QIcon rowIcon(const QAbstractItemView *list, int row)
{
    return rowData(list, row, Qt::DecorationRole).value<QIcon>();
}

inline QStringList rowTexts(const QAbstractItemView *list)
{
    QStringList texts;
    for (int row = 0; row < rowCount(list); ++row)
        texts << rowText(list, row);
    return texts;
}

// Selects row as a program would, without a click.
inline void selectRow(QAbstractItemView *list, int row)
{
    list->selectionModel()->select(list->model()->index(row, 0),
                                   QItemSelectionModel::ClearAndSelect);
}

inline void clickRow(QAbstractItemView *list, int row)
{
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace vocafetch
