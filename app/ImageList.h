#pragma once

#include <QIcon>
#include <QPixmap>
#include <QVector>

namespace vocafetch {

// A numbered set of 16 x 16 pictures, as the lists, menus and buttons index them.
class ImageList
{
public:
    static constexpr int IconSize = 16;

    explicit ImageList(QVector<QPixmap> pictures = {});

    int count() const { return m_pictures.size(); }
    QPixmap picture(int index) const { return m_pictures.value(index); }
    QIcon icon(int index) const { return QIcon(picture(index)); }

    // ImageList1, the container list: 0 a container (what every new item shows), 1 a container
    // copied from a phone.
    static ImageList containerIcons();
    // ImageList2, the recording list and the commands: 0 recording, 1 save, 2 save all,
    // 3 help, 4 exit, 5 open, 6 phone, 7 play.
    static ImageList commandIcons();

private:
    QVector<QPixmap> m_pictures;
};

} // namespace vocafetch
