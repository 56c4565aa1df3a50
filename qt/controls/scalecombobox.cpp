#include "qt/controls/scalecombobox.h"

#include "qt/controls/qtdesign.h"

#include <QLineEdit>

ScaleComboBox::ScaleComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    // The box itself turns a finished edit whose text equals an entry into an
    // activation. Here only a pick from the list counts, so that link goes.
    disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    connect(this, &QComboBox::activated, this, &ScaleComboBox::picked);
}

void ScaleComboBox::appendEntries(std::span<const std::string_view> entries)
{
    // Filling the first entry would otherwise put it in the edit field.
    const QString shown = currentText();
    QStringList items;
    for (std::string_view entry : entries)
        items.append(toQString(entry));
    addItems(items);
    // The whole list shows at once, every force without scrolling.
    setMaxVisibleItems(count());
    setEditText(shown);
}

std::u16string ScaleComboBox::text() const
{
    return std::u16string(utf16View(currentText()));
}

void ScaleComboBox::writeText(std::string_view text, int row)
{
    if (row >= 0 && row < count())
        setCurrentIndex(row);
    setEditText(toQString(text));
}
