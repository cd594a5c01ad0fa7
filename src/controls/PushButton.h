// A push button of the system "BUTTON" class, bound to its object through the window's user data.
#pragma once
#include "controls/Control.h"

class PushButton : public Control {
public:
    explicit PushButton(int subclass = 0);

    int Create(HWND parent, int id, const char* text, int x, int y, int width, int height) override;
    int OnReflectedCommand(int notificationCode, int id) override;

    int subclassFlag;
    char mnemonic;
};
