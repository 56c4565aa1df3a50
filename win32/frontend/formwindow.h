#pragma once

#include "core/forms/formview.h"
#include "win32/controls/button.h"
#include "win32/controls/combobox.h"
#include "win32/controls/pictures.h"
#include "win32/controls/textbox.h"
#include "win32/frontend/accessibility.h"
#include "win32/support/handles.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class Win32FrontEnd;

// One loaded window: a top-level window of its layout's own window class,
// which paints the shapes, pictures and labels itself, back to front, and
// holds the drop-down boxes, the text box and the buttons as child windows.
class FormWindow final : public FormView
{
public:
    FormWindow(Win32FrontEnd &frontEnd, FormEvents &events, const FormDesign &design,
               const wchar_t *windowClass);
    ~FormWindow() override;
    FormWindow(const FormWindow &) = delete;
    FormWindow &operator=(const FormWindow &) = delete;

    void show() override;
    void showInPlace() override;
    void hide() override;
    [[nodiscard]] bool isVisible() const override;
    [[nodiscard]] bool isActive() const override;
    void setInputEnabled(bool enabled) override;
    [[nodiscard]] bool isInputEnabled() const override;
    void keepAbove(FormView &lower) override;
    [[nodiscard]] ComboBoxControl &comboBox(std::string_view name) override;
    [[nodiscard]] TextBoxControl &textBox(std::string_view name) override;

    [[nodiscard]] HWND hwnd() const { return m_hwnd.get(); }
    // From now on the window reports nothing to its form.
    void detach() { m_events = nullptr; }
    // The window's own keyboard handling, before the message is dispatched:
    // Tab and Shift+Tab, Enter on a button, access keys. True if it took the
    // message.
    [[nodiscard]] bool translateKeyboard(const MSG &message);

    // The window procedure of every form window class.
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // A control of the layout, in the layout's order (front to back).
    struct Item
    {
        const ControlSpec *layoutEntry;
        PixelRect rect{};
        GdiObject<HFONT> font;
    };

    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    // The tool tips see the mouse as it moves over the window.
    void relayToToolTip(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    // The labels' tool tips, if the layout has any.
    void createToolTip();
    // The items' rectangles and fonts at the window's dots per inch.
    void measure();
    // Gives the controls their places and fonts at a new dots per inch.
    void rescale();
    void paint();
    [[nodiscard]] std::optional<std::size_t> labelAt(POINT point) const;
    [[nodiscard]] HWND focusedControl() const;
    void restoreFocus();
    void moveFocus(bool forward);
    void command(unsigned id, unsigned code, HWND control);
    void activated(bool active, HWND other);
    void scheduleKeepAbove();
    // Raises the windows kept above this one over it if they lie under it or
    // `userTurnedHere` (a press on this window while its input is off).
    void keepPanelsAbove(bool userTurnedHere);

    Win32FrontEnd &m_frontEnd;
    FormEvents *m_events;
    FormDesign m_design;
    UINT m_dpi;
    // What the child windows and the window itself tell screen readers;
    // declared before the windows, so that it outlives them.
    std::vector<std::unique_ptr<accessibility::Annotation>> m_annotations;
    accessibility::Annotation m_windowAnnotation;
    // Declared before the controls, so that it goes after them.
    WindowHandle m_hwnd;
    std::vector<Item> m_items;
    std::vector<std::unique_ptr<ComboBox>> m_combos;
    std::vector<std::unique_ptr<Button>> m_buttons;
    std::unique_ptr<TextBox> m_textBox;
    // The child windows that take the focus, by ascending tab index.
    std::vector<HWND> m_tabOrder;
    HWND m_savedFocus = nullptr;
    WindowHandle m_toolTip;
    bool m_toolTipTried = false;
    std::optional<StretchedPicture> m_picture;
    std::optional<BitmapPicture> m_bitmap;
    std::optional<std::size_t> m_pressedLabel;
    std::vector<bool> m_pickPending;
    bool m_keepAbovePending = false;
    // The windows kept above this one while its input is off, oldest first,
    // and those this one is kept above.
    std::vector<FormWindow *> m_keptAbove;
    std::vector<FormWindow *> m_keptUnder;
};
