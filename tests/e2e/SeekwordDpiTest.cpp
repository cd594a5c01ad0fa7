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

} // namespace
} // namespace seekword_e2e
