#include "qt/builder/formbuilder.h"

#include "qt/controls/designlook.h"
#include "qt/controls/formbutton.h"
#include "qt/controls/formlabel.h"
#include "qt/controls/formtextbox.h"
#include "qt/controls/inputofflook.h"
#include "qt/controls/pictures.h"
#include "qt/controls/qtdesign.h"
#include "qt/controls/qtfonts.h"
#include "qt/controls/roundedshape.h"
#include "qt/controls/scalecombobox.h"
#include "qt/shell/formwindow.h"
#include "qt/shell/windowsystem.h"

#include "core/design/mnemonic.h"
#include "core/forms/formview.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// The screen the windows were laid out for, assumed where Qt knows of none.
constexpr QRect designScreen(0, 0, 1024, 768);

void setColour(QWidget &widget, QPalette::ColorRole role, const DesignColour &colour)
{
    if (!colour.isSet())
        return;
    QPalette palette = widget.palette();
    palette.setColor(role, resolved(colour));
    widget.setPalette(palette);
}

QWidget *createLabel(QWidget *parent, const ControlSpec &entry)
{
    FormLabel *label = entry.kind == ControlKind::ClickableLabel ? new ClickableLabel(parent)
                                                                 : new FormLabel(parent);
    label->setText(toQString(entry.text));
    if (entry.centredVertically)
        label->setAlignment(Qt::AlignCenter);
    label->setMargin(entry.textMarginPixels);
    setColour(*label, QPalette::WindowText, entry.foreground);
    return label;
}

QWidget *createComboBox(QWidget *parent, const ControlSpec &entry)
{
    auto *box = new ScaleComboBox(parent);
    // Its edit field lays the text out as soon as it has it: give it its own
    // font first, so that this happens once.
    if (entry.font)
        box->setFont(designFont(*entry.font));
    box->setEditText(toQString(entry.text));
    return box;
}

QWidget *createTextBox(QWidget *parent, const ControlSpec &entry)
{
    auto *text = new FormTextBox(parent);
    text->setPlainText(toQString(entry.text));
    setColour(*text, QPalette::Base, entry.background);
    setColour(*text, QPalette::Text, entry.foreground);
    return text;
}

QWidget *createButton(QWidget *parent, const ControlSpec &entry)
{
    const FormButton::Look look = entry.kind == ControlKind::GraphicalButton
                                      ? FormButton::Look::Graphical
                                      : FormButton::Look::Standard;
    auto *button = new FormButton(toQString(entry.text), look, parent);
    setColour(*button, QPalette::Button, entry.background);
    setColour(*button, QPalette::ButtonText, entry.foreground);
    return button;
}

QWidget *createControl(QWidget *parent, const ControlSpec &entry)
{
    switch (entry.kind) {
    case ControlKind::Label:
    case ControlKind::ClickableLabel:
        return createLabel(parent, entry);
    case ControlKind::ComboBox:
        return createComboBox(parent, entry);
    case ControlKind::TextBox:
        return createTextBox(parent, entry);
    case ControlKind::Button:
    case ControlKind::GraphicalButton:
        return createButton(parent, entry);
    case ControlKind::Shape:
        return new RoundedShape(parent, resolved(entry.background), resolved(entry.border),
                                entry.borderPixels);
    case ControlKind::StretchedPicture:
        return new StretchedPicture(parent, pictureResource(entry.picture));
    case ControlKind::Bitmap:
        return new BitmapPicture(parent, pictureResource(entry.picture));
    }
    return nullptr;
}

// Each control's click, or a box's pick from its list, reported to the form
// by the control's layout name.
void reportClicks(QWidget &control, const ControlSpec &entry, FormEvents &form)
{
    const std::string_view name = entry.name;
    const auto report = [&form, name] { form.clicked(name); };
    if (auto *box = qobject_cast<ScaleComboBox *>(&control))
        QObject::connect(box, &ScaleComboBox::picked, box, report);
    else if (auto *button = qobject_cast<QPushButton *>(&control))
        QObject::connect(button, &QPushButton::clicked, button, report);
    else if (auto *label = qobject_cast<ClickableLabel *>(&control))
        QObject::connect(label, &ClickableLabel::clicked, label, report);
}

void applyCommonSettings(QWidget &control, const ControlSpec &entry)
{
    control.setObjectName(toQString(entry.name));
    control.setGeometry(twipsToQRect(entry.rect));
    // A control that took its font at creation, before its text, keeps it.
    if (entry.font && !control.testAttribute(Qt::WA_SetFont))
        control.setFont(designFont(*entry.font));
    if (!entry.toolTip.empty())
        control.setToolTip(toQString(entry.toolTip));
    if (!entry.accessibleName.empty())
        control.setAccessibleName(toQString(entry.accessibleName));
    if (!entry.accessibleDescription.empty())
        control.setAccessibleDescription(toQString(entry.accessibleDescription));
    if (entry.tabIndex == noTabStop)
        control.setFocusPolicy(Qt::NoFocus);
    // A named picture is something a reader can be moved to, while Tab
    // passes it by: focusable, but not in the tab chain.
    if (entry.kind == ControlKind::Bitmap && !entry.accessibleName.empty())
        control.setFocusPolicy(Qt::ClickFocus);
}

void chainTabOrder(std::vector<std::pair<int, QWidget *>> stops)
{
    std::sort(stops.begin(), stops.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1].second, stops[i].second);
}

void tieLabelsToBuddies(QWidget &window, std::span<const ControlSpec> controls)
{
    for (const ControlSpec &entry : controls) {
        if (entry.buddy.empty())
            continue;
        auto *label = window.findChild<QLabel *>(toQString(entry.name), Qt::FindDirectChildrenOnly);
        auto *buddy =
            window.findChild<QWidget *>(toQString(entry.buddy), Qt::FindDirectChildrenOnly);
        if (!label || !buddy)
            continue;
        label->setBuddy(buddy);
        // The heading is what the control is called, written once in the
        // layout, as the label's text.
        if (buddy->accessibleName().isEmpty())
            buddy->setAccessibleName(toQString(withoutMnemonic(entry.text)));
    }
}

// Assistive technology meets the controls in reading order, whatever order
// they are painted in.
void orderForReading(FormWindow &window, std::span<const ControlSpec> controls)
{
    QList<QWidget *> order;
    for (const ControlSpec *entry : inReadingOrder(controls)) {
        if (auto *control =
                window.findChild<QWidget *>(toQString(entry->name), Qt::FindDirectChildrenOnly))
            order.append(control);
    }
    window.setAccessibleChildOrder(order);
}

// The design's palette with the window's own background, kept while its
// input is off.
QPalette windowColours(const WindowSpec &window)
{
    QPalette colours = designPalette();
    if (window.background.isSet())
        colours.setColor(QPalette::Window, resolved(window.background));
    return withInputOffLook(colours);
}

Qt::WindowFlags windowFlags(WindowFrame frame)
{
    if (frame == WindowFrame::None)
        return Qt::Window | Qt::FramelessWindowHint;
    // A title bar with icon, caption and close box; no minimise or maximise.
    return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowCloseButtonHint;
}

// Where the frame of a window of this layout is placed when loaded, on the
// primary screen, for a frame of the given extents around the client area.
QPoint placedPosition(const WindowSpec &window, const QMargins &frame)
{
    const QSize size = twipsToQSize(window.client).grownBy(frame);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect screenArea = screen ? screen->geometry() : designScreen;
    if (window.placement == WindowPlacement::FixedOnScreen) {
        const QSize offset = twipsToQSize(window.screenPosition);
        return screenArea.topLeft() + QPoint(offset.width(), offset.height());
    }
    const QPoint centred = screenArea.center() - QPoint(size.width() / 2, size.height() / 2);
    // On a screen too small for the window its title bar stays reachable.
    return QPoint(std::max(centred.x(), screenArea.left()),
                  std::max(centred.y(), screenArea.top()));
}

} // namespace

std::unique_ptr<FormWindow> buildFormWindow(FormEvents &form, const WindowSpec &design,
                                            std::span<const ControlSpec> controls,
                                            int activationSettleMs)
{
    auto window = std::make_unique<FormWindow>(form, windowFlags(design.frame), activationSettleMs);
    window->setObjectName(toQString(design.name));
    window->setWindowTitle(toQString(design.caption));
    if (!design.accessibleName.empty())
        window->setAccessibleName(toQString(design.accessibleName));
    if (design.dialog) {
        window->setAccessibleDialog(true);
        window->setAccessibleDescription(toQString(dialogDescription(controls)));
    }
    window->setAutoFillBackground(true);
    // Every role set on the window, once and before its controls exist: they
    // take the design's light palette from it, never the desktop's colour
    // scheme.
    window->setPalette(windowColours(design));
    const QSize client = twipsToQSize(design.client);
    window->setFixedSize(client);
    // A centred window is centred with its frame, as the platform centres
    // windows; the frame's size is asked for before the window is shown, so
    // it appears in its place rather than moving there. The window manager
    // answers while the controls are made.
    std::optional<WindowSystem::FrameExtentsQuery> frameQuery;
    if (design.placement == WindowPlacement::CentreScreen)
        frameQuery.emplace(*window);

    std::vector<std::pair<int, QWidget *>> tabStops;
    // Created back to front: a later sibling is drawn over an earlier one.
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        QWidget *control = createControl(window.get(), *it);
        applyCommonSettings(*control, *it);
        reportClicks(*control, *it, form);
        if (control->focusPolicy() & Qt::TabFocus)
            tabStops.emplace_back(it->tabIndex, control);
    }
    chainTabOrder(std::move(tabStops));
    tieLabelsToBuddies(*window, controls);
    orderForReading(*window, controls);
    keepLookWhileInputOff(*window);

    const QMargins frame = frameQuery ? frameQuery->result() : QMargins();
    const QPoint clientTopLeft = placedPosition(design, frame) + QPoint(frame.left(), frame.top());
    window->setGeometry(QRect(clientTopLeft, client));
    return window;
}
