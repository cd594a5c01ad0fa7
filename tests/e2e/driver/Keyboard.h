// Synthesised key presses through SendInput: they pass the key state that accelerators look at.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

enum KeyModifier : unsigned {
    kNoModifier = 0,
    kShift = 1,
    kCtrl = 2,
    kAlt = 4,
};

// Presses vk with the modifiers held: modifiers down, key down, key up, modifiers up.
// The input goes to the foreground window: call BringToFront first.
bool PressKey(WORD vk, unsigned modifiers = kNoModifier);
// Only the key's down or up stroke, for a key held while others are pressed.
bool HoldKey(WORD vk);
bool ReleaseKey(WORD vk);
// Types printable ANSI text as key strokes, with Shift where the layout needs it.
bool TypeText(const std::string& text);

} // namespace e2e
