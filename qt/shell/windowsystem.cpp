#include "qt/shell/windowsystem.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>
#include <vector>

#if defined(GALEVANE_HAVE_XCB) && QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

struct FreeReply
{
    void operator()(void *reply) const { std::free(reply); }
};
template <class Reply> using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

xcb_connection_t *x11Connection()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow(xcb_connection_t *connection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const auto cookie = xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name);
    const ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The 32-bit values of type `type` in the answer to `cookie`, a property
// asked for; empty if it is not set.
std::vector<uint32_t> cardinals(xcb_connection_t *connection, xcb_get_property_cookie_t cookie,
                                xcb_atom_t type)
{
    const ReplyPtr<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->format != 32 || reply->type != type)
        return {};
    const auto *values = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

xcb_get_property_cookie_t askProperty(xcb_connection_t *connection, xcb_window_t window,
                                      xcb_atom_t name, xcb_atom_t type)
{
    constexpr uint32_t maxValues = 4096;
    return xcb_get_property(connection, 0, window, name, type, 0, maxValues);
}

// The 32-bit values of a window property, empty if it is not set.
std::vector<uint32_t> cardinals(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t name,
                                xcb_atom_t type)
{
    return cardinals(connection, askProperty(connection, window, name, type), type);
}

// The atoms of `names`, all asked for before any answer is waited for.
template <std::size_t count>
std::array<xcb_atom_t, count> atoms(xcb_connection_t *connection,
                                    const std::array<const char *, count> &names)
{
    std::array<xcb_intern_atom_cookie_t, count> cookies{};
    for (std::size_t i = 0; i < count; ++i)
        cookies[i] = xcb_intern_atom(connection, 0, uint16_t(qstrlen(names[i])), names[i]);
    std::array<xcb_atom_t, count> found{};
    for (std::size_t i = 0; i < count; ++i) {
        const ReplyPtr<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(connection, cookies[i], nullptr));
        found[i] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
    return found;
}

// The question about a window's frame, sent to the window manager and not
// yet answered.
struct FrameQuestion
{
    xcb_atom_t answerIn = XCB_ATOM_NONE; // the property the answer comes in
    // The features the window manager lists, asked for together with the
    // question; a sequence of 0 where they were not asked for.
    xcb_get_property_cookie_t features{};
    xcb_atom_t request = XCB_ATOM_NONE;
};

// Asks the window manager for the frame of the unmapped `window`, or gives
// no question at all if the program is not on X11.
std::optional<FrameQuestion> x11AskFrameExtents(QWidget &window)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return std::nullopt;
    const auto id = xcb_window_t(window.winId());
    const auto [request, extents, supported] = atoms<3>(
        connection, {"_NET_REQUEST_FRAME_EXTENTS", "_NET_FRAME_EXTENTS", "_NET_SUPPORTED"});
    if (request == XCB_ATOM_NONE || extents == XCB_ATOM_NONE || supported == XCB_ATOM_NONE)
        return FrameQuestion{};

    // Asked before it is known whether the window manager takes the request,
    // whose list of features is read with the answer: one round trip fewer
    // before the window's controls are made. A window manager that does not
    // take it ignores the message, and no answer is waited for.
    FrameQuestion question{
        extents, askProperty(connection, rootWindow(connection), supported, XCB_ATOM_ATOM),
        request};
    // The window manager answers by setting _NET_FRAME_EXTENTS on the still
    // unmapped window, from the hints Qt has already put on it.
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    xcb_send_event(connection, 0, rootWindow(connection),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(connection);
    return question;
}

// Whether the window manager lists `question`'s request among its features;
// reads the answer to that part of the question.
bool x11TakesRequest(xcb_connection_t *connection, const FrameQuestion &question)
{
    if (question.features.sequence == 0)
        return false;
    const std::vector<uint32_t> features = cardinals(connection, question.features, XCB_ATOM_ATOM);
    return std::find(features.begin(), features.end(), question.request) != features.end();
}

// The window manager's answer to x11AskFrameExtents.
QMargins x11ReadFrameExtents(const QWidget &window, const FrameQuestion &question)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection || !x11TakesRequest(connection, question))
        return QMargins();
    const auto id = xcb_window_t(window.internalWinId());
    // A window manager answers within a few milliseconds; one that does
    // not answer at all must not hold up the window for long.
    using namespace std::chrono_literals;
    const auto deadline = std::chrono::steady_clock::now() + 250ms;
    do {
        const std::vector<uint32_t> values =
            cardinals(connection, id, question.answerIn, XCB_ATOM_CARDINAL);
        if (values.size() == 4) {
            // left, right, top, bottom, in device pixels
            const qreal ratio = window.devicePixelRatioF();
            return QMargins(qRound(values[0] / ratio), qRound(values[2] / ratio),
                            qRound(values[1] / ratio), qRound(values[3] / ratio));
        }
        std::this_thread::sleep_for(1ms);
    } while (std::chrono::steady_clock::now() < deadline);
    return QMargins();
}

// Lets go of the unread part of a question that is never read.
void x11Forget(const FrameQuestion &question)
{
    xcb_connection_t *connection = x11Connection();
    if (connection && question.features.sequence != 0)
        xcb_discard_reply(connection, question.features.sequence);
}

std::optional<bool> x11StackedAbove(const QWidget &upper, const QWidget &lower)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection || !upper.internalWinId() || !lower.internalWinId())
        return std::nullopt;
    // Bottom to top.
    const std::vector<uint32_t> order =
        cardinals(connection, rootWindow(connection), atom(connection, "_NET_CLIENT_LIST_STACKING"),
                  XCB_ATOM_WINDOW);
    const auto position = [&order](const QWidget &window) {
        return std::find(order.begin(), order.end(), uint32_t(window.internalWinId()));
    };
    const auto upperAt = position(upper);
    const auto lowerAt = position(lower);
    if (upperAt == order.end() || lowerAt == order.end())
        return std::nullopt;
    return upperAt > lowerAt;
}

// Hears the window manager's updates of the stacking list on the root window.
class StackingWatcher final : public QAbstractNativeEventFilter
{
public:
    explicit StackingWatcher(xcb_connection_t *connection)
        : m_stacking(atom(connection, "_NET_CLIENT_LIST_STACKING"))
    {
        // Add property changes to whatever the program already hears on the
        // root window, rather than replacing its event mask.
        const xcb_window_t root = rootWindow(connection);
        const ReplyPtr<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, root),
                                            nullptr));
        const uint32_t mask =
            (attributes ? attributes->your_event_mask : 0) | XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection);
    }

    void add(QObject *context, std::function<void()> changed)
    {
        m_listeners.push_back({context, std::move(changed)});
    }

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
            return false;
        if (reinterpret_cast<const xcb_property_notify_event_t *>(event)->atom != m_stacking)
            return false;
        std::erase_if(m_listeners, [](const Listener &l) { return l.context.isNull(); });
        // Copied: a listener may add another.
        const std::vector<Listener> listeners = m_listeners;
        for (const Listener &listener : listeners) {
            if (listener.context)
                listener.changed();
        }
        return false;
    }

private:
    struct Listener
    {
        QPointer<QObject> context;
        std::function<void()> changed;
    };
    xcb_atom_t m_stacking;
    std::vector<Listener> m_listeners;
};

} // namespace

#endif

namespace WindowSystem {

FrameExtentsQuery::FrameExtentsQuery(QWidget &window)
    : m_window(window)
{
#if defined(GALEVANE_HAVE_XCB) && QT_CONFIG(xcb)
    if (const std::optional<FrameQuestion> question = x11AskFrameExtents(window)) {
        m_onX11 = true;
        m_answerIn = question->answerIn;
        m_request = question->request;
        m_featuresSequence = question->features.sequence;
        return;
    }
#endif
    window.winId();
}

FrameExtentsQuery::~FrameExtentsQuery()
{
#if defined(GALEVANE_HAVE_XCB) && QT_CONFIG(xcb)
    if (m_onX11)
        x11Forget(FrameQuestion{m_answerIn, {m_featuresSequence}, m_request});
#endif
}

QMargins FrameExtentsQuery::result()
{
#if defined(GALEVANE_HAVE_XCB) && QT_CONFIG(xcb)
    if (m_onX11) {
        const FrameQuestion question{m_answerIn, {m_featuresSequence}, m_request};
        m_featuresSequence = 0; // read once
        return x11ReadFrameExtents(m_window, question);
    }
#endif
    // Other platforms know their frames as soon as the native window exists.
    return m_window.windowHandle() ? m_window.windowHandle()->frameMargins() : QMargins();
}

std::optional<bool> isStackedAbove(const QWidget &upper, const QWidget &lower)
{
#if defined(GALEVANE_HAVE_XCB) && QT_CONFIG(xcb)
    return x11StackedAbove(upper, lower);
#else
    Q_UNUSED(upper)
    Q_UNUSED(lower)
    return std::nullopt;
#endif
}

void watchStacking(QObject *context, std::function<void()> changed)
{
#if defined(GALEVANE_HAVE_XCB) && QT_CONFIG(xcb)
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    // One watcher for the whole program, living as long as the application.
    static StackingWatcher *watcher = [connection] {
        auto *created = new StackingWatcher(connection);
        QCoreApplication::instance()->installNativeEventFilter(created);
        QObject::connect(qApp, &QObject::destroyed, [created] { delete created; });
        return created;
    }();
    watcher->add(context, std::move(changed));
#else
    Q_UNUSED(context)
    Q_UNUSED(changed)
#endif
}

} // namespace WindowSystem
