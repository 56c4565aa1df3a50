#pragma once

#include "win32/support/winapi.h"

#include <initializer_list>
#include <string_view>

// What a user does, as real input through SendInput: it goes through the
// window system's input queue, hit-testing and focus like a person's, to
// whichever window is there.
namespace userinput {

// Moves the pointer to a point on the screen (absolute, primary screen); true
// if the window system put it there.
bool moveTo(POINT screenPoint);
// A left click (press and release) at a point on the screen.
bool click(POINT screenPoint);
// A key pressed and released with the modifiers held (VK_MENU, VK_SHIFT,
// VK_CONTROL), pressed in order and released in reverse.
void key(WORD virtualKey, std::initializer_list<WORD> modifiers = {});
// Types the text character by character as Unicode input (VK_PACKET), as an
// input method does: no keyboard layout stands between the text and the
// window.
void type(std::wstring_view text);

// Alt+F4, which closes the active window, and Alt with a letter, which
// presses the button of that access key.
inline void altF4()
{
    key(VK_F4, {VK_MENU});
}
inline void alt(char letter)
{
    key(static_cast<WORD>(letter), {VK_MENU});
}

} // namespace userinput
