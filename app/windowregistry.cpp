#include "windowregistry.h"

#include "form.h"

namespace {
WindowRegistry *currentRegistry = nullptr;

} // namespace

WindowRegistry::WindowRegistry()
    : m_previous(currentRegistry)
{
    currentRegistry = this;
}

WindowRegistry::~WindowRegistry()
{
    // The instances go with the registry, without running any handler.
    m_ended = true;
    for (auto it = m_slots.rbegin(); it != m_slots.rend(); ++it)
        it->reset();
    currentRegistry = m_previous;
}

WindowRegistry &WindowRegistry::current()
{
    Q_ASSERT_X(currentRegistry, "WindowRegistry::current", "no window registry exists");
    return *currentRegistry;
}

Form *WindowRegistry::instance(FormClass formClass) const
{
    return m_slots[std::size_t(formClass)].get();
}

void WindowRegistry::store(FormClass formClass, std::unique_ptr<Form> form)
{
    auto &slot = m_slots[std::size_t(formClass)];
    Q_ASSERT_X(!slot, "WindowRegistry::store", "a window class has exactly one instance");
    slot = std::move(form);
}

void WindowRegistry::End()
{
    if (m_ended)
        return;
    m_ended = true;
    for (const auto &form : m_slots) {
        if (form)
            form->vanish();
    }
    if (m_onEnd)
        m_onEnd(0);
}

void WindowRegistry::setEndAction(std::function<void(int)> onEnd)
{
    m_onEnd = std::move(onEnd);
}
