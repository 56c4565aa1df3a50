#pragma once

// A window system in memory for the design core's handlers: windows with
// visible, active and input flags, one active window at a time, controls
// built from the layout passed to build(), and a record of everything done
// to them. Reports to the forms go through a queue that processEvents()
// empties, because a real window system reports an activation after show()
// has returned, never from inside it; the user's actions below run it, as an
// event loop would after each input.

#include "core/forms/formview.h"

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class FakeFrontEnd;

// One thing done to a window or a control, in the order done.
struct FakeEvent
{
    std::string what;    // "build", "show", "hide", "write", "enable", ...
    std::string window;  // the window's layout name
    std::string control; // for control events
    std::u16string value;

    [[nodiscard]] std::string describe() const;
};

class FakeComboBox final : public ComboBoxControl
{
public:
    FakeComboBox(FakeFrontEnd &frontEnd, std::string window, std::string name,
                 std::u16string_view text);

    void appendEntries(std::span<const std::string_view> entries) override;
    [[nodiscard]] std::u16string text() const override { return m_text; }
    void writeText(std::string_view text, int row) override;

    // What the user's typing or pick leaves in the box; records nothing.
    void setTextByUser(std::u16string_view text) { m_text = text; }
    [[nodiscard]] const std::vector<std::u16string> &entries() const { return m_entries; }
    [[nodiscard]] int currentRow() const { return m_row; }

private:
    FakeFrontEnd &m_frontEnd;
    std::string m_window;
    std::string m_name;
    std::u16string m_text;
    std::vector<std::u16string> m_entries;
    int m_row = -1;
};

class FakeTextBox final : public TextBoxControl
{
public:
    FakeTextBox(FakeFrontEnd &frontEnd, std::string window, std::string name,
                std::u16string_view text);

    void writeText(std::u16string_view text) override;
    [[nodiscard]] const std::u16string &text() const { return m_text; }

private:
    FakeFrontEnd &m_frontEnd;
    std::string m_window;
    std::string m_name;
    std::u16string m_text;
};

class FakeFormView final : public FormView
{
public:
    FakeFormView(FakeFrontEnd &frontEnd, FormEvents &events, const FormDesign &design);
    ~FakeFormView() override;
    FakeFormView(const FakeFormView &) = delete;
    FakeFormView &operator=(const FakeFormView &) = delete;

    void show() override;
    void showInPlace() override;
    void hide() override;
    [[nodiscard]] bool isVisible() const override { return m_visible; }
    [[nodiscard]] bool isActive() const override { return m_active; }
    void setInputEnabled(bool enabled) override;
    [[nodiscard]] bool isInputEnabled() const override { return m_inputEnabled; }
    void keepAbove(FormView &lower) override;
    [[nodiscard]] ComboBoxControl &comboBox(std::string_view name) override;
    [[nodiscard]] TextBoxControl &textBox(std::string_view name) override;

    [[nodiscard]] const std::string &name() const { return m_name; }
    [[nodiscard]] FormEvents &events() const { return m_events; }
    [[nodiscard]] bool isDiscarded() const { return m_discarded; }
    [[nodiscard]] bool hasControl(std::string_view name) const;
    [[nodiscard]] FakeComboBox *findComboBox(std::string_view name);
    [[nodiscard]] FakeTextBox *findTextBox(std::string_view name);

private:
    friend class FakeFrontEnd;

    FakeFrontEnd &m_frontEnd;
    FormEvents &m_events;
    std::string m_name;
    std::vector<std::string> m_controlNames;
    std::map<std::string, std::unique_ptr<FakeComboBox>, std::less<>> m_comboBoxes;
    std::map<std::string, std::unique_ptr<FakeTextBox>, std::less<>> m_textBoxes;
    bool m_visible = false;
    bool m_active = false;
    bool m_inputEnabled = true;
    bool m_discarded = false;
};

class FakeFrontEnd final : public FrontEnd
{
public:
    FakeFrontEnd() = default;
    ~FakeFrontEnd() override;
    FakeFrontEnd(const FakeFrontEnd &) = delete;
    FakeFrontEnd &operator=(const FakeFrontEnd &) = delete;

    [[nodiscard]] std::unique_ptr<FormView> build(FormEvents &events,
                                                  const FormDesign &design) override;
    void discard(std::unique_ptr<FormView> view) override;
    void dropDiscarded() override;
    void quit(int exitCode) override;

    // Delivers the queued reports, and then the settling of every window
    // that had one, until nothing is left: the event loop going idle.
    void processEvents();

    // ---- The user ---------------------------------------------------------
    // Each returns false, doing nothing, where the window system would not
    // let the input through: the window hidden, gone, or its input off.

    // Leaves `entry` in the box, as a pick from its list does, and reports
    // the pick.
    bool pick(std::string_view window, std::string_view box, std::u16string_view entry);
    bool click(std::string_view window, std::string_view control);
    // The window manager's close (the title bar's close box, Alt+F4).
    bool closeByWindowManager(std::string_view window);
    // Clicking on a window that is not the active one brings it forward.
    bool activateByClick(std::string_view window);
    // A click the window system had already queued for a window, delivered
    // whatever has happened to the window since.
    void deliverLateClick(FakeFormView &view, std::string_view control);

    // ---- What is there ----------------------------------------------------
    // The window of that name that is built and not discarded, or null.
    [[nodiscard]] FakeFormView *view(std::string_view window) const;
    [[nodiscard]] FakeFormView *activeView() const { return m_active; }
    [[nodiscard]] const std::vector<FakeEvent> &events() const { return m_events; }
    // The events since `mark` (an earlier events().size()) of one kind.
    [[nodiscard]] std::vector<FakeEvent> eventsSince(std::size_t mark, std::string_view what) const;
    [[nodiscard]] int count(std::string_view what, std::string_view window) const;
    [[nodiscard]] int quitCount() const { return m_quitCount; }
    [[nodiscard]] std::string eventLog() const;

    void record(std::string what, std::string window, std::string control = {},
                std::u16string value = {});

private:
    friend class FakeFormView;

    struct Report
    {
        enum class Kind { Activated, Deactivated } kind;
        FakeFormView *view;
        bool toAnotherWindow;
    };

    void activate(FakeFormView &view);
    void loseActivation(FakeFormView &view, bool toAnotherWindow);
    void forget(FakeFormView &view);
    [[nodiscard]] bool isLive(const FakeFormView *view) const;
    [[nodiscard]] FakeFormView *reachable(std::string_view window) const;

    std::vector<FakeFormView *> m_views;
    std::vector<std::unique_ptr<FormView>> m_discarded;
    std::deque<Report> m_reports;
    std::vector<FakeFormView *> m_unsettled;
    FakeFormView *m_active = nullptr;
    std::vector<FakeEvent> m_events;
    int m_quitCount = 0;
};
