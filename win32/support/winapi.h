#pragma once

// windows.h for the Windows front end, with the few conversions its macros
// would otherwise write as C casts. The build defines UNICODE, NOMINMAX and
// WIN32_LEAN_AND_MEAN.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace winapi {

// MAKEINTRESOURCEW: a resource number in the place of a name.
[[nodiscard]] inline const wchar_t *resourceId(int id)
{
    return reinterpret_cast<const wchar_t *>(static_cast<ULONG_PTR>(static_cast<WORD>(id)));
}

[[nodiscard]] constexpr unsigned lowWord(std::uintptr_t value)
{
    return static_cast<unsigned>(value & 0xffffu);
}
[[nodiscard]] constexpr unsigned highWord(std::uintptr_t value)
{
    return static_cast<unsigned>((value >> 16) & 0xffffu);
}
// GET_X_LPARAM and GET_Y_LPARAM: signed client coordinates.
[[nodiscard]] inline POINT pointOf(LPARAM lParam)
{
    const auto bits = static_cast<std::uintptr_t>(lParam);
    return {static_cast<short>(lowWord(bits)), static_cast<short>(highWord(bits))};
}

// UTF-16 both ways: wchar_t is 16 bits wide on Windows.
[[nodiscard]] inline std::wstring wide(std::u16string_view text)
{
    return {text.begin(), text.end()};
}
// The layouts' names and the scale's texts are ASCII.
[[nodiscard]] inline std::wstring wide(std::string_view ascii)
{
    return {ascii.begin(), ascii.end()};
}
[[nodiscard]] inline std::u16string utf16(std::wstring_view text)
{
    return {text.begin(), text.end()};
}

// The text of a window: a control's contents or a window's title.
[[nodiscard]] inline std::wstring windowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// SendMessageW with the pointer and integer conversions written once.
template <class W = WPARAM, class L = LPARAM>
LRESULT send(HWND window, UINT message, W wParam = {}, L lParam = {})
{
    WPARAM w;
    LPARAM l;
    if constexpr (std::is_pointer_v<W>)
        w = reinterpret_cast<WPARAM>(wParam);
    else
        w = static_cast<WPARAM>(wParam);
    if constexpr (std::is_pointer_v<L>)
        l = reinterpret_cast<LPARAM>(lParam);
    else
        l = static_cast<LPARAM>(lParam);
    return SendMessageW(window, message, w, l);
}

} // namespace winapi
