#pragma once

#include "core/forms/formview.h"
#include "qt/shell/formwindow.h"

#include <QtGlobal>

#include <functional>
#include <memory>
#include <vector>

class QtFormView;

// Galevane's windows as Qt widgets: built from their layouts, deleted once
// Qt's event handling has let go of them.
class QtFrontEnd final : public FrontEnd
{
public:
    // Its windows count an activation once the window system's reports have
    // stayed unchanged for `activationSettleMs`.
    explicit QtFrontEnd(int activationSettleMs = FormWindow::defaultActivationSettleMs)
        : m_activationSettleMs(activationSettleMs)
    {}
    ~QtFrontEnd() override;
    Q_DISABLE_COPY_MOVE(QtFrontEnd)

    [[nodiscard]] std::unique_ptr<FormView> build(FormEvents &events,
                                                  const FormDesign &design) override;
    void discard(std::unique_ptr<FormView> view) override;
    void dropDiscarded() override;
    void quit(int exitCode) override;

private:
    int m_activationSettleMs;
    // Windows unloaded from inside their own event handling are deleted
    // later; whatever is still pending goes with the front end.
    std::vector<std::unique_ptr<QtFormView>> m_discarded;
};
