// Control objects and push buttons: ids, mnemonics, adopting existing children, reflected clicks, subclassing.
#include <gtest/gtest.h>

#include "controls/PushButton.h"
#include "framework/TestSupport.h"
#include "framework/Window.h"

namespace {

const char kParentClass[] = "SeekwordButtonParent";

class ParentWindow : public Window {
public:
    int Register() override { return RegisterTestClass(kParentClass); }
    int OnCreate() override { return 1; }
    void OnClick(int controlId)
    {
        ++clicks;
        clickedId = controlId;
    }
    int clicks = 0;
    int clickedId = 0;
};

class ButtonFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent.Register();
        parent.style = WS_OVERLAPPEDWINDOW;
        ASSERT_TRUE(parent.CreateHandle(kParentClass, nullptr, nullptr, "buttons", 0, 0, 300, 200));
    }
    void TearDown() override
    {
        if (parent.hwnd)
            DestroyWindow(parent.hwnd);
    }
    int ChildCount()
    {
        int n = 0;
        for (HWND child = GetWindow(parent.hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            ++n;
        return n;
    }
    ParentWindow parent;
};

TEST_F(ButtonFixture, MnemonicIsTheCharacterAfterTheFirstAmpersand)
{
    struct Case {
        const char* label;
        char mnemonic;
    } cases[] = {{"&Start", 'S'}, {"E&xit", 'x'}, {"&Ok", 'O'}, {"Plain", 0}, {"Last&", 0}, {"&A&B", 'A'}, {"", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        PushButton button;
        button.mnemonic = '?';
        ASSERT_TRUE(button.Create(parent.hwnd, 0, c.label, 0, 0, 40, 20));
        EXPECT_EQ(c.mnemonic, button.mnemonic);
    }
    PushButton untitled;
    untitled.mnemonic = '?';
    ASSERT_TRUE(untitled.Create(parent.hwnd, 0, nullptr, 0, 0, 40, 20));
    EXPECT_EQ(0, untitled.mnemonic);
}

TEST_F(ButtonFixture, ButtonsCreatedWithIdZeroGetConsecutiveFreshIds)
{
    PushButton first, second;
    ASSERT_TRUE(first.Create(parent.hwnd, 0, "one", 0, 0, 40, 20));
    ASSERT_TRUE(second.Create(parent.hwnd, 0, "two", 50, 0, 40, 20));
    EXPECT_GE(first.id, 900);
    EXPECT_EQ(first.id + 1, second.id);
    EXPECT_EQ(first.id, GetDlgCtrlID(first.hwnd));
    EXPECT_EQ(second.id, GetDlgCtrlID(second.hwnd));
    // A new creation with id 0 draws again, even for an object that already had an id.
    const int before = first.id;
    DestroyWindow(first.hwnd);
    ASSERT_TRUE(first.Create(parent.hwnd, 0, "again", 0, 0, 40, 20));
    EXPECT_EQ(before + 2, first.id);
}

TEST_F(ButtonFixture, GivenIdIsTheChildIdAndObjectIsBound)
{
    PushButton button;
    ASSERT_TRUE(button.Create(parent.hwnd, 40001, "&Start", 2, 3, 60, 20));
    EXPECT_EQ(40001, button.id);
    EXPECT_EQ(40001, GetDlgCtrlID(button.hwnd));
    EXPECT_EQ(parent.hwnd, GetParent(button.hwnd));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&button), GetWindowLongPtrA(button.hwnd, GWLP_USERDATA));
    char className[16] = "";
    GetClassNameA(button.hwnd, className, sizeof(className));
    EXPECT_STREQ("Button", className);
    EXPECT_EQ(static_cast<LONG_PTR>(WS_CHILD | WS_VISIBLE),
              GetWindowLongPtrA(button.hwnd, GWL_STYLE) & (WS_CHILD | WS_VISIBLE | 0xF));
}

TEST_F(ButtonFixture, ExistingChildWithTheSameIdIsAdoptedNotDuplicated)
{
    HWND existing = CreateWindowExA(0, "BUTTON", "from template", WS_CHILD | WS_VISIBLE, 10, 10, 80, 25, parent.hwnd,
                                    reinterpret_cast<HMENU>(IDOK), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, existing);
    const int childrenBefore = ChildCount();
    PushButton button;
    ASSERT_TRUE(button.Create(parent.hwnd, IDOK, "&Ok", 100, 100, 40, 20));
    EXPECT_EQ(existing, button.hwnd);
    EXPECT_EQ(childrenBefore, ChildCount());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&button), GetWindowLongPtrA(existing, GWLP_USERDATA));
    // Text and place stay as the template made them.
    char text[32] = "";
    GetWindowTextA(existing, text, sizeof(text));
    EXPECT_STREQ("from template", text);
    RECT place;
    GetWindowRect(existing, &place);
    MapWindowPoints(nullptr, parent.hwnd, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(10, place.left);
    EXPECT_EQ(10, place.top);
    EXPECT_EQ('O', button.mnemonic);
}

TEST_F(ButtonFixture, FailedCreationLeavesObjectUnattached)
{
    PushButton button;
    // A child window without a parent cannot be made.
    EXPECT_EQ(0, button.Create(nullptr, 555, "orphan", 0, 0, 40, 20));
    EXPECT_EQ(nullptr, button.hwnd);
    testing_support::CreationBlocker blocker("Button");
    ASSERT_TRUE(blocker.active());
    EXPECT_EQ(0, button.Create(parent.hwnd, 556, "blocked", 0, 0, 40, 20));
    EXPECT_EQ(nullptr, button.hwnd);
    EXPECT_EQ(nullptr, GetDlgItem(parent.hwnd, 556));
}

TEST_F(ButtonFixture, ReflectedClickCallsHandlerWithOwnId)
{
    PushButton button;
    ASSERT_TRUE(button.Create(parent.hwnd, 610, "click", 0, 0, 40, 20));
    // Without a handler nothing is handled.
    EXPECT_EQ(0, button.OnReflectedCommand(BN_CLICKED, 610));
    button.SetHandler(&parent, static_cast<Control::ClickHandler>(&ParentWindow::OnClick));
    EXPECT_EQ(0, button.OnReflectedCommand(BN_SETFOCUS, 610));
    EXPECT_EQ(0, parent.clicks);
    // The handler gets the button's own id, whatever the message said.
    EXPECT_EQ(1, button.OnReflectedCommand(BN_CLICKED, 9999));
    EXPECT_EQ(1, parent.clicks);
    EXPECT_EQ(610, parent.clickedId);
    // The base control never handles anything.
    Control plain;
    EXPECT_EQ(0, plain.OnReflectedCommand(BN_CLICKED, 1));
    EXPECT_EQ(0, plain.OnReflectedNotify(nullptr));
}

// Sees its window's messages through the subclass procedure and passes them on.
class SubclassedButton : public PushButton {
public:
    explicit SubclassedButton(int flag) : PushButton(flag) {}
    LRESULT SubclassProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_APP + 5)
            ++probes;
        return CallWindowProcA(original, hwnd, message, wParam, lParam);
    }
    WNDPROC original = nullptr;
    int probes = 0;
};

TEST_F(ButtonFixture, SubclassFlagInstallsControlProcedureOnceRecorded)
{
    WNDCLASSA buttonClass;
    ASSERT_TRUE(GetClassInfoA(nullptr, "BUTTON", &buttonClass));
    SubclassedButton button(1);
    button.original = buttonClass.lpfnWndProc;
    ASSERT_TRUE(button.Create(parent.hwnd, 620, "sub", 0, 0, 40, 20));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&Control::ControlSubclassProc),
              GetWindowLongPtrA(button.hwnd, GWLP_WNDPROC));
    SendMessageA(button.hwnd, WM_APP + 5, 0, 0);
    EXPECT_EQ(1, button.probes);
    WNDPROC recorded = Control::savedClassProcedure;
    EXPECT_NE(nullptr, recorded);

    // A second subclassing returns what it replaced but leaves the recorded procedure alone.
    SubclassedButton other(0);
    other.original = buttonClass.lpfnWndProc;
    ASSERT_TRUE(other.Create(parent.hwnd, 621, "plain", 50, 0, 40, 20));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(buttonClass.lpfnWndProc), GetWindowLongPtrA(other.hwnd, GWLP_WNDPROC));
    WNDPROC replaced = other.InstallSubclass(nullptr);
    EXPECT_EQ(GetWindowLongPtrA(button.hwnd, GWLP_WNDPROC), GetWindowLongPtrA(other.hwnd, GWLP_WNDPROC));
    EXPECT_NE(nullptr, replaced);
    EXPECT_EQ(recorded, Control::savedClassProcedure);
}

TEST_F(ButtonFixture, InstallSubclassOnDeadWindowDoesNothing)
{
    PushButton button;
    ASSERT_TRUE(button.Create(parent.hwnd, 630, "gone", 0, 0, 40, 20));
    WNDPROC recorded = Control::savedClassProcedure;
    DestroyWindow(parent.hwnd);
    parent.hwnd = nullptr;
    ASSERT_FALSE(IsWindow(button.hwnd));
    EXPECT_EQ(nullptr, button.InstallSubclass(nullptr));
    EXPECT_EQ(recorded, Control::savedClassProcedure);
    Control never;
    EXPECT_EQ(nullptr, never.InstallSubclass(nullptr));
}

TEST(ControlMissingCreate, DefaultCreateWarnsAndFails)
{
    Control plain;
    testing_support::MessageBoxWatcher watcher("App Error");
    EXPECT_EQ(0, plain.Create(nullptr, 1, "x", 0, 0, 10, 10));
    ASSERT_TRUE(watcher.Finish());
    bool hasText = false;
    for (const std::string& text : watcher.texts)
        hasText = hasText || text == "Missing Create";
    EXPECT_TRUE(hasText);
    EXPECT_EQ(nullptr, plain.hwnd);
}

TEST(ControlIds, NextControlIdTakesAndAdvancesTheCounter)
{
    Control a, b;
    const int first = a.NextControlId();
    EXPECT_EQ(first, a.id);
    EXPECT_EQ(first + 1, b.NextControlId());
    EXPECT_EQ(first + 1, b.id);
}

} // namespace
