#include "app/MeasureLoad.h"

#include "app/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QListView>
#include <QListWidget>
#include <QTimer>

#include <cstdio>

namespace vocafetch {

namespace {

// Reports the first paint of the recording list with rows in it, then ends the program.
class FirstRowPaint : public QObject
{
public:
    FirstRowPaint(QListView *list, const QElapsedTimer &sinceClick)
        : QObject(list), m_list(list), m_sinceClick(sinceClick)
    {
        list->viewport()->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_reported && m_list->model()->rowCount() > 0) {
            m_reported = true;
            std::printf("first recording painted after %lld ms\n",
                        static_cast<long long>(m_sinceClick.elapsed()));
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QListView *m_list;
    const QElapsedTimer &m_sinceClick;
    bool m_reported = false;
};

} // namespace

void measureLoadIfAsked(TForm1 &window)
{
    if (qEnvironmentVariable("VOCAFETCH_MEASURE_LOAD") != QLatin1String("1"))
        return;
    QTimer::singleShot(500, &window, [&window]() {
        static QElapsedTimer sinceClick;
        const QString before = window.statusText();
        sinceClick.start();
        new FirstRowPaint(window.AMRFiles, sinceClick);
        // Selecting the container loads it, as a click does.
        window.FileDRF->setCurrentRow(0);
        if (window.statusText() != before)
            std::printf("status line \"%s\" after %lld ms\n", qPrintable(window.statusText()),
                        static_cast<long long>(sinceClick.elapsed()));
        std::fflush(stdout);
        if (window.AMRFiles->model()->rowCount() == 0)
            QTimer::singleShot(0, qApp, &QApplication::quit);
    });
}

} // namespace vocafetch
