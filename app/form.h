#pragma once

#include "windowregistry.h"

#include <QPointer>
#include <QWidget>
#include <QtGlobal>

#include <memory>
#include <vector>

class FormWindow;

// One window class of the program. The instance lives as long as the
// registry; its window and controls exist only while loaded, built afresh
// from the class's layout at each load.
//
// The window operations are the only ways handlers act on windows. Handlers
// of the window's own events (Form_Activate, Form_Unload) run only while the
// program has not ended.
class Form
{
public:
    virtual ~Form();
    Q_DISABLE_COPY_MOVE(Form)

    // Builds the window and its controls if they do not exist; stays hidden.
    void Load();
    // Loads if needed, makes the window visible and brings it to the front as
    // the active window; its Form_Activate runs before Show returns unless
    // the window is active already. Later activations by the user run
    // Form_Activate once the window system has settled on the window: once
    // per activation, however many reports of it the window system sends.
    void Show();
    // Makes the window invisible; it stays loaded with its contents.
    void Hide();
    // Makes the window visible or invisible without bringing it forward.
    void Visible(bool visible);
    // Switches the window's mouse and keyboard input on or off. The control
    // that had the keyboard focus gets it back when the input comes back.
    void Enabled(bool enabled);
    // Destroys the window and its controls after running Form_Unload; an
    // Unload asked for while the window is already unloading does nothing.
    void Unload();

    [[nodiscard]] bool isLoaded() const { return m_window != nullptr; }
    [[nodiscard]] bool isVisible() const;
    [[nodiscard]] bool isEnabled() const;

    // The loaded window; any access loads it, as any access to a control does.
    [[nodiscard]] FormWindow &window();
    // The window if loaded, without loading it.
    [[nodiscard]] FormWindow *loadedWindow() const { return m_window.get(); }

    virtual void Form_Initialize() {}

    // How long the window system's activation reports must stay unchanged
    // before an activation counts: a window manager may pass the focus
    // through one window on its way to another.
    static constexpr int activationSettleMs = 150;

protected:
    Form() = default;

    [[nodiscard]] virtual std::unique_ptr<FormWindow> createWindow() = 0;

    virtual void Form_Activate() {}
    virtual void Form_Unload(bool &cancel) { Q_UNUSED(cancel) }
    // Runs after the window manager (not the program) has closed the window.
    virtual void closedByWindowManager() {}

    [[nodiscard]] static bool programHasEnded();

private:
    friend class FormWindow;
    friend class WindowRegistry;

    // The window system's report of an activation; false if it is the
    // report of an activation Show has already handled, true if the window
    // must wait for the reports to settle.
    bool activationReported(const FormWindow *window);
    // The window system's report that another window of the program has
    // become the active one, or that the window only lost the focus.
    void deactivationReported(const FormWindow *window);
    // The window system's reports have not changed for activationSettleMs:
    // whether the window is active now decides.
    void activationSettled(const FormWindow *window);
    bool windowCloseRequested(const FormWindow *window);
    bool runUnload();
    void discardWindow();
    // Hides the window without running any handler (the program is ending).
    void vanish();

    struct DeleteLater
    {
        void operator()(FormWindow *window) const;
    };
    std::unique_ptr<FormWindow, DeleteLater> m_window;
    // Windows unloaded from inside their own event handling are deleted
    // later; whatever is still pending goes with the instance.
    std::vector<QPointer<FormWindow>> m_discarded;
    // The control that had the focus when the input went off.
    QPointer<QWidget> m_focusBeforeInputOff;
    bool m_unloading = false;
    // Form_Activate has run for the window's current activation.
    bool m_activationHandled = false;
    // Show has run Form_Activate for an activation the window system has
    // not reported yet.
    bool m_activationReportExpected = false;
};
