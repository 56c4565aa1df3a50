#include "ui/controls/scalecombobox.h"

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

void ScaleComboBox::appendEntries(const QStringList &entries)
{
    // Filling the first entry would otherwise put it in the edit field.
    const QString shown = currentText();
    addItems(entries);
    // The whole list shows at once, every force without scrolling.
    setMaxVisibleItems(count());
    setEditText(shown);
}

void ScaleComboBox::writeText(const QString &text, int row)
{
    if (row >= 0 && row < count())
        setCurrentIndex(row);
    setEditText(text);
}
