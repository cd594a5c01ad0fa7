// The view's key bindings: one- and two-key sequences, each mapped to a scrolling action.
#pragma once
#include "textview/TextView.h"

constexpr int kKeyCodeFlag = 0x10000;
constexpr int kShiftFlag = 0x20000;
constexpr int kCtrlFlag = 0x40000;
constexpr int kAltFlag = 0x80000;
constexpr int kMaxSequenceKeys = 3;

struct KeyBinding {
    int ordinal;
    void (TextView::*action)();
    int keys[kMaxSequenceKeys];  // composed key codes; unused positions are 0
};

extern const KeyBinding textViewKeyBindings[kKeyBindingCount];
