#pragma once

#include "core/forms/formview.h"

#include <QPointer>

#include <memory>

class Form;
class FormWindow;
class QWidget;

// A loaded form as a Qt top-level widget and its child controls, found by
// their layout names.
class QtFormView final : public FormView
{
public:
    explicit QtFormView(std::unique_ptr<FormWindow> window);
    ~QtFormView() override;
    Q_DISABLE_COPY_MOVE(QtFormView)

    void show() override;
    void showInPlace() override;
    void hide() override;
    [[nodiscard]] bool isVisible() const override;
    [[nodiscard]] bool isActive() const override;
    void setInputEnabled(bool enabled) override;
    [[nodiscard]] bool isInputEnabled() const override;
    void keepAbove(FormView &lower) override;
    [[nodiscard]] ComboBoxControl &comboBox(std::string_view name) override;
    [[nodiscard]] TextBoxControl &textBox(std::string_view name) override;

    [[nodiscard]] FormWindow *window() const { return m_window; }
    // Stops reporting to the form and lets Qt delete the widget once its
    // own event handling is done with it.
    void releaseLater();

private:
    QPointer<FormWindow> m_window;
    // The control that had the focus when the input went off.
    QPointer<QWidget> m_focusBeforeInputOff;
};

// The widget of a form's loaded window, or null when it is not loaded.
[[nodiscard]] FormWindow *loadedWidget(const Form &form);
