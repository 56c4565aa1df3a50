#pragma once

#include "core/forms/formview.h"
#include "core/forms/windowregistry.h"

#include <memory>
#include <string_view>

// One window class of the program. The instance lives as long as the
// registry; its window and controls exist only while loaded, built afresh
// from the class's layout by the front end at each load.
//
// The window operations are the only ways handlers act on windows. Handlers
// of the window's own events (Form_Activate, Form_Unload, clicks) run only
// while the program has not ended.
class Form : public RegisteredInstance, private FormEvents
{
public:
    ~Form() override;

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

    [[nodiscard]] bool isLoaded() const { return m_view != nullptr; }
    [[nodiscard]] bool isVisible() const;
    [[nodiscard]] bool isEnabled() const;

    // The loaded window; any access loads it, as any access to a control does.
    [[nodiscard]] FormView &view();
    // The window if loaded, without loading it.
    [[nodiscard]] FormView *loadedView() const { return m_view.get(); }

    virtual void Form_Initialize() {}

protected:
    Form() = default;

    // The window's layout, which every load builds from.
    [[nodiscard]] virtual FormDesign design() const = 0;

    virtual void Form_Activate() {}
    virtual void Form_Unload(bool &cancel) { (void)cancel; }
    // Runs after the window manager (not the program) has closed the window.
    virtual void closedByWindowManager() {}
    // A control of the window was clicked, or an entry of its list picked.
    virtual void controlClicked(std::string_view control) { (void)control; }

    [[nodiscard]] static bool programHasEnded();

private:
    // Show's activation absorbs the window system's report of it.
    bool activationReported() override;
    void deactivationReported(bool toAnotherWindow) override;
    void activationSettled(bool activeNow) override;
    bool closeRequested() override;
    void clicked(std::string_view control) override;
    void vanish() override;

    bool runUnload();
    void discardView();

    std::unique_ptr<FormView> m_view;
    bool m_unloading = false;
    // Form_Activate has run for the window's current activation.
    bool m_activationHandled = false;
    // Show has run Form_Activate for an activation the window system has
    // not reported yet.
    bool m_activationReportExpected = false;
};
