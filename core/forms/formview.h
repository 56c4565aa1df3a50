#pragma once

#include "core/design/formlayout.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>

// What the handlers do with a drop-down box: fill its list, read its text,
// write a text.
class ComboBoxControl
{
public:
    // Appends the entries at the end of the list, keeping the text shown.
    virtual void appendEntries(std::span<const std::string_view> entries) = 0;
    [[nodiscard]] virtual std::u16string text() const = 0;
    // Shows `text` with the list's current entry moved to `row`, so that the
    // arrow keys step on from the row shown. Raises no pick.
    virtual void writeText(std::string_view text, int row) = 0;

protected:
    ComboBoxControl() = default;
    ~ComboBoxControl() = default;
};

// What the handlers do with a text box: write its text.
class TextBoxControl
{
public:
    virtual void writeText(std::u16string_view text) = 0;

protected:
    TextBoxControl() = default;
    ~TextBoxControl() = default;
};

// What a front end reports of a loaded window to the form it belongs to.
class FormEvents
{
public:
    // The window system reports the window active. False if that is the
    // report of an activation already handled; true if the front end must
    // wait for the reports to settle and then call activationSettled.
    virtual bool activationReported() = 0;
    // The window is no longer the active one; `toAnotherWindow` when another
    // window of the program took over (rather than the focus going nowhere
    // for a moment).
    virtual void deactivationReported(bool toAnotherWindow) = 0;
    // The reports have settled; `activeNow` says how.
    virtual void activationSettled(bool activeNow) = 0;
    // The user or the window manager asks to close the window; true lets it
    // close, after which the window is gone.
    virtual bool closeRequested() = 0;
    // A control was clicked or, for a drop-down box, an entry of its list
    // picked.
    virtual void clicked(std::string_view control) = 0;

protected:
    FormEvents() = default;
    ~FormEvents() = default;
};

// A loaded window, as a front end realises it from its layout.
class FormView
{
public:
    virtual ~FormView() = default;

    // Visible, in front, and the active window.
    virtual void show() = 0;
    // Visible, without bringing it forward.
    virtual void showInPlace() = 0;
    virtual void hide() = 0;
    [[nodiscard]] virtual bool isVisible() const = 0;
    [[nodiscard]] virtual bool isActive() const = 0;
    // Mouse and keyboard input on or off. The control that had the focus
    // gets it back when the input comes back.
    virtual void setInputEnabled(bool enabled) = 0;
    [[nodiscard]] virtual bool isInputEnabled() const = 0;
    // While `lower`'s input is off, this window is kept above it, so that
    // the window that can give the input back is never buried under one that
    // takes none.
    virtual void keepAbove(FormView &lower) = 0;

    // Controls by their layout names; a missing one is a fault of the program.
    [[nodiscard]] virtual ComboBoxControl &comboBox(std::string_view name) = 0;
    [[nodiscard]] virtual TextBoxControl &textBox(std::string_view name) = 0;
};

// A window's design: its properties and its controls, front to back.
struct FormDesign
{
    const WindowSpec &window;
    std::span<const ControlSpec> controls;
};

// The window system: builds windows from their designs and leaves the event
// loop when the program ends.
class FrontEnd
{
public:
    virtual ~FrontEnd() = default;

    // The window of `design`, hidden, reporting to `events`.
    [[nodiscard]] virtual std::unique_ptr<FormView> build(FormEvents &events,
                                                          const FormDesign &design) = 0;
    // The window is gone from the program; a front end may keep it until its
    // own event handling lets go of it, but it reports nothing more.
    virtual void discard(std::unique_ptr<FormView> view) = 0;
    // The registry and its instances are gone: the discarded windows the
    // front end still keeps go with them.
    virtual void dropDiscarded() = 0;
    // Leaves the event loop with `exitCode`.
    virtual void quit(int exitCode) = 0;
};
