// The main window's status bar: a common-controls status window with parts measured in characters.
#pragma once
#include "controls/Control.h"
#include "framework/FontHandle.h"

class StatusBar : public Control {
public:
    StatusBar();
    ~StatusBar() override;
    StatusBar(const StatusBar&) = delete;
    StatusBar& operator=(const StatusBar&) = delete;

    // Nonzero when the part arrays could be allocated; without them the bar has no parts.
    int SetPartCount(int count);
    void AddPart(int width, int style);
    int CreateStatus(HWND parentWindow);
    void OnParentSize(WPARAM wParam, LPARAM lParam);
    int VisibleHeight();
    void SetText(int part, const char* text);
    // Gives the status window its font for the dpi: its own at the system's dpi, else a scaled copy.
    void SetDpi(int newDpi);

    // Right edges for a bar barWidth pixels wide whose font averages charWidth pixels a character.
    void ComputeEdges(int barWidth, int charWidth);

    HWND parent;
    int partCount;
    int* partWidths;
    int* partStyles;
    int* partEdges;
    int partsAdded;
    int dpi;
    // The font the status window came with (null: it draws with the system font), and its copy for the dpi.
    HFONT ownFont;
    FontHandle scaledFont;

private:
    void FreeParts();
};
