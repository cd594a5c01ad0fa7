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
    // The width is given at 96 dpi; the bar scales it, and its offsets and gaps, to its own dpi.
    int AddButton(const char* label, int width, int commandId, int disabled);
    // Lays every button out again for a new dpi, button font (null: the system's) and bar height.
    void Rescale(int newDpi, HFONT font, int height);
    void EnableCommand(int commandId, int enable);
    int IsCommandEnabled(int commandId);

    int capacity;
    int nextX;
    int count;
    int barHeight;
    int* commandIds;
    PushButton* buttons;
    int shown;
    int dpi;
    HFONT buttonFont;
    // Each button's width at 96 dpi, for laying it out again at another.
    int* baseWidths;

private:
    void PlaceButton(int index);
    PushButton* FindButton(int commandId);
    void Paint();
};
