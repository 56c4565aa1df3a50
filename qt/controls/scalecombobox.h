#pragma once

#include "core/forms/formview.h"

#include <QComboBox>

// An editable drop-down box whose only event is the user picking an entry
// from its list: with the mouse in the drop-down list, with the arrow keys on
// the closed box, or with the wheel. Typing never raises it, not even when
// the typed text equals an entry and Enter is pressed or the box loses focus;
// typed text is left exactly as typed (no completion, no case change, no
// entry added). Writing a text from code raises nothing either.
class ScaleComboBox final : public QComboBox, public ComboBoxControl
{
    Q_OBJECT
public:
    explicit ScaleComboBox(QWidget *parent);
    Q_DISABLE_COPY_MOVE(ScaleComboBox)

    void appendEntries(std::span<const std::string_view> entries) override;
    [[nodiscard]] std::u16string text() const override;
    void writeText(std::string_view text, int row) override;

signals:
    void picked();
};
