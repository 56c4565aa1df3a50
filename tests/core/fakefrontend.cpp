#include "tests/core/fakefrontend.h"

#include <algorithm>
#include <stdexcept>

namespace {

std::u16string widen(std::string_view ascii)
{
    return {ascii.begin(), ascii.end()};
}

std::string narrow(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

} // namespace

std::string FakeEvent::describe() const
{
    std::string out = what + " " + window;
    if (!control.empty())
        out += "." + control;
    if (!value.empty())
        out += " \"" + narrow(value) + "\"";
    return out;
}

// ---- Controls --------------------------------------------------------------

FakeComboBox::FakeComboBox(FakeFrontEnd &frontEnd, std::string window, std::string name,
                           std::u16string_view text)
    : m_frontEnd(frontEnd)
    , m_window(std::move(window))
    , m_name(std::move(name))
    , m_text(text)
{}

void FakeComboBox::appendEntries(std::span<const std::string_view> entries)
{
    for (std::string_view entry : entries)
        m_entries.push_back(widen(entry));
    m_frontEnd.record("fill", m_window, m_name, widen(std::to_string(entries.size())));
}

void FakeComboBox::writeText(std::string_view text, int row)
{
    m_text = widen(text);
    m_row = row;
    m_frontEnd.record("write", m_window, m_name, m_text);
}

FakeTextBox::FakeTextBox(FakeFrontEnd &frontEnd, std::string window, std::string name,
                         std::u16string_view text)
    : m_frontEnd(frontEnd)
    , m_window(std::move(window))
    , m_name(std::move(name))
    , m_text(text)
{}

void FakeTextBox::writeText(std::u16string_view text)
{
    m_text = text;
    m_frontEnd.record("write", m_window, m_name, m_text);
}

// ---- Windows ---------------------------------------------------------------

FakeFormView::FakeFormView(FakeFrontEnd &frontEnd, FormEvents &events, const FormDesign &design)
    : m_frontEnd(frontEnd)
    , m_events(events)
    , m_name(design.window.name)
{
    for (const ControlSpec &c : design.controls) {
        const std::string name(c.name);
        m_controlNames.push_back(name);
        if (c.kind == ControlKind::ComboBox)
            m_comboBoxes.emplace(name,
                                 std::make_unique<FakeComboBox>(frontEnd, m_name, name, c.text));
        else if (c.kind == ControlKind::TextBox)
            m_textBoxes.emplace(name,
                                std::make_unique<FakeTextBox>(frontEnd, m_name, name, c.text));
    }
    m_frontEnd.m_views.push_back(this);
    m_frontEnd.record("build", m_name);
}

FakeFormView::~FakeFormView()
{
    m_frontEnd.forget(*this);
}

void FakeFormView::show()
{
    m_frontEnd.record("show", m_name);
    m_visible = true;
    m_frontEnd.activate(*this);
}

void FakeFormView::showInPlace()
{
    m_frontEnd.record("showInPlace", m_name);
    m_visible = true;
}

void FakeFormView::hide()
{
    m_frontEnd.record("hide", m_name);
    m_visible = false;
    if (m_active)
        m_frontEnd.loseActivation(*this, false);
}

void FakeFormView::setInputEnabled(bool enabled)
{
    m_frontEnd.record("enable", m_name, {}, enabled ? u"on" : u"off");
    m_inputEnabled = enabled;
}

void FakeFormView::keepAbove(FormView &lower)
{
    const auto *fake = dynamic_cast<const FakeFormView *>(&lower);
    m_frontEnd.record("keepAbove", m_name, {}, widen(fake ? fake->name() : "?"));
}

ComboBoxControl &FakeFormView::comboBox(std::string_view name)
{
    if (FakeComboBox *box = findComboBox(name))
        return *box;
    throw std::logic_error("no drop-down box " + std::string(name) + " in " + m_name);
}

TextBoxControl &FakeFormView::textBox(std::string_view name)
{
    if (FakeTextBox *box = findTextBox(name))
        return *box;
    throw std::logic_error("no text box " + std::string(name) + " in " + m_name);
}

bool FakeFormView::hasControl(std::string_view name) const
{
    return std::find(m_controlNames.begin(), m_controlNames.end(), name) != m_controlNames.end();
}

FakeComboBox *FakeFormView::findComboBox(std::string_view name)
{
    const auto found = m_comboBoxes.find(name);
    return found == m_comboBoxes.end() ? nullptr : found->second.get();
}

FakeTextBox *FakeFormView::findTextBox(std::string_view name)
{
    const auto found = m_textBoxes.find(name);
    return found == m_textBoxes.end() ? nullptr : found->second.get();
}

// ---- The window system -----------------------------------------------------

FakeFrontEnd::~FakeFrontEnd()
{
    m_discarded.clear();
}

std::unique_ptr<FormView> FakeFrontEnd::build(FormEvents &events, const FormDesign &design)
{
    return std::make_unique<FakeFormView>(*this, events, design);
}

void FakeFrontEnd::discard(std::unique_ptr<FormView> view)
{
    auto *fake = dynamic_cast<FakeFormView *>(view.get());
    if (!fake)
        throw std::logic_error("discard of a window this front end did not build");
    record("discard", fake->name());
    if (fake->m_active)
        loseActivation(*fake, false);
    fake->m_visible = false;
    fake->m_discarded = true;
    // Kept until dropDiscarded, as a real front end keeps a window its own
    // event handling still holds, but reporting nothing more.
    m_discarded.push_back(std::move(view));
}

void FakeFrontEnd::dropDiscarded()
{
    record("dropDiscarded", {});
    m_discarded.clear();
}

void FakeFrontEnd::quit(int exitCode)
{
    ++m_quitCount;
    record("quit", {}, {}, widen(std::to_string(exitCode)));
}

void FakeFrontEnd::activate(FakeFormView &view)
{
    if (m_active == &view)
        return;
    if (m_active)
        loseActivation(*m_active, true);
    view.m_active = true;
    m_active = &view;
    m_reports.push_back({Report::Kind::Activated, &view, false});
}

void FakeFrontEnd::loseActivation(FakeFormView &view, bool toAnotherWindow)
{
    view.m_active = false;
    if (m_active == &view)
        m_active = nullptr;
    m_reports.push_back({Report::Kind::Deactivated, &view, toAnotherWindow});
}

void FakeFrontEnd::forget(FakeFormView &view)
{
    std::erase(m_views, &view);
    std::erase(m_unsettled, &view);
    std::erase_if(m_reports, [&view](const Report &r) { return r.view == &view; });
    if (m_active == &view)
        m_active = nullptr;
}

bool FakeFrontEnd::isLive(const FakeFormView *view) const
{
    return std::find(m_views.begin(), m_views.end(), view) != m_views.end() && !view->m_discarded;
}

void FakeFrontEnd::processEvents()
{
    // A handler that keeps making reports would never let the loop go idle.
    for (int step = 0; step < 10000; ++step) {
        if (!m_reports.empty()) {
            const Report report = m_reports.front();
            m_reports.pop_front();
            if (!isLive(report.view))
                continue;
            FakeFormView &view = *report.view;
            if (report.kind == Report::Kind::Activated) {
                record("activated", view.name());
                if (!view.m_events.activationReported())
                    record("activationHandledAlready", view.name());
                else if (isLive(&view))
                    m_unsettled.push_back(&view);
            } else {
                record("deactivated", view.name(), {},
                       report.toAnotherWindow ? u"to another" : u"");
                view.m_events.deactivationReported(report.toAnotherWindow);
                if (isLive(&view))
                    m_unsettled.push_back(&view);
            }
            continue;
        }
        if (m_unsettled.empty())
            return;
        FakeFormView *view = m_unsettled.front();
        m_unsettled.erase(m_unsettled.begin());
        // One settling per window however many reports it had.
        std::erase(m_unsettled, view);
        if (!isLive(view))
            continue;
        record("settled", view->name(), {}, view->m_active ? u"active" : u"inactive");
        view->m_events.activationSettled(view->m_active);
    }
    throw std::logic_error("the window system's reports never settle");
}

FakeFormView *FakeFrontEnd::view(std::string_view window) const
{
    for (FakeFormView *v : m_views) {
        if (v->name() == window && !v->m_discarded)
            return v;
    }
    return nullptr;
}

FakeFormView *FakeFrontEnd::reachable(std::string_view window) const
{
    FakeFormView *v = view(window);
    return v && v->m_visible && v->m_inputEnabled ? v : nullptr;
}

bool FakeFrontEnd::pick(std::string_view window, std::string_view box, std::u16string_view entry)
{
    FakeFormView *v = reachable(window);
    FakeComboBox *combo = v ? v->findComboBox(box) : nullptr;
    if (!combo)
        return false;
    record("pick", v->name(), std::string(box), std::u16string(entry));
    combo->setTextByUser(entry);
    v->m_events.clicked(box);
    processEvents();
    return true;
}

bool FakeFrontEnd::click(std::string_view window, std::string_view control)
{
    FakeFormView *v = reachable(window);
    if (!v || !v->hasControl(control))
        return false;
    record("click", v->name(), std::string(control));
    v->m_events.clicked(control);
    processEvents();
    return true;
}

// The request goes to the form whatever the window's input: refusing it
// while the input is off is the form's business, and tested as such.
bool FakeFrontEnd::closeByWindowManager(std::string_view window)
{
    FakeFormView *v = view(window);
    if (!v || !v->m_visible)
        return false;
    record("closeRequested", v->name());
    const bool closes = v->m_events.closeRequested();
    if (closes && isLive(v)) {
        // Let go by the form but not discarded: the window system closes it.
        v->m_visible = false;
        if (v->m_active)
            loseActivation(*v, false);
    }
    processEvents();
    return closes;
}

bool FakeFrontEnd::activateByClick(std::string_view window)
{
    FakeFormView *v = reachable(window);
    if (!v)
        return false;
    record("userActivates", v->name());
    activate(*v);
    processEvents();
    return true;
}

void FakeFrontEnd::deliverLateClick(FakeFormView &view, std::string_view control)
{
    record("lateClick", view.name(), std::string(control));
    view.m_events.clicked(control);
    processEvents();
}

std::vector<FakeEvent> FakeFrontEnd::eventsSince(std::size_t mark, std::string_view what) const
{
    std::vector<FakeEvent> found;
    for (std::size_t i = mark; i < m_events.size(); ++i) {
        if (m_events[i].what == what)
            found.push_back(m_events[i]);
    }
    return found;
}

int FakeFrontEnd::count(std::string_view what, std::string_view window) const
{
    return static_cast<int>(
        std::count_if(m_events.begin(), m_events.end(),
                      [&](const FakeEvent &e) { return e.what == what && e.window == window; }));
}

std::string FakeFrontEnd::eventLog() const
{
    std::string log;
    for (const FakeEvent &e : m_events)
        log += e.describe() + "\n";
    return log;
}

void FakeFrontEnd::record(std::string what, std::string window, std::string control,
                          std::u16string value)
{
    m_events.push_back({std::move(what), std::move(window), std::move(control), std::move(value)});
}
