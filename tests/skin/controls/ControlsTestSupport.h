#pragma once
// Helpers of the skinned control tests: a shown top-level window to host controls, grabbing
// pixels, fonts without anti-aliasing so text pixels have exact colours, and the ticks of a held
// button's repeat timer without waiting for them.

#include <QFont>
#include <QImage>
#include <QRect>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace controlstest {

// A top-level window, shown and active, that hosts the controls of one test.
inline std::unique_ptr<QWidget> shownHost(QSize size = QSize(320, 200))
{
    auto host = std::make_unique<QWidget>();
    host->resize(size);
    QPalette pal = host->palette();
    pal.setColor(QPalette::Window, QColor(239, 235, 222));
    host->setPalette(pal);
    host->show();
    host->activateWindow();
    (void)QTest::qWaitForWindowActive(host.get());
    return host;
}

// The repeat timer a held button runs now; nullptr when none runs.
inline QTimer *runningRepeatTimer(const QWidget *button)
{
    for (QTimer *timer : button->findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly))
        if (timer->isActive())
            return timer;
    return nullptr;
}

// Lets the running repeat timer of button tick once, as if its interval had passed. False when
// no timer runs.
inline bool repeatTick(const QWidget *button)
{
    QTimer *timer = runningRepeatTimer(button);
    return timer && QMetaObject::invokeMethod(timer, "timeout");
}

inline QImage grabbed(QWidget *w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A crisp font: every text pixel is exactly the pen colour.
inline QFont crispFont()
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(11);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

// Bounding box of the pixels for which match is true (empty when none).
inline QRect boundsOf(const QImage &image, const std::function<bool(QRgb)> &match)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (match(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

inline int countOf(const QImage &image, const std::function<bool(QRgb)> &match)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += match(image.pixel(x, y)) ? 1 : 0;
    return n;
}

inline bool isRgb(QRgb p, int r, int g, int b)
{
    return qRed(p) == r && qGreen(p) == g && qBlue(p) == b;
}

} // namespace controlstest
