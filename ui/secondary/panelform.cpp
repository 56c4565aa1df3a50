#include "ui/secondary/panelform.h"

#include "shell/formwindow.h"
#include "ui/layout/controlaccess.h"
#include "ui/layout/formbuilder.h"
#include "ui/main/frmwindscale.h"

#include "shell/windowsystem.h"

#include <QEvent>
#include <QPointer>
#include <QPushButton>

namespace {

// While a panel has the main window's input off, the panel stays above the
// main window, whatever brings the main window forward: a click on it (a
// window manager raises what is clicked), the main window shown again from
// the map, or the panel lowered by the window manager. Otherwise the panel
// and its OK, the only way to give the main window its input back, would lie
// under a window that takes no input.
//
// Each panel keeps its own task bar entry and no owner: it is raised again
// rather than tied to the main window.
class PanelAboveMainWindow final : public QObject
{
public:
    // The panel that has switched off the input of `main`.
    static void hold(QWidget &main, QWidget &panel)
    {
        PanelAboveMainWindow *guard = nullptr;
        for (QObject *child : main.children()) {
            if ((guard = dynamic_cast<PanelAboveMainWindow *>(child)))
                break;
        }
        if (!guard)
            guard = new PanelAboveMainWindow(main);
        guard->m_panel = &panel;
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

    void check()
    {
        m_checkPending = false;
        QWidget *panel = m_panel;
        if (m_main.isEnabled() || !m_main.isVisible() || !panel || !panel->isVisible())
            return;
        const bool mainActive = m_main.isActiveWindow();
        if (!mainActive && WindowSystem::isStackedAbove(*panel, m_main).value_or(true))
            return;
        panel->raise();
        // The user turned to the main window, which cannot take input: the
        // panel takes it instead.
        if (mainActive)
            panel->activateWindow();
    }

    QWidget &m_main;
    QPointer<QWidget> m_panel;
    bool m_checkPending = false;
};

} // namespace

std::unique_ptr<FormWindow> PanelForm::buildPanel(const WindowSpec &design,
                                                  std::span<const ControlSpec> controls)
{
    auto window = buildFormWindow(*this, design, controls);
    auto &ok = control<QPushButton>(*window, "Command1");
    QObject::connect(&ok, &QPushButton::clicked, &ok, [this] { Command1_Click(); });
    ok.setFocus();
    return window;
}

void PanelForm::Form_Activate()
{
    defaultInstance<frmWindScale>().Enabled(false);
    PanelAboveMainWindow::hold(defaultInstance<frmWindScale>().window(), window());
}

void PanelForm::Command1_Click()
{
    Hide();
    Unload();
    defaultInstance<frmWindScale>().Enabled(true);
    defaultInstance<frmWindScale>().Show();
}

void PanelForm::Form_Unload(bool &)
{
    // The window is already unloading, so this asks for nothing more.
    Unload();
}

void PanelForm::closedByWindowManager()
{
    // As OK does: the main window comes to the front taking input. Bringing
    // it forward also keeps the window manager's hand-over of the focus to a
    // help window beneath from switching the input off again.
    defaultInstance<frmWindScale>().Enabled(true);
    defaultInstance<frmWindScale>().Show();
}
