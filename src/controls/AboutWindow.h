// The round About window: a grey disc with a red rim, the program's icon, its name and one button.
#pragma once
#include "SeekwordVersion.h"
#include "controls/MessageWindow.h"

// The About window's text: the name and version, then the notice line.
constexpr char kAboutText[] = "Seekword " SEEKWORD_VERSION_TEXT "\nFinds the files that hold your text.";

class AboutWindow : public MessageWindow {
public:
    AboutWindow();

    void OnPaint() override;
    void CreateButtons() override;
    int CreateBoxWindow() override;

    int discWidth;
    int discHeight;
};
