#include "qt/controls/scalecombobox.h"

#include "qt/controls/qtdesign.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>

namespace {

// The box as assistive technology meets it: named by its accessible name
// (its heading), its value its text. Qt's own combo box is named by its text
// on Linux, leaving the name to the labelled-by link, so that a reader says
// "34 - 40, combo box" and the name changes with every pick. Its children are
// Qt's: the drop-down list and the edit field.
class AccessibleScaleComboBox final : public QAccessibleWidget
{
public:
    explicit AccessibleScaleComboBox(ScaleComboBox *box)
        : QAccessibleWidget(box, QAccessible::ComboBox)
    {}

    int childCount() const override { return 2; }

    QAccessibleInterface *child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(box()->view());
        if (index == 1 && box()->lineEdit())
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const QObject *object = child ? child->object() : nullptr;
        if (object && object == box()->view())
            return 0;
        if (object && object == box()->lineEdit())
            return 1;
        return -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QLineEdit *edit = box()->lineEdit();
        if (edit && edit->isVisible() &&
            QRect(edit->mapToGlobal(QPoint(0, 0)), edit->size()).contains(x, y))
            return child(1);
        return nullptr;
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name) {
            const QString name = widget()->accessibleName();
            return name.isEmpty() ? box()->currentText() : name;
        }
        if (kind == QAccessible::Value)
            return box()->currentText();
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    }

    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    ScaleComboBox *box() const { return static_cast<ScaleComboBox *>(widget()); }
};

QAccessibleInterface *accessibleScaleComboBox(const QString &, QObject *object)
{
    auto *box = qobject_cast<ScaleComboBox *>(object);
    return box ? new AccessibleScaleComboBox(box) : nullptr;
}

} // namespace

ScaleComboBox::ScaleComboBox(QWidget *parent)
    : QComboBox(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleScaleComboBox);
        return true;
    }();
    Q_UNUSED(installed)
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
