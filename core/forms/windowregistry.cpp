#include "core/forms/windowregistry.h"

#include "core/forms/formview.h"

#include <algorithm>
#include <stdexcept>

namespace {
WindowRegistry *currentRegistry = nullptr;

} // namespace

WindowRegistry::WindowRegistry(FrontEnd &frontEnd)
    : m_frontEnd(frontEnd)
    , m_previous(currentRegistry)
{
    currentRegistry = this;
}

WindowRegistry::~WindowRegistry()
{
    // The instances go with the registry, the latest first, without running
    // any handler.
    m_ended = true;
    while (!m_instances.empty())
        m_instances.pop_back();
    m_frontEnd.dropDiscarded();
    currentRegistry = m_previous;
}

WindowRegistry &WindowRegistry::current()
{
    if (!currentRegistry)
        throw std::logic_error("no window registry exists");
    return *currentRegistry;
}

RegisteredInstance *WindowRegistry::find(std::type_index type) const
{
    const auto found = std::find_if(m_instances.begin(), m_instances.end(),
                                    [type](const auto &entry) { return entry.first == type; });
    return found == m_instances.end() ? nullptr : found->second.get();
}

void WindowRegistry::store(std::type_index type, std::unique_ptr<RegisteredInstance> instance)
{
    if (find(type))
        throw std::logic_error("a window class has exactly one instance");
    m_instances.emplace_back(type, std::move(instance));
}

void WindowRegistry::End()
{
    if (m_ended)
        return;
    m_ended = true;
    for (const auto &entry : m_instances)
        entry.second->vanish();
    if (m_onEnd)
        m_onEnd(0);
    else
        m_frontEnd.quit(0);
}

void WindowRegistry::setEndAction(std::function<void(int)> onEnd)
{
    m_onEnd = std::move(onEnd);
}
