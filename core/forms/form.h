#pragma once

#include "shell/formwindow.h"
#include "shell/windowregistry.h"

#include <QPointer>
#include <QWidget>
#include <QtGlobal>

#include <memory>
#include <vector>

// One window class of the program. The instance lives as long as the
// registry; its window and controls exist only while loaded, built afresh
// from the class's layout at each load.
//
// The window operations are the only ways handlers act on windows. Handlers
// of the window's own events (Form_Activate, Form_Unload) run only while the
// program has not ended.
class Form : public RegisteredInstance, public FormWindowEvents
{
public:
    ~Form() override;
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

protected:
    Form() = default;

    [[nodiscard]] virtual std::unique_ptr<FormWindow> createWindow() = 0;

    virtual void Form_Activate() {}
    virtual void Form_Unload(bool &cancel) { Q_UNUSED(cancel) }
    // Runs after the window manager (not the program) has closed the window.
    virtual void closedByWindowManager() {}

    [[nodiscard]] static bool programHasEnded();

private:
    // Show's activation absorbs the window system's report of it.
    bool activationReported(const QWidget *window) override;
    void deactivationReported(const QWidget *window) override;
    void activationSettled(const QWidget *window) override;
    bool windowCloseRequested(const QWidget *window) override;
    void vanish() override;

    bool runUnload();
    void discardWindow();

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
