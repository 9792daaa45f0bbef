#include "skin/chrome/TsuiForm.h"

#include "skin/chrome/FramelessHost.h"
#include "skin/chrome/TsuiFormMenuBar.h"
#include "skin/chrome/TsuiMainMenu.h"
#include "skin/style/FollowFileTheme.h"
#include "skin/style/StyleLookup.h"
#include "skin/style/StyleProperties.h"
#include "skin/style/StyleResolve.h"
#include "skin/style/TsuiFileTheme.h"

#include <QEvent>
#include <QFrame>
#include <QPainter>

using namespace vocafetch;

namespace {

MenuBarButtonLook menuBarLookOf(TsuiUIStyle style, const TsuiFileTheme *theme,
                                const TsuiMainMenu *menu)
{
    MenuBarButtonLook look;
    if (menu) {
        style = menu->UIStyle();
        theme = menu->FileTheme();
        look.font = menu->menuFont();
        if (!menu->UseSystemFont())
            look.fontColor = BgrToQColor(menu->FontColor());
    }
    const StyleSource source = ResolveStyle(style, theme);
    look.style = source.fromTheme ? TsuiUIStyle::FromThemeFile : source.style;
    look.selectedColor =
        BgrToQColor(ResolvedColor(style, theme, StyleEntry::MenuSelectedBackgroundColor));
    look.selectedBorderColor =
        BgrToQColor(ResolvedColor(style, theme, StyleEntry::MenuSelectedBorderColor));
    look.selectedFontColor =
        BgrToQColor(ResolvedColor(style, theme, StyleEntry::MenuSelectedFontColor));
    if (look.style == TsuiUIStyle::MacOS)
        look.macSelectImage = LoadSkinResource(QStringLiteral("MACOS_MENU_SELECT"));
    return look;
}

} // namespace

TsuiForm::TsuiForm(QWidget *owner) : QWidget(owner)
{
    if (owner && owner->isWindow()) {
        for (QObject *child : owner->children()) {
            if (child != this && qobject_cast<TsuiForm *>(child))
                throw TsuiFormError(secondFrameMessage());
        }
        m_host = owner;
        m_hostAgent = vocafetch::FramelessHost::attach(owner, this);
    }
    setObjectName(QStringLiteral("suiForm"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_titleBar = new TsuiTitleBar(this);
    // A new style can change the bar's height; the menu bar then moves with it.
    m_titleBar->installEventFilter(this);
    connect(m_titleBar, &TsuiTitleBar::OnCustomBtnsClick, this,
            &TsuiForm::OnTitleBarCustomBtnsClick);
    connect(m_titleBar, &TsuiTitleBar::OnHelpBtnClick, this, &TsuiForm::OnTitleBarHelpBtnClick);
    m_menuBarColor = m_color;
    setUIStyle(TsuiUIStyle::DeepBlue);
    if (m_host) {
        setCaption(m_host->windowTitle());
        takeOverHost();
    }
    m_titleBar->show();
}

TsuiForm::~TsuiForm() = default;

void TsuiForm::takeOverHost()
{
    using vocafetch::FramelessHost;
    m_hostAgent->makeFrameless();
    connect(m_hostAgent, &FramelessHost::paintOver, this, [this](QPainter *painter) {
        PaintBorder(painter, m_host->size(), BgrToQColor(m_borderColor), m_borderWidth);
    });
    connect(m_hostAgent, &FramelessHost::resized, this, &TsuiForm::hostResized);
    connect(m_hostAgent, &FramelessHost::shown, this,
            [this]() { m_titleBar->SetWindowRegion(m_titleBar->RoundCorner()); });
    connect(m_hostAgent, &FramelessHost::activeChanged, m_titleBar, &TsuiTitleBar::setFormActive);
    connect(m_hostAgent, &FramelessHost::windowStateChanged, m_titleBar,
            &TsuiTitleBar::UpdateMaxPictures);
    LayoutFrame();
}

void TsuiForm::resizeHost(const QSize &size)
{
    if (m_hostAgent)
        m_hostAgent->resizeHost(size);
}

void TsuiForm::setFrameWidth(int width)
{
    if (m_host)
        resizeHost(QSize(width + 2 * m_borderWidth, m_host->height()));
    else
        resize(width, height());
    LayoutFrame();
}

void TsuiForm::setFrameHeight(int height)
{
    if (m_host)
        resizeHost(QSize(m_host->width(), height + m_borderWidth + m_borderWidth / 2));
    else
        resize(width(), height);
    LayoutFrame();
}

void TsuiForm::setFileTheme(TsuiFileTheme *theme)
{
    const bool changed = FollowFileTheme(this, m_theme, theme, [this]() {
        ApplyStyleToChildren(this, TsuiUIStyle::DeepBlue, nullptr);
        setUIStyle(TsuiUIStyle::DeepBlue);
    });
    if (changed)
        setUIStyle(m_style);
}

void TsuiForm::setUIStyle(TsuiUIStyle style)
{
    m_style = style;
    const TsuiFileTheme *theme = m_theme.data();
    m_borderColor = ResolvedColor(style, theme, StyleEntry::FormBorderColor);
    setBorderWidth(ResolvedInt(style, theme, StyleEntry::FormBorderWidthInt));
    m_color = ResolvedColor(style, theme, StyleEntry::FormBackgroundColor);
    setMenuBarColor(m_color);
    m_titleBar->setFileTheme(m_theme.data());
    m_titleBar->setUIStyle(style);
    if (m_menu) {
        m_menu->setUIStyle(style);
        m_menu->setFileTheme(m_theme.data());
    }
    if (m_autoUpdateSub)
        ApplyStyleToChildren(this, style, m_theme.data());
    const StyleSource source = ResolveStyle(style, theme);
    m_backgroundPattern = QImage();
    if (!source.fromTheme && source.style == TsuiUIStyle::MacOS)
        m_backgroundPattern = LoadSkinResource(QStringLiteral("MACOS_FORM_BACKGROUND"));
    else if (!source.fromTheme && source.style == TsuiUIStyle::Protein)
        m_backgroundPattern = LoadSkinResource(QStringLiteral("PROTEIN_FORM_BACKGROUND"));
    ApplyMenuBarFont();
    LayoutFrame();
    update();
    DrawBorder();
}

void TsuiForm::setBorderColor(quint32 color)
{
    m_borderColor = color;
    LayoutFrame();
    DrawBorder();
}

void TsuiForm::setBorderWidth(int width)
{
    m_borderWidth = std::max(0, width);
    setFrameWidth(this->width());
    setFrameHeight(this->height());
    DrawBorder();
}

void TsuiForm::setTitleBarVisible(bool visible)
{
    m_titleBarVisible = visible;
    m_titleBar->setVisible(visible);
    LayoutFrame();
    layoutChildren();
}

void TsuiForm::setColor(quint32 color)
{
    m_color = color;
    update();
}

void TsuiForm::setCaption(const QString &caption)
{
    m_titleBar->setCaption(caption);
    if (m_host)
        m_host->setWindowTitle(caption);
}

void TsuiForm::setTitleBarButtons(const TsuiTitleBarButtons &buttons)
{
    m_titleBar->setButtons(buttons);
}

void TsuiForm::setTitleBarSections(const TsuiTitleBarSections &sections)
{
    m_titleBar->setSections(sections);
    m_titleBar->setAutoSize(m_titleBar->AutoSize());
    layoutChildren();
}

void TsuiForm::setTitleBarButtonsProperty(TsuiTitleBarButtons *buttons)
{
    if (buttons)
        setTitleBarButtons(*buttons);
}

void TsuiForm::setTitleBarSectionsProperty(TsuiTitleBarSections *sections)
{
    if (sections)
        setTitleBarSections(*sections);
}

void TsuiForm::setMenu(TsuiMainMenu *menu)
{
    if (m_menu)
        disconnect(m_menu, nullptr, this, nullptr);
    m_menu = menu;
    if (!menu) {
        delete m_menuBar;
        m_menuBar = nullptr;
        layoutChildren();
        return;
    }
    connect(menu, &TsuiMainMenu::itemsReplaced, this, &TsuiForm::RebuildMenuBar);
    connect(menu, &TsuiMainMenu::itemsChanged, this, &TsuiForm::RefreshMenuBar);
    connect(menu, &TsuiMainMenu::lookChanged, this, &TsuiForm::ApplyMenuBarFont);
    connect(menu, &TsuiMainMenu::aboutToBeDestroyed, this, [this]() { setMenu(nullptr); });
    if (!m_menuBar) {
        m_menuBar = new TsuiFormMenuBar(this);
        m_menuBar->setBarHeight(m_menuBarHeight);
        m_menuBar->setBarColor(BgrToQColor(m_menuBarColor));
        m_menuBar->show();
    }
    RebuildMenuBar();
}

void TsuiForm::setFormPanel(QWidget *panel)
{
    if (panel == this) {
        ShowSkinError(
            QStringLiteral("Sorry, you can't select the Form assign to FormPanel property"));
        return;
    }
    m_formPanel = panel;
    if (!panel)
        return;
    if (auto *frame = qobject_cast<QFrame *>(panel))
        frame->setFrameShape(QFrame::NoFrame);
    layoutChildren();
}

void TsuiForm::setMenuBarColor(quint32 color)
{
    m_menuBarColor = color;
    if (m_menuBar)
        m_menuBar->setBarColor(BgrToQColor(color));
}

void TsuiForm::setMenuBarHeight(int height)
{
    m_menuBarHeight = height;
    if (m_menuBar)
        m_menuBar->setBarHeight(height);
    layoutChildren();
}

void TsuiForm::LayoutFrame()
{
    if (!m_host)
        return;
    const int top = m_titleBarVisible ? 0 : m_borderWidth;
    const QSize client = m_host->size();
    setGeometry(m_borderWidth, top, client.width() - 2 * m_borderWidth,
                client.height() - m_borderWidth - top);
}

void TsuiForm::PaintBorder(QPainter *painter, const QSize &clientSize, const QColor &color,
                           int width)
{
    const int cw = clientSize.width();
    const int ch = clientSize.height();
    painter->fillRect(QRect(0, 0, width, ch), color);
    painter->fillRect(QRect(0, ch - width, cw, width), color);
    painter->fillRect(QRect(cw - width, 0, width, ch), color);
    // The line along the top, under the title bar (and the top border when it is hidden).
    painter->fillRect(QRect(0, 0, cw, width), color);
}

void TsuiForm::DrawBorder()
{
    // Only the strips the frame leaves uncovered.
    if (m_host)
        m_host->update(QRegion(m_host->rect()) - QRegion(geometry()));
}

void TsuiForm::layoutChildren()
{
    int y = 0;
    if (m_titleBarVisible) {
        m_titleBar->setGeometry(0, 0, width(), m_titleBar->height());
        y = m_titleBar->height();
    }
    if (m_menuBar) {
        m_menuBar->setGeometry(0, y, width(), m_menuBarHeight);
        y += m_menuBarHeight;
    }
    if (m_formPanel && m_formPanel->parentWidget() == this)
        m_formPanel->setGeometry(0, y, width(), std::max(0, height() - y));
}

void TsuiForm::resizeEvent(QResizeEvent *event)
{
    layoutChildren();
    QWidget::resizeEvent(event);
}

void TsuiForm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_backgroundPattern.isNull())
        p.fillRect(rect(), QBrush(m_backgroundPattern));
    else
        p.fillRect(rect(), BgrToQColor(m_color));
}

void TsuiForm::RebuildMenuBar()
{
    if (!m_menuBar)
        return;
    if (!m_menu) {
        setMenu(nullptr);
        return;
    }
    m_menuBar->rebuild(m_menu->items());
    ApplyMenuBarFont();
    layoutChildren();
}

void TsuiForm::RefreshMenuBar()
{
    if (m_menuBar)
        m_menuBar->refresh();
}

void TsuiForm::ApplyMenuBarFont()
{
    if (!m_menuBar || !m_menu)
        return;
    m_menuBar->setLook(menuBarLookOf(m_style, m_theme.data(), m_menu));
    const bool mac = m_menuBar->look().style == TsuiUIStyle::MacOS;
    m_menuBar->setBackgroundImage(mac ? LoadSkinResource(QStringLiteral("MACOS_MENU_BAR"))
                                      : QImage());
    m_menuBar->refresh();
}

void TsuiForm::ApplyStyleToChildren(QWidget *frame, TsuiUIStyle style, TsuiFileTheme *theme)
{
    if (!frame)
        return;
    for (QObject *child : frame->children()) {
        if (!child->isWidgetType() || !HasStyleProperties(child))
            continue;
        WriteFileThemeProperty(child, theme);
        WriteUIStyleProperty(child, style);
    }
}

bool TsuiForm::hostSizeable() const
{
    return m_hostAgent && m_hostAgent->sizeable();
}

bool TsuiForm::IsFormActive() const
{
    return m_host && m_host->isActiveWindow();
}

void TsuiForm::hostResized()
{
    LayoutFrame();
    DrawBorder();
    m_titleBar->UpdateMaxPictures();
    m_titleBar->SetWindowRegion(m_titleBar->RoundCorner());
}

bool TsuiForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_titleBar && event->type() == QEvent::Resize)
        layoutChildren();
    return QWidget::eventFilter(watched, event);
}
