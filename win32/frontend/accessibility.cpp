#include "win32/frontend/accessibility.h"

#include "core/design/formlayout.h"
#include "core/design/mnemonic.h"
#include "win32/frontend/controlids.h"
#include "win32/support/com.h"
#include "win32/support/dpi.h"
#include "win32/support/windowhook.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace accessibility {

namespace {

// The texts screen readers speak for the default actions.
constexpr wchar_t pressAction[] = L"Press";
constexpr wchar_t clickAction[] = L"Click";

bool isSelf(const VARIANT &child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

VARIANT self()
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

// A BSTR handed to the caller, who frees it; S_FALSE for no text, as oleacc
// asks.
HRESULT giveText(const std::wstring &text, BSTR *out)
{
    if (!out)
        return E_INVALIDARG;
    *out = nullptr;
    if (text.empty())
        return S_FALSE;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT giveLong(long value, VARIANT *out)
{
    if (!out)
        return E_INVALIDARG;
    VariantInit(out);
    out->vt = VT_I4;
    out->lVal = value;
    return S_OK;
}

// The standard object of a window (oleacc's own proxy), which the ones here
// ask for all they do not answer themselves.
ComRef<IAccessible> standardObject(HWND window, LONG objectId)
{
    ComRef<IAccessible> object;
    if (FAILED(
            CreateStdAccessibleObject(window, objectId, __uuidof(IAccessible), object.putVoid())))
        object.reset();
    return object;
}

// COM interfaces have no virtual destructor: their objects delete
// themselves in Release, never through an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// IUnknown and IDispatch of the objects here, and every IAccessible call
// handed to the standard object.
class DelegatingAccessible : public IAccessible
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override
    {
        if (!out)
            return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible *>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return static_cast<ULONG>(InterlockedIncrement(&m_references));
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // No type information: clients call IAccessible directly, as they do
    // the standard proxies'.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        if (!count)
            return E_INVALIDARG;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *,
                                     EXCEPINFO *, UINT *) override
    {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override
    {
        return m_inner ? m_inner->get_accParent(parent) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override
    {
        return m_inner ? m_inner->get_accChildCount(count) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **out) override
    {
        return m_inner ? m_inner->get_accChild(child, out) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *out) override
    {
        return m_inner ? m_inner->get_accName(child, out) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *out) override
    {
        return m_inner ? m_inner->get_accValue(child, out) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *out) override
    {
        return m_inner ? m_inner->get_accDescription(child, out) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *out) override
    {
        return m_inner ? m_inner->get_accRole(child, out) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *out) override
    {
        return m_inner ? m_inner->get_accState(child, out) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *out) override
    {
        return m_inner ? m_inner->get_accHelp(child, out) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, long *topic) override
    {
        return m_inner ? m_inner->get_accHelpTopic(file, child, topic) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *out) override
    {
        return m_inner ? m_inner->get_accKeyboardShortcut(child, out) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *out) override
    {
        return m_inner ? m_inner->get_accFocus(out) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *out) override
    {
        return m_inner ? m_inner->get_accSelection(out) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *out) override
    {
        return m_inner ? m_inner->get_accDefaultAction(child, out) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        return m_inner ? m_inner->accSelect(flags, child) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height,
                                          VARIANT child) override
    {
        return m_inner ? m_inner->accLocation(left, top, width, height, child) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT *out) override
    {
        return m_inner ? m_inner->accNavigate(direction, start, out) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT *out) override
    {
        return m_inner ? m_inner->accHitTest(x, y, out) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return m_inner ? m_inner->accDoDefaultAction(child) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

protected:
    explicit DelegatingAccessible(ComRef<IAccessible> inner)
        : m_inner(std::move(inner))
    {}
    virtual ~DelegatingAccessible() = default;

    ComRef<IAccessible> m_inner;

private:
    LONG m_references = 1;
};

// A window's standard object with the annotation's answers about the window
// itself; its children are the standard object's.
class AnnotatedAccessible final : public DelegatingAccessible
{
public:
    AnnotatedAccessible(HWND window, LONG objectId, const Annotation &annotation)
        : DelegatingAccessible(standardObject(window, objectId))
        , m_window(window)
        , m_annotation(annotation)
    {}

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *out) override
    {
        if (isSelf(child) && !m_annotation.name.empty())
            return giveText(m_annotation.name, out);
        return DelegatingAccessible::get_accName(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *out) override
    {
        if (isSelf(child) && !m_annotation.description.empty())
            return giveText(m_annotation.description, out);
        return DelegatingAccessible::get_accDescription(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *out) override
    {
        if (isSelf(child) && m_annotation.role != 0)
            return giveLong(m_annotation.role, out);
        return DelegatingAccessible::get_accRole(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *out) override
    {
        if (isSelf(child) && m_annotation.valueIsText) {
            const HRESULT given = giveText(winapi::windowText(m_window), out);
            // An empty box has an empty value, not none.
            if (given == S_FALSE && out)
                *out = SysAllocString(L"");
            return out && *out ? S_OK : given;
        }
        return DelegatingAccessible::get_accValue(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *out) override
    {
        if (isSelf(child) && !m_annotation.defaultAction.empty())
            return giveText(m_annotation.defaultAction, out);
        return DelegatingAccessible::get_accDefaultAction(child, out);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (isSelf(child) && m_annotation.pressOnAction) {
            if (!IsWindowEnabled(m_window) || !IsWindowEnabled(GetAncestor(m_window, GA_ROOT)))
                return E_FAIL;
            PostMessageW(m_window, BM_CLICK, 0, 0);
            return S_OK;
        }
        return DelegatingAccessible::accDoDefaultAction(child);
    }

private:
    HWND m_window;
    // A copy: a screen reader may keep the object after the window is gone.
    Annotation m_annotation;
};

// The client area of a form window: the painted labels and pictures as
// simple elements, the child windows as their own objects, in reading order.
class FormAccessible final : public DelegatingAccessible
{
public:
    FormAccessible(HWND window, const FormDesign &design)
        : DelegatingAccessible(standardObject(window, OBJID_CLIENT))
        , m_window(window)
        , m_design(design)
    {
        for (const ControlSpec *control : inReadingOrder(design.controls)) {
            // The shapes are backgrounds, and the yacht, which has no name,
            // an ornament: neither says anything.
            if (control->kind == ControlKind::Shape ||
                (control->kind == ControlKind::StretchedPicture && control->accessibleName.empty()))
                continue;
            m_elements.push_back(control);
        }
    }

    HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override
    {
        if (!count)
            return E_INVALIDARG;
        *count = static_cast<long>(m_elements.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **out) override
    {
        if (!out)
            return E_INVALIDARG;
        *out = nullptr;
        const ControlSpec *control = element(child);
        if (!control)
            return E_INVALIDARG;
        const HWND hwnd = childWindow(*control);
        // A painted control is a simple element of this object.
        if (!hwnd)
            return S_FALSE;
        return AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_WINDOW),
                                          __uuidof(IDispatch), reinterpret_cast<void **>(out));
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *out) override
    {
        if (isSelf(child)) {
            const std::u16string_view name = m_design.window.accessibleName;
            if (!name.empty())
                return giveText(winapi::wide(name), out);
            return DelegatingAccessible::get_accName(child, out);
        }
        if (const auto object = windowObject(child))
            return object->get_accName(self(), out);
        const ControlSpec *control = element(child);
        if (!control)
            return E_INVALIDARG;
        const std::u16string_view name = accessibleNameOf(m_design.controls, *control);
        return giveText(
            name.empty() ? winapi::wide(withoutMnemonic(control->text)) : winapi::wide(name), out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *out) override
    {
        if (isSelf(child))
            return DelegatingAccessible::get_accValue(child, out);
        if (const auto object = windowObject(child))
            return object->get_accValue(self(), out);
        if (!element(child))
            return E_INVALIDARG;
        return giveText({}, out);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *out) override
    {
        if (isSelf(child)) {
            if (m_design.window.dialog)
                return giveText(winapi::wide(dialogDescription(m_design.controls)), out);
            return DelegatingAccessible::get_accDescription(child, out);
        }
        if (const auto object = windowObject(child))
            return object->get_accDescription(self(), out);
        const ControlSpec *control = element(child);
        if (!control)
            return E_INVALIDARG;
        return giveText(winapi::wide(control->accessibleDescription), out);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *out) override
    {
        if (isSelf(child)) {
            if (m_design.window.dialog)
                return giveLong(ROLE_SYSTEM_DIALOG, out);
            return DelegatingAccessible::get_accRole(child, out);
        }
        if (const auto object = windowObject(child))
            return object->get_accRole(self(), out);
        const ControlSpec *control = element(child);
        if (!control)
            return E_INVALIDARG;
        switch (control->kind) {
        case ControlKind::ClickableLabel:
            // Text that does something when clicked: what readers know as
            // a link, which they offer to follow.
            return giveLong(ROLE_SYSTEM_LINK, out);
        case ControlKind::StretchedPicture:
        case ControlKind::Bitmap:
            return giveLong(ROLE_SYSTEM_GRAPHIC, out);
        default:
            return giveLong(ROLE_SYSTEM_STATICTEXT, out);
        }
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *out) override
    {
        if (isSelf(child))
            return DelegatingAccessible::get_accState(child, out);
        if (const auto object = windowObject(child))
            return object->get_accState(self(), out);
        const ControlSpec *control = element(child);
        if (!control)
            return E_INVALIDARG;
        long state = STATE_SYSTEM_READONLY;
        if (!IsWindowVisible(m_window))
            state |= STATE_SYSTEM_INVISIBLE;
        if (control->kind == ControlKind::ClickableLabel) {
            state = (state & ~STATE_SYSTEM_READONLY) | STATE_SYSTEM_LINKED;
            if (!IsWindowEnabled(m_window))
                state |= STATE_SYSTEM_UNAVAILABLE;
        }
        return giveLong(state, out);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *out) override
    {
        if (isSelf(child))
            return DelegatingAccessible::get_accHelp(child, out);
        if (const auto object = windowObject(child))
            return object->get_accHelp(self(), out);
        const ControlSpec *control = element(child);
        if (!control)
            return E_INVALIDARG;
        // The tool tip, as the standard controls' help is theirs.
        return giveText(winapi::wide(control->toolTip), out);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *out) override
    {
        if (isSelf(child))
            return DelegatingAccessible::get_accKeyboardShortcut(child, out);
        if (const auto object = windowObject(child))
            return object->get_accKeyboardShortcut(self(), out);
        if (!element(child))
            return E_INVALIDARG;
        return giveText({}, out);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *out) override
    {
        if (isSelf(child))
            return DelegatingAccessible::get_accDefaultAction(child, out);
        if (const auto object = windowObject(child))
            return object->get_accDefaultAction(self(), out);
        const ControlSpec *control = element(child);
        if (!control)
            return E_INVALIDARG;
        return giveText(control->kind == ControlKind::ClickableLabel ? clickAction : L"", out);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (isSelf(child))
            return DelegatingAccessible::accDoDefaultAction(child);
        if (const auto object = windowObject(child))
            return object->accDoDefaultAction(self());
        const ControlSpec *control = element(child);
        if (!control)
            return E_INVALIDARG;
        if (control->kind != ControlKind::ClickableLabel)
            return DISP_E_MEMBERNOTFOUND;
        // As the mouse: nothing while the window takes no input.
        if (!IsWindow(m_window) || !IsWindowEnabled(m_window) || !IsWindowVisible(m_window))
            return E_FAIL;
        PostMessageW(m_window, defaultActionMessage, layoutIndex(*control), 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        if (isSelf(child))
            return DelegatingAccessible::accSelect(flags, child);
        if (const auto object = windowObject(child))
            return object->accSelect(flags, self());
        return element(child) ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height,
                                          VARIANT child) override
    {
        if (isSelf(child))
            return DelegatingAccessible::accLocation(left, top, width, height, child);
        if (const auto object = windowObject(child))
            return object->accLocation(left, top, width, height, self());
        const ControlSpec *control = element(child);
        if (!control || !left || !top || !width || !height)
            return E_INVALIDARG;
        const PixelRect rect = placeOf(*control);
        POINT corner{rect.left, rect.top};
        ClientToScreen(m_window, &corner);
        *left = corner.x;
        *top = corner.y;
        *width = rect.width;
        *height = rect.height;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT *out) override
    {
        if (!out)
            return E_INVALIDARG;
        VariantInit(out);
        const long count = static_cast<long>(m_elements.size());
        long target = 0;
        if (isSelf(start)) {
            if (direction == NAVDIR_FIRSTCHILD)
                target = 1;
            else if (direction == NAVDIR_LASTCHILD)
                target = count;
            else
                return DelegatingAccessible::accNavigate(direction, start, out);
        } else {
            if (!element(start))
                return E_INVALIDARG;
            if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN || direction == NAVDIR_RIGHT)
                target = start.lVal + 1;
            else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP ||
                     direction == NAVDIR_LEFT)
                target = start.lVal - 1;
        }
        if (target < 1 || target > count)
            return S_FALSE;
        return giveChild(target, out);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT *out) override
    {
        if (!out)
            return E_INVALIDARG;
        VariantInit(out);
        POINT point{x, y};
        ScreenToClient(m_window, &point);
        RECT client{};
        GetClientRect(m_window, &client);
        if (!PtInRect(&client, point))
            return S_FALSE;
        const HWND under = ChildWindowFromPointEx(m_window, point, CWP_SKIPINVISIBLE);
        // Front to back, as the mouse finds them.
        for (const ControlSpec &control : m_design.controls) {
            const auto at = std::find(m_elements.begin(), m_elements.end(), &control);
            if (at == m_elements.end())
                continue;
            const HWND hwnd = childWindow(control);
            const PixelRect rect = placeOf(control);
            const bool inside = hwnd ? hwnd == under
                                     : point.x >= rect.left && point.y >= rect.top &&
                                           point.x < rect.left + rect.width &&
                                           point.y < rect.top + rect.height;
            if (inside)
                return giveChild(static_cast<long>(at - m_elements.begin()) + 1, out);
        }
        return giveLong(CHILDID_SELF, out);
    }

private:
    // The element of a child id, or nullptr.
    [[nodiscard]] const ControlSpec *element(const VARIANT &child) const
    {
        if (child.vt != VT_I4 || child.lVal < 1 ||
            child.lVal > static_cast<long>(m_elements.size()))
            return nullptr;
        return m_elements[static_cast<std::size_t>(child.lVal - 1)];
    }
    [[nodiscard]] std::size_t layoutIndex(const ControlSpec &control) const
    {
        return static_cast<std::size_t>(&control - m_design.controls.data());
    }
    [[nodiscard]] HWND childWindow(const ControlSpec &control) const
    {
        switch (control.kind) {
        case ControlKind::ComboBox:
        case ControlKind::TextBox:
        case ControlKind::Button:
        case ControlKind::GraphicalButton:
            return GetDlgItem(m_window, ControlIds::forIndex(layoutIndex(control)));
        default:
            return nullptr;
        }
    }
    // The object that answers for a child that is a window of its own, else
    // none: its client object (the annotated proxy), which is what its window
    // object asks on Windows and what alone answers under Wine.
    [[nodiscard]] ComRef<IAccessible> windowObject(const VARIANT &child) const
    {
        ComRef<IAccessible> object;
        const ControlSpec *control = element(child);
        const HWND hwnd = control ? childWindow(*control) : nullptr;
        if (hwnd && FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT),
                                                      __uuidof(IAccessible), object.putVoid())))
            object.reset();
        return object;
    }
    // A child for accNavigate and accHitTest: a child window's object, or a
    // painted element's id.
    HRESULT giveChild(long id, VARIANT *out) const
    {
        const ControlSpec *control = m_elements[static_cast<std::size_t>(id - 1)];
        if (const HWND hwnd = childWindow(*control)) {
            IDispatch *object = nullptr;
            const HRESULT found =
                AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_WINDOW),
                                           __uuidof(IDispatch), reinterpret_cast<void **>(&object));
            if (FAILED(found))
                return found;
            out->vt = VT_DISPATCH;
            out->pdispVal = object;
            return S_OK;
        }
        return giveLong(id, out);
    }
    // The control's place in the client area at the window's resolution, as
    // the window paints it.
    [[nodiscard]] PixelRect placeOf(const ControlSpec &control) const
    {
        return twipsToPixels(control.rect, static_cast<int>(dpi::forWindow(m_window)));
    }

    HWND m_window;
    FormDesign m_design;
    std::vector<const ControlSpec *> m_elements;
};

#pragma GCC diagnostic pop

std::optional<LRESULT> annotatedObject(HWND window, windowhook::Message &message,
                                       const void *context)
{
    if (message.id != WM_GETOBJECT ||
        static_cast<LONG>(static_cast<DWORD>(message.lParam)) != static_cast<LONG>(OBJID_CLIENT))
        return std::nullopt;
    const auto &annotation = *static_cast<const Annotation *>(context);
    ComRef<IAccessible> object(new AnnotatedAccessible(window, OBJID_CLIENT, annotation));
    return LresultFromObject(__uuidof(IAccessible), message.wParam, object.get());
}

} // namespace

Annotation forControl(const FormDesign &design, const ControlSpec &control)
{
    Annotation annotation;
    const std::u16string_view name = accessibleNameOf(design.controls, control);
    annotation.name =
        name.empty() ? winapi::wide(withoutMnemonic(control.text)) : winapi::wide(name);
    annotation.description = winapi::wide(control.accessibleDescription);
    switch (control.kind) {
    case ControlKind::ComboBox:
        annotation.role = ROLE_SYSTEM_COMBOBOX;
        annotation.valueIsText = true;
        break;
    case ControlKind::TextBox:
        annotation.role = ROLE_SYSTEM_TEXT;
        annotation.valueIsText = true;
        break;
    case ControlKind::Button:
    case ControlKind::GraphicalButton:
        // An owner-drawn button is a push button too, whatever it looks like.
        annotation.role = ROLE_SYSTEM_PUSHBUTTON;
        annotation.defaultAction = pressAction;
        annotation.pressOnAction = true;
        break;
    default:
        break;
    }
    return annotation;
}

bool hasWindowAnnotation(const FormDesign &design)
{
    return !design.window.accessibleName.empty() || design.window.dialog;
}

Annotation forWindow(const FormDesign &design)
{
    Annotation annotation;
    annotation.name = winapi::wide(design.window.accessibleName);
    if (design.window.dialog) {
        annotation.role = ROLE_SYSTEM_DIALOG;
        annotation.description = winapi::wide(dialogDescription(design.controls));
    }
    return annotation;
}

void annotate(HWND child, const Annotation &annotation)
{
    windowhook::add(child, annotatedObject, &annotation);
}

LRESULT clientObject(HWND window, const FormDesign &design, WPARAM wParam)
{
    ComRef<IAccessible> object(new FormAccessible(window, design));
    return LresultFromObject(__uuidof(IAccessible), wParam, object.get());
}

LRESULT windowObject(HWND window, const Annotation &annotation, WPARAM wParam)
{
    ComRef<IAccessible> object(new AnnotatedAccessible(window, OBJID_WINDOW, annotation));
    return LresultFromObject(__uuidof(IAccessible), wParam, object.get());
}

} // namespace accessibility
