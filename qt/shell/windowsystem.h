#pragma once

#include <QMargins>
#include <QtGlobal>

#include <functional>
#include <optional>

class QObject;
class QWidget;

// What the window manager knows about the program's top-level windows and
// does not tell Qt before a window is on screen: the size of the frame it
// will put around a window, and which window it has stacked above which.
// On X11 this asks the window manager through the EWMH properties; elsewhere
// the platform's own answer is used, or none is known.
namespace WindowSystem {

// The frame the window manager will draw around a window (title bar and
// borders, in logical pixels), learnt before the window is first shown so
// that it can be placed once, frame included. The question goes out when the
// query is made, creating the window's native window if it does not exist
// yet, without waiting to learn whether the window manager takes it; the
// answer is read when asked for, so that the program can build the window's
// contents while the window manager works it out. Empty margins when there
// is no window manager or it does not answer.
class FrameExtentsQuery
{
public:
    explicit FrameExtentsQuery(QWidget &window);
    ~FrameExtentsQuery();
    Q_DISABLE_COPY_MOVE(FrameExtentsQuery)

    // Read once.
    [[nodiscard]] QMargins result();

private:
    QWidget &m_window;
    bool m_onX11 = false;
    // On X11: the property the answer comes in, the request it answers, and
    // the reply, not yet read, that says whether the window manager takes it.
    quint32 m_answerIn = 0;
    quint32 m_request = 0;
    quint32 m_featuresSequence = 0;
};

// Whether the window manager has `upper` stacked above `lower`; no answer
// where the stacking order cannot be read.
[[nodiscard]] std::optional<bool> isStackedAbove(const QWidget &upper, const QWidget &lower);

// Calls `changed` whenever the window manager restacks any window, for as
// long as `context` lives. Does nothing where the order cannot be read.
void watchStacking(QObject *context, std::function<void()> changed);

} // namespace WindowSystem
