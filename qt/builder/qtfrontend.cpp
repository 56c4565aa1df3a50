#include "qt/builder/qtfrontend.h"

#include "qt/builder/formbuilder.h"
#include "qt/builder/qtformview.h"
#include "qt/controls/appicons.h"
#include "qt/shell/formwindow.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

void setWindowIcon(FormWindow &window, DesignIcon icon)
{
    switch (icon) {
    case DesignIcon::Application:
        window.setWindowIcon(applicationIcon());
        break;
    case DesignIcon::AreasCloud:
        window.setWindowIcon(areasWindowIcon());
        break;
    case DesignIcon::None:
        break;
    }
}

// The control that has the focus when the window opens: the first in the
// tab order.
void focusFirstControl(FormWindow &window, const FormDesign &design)
{
    const ControlSpec *first = nullptr;
    for (const ControlSpec &entry : design.controls) {
        if (entry.tabIndex == noTabStop || entry.kind == ControlKind::Label ||
            entry.kind == ControlKind::ClickableLabel)
            continue;
        if (!first || entry.tabIndex < first->tabIndex)
            first = &entry;
    }
    if (!first)
        return;
    const QString name = QString::fromLatin1(first->name.data(), qsizetype(first->name.size()));
    if (QWidget *control = window.findChild<QWidget *>(name, Qt::FindDirectChildrenOnly))
        control->setFocus();
}

} // namespace

QtFrontEnd::~QtFrontEnd() = default;

std::unique_ptr<FormView> QtFrontEnd::build(FormEvents &events, const FormDesign &design)
{
    std::erase_if(m_discarded, [](const auto &view) { return view->window() == nullptr; });
    std::unique_ptr<FormWindow> window =
        buildFormWindow(events, design.window, design.controls, m_activationSettleMs);
    setWindowIcon(*window, design.window.icon);
    focusFirstControl(*window, design);
    return std::make_unique<QtFormView>(std::move(window));
}

void QtFrontEnd::discard(std::unique_ptr<FormView> view)
{
    auto *qtView = dynamic_cast<QtFormView *>(view.get());
    if (!qtView)
        return;
    view.release();
    qtView->releaseLater();
    m_discarded.emplace_back(qtView);
}

void QtFrontEnd::dropDiscarded()
{
    m_discarded.clear();
}

void QtFrontEnd::quit(int exitCode)
{
    QCoreApplication::exit(exitCode);
}
