// The windows of a program's panels.
//
// The main panel opens with the size and place it was left with (kept in the
// program's session file, per user like the other settings) and always
// fully on the screen; F1 opens the user guide and Ctrl+Q closes the main
// panel, which ends the program. Each secondary panel stays above the main
// panel without a taskbar entry of its own, closes with Esc, opens where it
// was left or else centred over the main panel, always fully on the screen,
// and its F1 opens the guide at the panel's topic.
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

class QSettings;
class QWidget;

namespace tarvo {

class PanelWindows final : public QObject {
    Q_OBJECT
public:
    // session: where the places are kept; none keeps nothing.
    PanelWindows(QWidget* mainPanel, QSettings* session, const QString& guideTopic = QString(),
                 QObject* parent = nullptr);
    ~PanelWindows() override;

    void addSecondary(QWidget* panel, const QString& guideTopic = QString());
    // Keeps the places of the panels shown now (each also as it hides).
    void save();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addHelpKey(QWidget* panel, const QString& topic);
    void place(QWidget* panel);
    void keep(QWidget* panel);

    QPointer<QWidget> m_main;
    QPointer<QSettings> m_session;
    QSet<QWidget*> m_placed;  // placed at their first showing
};

// Moves and, if need be, shrinks a window so that it lies fully within the
// available area of its screen, frame included.
void fitOnScreen(QWidget* window);

}  // namespace tarvo
