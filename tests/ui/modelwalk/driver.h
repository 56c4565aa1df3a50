#pragma once

// Carries out a Step on the real windows the way a user does: mouse clicks on
// controls and in drop-down lists, key presses, the clipboard, the window
// manager's close, and bringing a window to the front.

#include "tests/support/flowfixture.h"
#include "tests/ui/modelwalk/flowmodel.h"
#include "tests/ui/modelwalk/invariants.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>

#include <functional>

namespace modelwalk {

// Runs the event loop until `condition` holds or `timeoutMs` have passed.
// Unlike QTest::qWaitFor it always lets pending window-system events through
// first (they may still change the answer) and does not sleep while events
// keep coming.
inline bool settle(const std::function<bool()> &condition, int timeoutMs = 1000)
{
    QElapsedTimer timer;
    timer.start();
    for (int round = 0;; ++round) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (round >= 1 && condition())
            return true;
        if (timer.elapsed() > timeoutMs)
            return false;
        if (round >= 3)
            QTest::qSleep(1);
    }
}

class Driver
{
public:
    explicit Driver(FlowFixture &flow)
        : m_flow(flow)
    {}

    // Does the step. `model` is the state before it, which tells whether the
    // main window takes input (a click into a window that takes input makes
    // it the active window first). Returns what went wrong in driving, if
    // anything; what the program did is checked afterwards.
    QString perform(const Step &step, const Model &model)
    {
        if (model.isTriedOnly(step.action))
            return tryOnMainWithoutInput(step);
        if (const auto clicked = Model::clickedWindow(step.action)) {
            if (QString error = bringToFront(*clicked); !error.isEmpty())
                return error;
        }
        frmWindScale &main = m_flow.main();
        switch (step.action) {
        case Action::PickWithMouse: {
            ScaleComboBox &box = qtComboBox(main.box(allScaleColumns[std::size_t(step.box)]));
            if (!uidriver::pickWithMouse(box, step.row))
                return QStringLiteral("the drop-down list did not open or close");
            return {};
        }
        case Action::PickWithUp:
        case Action::PickWithDown:
            uidriver::pressOn(qtComboBox(main.box(allScaleColumns[std::size_t(step.box)])),
                              step.action == Action::PickWithUp ? Qt::Key_Up : Qt::Key_Down);
            return {};
        case Action::TypeIntoBox: {
            ScaleComboBox &box = qtComboBox(main.box(allScaleColumns[std::size_t(step.box)]));
            uidriver::typeInto(box, step.text);
            finishTyping(*box.lineEdit(), step.finish);
            return {};
        }
        case Action::PasteIntoBox: {
            ScaleComboBox &box = qtComboBox(main.box(allScaleColumns[std::size_t(step.box)]));
            QGuiApplication::clipboard()->setText(step.text);
            box.setFocus(Qt::OtherFocusReason);
            QTest::keyClick(box.lineEdit(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(box.lineEdit(), Qt::Key_V, Qt::ControlModifier);
            return {};
        }
        case Action::TypeIntoCriterion: {
            QPlainTextEdit &text = qtTextBox(main.Text1());
            text.setFocus(Qt::OtherFocusReason);
            QTest::keyClick(&text, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(&text, Qt::Key_Delete);
            typeCharacters(text, step.text);
            return {};
        }
        case Action::Help:
            return clickOn(Win::Main, "Command2");
        case Action::AboutFromMain:
            return clickOn(Win::Main, "Label8");
        case Action::ForecastAreas:
            return clickOn(Win::Main, "Command3");
        case Action::Exit:
            return clickOn(Win::Main, "Command1");
        case Action::AboutFromHelp:
            return clickOn(Win::Help, "Label2");
        case Action::HelpOk:
            return clickOn(Win::Help, "Command1");
        case Action::AboutOk:
            return clickOn(Win::About, "Command1");
        case Action::Back:
            return clickOn(Win::Map, "Command1");
        case Action::CloseMain:
            return closeByWindowManager(Win::Main);
        case Action::CloseHelp:
            return closeByWindowManager(Win::Help);
        case Action::CloseAbout:
            return closeByWindowManager(Win::About);
        case Action::CloseMap:
            return closeByWindowManager(Win::Map);
        case Action::ReactivateHelp:
            return activateAndWait(Win::Help);
        case Action::ReactivateAbout:
            return activateAndWait(Win::About);
        }
        return QStringLiteral("unknown action");
    }

private:
    QWidget *window(Win win) const { return windowOf(m_flow, win); }

    // A click into a window that is not the active one activates it first,
    // as the window system does for the user.
    QString bringToFront(Win win)
    {
        QWidget *w = window(win);
        if (!w)
            return QStringLiteral("%1 window not loaded").arg(QString::fromLatin1(winName(win)));
        if (QApplication::activeWindow() == w)
            return {};
        return activateAndWait(win);
    }

    QString activateAndWait(Win win)
    {
        QWidget *w = window(win);
        if (!w)
            return QStringLiteral("%1 window not loaded").arg(QString::fromLatin1(winName(win)));
        w->activateWindow();
        if (!settle([w] { return w->isActiveWindow(); }))
            return QStringLiteral("%1 window did not become active")
                .arg(QString::fromLatin1(winName(win)));
        return {};
    }

    QString clickOn(Win win, const char *control)
    {
        QWidget *w = uidriver::find<QWidget>(window(win), control);
        if (!w)
            return QStringLiteral("no %1 in the %2 window")
                .arg(QString::fromLatin1(control), QString::fromLatin1(winName(win)));
        uidriver::click(*w);
        return {};
    }

    // The window manager's close (close box, Alt+F4, a taskbar's close): a
    // spontaneous close request the window may refuse.
    QString closeByWindowManager(Win win)
    {
        QWidget *w = window(win);
        if (!w || !w->windowHandle())
            return QStringLiteral("%1 window has no native window to close")
                .arg(QString::fromLatin1(winName(win)));
        w->close();
        return {};
    }

    // The same step on a main window whose input is off. The clicks and keys
    // go through the application's event delivery like real input, but are
    // sent directly: QTest would warn about every event the window refuses.
    QString tryOnMainWithoutInput(const Step &step)
    {
        frmWindScale &main = m_flow.main();
        ScaleComboBox &box = qtComboBox(main.box(allScaleColumns[std::size_t(step.box)]));
        switch (step.action) {
        case Action::PickWithMouse: {
            QStyleOptionComboBox option;
            option.initFrom(&box);
            option.editable = true;
            option.subControls = QStyle::SC_All;
            const QRect arrow = box.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                            QStyle::SC_ComboBoxArrow, &box);
            sendClick(box, arrow.center());
            QCoreApplication::processEvents();
            if (box.view()->window()->isVisible()) {
                box.hidePopup();
                return QStringLiteral("the list of a box without input opened");
            }
            return {};
        }
        case Action::PickWithUp:
            sendKey(box, Qt::Key_Up);
            return {};
        case Action::PickWithDown:
            sendKey(box, Qt::Key_Down);
            return {};
        case Action::TypeIntoBox:
        case Action::PasteIntoBox:
            box.setFocus(Qt::OtherFocusReason);
            sendKey(*box.lineEdit(), Qt::Key_A, Qt::ControlModifier);
            sendKey(*box.lineEdit(), Qt::Key_V, Qt::ControlModifier);
            sendKey(*box.lineEdit(), Qt::Key_Delete);
            for (const QChar c : step.text.left(8))
                sendKey(*box.lineEdit(), Qt::Key_unknown, {}, QString(c));
            sendKey(*box.lineEdit(), Qt::Key_Return);
            return {};
        case Action::TypeIntoCriterion:
            sendKey(qtTextBox(main.Text1()), Qt::Key_A, Qt::ControlModifier);
            for (const QChar c : step.text.left(8))
                sendKey(qtTextBox(main.Text1()), Qt::Key_unknown, {}, QString(c));
            return {};
        case Action::Help:
            return sendClickOn("Command2");
        case Action::AboutFromMain:
            return sendClickOn("Label8");
        case Action::ForecastAreas:
            return sendClickOn("Command3");
        case Action::Exit:
            return sendClickOn("Command1");
        case Action::CloseMain:
            return closeByWindowManager(Win::Main);
        default:
            return QStringLiteral("not a main window action");
        }
    }

    QString sendClickOn(const char *control)
    {
        QWidget *w = uidriver::find<QWidget>(window(Win::Main), control);
        if (!w)
            return QStringLiteral("no %1 in the main window").arg(QString::fromLatin1(control));
        sendClick(*w, w->rect().center());
        return {};
    }

    static void sendClick(QWidget &widget, QPoint at)
    {
        const QPointF global = widget.mapToGlobal(QPointF(at));
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, QPointF(at), global, Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(&widget, &event);
        }
    }

    static void sendKey(QWidget &widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {},
                        const QString &text = {})
    {
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, modifiers, text);
            QApplication::sendEvent(&widget, &event);
        }
    }

    static void finishTyping(QWidget &edit, Finish finish)
    {
        switch (finish) {
        case Finish::Nothing:
            break;
        case Finish::Return:
            QTest::keyClick(&edit, Qt::Key_Return);
            break;
        case Finish::Enter:
            QTest::keyClick(&edit, Qt::Key_Enter);
            break;
        case Finish::Tab:
            QTest::keyClick(&edit, Qt::Key_Tab);
            break;
        }
    }

    // Character by character as key events carrying their text.
    static void typeCharacters(QWidget &target, const QString &text)
    {
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Press, &target, Qt::Key_unknown, QString(c), {});
            QTest::sendKeyEvent(QTest::Release, &target, Qt::Key_unknown, QString(c), {});
        }
    }

    FlowFixture &m_flow;
};

} // namespace modelwalk
