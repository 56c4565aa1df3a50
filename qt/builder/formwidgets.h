#pragma once

#include "core/forms/form.h"
#include "qt/builder/qtformview.h"
#include "qt/controls/formtextbox.h"
#include "qt/controls/scalecombobox.h"
#include "qt/shell/formwindow.h"

// The Qt widgets behind a form and its controls, for code that drives the
// windows as a user does (tests, benchmarks, the screenshot tool).

// The form's window; loads it, as any access to a control does.
[[nodiscard]] inline FormWindow &formWidget(Form &form)
{
    return *dynamic_cast<QtFormView &>(form.view()).window();
}

[[nodiscard]] inline ScaleComboBox &qtComboBox(ComboBoxControl &box)
{
    return dynamic_cast<ScaleComboBox &>(box);
}

[[nodiscard]] inline FormTextBox &qtTextBox(TextBoxControl &text)
{
    return dynamic_cast<FormTextBox &>(text);
}
