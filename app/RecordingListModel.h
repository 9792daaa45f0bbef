#pragma once
// The rows of the recording list (AMRFiles): one per recording of the loaded container, each
// worked out when the view asks for it, so that millions of recordings cost no object each.

#include <QAbstractListModel>
#include <QIcon>

#include <functional>

namespace vocafetch {

class RecordingListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    // toolTip gives the tool tip of a row when the view asks for it.
    RecordingListModel(QIcon icon, std::function<QString(int row)> toolTip,
                       QObject *parent = nullptr);

    // Shows count recordings, "Запись_1.amr" to "Запись_<signedCount>.amr", then the
    // headerless ones as "Без заголовка_1.amr", ...; 0 empties the list.
    void setRecordingCount(int count, int signedCount);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QIcon m_icon;
    std::function<QString(int)> m_toolTip;
    int m_count = 0;
    int m_signed = 0;
};

} // namespace vocafetch
