#include "app/RecordingListModel.h"

#include "app/RecordingPresentation.h"

#include <algorithm>

namespace vocafetch {

RecordingListModel::RecordingListModel(QIcon icon, std::function<QString(int)> toolTip,
                                       QObject *parent)
    : QAbstractListModel(parent), m_icon(std::move(icon)), m_toolTip(std::move(toolTip))
{
}

void RecordingListModel::setRecordingCount(int count, int signedCount)
{
    beginResetModel();
    m_count = std::max(count, 0);
    m_signed = std::clamp(signedCount, 0, m_count);
    endResetModel();
}

int RecordingListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_count;
}

QVariant RecordingListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_count)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return presentation::recordingCaption(index.row(), m_signed);
    case Qt::DecorationRole:
        return m_icon;
    case Qt::ToolTipRole:
        return m_toolTip ? m_toolTip(index.row()) : QString();
    default:
        return {};
    }
}

Qt::ItemFlags RecordingListModel::flags(const QModelIndex &index) const
{
    // As the list's items were: selectable and enabled, never edited or dragged.
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

} // namespace vocafetch
