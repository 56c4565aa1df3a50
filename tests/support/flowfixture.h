#pragma once

// A fresh set of windows for each test: a registry of its own, the main
// window shown as at start-up, and End recorded instead of leaving the
// process.

#include "core/forms/windowregistry.h"
#include "core/windows/frmabout.h"
#include "core/windows/frmareas.h"
#include "core/windows/frmhelp1.h"
#include "qt/builder/qtfrontend.h"
#include "tests/support/uidriver.h"

#include <memory>

class FlowFixture
{
public:
    FlowFixture()
    {
        m_registry = std::make_unique<WindowRegistry>(m_frontEnd);
        m_registry->setEndAction([this](int exitCode) { m_exitCode = exitCode; });
        defaultInstance<frmWindScale>().Show();
    }

    WindowRegistry &registry() { return *m_registry; }
    [[nodiscard]] bool ended() const { return m_registry->hasEnded(); }
    [[nodiscard]] int exitCode() const { return m_exitCode; }

    // Instances as they stand, without creating any.
    template <class FormType> FormType *existing() const { return m_registry->find<FormType>(); }

    frmWindScale &main() { return defaultInstance<frmWindScale>(); }
    QWidget *mainWindow() { return loadedWidget(main()); }

    template <class FormType> QWidget *windowOf() const
    {
        FormType *form = existing<FormType>();
        return form ? loadedWidget(*form) : nullptr;
    }

    template <class FormType> QWidget *controlOf(const char *name) const
    {
        return uidriver::find<QWidget>(windowOf<FormType>(), name);
    }

    template <class FormType> QLabel *labelOf(const char *name) const
    {
        return uidriver::find<QLabel>(windowOf<FormType>(), name);
    }

private:
    QtFrontEnd m_frontEnd;
    std::unique_ptr<WindowRegistry> m_registry;
    int m_exitCode = -1;
};
