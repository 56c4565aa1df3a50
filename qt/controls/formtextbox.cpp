#include "qt/controls/formtextbox.h"

#include "qt/controls/qtdesign.h"

FormTextBox::FormTextBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WordWrap);
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void FormTextBox::writeText(std::u16string_view text)
{
    setPlainText(toQString(text));
}
