#pragma once

// Drives the program's windows the way a user does: real mouse clicks on the
// controls and in a box's drop-down list, real key presses.

#include "core/scale/scaletable.h"
#include "core/windows/frmwindscale.h"
#include "qt/builder/formwidgets.h"
#include "qt/controls/scalecombobox.h"
#include "qt/shell/formwindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QTest>

#include <array>

namespace uidriver {

inline QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

template <class ControlType> ControlType *find(QWidget *window, const char *name)
{
    return window ? window->findChild<ControlType *>(QString::fromLatin1(name)) : nullptr;
}

// Opens the box's list by clicking its arrow, as a user does.
inline bool openList(QComboBox &box)
{
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    const QRect arrow =
        box.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, &box);
    // The pointer goes to the arrow first: a list that opens under the
    // pointer ignores a release for a moment, as it would for a real user.
    QTest::mouseMove(&box, arrow.center());
    QTest::mouseClick(&box, Qt::LeftButton, {}, arrow.center());
    QWidget *popup = box.view()->window();
    const bool ok = QTest::qWaitFor([popup] { return popup->isVisible(); }, 2000);
    return ok;
}

// Picks entry `row` from the box's drop-down list with the mouse.
inline bool pickWithMouse(QComboBox &box, int row)
{
    if (!openList(box))
        return false;
    QAbstractItemView *view = box.view();
    const QModelIndex index = view->model()->index(row, box.modelColumn(), view->rootIndex());
    view->scrollTo(index);
    const QPoint centre = view->visualRect(index).center();
    QTest::mouseMove(view->viewport(), centre);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
    QWidget *popup = view->window();
    const bool ok = QTest::qWaitFor([popup] { return !popup->isVisible(); }, 2000);
    return ok;
}

// Focuses the box and presses a key on it while its list is closed.
inline void pressOn(QWidget &widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    widget.setFocus(Qt::OtherFocusReason);
    QTest::keyClick(&widget, key, modifiers);
}

inline void typeInto(QComboBox &box, const QString &text)
{
    box.setFocus(Qt::OtherFocusReason);
    box.lineEdit()->selectAll();
    QTest::keyClick(box.lineEdit(), Qt::Key_Delete);
    // Character by character as key events carrying their text, so that
    // non-Latin text can be typed too.
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, box.lineEdit(), Qt::Key_unknown, QString(c), {});
        QTest::sendKeyEvent(QTest::Release, box.lineEdit(), Qt::Key_unknown, QString(c), {});
    }
}

inline void click(QWidget &widget)
{
    QTest::mouseClick(&widget, Qt::LeftButton, {}, widget.rect().center());
}

// The seven texts the main window shows: the six boxes in column order, then
// the criterion.
inline std::array<QString, 7> sevenTexts(frmWindScale &main)
{
    std::array<QString, 7> texts;
    for (std::size_t i = 0; i < allScaleColumns.size(); ++i)
        texts[i] = qtComboBox(main.box(allScaleColumns[i])).currentText();
    texts[6] = qtTextBox(main.Text1()).toPlainText();
    return texts;
}

// The seven texts of one row of the table.
inline std::array<QString, 7> rowTexts(int force)
{
    const ScaleRow &row = *ScaleTable::row(force);
    std::array<QString, 7> texts;
    for (std::size_t i = 0; i < allScaleColumns.size(); ++i)
        texts[i] = latin1(row.text(allScaleColumns[i]));
    texts[6] = latin1(row.criterion);
    return texts;
}

// The force whose row the main window shows throughout, or -1.
inline int shownRow(frmWindScale &main)
{
    const auto shown = sevenTexts(main);
    for (int force = 0; force < ScaleTable::rowCount; ++force) {
        if (shown == rowTexts(force))
            return force;
    }
    return -1;
}

} // namespace uidriver
