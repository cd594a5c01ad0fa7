// Window objects: binding at WM_NCCREATE and the default dispatcher's answers.
#include <gtest/gtest.h>

#include "framework/Window.h"

namespace {

const char kClass[] = "SeekwordTestWindow";

class ProbeWindow : public Window {
public:
    int Register() override
    {
        static bool registered = false;
        if (registered)
            return 0;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = StaticWndProc;
        wc.cbWndExtra = sizeof(LONG_PTR);
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClass;
        registered = RegisterClassA(&wc) != 0;
        return registered;
    }
    int OnCreate() override { return createResult; }
    int createResult = 1;
};

TEST(WindowDispatch, CreateHandleBindsObjectAndSecondCallCreatesNothing)
{
    ProbeWindow probe;
    probe.Register();
    probe.style = WS_OVERLAPPEDWINDOW;
    ASSERT_TRUE(probe.CreateHandle(kClass, nullptr, nullptr, "probe", 0, 0, 100, 100));
    HWND first = probe.hwnd;
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&probe), GetWindowLongPtrA(first, GWLP_USERDATA));
    EXPECT_TRUE(probe.CreateHandle(kClass, nullptr, nullptr, "probe", 0, 0, 100, 100));
    EXPECT_EQ(first, probe.hwnd);
    EXPECT_TRUE(probe.Destroy());
    EXPECT_EQ(nullptr, probe.hwnd);
}

} // namespace
