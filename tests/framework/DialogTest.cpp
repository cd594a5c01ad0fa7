// Dialog objects: binding at WM_INITDIALOG, nothing answered before it, a fresh binding on every run.
#include <gtest/gtest.h>

#include <vector>

#include "framework/Dialog.h"

namespace {

constexpr UINT kFinish = WM_APP + 1;

// Ends itself as soon as it is shown, with a result of its own.
class ProbeDialog : public Dialog {
public:
    INT_PTR DlgProc(UINT message, WPARAM, LPARAM lParam) override
    {
        seen.push_back(message);
        if (message == WM_INITDIALOG) {
            boundHandles.push_back(hwnd);
            initParam = lParam;
            userWord = GetWindowLongPtrA(hwnd, DWLP_USER);
            PostMessageA(hwnd, kFinish, 0, 0);
            return TRUE;
        }
        if (message == kFinish) {
            EndDialog(hwnd, result);
            return TRUE;
        }
        return FALSE;
    }
    std::vector<UINT> seen;
    std::vector<HWND> boundHandles;
    LPARAM initParam = 0;
    LONG_PTR userWord = 0;
    INT_PTR result = 42;
};

// An in-memory template: a small popup with a font, so WM_SETFONT comes before WM_INITDIALOG.
struct DialogTemplate {
    alignas(4) WORD words[64] = {};

    DialogTemplate()
    {
        DLGTEMPLATE* header = reinterpret_cast<DLGTEMPLATE*>(words);
        header->style = WS_POPUP | WS_CAPTION | DS_SETFONT | DS_MODALFRAME;
        header->cdit = 0;
        header->cx = 100;
        header->cy = 50;
        WORD* p = words + sizeof(DLGTEMPLATE) / sizeof(WORD);
        *p++ = 0; // no menu
        *p++ = 0; // the dialog class
        for (const char* title = "Probe"; *title; ++title)
            *p++ = static_cast<WORD>(*title);
        *p++ = 0;
        *p++ = 8; // point size
        for (const char* face = "MS Shell Dlg"; *face; ++face)
            *p++ = static_cast<WORD>(*face);
        *p++ = 0;
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words); }
};

struct EarlyMessage {
    UINT message;
    INT_PTR answer;
};
std::vector<EarlyMessage> earlyMessages;
bool initSeen = false;

// Sits in front of the framework's procedure and notes what it answered before the binding.
INT_PTR CALLBACK SpyProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        initSeen = true;
    INT_PTR answer = Dialog::StaticDlgProc(dialog, message, wParam, lParam);
    if (!initSeen)
        earlyMessages.push_back({message, answer});
    return answer;
}

TEST(DialogBinding, MessagesBeforeInitDialogAreAnsweredZeroAndNeverReachTheObject)
{
    DialogTemplate dialogTemplate;
    ProbeDialog probe;
    earlyMessages.clear();
    initSeen = false;
    const INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate.get(), nullptr, SpyProc,
                                                   reinterpret_cast<LPARAM>(&probe));
    EXPECT_EQ(42, result);
    ASSERT_TRUE(initSeen);
    ASSERT_FALSE(earlyMessages.empty());
    bool sawSetFont = false;
    for (const EarlyMessage& early : earlyMessages) {
        SCOPED_TRACE(early.message);
        EXPECT_EQ(0, early.answer);
        sawSetFont = sawSetFont || early.message == WM_SETFONT;
    }
    EXPECT_TRUE(sawSetFont);
    ASSERT_FALSE(probe.seen.empty());
    EXPECT_EQ(static_cast<UINT>(WM_INITDIALOG), probe.seen.front());
    EXPECT_EQ(reinterpret_cast<LPARAM>(&probe), probe.initParam);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&probe), probe.userWord);
}

TEST(DialogBinding, EachRunBindsAfreshAndHandleKeepsTheLastDialog)
{
    DialogTemplate dialogTemplate;
    ProbeDialog probe;
    EXPECT_EQ(nullptr, probe.hwnd);
    probe.result = 7;
    EXPECT_EQ(7, DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate.get(), nullptr,
                                         Dialog::StaticDlgProc, reinterpret_cast<LPARAM>(&probe)));
    probe.result = 8;
    EXPECT_EQ(8, DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate.get(), nullptr,
                                         Dialog::StaticDlgProc, reinterpret_cast<LPARAM>(&probe)));
    ASSERT_EQ(2u, probe.boundHandles.size());
    EXPECT_NE(nullptr, probe.boundHandles[0]);
    EXPECT_NE(nullptr, probe.boundHandles[1]);
    // The handle stays after the dialog has ended: the second dialog's.
    EXPECT_EQ(probe.boundHandles[1], probe.hwnd);
    EXPECT_FALSE(IsWindow(probe.hwnd));
}

TEST(DialogBinding, MissingTemplateRunsToMinusOne)
{
    ProbeDialog probe;
    EXPECT_EQ(-1, probe.RunModal(31999, nullptr));
    EXPECT_TRUE(probe.seen.empty());
    EXPECT_EQ(nullptr, probe.hwnd);
}

} // namespace
