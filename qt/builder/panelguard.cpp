#include "qt/builder/panelguard.h"

#include "qt/shell/windowsystem.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {

// While a panel has the main window's input off, every open panel stays
// above the main window, whatever brings the main window forward: a click on
// it (a window manager raises what is clicked), the main window shown again
// from the map, or a panel lowered by the window manager. Otherwise a panel
// and its OK, the only way to give the main window its input back, would lie
// under a window that takes no input. Both panels count: when the map gives
// way to the main window, the help and about windows may both be open, and
// neither may be left under it.
//
// Each panel keeps its own task bar entry and no owner: it is raised again
// rather than tied to the main window.
class PanelAboveMainWindow final : public QObject
{
public:
    static void hold(QWidget &main, QWidget &panel)
    {
        PanelAboveMainWindow *guard = nullptr;
        for (QObject *child : main.children()) {
            if ((guard = dynamic_cast<PanelAboveMainWindow *>(child)))
                break;
        }
        if (!guard)
            guard = new PanelAboveMainWindow(main);
        std::erase_if(guard->m_panels,
                      [&panel](const QPointer<QWidget> &p) { return p.isNull() || p == &panel; });
        guard->m_panels.emplace_back(&panel);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
            checkSoon();
        return QObject::eventFilter(watched, event);
    }

private:
    explicit PanelAboveMainWindow(QWidget &main)
        : QObject(&main)
        , m_main(main)
    {
        main.installEventFilter(this);
        WindowSystem::watchStacking(this, [this] { checkSoon(); });
    }

    // After the event that brought the main window forward has been handled
    // and the handler that may give the input back has run.
    void checkSoon()
    {
        if (m_checkPending)
            return;
        m_checkPending = true;
        QMetaObject::invokeMethod(this, &PanelAboveMainWindow::check, Qt::QueuedConnection);
    }

    // The open panels, bottom first as the window manager stacks them; in
    // the order they took the input where it does not say.
    [[nodiscard]] std::vector<QWidget *> openPanels() const
    {
        std::vector<QWidget *> panels;
        for (const QPointer<QWidget> &panel : m_panels) {
            if (panel && panel->isVisible())
                panels.push_back(panel);
        }
        std::stable_sort(panels.begin(), panels.end(), [](QWidget *lower, QWidget *upper) {
            return WindowSystem::isStackedAbove(*upper, *lower).value_or(false);
        });
        return panels;
    }

    void check()
    {
        m_checkPending = false;
        if (m_main.isEnabled() || !m_main.isVisible())
            return;
        const std::vector<QWidget *> panels = openPanels();
        if (panels.empty())
            return;
        const bool mainActive = m_main.isActiveWindow();
        // A window not yet in the window manager's list is on its way to the
        // top.
        const bool buried = std::any_of(panels.begin(), panels.end(), [this](QWidget *panel) {
            return !WindowSystem::isStackedAbove(*panel, m_main).value_or(true);
        });
        if (!mainActive && !buried)
            return;
        // All of them, bottom first, so that they keep their order among
        // themselves.
        for (QWidget *panel : panels)
            panel->raise();
        // The user turned to the main window, which cannot take input: the
        // panel in front takes it instead.
        if (mainActive)
            panels.back()->activateWindow();
    }

    QWidget &m_main;
    // The panels that have switched the input off, oldest first.
    std::vector<QPointer<QWidget>> m_panels;
    bool m_checkPending = false;
};

} // namespace

void PanelGuard::hold(QWidget &lower, QWidget &panel)
{
    PanelAboveMainWindow::hold(lower, panel);
}
