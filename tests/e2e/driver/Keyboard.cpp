// Key strokes as hardware input.
#include "driver/Keyboard.h"

#include <vector>

namespace e2e {

namespace {

struct ModifierKey {
    unsigned flag;
    WORD vk;
};

const ModifierKey kModifierKeys[] = {{kCtrl, VK_CONTROL}, {kAlt, VK_MENU}, {kShift, VK_SHIFT}};

INPUT KeyInput(WORD vk, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void AddStroke(std::vector<INPUT>* inputs, WORD vk, unsigned modifiers)
{
    for (const ModifierKey& m : kModifierKeys)
        if (modifiers & m.flag)
            inputs->push_back(KeyInput(m.vk, false));
    inputs->push_back(KeyInput(vk, false));
    inputs->push_back(KeyInput(vk, true));
    for (int i = static_cast<int>(sizeof(kModifierKeys) / sizeof(kModifierKeys[0])) - 1; i >= 0; --i)
        if (modifiers & kModifierKeys[i].flag)
            inputs->push_back(KeyInput(kModifierKeys[i].vk, true));
}

bool Send(std::vector<INPUT>& inputs)
{
    UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    return sent == inputs.size();
}

} // namespace

bool PressKey(WORD vk, unsigned modifiers)
{
    std::vector<INPUT> inputs;
    AddStroke(&inputs, vk, modifiers);
    return Send(inputs);
}

bool HoldKey(WORD vk)
{
    std::vector<INPUT> inputs = {KeyInput(vk, false)};
    return Send(inputs);
}

bool ReleaseKey(WORD vk)
{
    std::vector<INPUT> inputs = {KeyInput(vk, true)};
    return Send(inputs);
}

bool TypeText(const std::string& text)
{
    std::vector<INPUT> inputs;
    for (char c : text) {
        SHORT scan = VkKeyScanA(c);
        if (scan == -1)
            return false;
        unsigned modifiers = kNoModifier;
        if (scan & 0x100)
            modifiers |= kShift;
        if (scan & 0x200)
            modifiers |= kCtrl;
        if (scan & 0x400)
            modifiers |= kAlt;
        AddStroke(&inputs, static_cast<WORD>(LOBYTE(scan)), modifiers);
    }
    return Send(inputs);
}

} // namespace e2e
