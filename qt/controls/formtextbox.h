#pragma once

#include "core/forms/formview.h"

#include <QPlainTextEdit>

// A multi-line text box that wraps at word boundaries; what the handlers
// write replaces its whole text.
class FormTextBox final : public QPlainTextEdit, public TextBoxControl
{
public:
    explicit FormTextBox(QWidget *parent);
    Q_DISABLE_COPY_MOVE(FormTextBox)

    void writeText(std::u16string_view text) override;
};
