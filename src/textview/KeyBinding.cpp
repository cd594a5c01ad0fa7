// The text view's key-binding table: arrows, pages, Home/End and the Ctrl+Q sequences.
#include "textview/KeyBinding.h"

const KeyBinding textViewKeyBindings[kKeyBindingCount] = {
    {0, &TextView::ScrollLineDown, {kKeyCodeFlag | VK_DOWN, 0, 0}},
    {1, &TextView::ScrollLineUp, {kKeyCodeFlag | VK_UP, 0, 0}},
    {2, &TextView::ScrollPageUp, {kKeyCodeFlag | VK_PRIOR, 0, 0}},
    {3, &TextView::ScrollPageDown, {kKeyCodeFlag | VK_NEXT, 0, 0}},
    {4, &TextView::ScrollToTop, {kKeyCodeFlag | VK_HOME, 0, 0}},
    {5, &TextView::ScrollToTop, {kKeyCodeFlag | kCtrlFlag | 'Q', kKeyCodeFlag | kCtrlFlag | 'R', 0}},
    {6, &TextView::ScrollToBottom, {kKeyCodeFlag | VK_END, 0, 0}},
    {7, &TextView::ScrollToBottom, {kKeyCodeFlag | kCtrlFlag | 'Q', kKeyCodeFlag | kCtrlFlag | 'C', 0}},
};
