#include "panelwindows.h"

#include "userguide.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace tarvo {

namespace {

// The frame a window manager adds, before the window shows and it is known.
constexpr int kAssumedTitleBar = 36;
constexpr int kAssumedBorder = 4;

QString placeKey(const QWidget* panel)
{
    return QStringLiteral("windows/") + panel->objectName();
}

}  // namespace

void fitOnScreen(QWidget* window)
{
    // The screen the window is meant for: where its middle lies, as it may
    // just have been moved over a main panel on another screen.
    QScreen* screen = QGuiApplication::screenAt(window->geometry().center());
    if (!screen)
        screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect inner = window->geometry();
    QRect outer = window->frameGeometry();
    if (outer == inner)  // no frame known yet
        outer = inner.adjusted(-kAssumedBorder, -kAssumedTitleBar, kAssumedBorder, kAssumedBorder);
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    const QSize room = area.size().shrunkBy(frame);
    const QSize size = inner.size().boundedTo(room).expandedTo(window->minimumSize().boundedTo(room));
    if (size != inner.size())
        window->resize(size);
    const int x = std::clamp(inner.left(), area.left() + frame.left(), area.right() - frame.right() - size.width() + 1);
    const int y = std::clamp(inner.top(), area.top() + frame.top(), area.bottom() - frame.bottom() - size.height() + 1);
    if (QPoint(x, y) != inner.topLeft())
        window->move(x, y);
}

PanelWindows::PanelWindows(QWidget* mainPanel, QSettings* session, const QString& guideTopic, QObject* parent)
    : QObject(parent)
    , m_main(mainPanel)
    , m_session(session)
{
    mainPanel->installEventFilter(this);
    addHelpKey(mainPanel, guideTopic);
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), mainPanel);
    quit->setContext(Qt::ApplicationShortcut);
    connect(quit, &QShortcut::activated, mainPanel, &QWidget::close);
}

PanelWindows::~PanelWindows()
{
    if (m_main)
        m_main->removeEventFilter(this);
    save();
}

void PanelWindows::addSecondary(QWidget* panel, const QString& guideTopic)
{
    // A dialog-type window: with a transient parent, window managers keep
    // it above that window and give it no taskbar entry of its own.
    panel->setWindowFlags(Qt::Dialog | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    panel->installEventFilter(this);
    addHelpKey(panel, guideTopic);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), panel);
    connect(esc, &QShortcut::activated, panel, &QWidget::close);
}

void PanelWindows::addHelpKey(QWidget* panel, const QString& topic)
{
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), panel);
    connect(help, &QShortcut::activated, panel, [topic] { openUserGuide(topic); });
}

void PanelWindows::save()
{
    if (!m_session)
        return;
    for (QWidget* panel : std::as_const(m_placed))
        if (panel->isVisible())
            keep(panel);
    m_session->sync();
}

void PanelWindows::keep(QWidget* panel)
{
    if (m_session)
        m_session->setValue(placeKey(panel), panel->saveGeometry());
}

void PanelWindows::place(QWidget* panel)
{
    const bool secondary = panel != m_main;
    if (secondary && m_main && panel->windowHandle() && m_main->windowHandle())
        panel->windowHandle()->setTransientParent(m_main->windowHandle());
    if (!m_placed.contains(panel)) {
        m_placed.insert(panel);
        connect(panel, &QObject::destroyed, this, [this, panel] { m_placed.remove(panel); });
        const QByteArray kept = m_session ? m_session->value(placeKey(panel)).toByteArray() : QByteArray();
        if (kept.isEmpty() || !panel->restoreGeometry(kept)) {
            if (secondary && m_main)
                panel->move(m_main->geometry().center() - panel->rect().center());
        }
    }
    fitOnScreen(panel);
}

bool PanelWindows::eventFilter(QObject* watched, QEvent* event)
{
    auto* panel = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::Show: place(panel); break;
    case QEvent::Hide:
        if (m_placed.contains(panel))
            keep(panel);
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tarvo
