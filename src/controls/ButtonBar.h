// The strip of command buttons along the top of the main window; also the record of enabled commands.
#pragma once
#include "controls/PushButton.h"
#include "framework/Window.h"

class ButtonBar : public Window {
public:
    ButtonBar();
    ~ButtonBar() override;
    ButtonBar(const ButtonBar&) = delete;
    ButtonBar& operator=(const ButtonBar&) = delete;

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int Register() override;
    virtual int CreateBar(HWND parent, int x, int y, int width, int height);

    // Nonzero when both arrays could be allocated.
    int Reserve(int slots);
    int AddButton(const char* label, int width, int commandId, int disabled);
    void EnableCommand(int commandId, int enable);
    int IsCommandEnabled(int commandId);

    int capacity;
    int nextX;
    int count;
    int barHeight;
    int* commandIds;
    PushButton* buttons;
    int shown;

private:
    PushButton* FindButton(int commandId);
    void Paint();
};
