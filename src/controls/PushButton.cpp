// Push buttons: fresh ids on demand, the label's mnemonic, reflected clicks.
#include "controls/PushButton.h"

PushButton::PushButton(int subclass) : subclassFlag(subclass), mnemonic(0)
{
    style = WS_CHILD | WS_VISIBLE;
}

int PushButton::Create(HWND parent, int newId, const char* text, int x, int y, int width, int height)
{
    if (newId == 0)
        NextControlId();
    else
        id = newId;

    mnemonic = 0;
    if (text) {
        for (const char* p = text; *p; ++p) {
            if (*p == '&') {
                mnemonic = p[1];
                break;
            }
        }
    }

    int created = CreateChild("BUTTON", parent, text, x, y, width, height);
    if (created && subclassFlag)
        InstallSubclass(nullptr);
    return created;
}

int PushButton::OnReflectedCommand(int notificationCode, int)
{
    if (notificationCode != 0 || !handlerOperation)
        return 0;
    (handlerTarget->*handlerOperation)(id);
    return 1;
}
