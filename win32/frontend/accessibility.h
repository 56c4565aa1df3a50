#pragma once

#include "core/forms/formview.h"
#include "win32/support/winapi.h"

#include <oleacc.h>

#include <string>

// What the windows tell screen readers through Microsoft Active
// Accessibility (oleacc), where the window system's own proxies
// (CreateStdAccessibleObject) do not know it: the names, roles and
// descriptions the layouts give, and the labels and pictures that the form
// window paints rather than making child windows of.
namespace accessibility {

// The form window posts itself this message with a painted control's layout
// index in wParam when a screen reader asks for the control's default action,
// which is what a click on it does. Posted, so that the action runs once the
// reader's request has returned, as a click would.
inline constexpr UINT defaultActionMessage = WM_APP + 10;

// What a control's or window's proxy says instead of the standard one; empty
// or zero keeps the standard answer.
struct Annotation
{
    std::wstring name;
    std::wstring description;
    long role = 0;
    std::wstring defaultAction;
    // The default action presses the button (BM_CLICK).
    bool pressOnAction = false;
    // The value is the window's text (a drop-down box's or an edit field's).
    bool valueIsText = false;
};

// The annotation of a child window made from `control` of the layout.
[[nodiscard]] Annotation forControl(const FormDesign &design, const ControlSpec &control);
// Whether the form's own window (OBJID_WINDOW) says more than its standard
// object, and what.
[[nodiscard]] bool hasWindowAnnotation(const FormDesign &design);
[[nodiscard]] Annotation forWindow(const FormDesign &design);

// Answers WM_GETOBJECT for `child` (a child window) with a proxy that says
// what `annotation` does; the annotation must outlive the window.
void annotate(HWND child, const Annotation &annotation);

// The answer to WM_GETOBJECT(OBJID_CLIENT) of a form window: its painted
// controls and its child windows, in reading order.
[[nodiscard]] LRESULT clientObject(HWND window, const FormDesign &design, WPARAM wParam);
// The answer to WM_GETOBJECT(OBJID_WINDOW) of a form window.
[[nodiscard]] LRESULT windowObject(HWND window, const Annotation &annotation, WPARAM wParam);

} // namespace accessibility
