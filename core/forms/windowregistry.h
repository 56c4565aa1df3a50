#pragma once

#include <functional>
#include <memory>
#include <typeindex>
#include <typeinfo>
#include <utility>
#include <vector>

class FrontEnd;

// What the registry asks of the instances it holds.
class RegisteredInstance
{
public:
    RegisteredInstance() = default;
    virtual ~RegisteredInstance() = default;
    RegisteredInstance(const RegisteredInstance &) = delete;
    RegisteredInstance &operator=(const RegisteredInstance &) = delete;

    // Hides the instance's window without running any of its handlers: the
    // program is ending.
    virtual void vanish() = 0;
};

// Holds the one instance of each window class, keyed by its type, from its
// first use until the program ends. An instance is stored once and never
// removed or replaced.
//
// One registry is current at a time: the program makes one at start-up;
// tests make one per test so that each starts with no instances.
class WindowRegistry final
{
public:
    explicit WindowRegistry(FrontEnd &frontEnd);
    ~WindowRegistry();
    WindowRegistry(const WindowRegistry &) = delete;
    WindowRegistry &operator=(const WindowRegistry &) = delete;

    [[nodiscard]] static WindowRegistry &current();

    // The window system the instances' windows are built by.
    [[nodiscard]] FrontEnd &frontEnd() const { return m_frontEnd; }

    // The instance of `InstanceType`, or null if none has been created.
    template <class InstanceType> [[nodiscard]] InstanceType *find() const
    {
        return static_cast<InstanceType *>(find(typeid(InstanceType)));
    }
    void store(std::type_index type, std::unique_ptr<RegisteredInstance> instance);

    // Stops the program at once: every window disappears and no handler of
    // any window runs from now on. The front end then leaves the event loop
    // with exit status 0, or the end action does instead where one is set.
    void End();
    [[nodiscard]] bool hasEnded() const { return m_ended; }
    void setEndAction(std::function<void(int exitCode)> onEnd);

private:
    [[nodiscard]] RegisteredInstance *find(std::type_index type) const;

    FrontEnd &m_frontEnd;
    // In the order of creation; a handful, so searched in turn.
    std::vector<std::pair<std::type_index, std::unique_ptr<RegisteredInstance>>> m_instances;
    std::function<void(int)> m_onEnd;
    bool m_ended = false;
    WindowRegistry *m_previous = nullptr;
};

// The current registry's instance of a window class, created on first
// reference; its Form_Initialize runs once, right after it has been stored.
template <class InstanceType> InstanceType &defaultInstance()
{
    WindowRegistry &registry = WindowRegistry::current();
    if (InstanceType *existing = registry.find<InstanceType>())
        return *existing;
    auto created = std::make_unique<InstanceType>();
    InstanceType &instance = *created;
    registry.store(typeid(InstanceType), std::move(created));
    instance.Form_Initialize();
    return instance;
}
