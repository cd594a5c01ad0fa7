// The real program on a screen at 150%: started with the prefix's LogPixels at 144, against the same program at 96.
#include "SeekwordFixture.h"

namespace seekword_e2e {
namespace {

const char kDesktop[] = "Control Panel\\Desktop";

// Whatever the test meets, the programs started after it see the screen as before.
class SeekwordDpiTest : public SeekwordTest {
protected:
    ~SeekwordDpiTest() override { EXPECT_TRUE(had ? SetDpi(old) : UserRegistry::DeleteValue(kDesktop, "LogPixels")); }
    // Wine reads LogPixels as a process starts.
    static bool SetDpi(DWORD dpi) { return UserRegistry::WriteDword(kDesktop, "LogPixels", dpi); }
    DWORD old = 0;
    const bool had = UserRegistry::ReadDword(kDesktop, "LogPixels", &old);
};

TEST_F(SeekwordDpiTest, AtOneHundredAndFortyFourDpiTheBarIsHalfAgainAsHighAndTheHitIsPictured)
{
    samples.Add("c.txt", "first line\r\nsecond line\r\nthe Needle is here\r\n");
    int barHeight[2] = {};
    for (DWORD dpi : {96, 144}) {
        ASSERT_TRUE(SetDpi(dpi));
        ASSERT_TRUE(Launch(false));
        ASSERT_TRUE(MoveAndSize(frame, 10, 10, 1000, 700));
        ASSERT_TRUE(Search("needle", samples.Path(), "c.txt"));
        barHeight[dpi == 144] = WindowRectOf(bar).bottom - WindowRectOf(bar).top;
        EXPECT_TRUE(WaitUntil([&] { return CaptureView().CountColour(GetSysColor(COLOR_HIGHLIGHT)) > 0; }));
        ScreenImage::CaptureWindow(frame).SavePng(ArtifactPath("seekword-hit-" + std::to_string(dpi) + "dpi.png"));
        ASSERT_TRUE(ExitProgram());
    }
    EXPECT_NEAR(barHeight[0] * 1.5, barHeight[1], 1.0);
}

std::string Describe(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// Its corner where the user left it, its size scaled; and where that no longer fits the screen, back onto it.
TEST_F(SeekwordDpiTest, AWindowLeftAtNinetySixComesBackAtOneHundredAndFortyFourWhereItWasHalfAgainAsLarge)
{
    ASSERT_TRUE(SetDpi(96));
    ASSERT_TRUE(Launch(false));
    ASSERT_TRUE(CloseDialogWith(IDCANCEL));
    ASSERT_TRUE(MoveAndSize(frame, 100, 100, 300, 200));
    ASSERT_TRUE(ExitProgram());
    DWORD savedDpi = 0;
    EXPECT_TRUE(UserRegistry::ReadDword(kSettingsKey, "rcNormalDpi", &savedDpi));
    EXPECT_EQ(96u, savedDpi);

    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const RECT grown = {screenWidth - 400, 300, screenWidth - 100, 500};
    const struct {
        const RECT* stored;  // null: as the run at 96 left it
        RECT expected;
    } cases[] = {{nullptr, {100, 100, 550, 400}}, {&grown, {screenWidth - 450, 300, screenWidth, 600}}};
    ASSERT_TRUE(SetDpi(144));
    for (const auto& c : cases) {
        if (c.stored) {
            ASSERT_TRUE(UserRegistry::Write(kSettingsKey, "rcNormal", REG_BINARY, c.stored, sizeof *c.stored));
            ASSERT_TRUE(UserRegistry::WriteDword(kSettingsKey, "rcNormalDpi", 96));
        }
        ASSERT_TRUE(Launch(false));
        RECT shown = {};
        EXPECT_TRUE(WaitUntil([&] { return shown = WindowRectOf(frame), EqualRect(&shown, &c.expected) != FALSE; }))
            << Describe(shown) << ", expected " << Describe(c.expected);
        ASSERT_TRUE(CloseDialogWith(IDCANCEL));
        ASSERT_TRUE(ExitProgram());
    }
}

} // namespace
} // namespace seekword_e2e
