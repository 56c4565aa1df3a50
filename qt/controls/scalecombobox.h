#pragma once

#include <QComboBox>

// An editable drop-down box whose only event is the user picking an entry
// from its list: with the mouse in the drop-down list, with the arrow keys on
// the closed box, or with the wheel. Typing never raises it, not even when
// the typed text equals an entry and Enter is pressed or the box loses focus;
// typed text is left exactly as typed (no completion, no case change, no
// entry added). Writing a text from code raises nothing either.
class ScaleComboBox final : public QComboBox
{
    Q_OBJECT
public:
    explicit ScaleComboBox(QWidget *parent);
    Q_DISABLE_COPY_MOVE(ScaleComboBox)

    // Appends entries at the end of the list, keeping the text shown.
    void appendEntries(const QStringList &entries);
    // Shows `text`, with the list's current entry moved to `row` so that the
    // arrow keys step on from the row shown.
    void writeText(const QString &text, int row);

signals:
    void picked();
};
