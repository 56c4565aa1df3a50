#pragma once

#include <QtGlobal>

#include <array>
#include <functional>
#include <memory>

class Form;

// The program's window classes, in the order they were designed.
enum class FormClass { frmWindScale, frmhelp1, frmabout, frmAreas };
inline constexpr int formClassCount = 4;

// Holds the one instance of each window class, from its first use until the
// program ends. A slot is filled once and never emptied or replaced.
//
// One registry is current at a time: the program makes one in main(); tests
// make one per test so that each starts with empty slots.
class WindowRegistry final
{
public:
    WindowRegistry();
    ~WindowRegistry();
    Q_DISABLE_COPY_MOVE(WindowRegistry)

    [[nodiscard]] static WindowRegistry &current();

    [[nodiscard]] Form *instance(FormClass formClass) const;
    void store(FormClass formClass, std::unique_ptr<Form> form);

    // Stops the program at once: every window disappears and no handler of
    // any window runs from now on. `onEnd` is then asked to leave the event
    // loop with exit status 0.
    void End();
    [[nodiscard]] bool hasEnded() const { return m_ended; }
    void setEndAction(std::function<void(int exitCode)> onEnd);

private:
    std::array<std::unique_ptr<Form>, formClassCount> m_slots;
    std::function<void(int)> m_onEnd;
    bool m_ended = false;
    WindowRegistry *m_previous = nullptr;
};

// The registry's instance of a window class, created on first reference; its
// Form_Initialize runs once, right after it has been stored.
template <class FormType> FormType &defaultInstance()
{
    WindowRegistry &registry = WindowRegistry::current();
    if (Form *existing = registry.instance(FormType::formClass))
        return static_cast<FormType &>(*existing);
    auto created = std::make_unique<FormType>();
    FormType &form = *created;
    registry.store(FormType::formClass, std::move(created));
    form.Form_Initialize();
    return form;
}
