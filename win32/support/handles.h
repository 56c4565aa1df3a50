#pragma once

#include "win32/support/winapi.h"

#include <memory>
#include <type_traits>

// Owners of the handles the front end makes: each handle is released once,
// by the object that made it.

struct WindowDestroyer
{
    void operator()(HWND window) const { DestroyWindow(window); }
};
using WindowHandle = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

template <class Handle> struct GdiDeleter
{
    void operator()(Handle object) const { DeleteObject(object); }
};
// An HFONT, HBRUSH, HPEN or HBITMAP.
template <class Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiDeleter<Handle>>;

struct DcDeleter
{
    void operator()(HDC dc) const { DeleteDC(dc); }
};
// A memory device context of CreateCompatibleDC.
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

struct IconDestroyer
{
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;

// An object selected into a device context until the end of the scope.
class Selection
{
public:
    Selection(HDC dc, HGDIOBJ object)
        : m_dc(dc)
        , m_previous(SelectObject(dc, object))
    {}
    ~Selection() { SelectObject(m_dc, m_previous); }
    Selection(const Selection &) = delete;
    Selection &operator=(const Selection &) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// BeginPaint to EndPaint.
class PaintScope
{
public:
    explicit PaintScope(HWND window)
        : m_window(window)
        , m_dc(BeginPaint(window, &m_paint))
    {}
    ~PaintScope() { EndPaint(m_window, &m_paint); }
    PaintScope(const PaintScope &) = delete;
    PaintScope &operator=(const PaintScope &) = delete;

    [[nodiscard]] HDC dc() const { return m_dc; }
    [[nodiscard]] const RECT &area() const { return m_paint.rcPaint; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
    HDC m_dc;
};

// GetDC to ReleaseDC.
class WindowDc
{
public:
    explicit WindowDc(HWND window)
        : m_window(window)
        , m_dc(GetDC(window))
    {}
    ~WindowDc() { ReleaseDC(m_window, m_dc); }
    WindowDc(const WindowDc &) = delete;
    WindowDc &operator=(const WindowDc &) = delete;

    [[nodiscard]] HDC get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};
