#pragma once

#include <string>
#include <string_view>

// A caption's "&" marks the letter after it as the control's access key and
// is not shown; "&&" stands for one "&". Both front ends read captions so:
// what a screen reader says, and which letter Alt presses.

// The caption as shown and said aloud, without its marks.
[[nodiscard]] inline std::u16string withoutMnemonic(std::u16string_view caption)
{
    std::u16string shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && ++i == caption.size())
            break;
        shown += caption[i];
    }
    return shown;
}

// The access key's letter as written, or 0 for none.
[[nodiscard]] constexpr char16_t mnemonicLetter(std::u16string_view caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] != u'&')
            return caption[i + 1];
        ++i; // "&&": a shown "&", no mark
    }
    return 0;
}
