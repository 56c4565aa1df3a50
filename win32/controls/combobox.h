#pragma once

#include "core/design/formlayout.h"
#include "core/forms/formview.h"
#include "win32/support/handles.h"

#include <optional>

// A drop-down box whose text can be edited (CBS_DROPDOWN, unsorted). A pick
// is an entry chosen from its list, by mouse or by the arrow keys; typing
// never is, and neither is a write by the program.
class ComboBox final : public ComboBoxControl
{
public:
    // Made at its place, closed, in its font, holding its layout's text.
    ComboBox(HWND parent, const ControlSpec &layoutEntry, int id, const PixelRect &rect,
             HFONT font);

    void appendEntries(std::span<const std::string_view> entries) override;
    [[nodiscard]] std::u16string text() const override;
    void writeText(std::string_view text, int row) override;

    [[nodiscard]] HWND hwnd() const { return m_hwnd.get(); }
    [[nodiscard]] const ControlSpec &layoutEntry() const { return m_spec; }
    [[nodiscard]] bool isDropped() const;

    // For a new scale; the caller redraws the box.
    void rescale(const PixelRect &rect, HFONT font);
    // A notification of WM_COMMAND; true if it makes a pick. The box reports
    // a pick once its own handling of the message that made it is over (see
    // FormWindow), so one choice that the box notifies twice is one pick.
    [[nodiscard]] bool notified(unsigned code);

private:
    void fitList();
    void fitField();
    // The closed box's rectangle in its parent.
    [[nodiscard]] PixelRect closedRect() const;

    const ControlSpec &m_spec;
    WindowHandle m_hwnd;
    PixelRect m_rect{};
    // The field's height as last set.
    std::optional<int> m_fieldHeight;
    bool m_writing = false;
    bool m_dropped = false;
    // The list's current entry as last seen, so that a report of a change
    // that moved nothing is told apart.
    LRESULT m_selection = CB_ERR;
};
