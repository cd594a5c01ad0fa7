// The in-process program assembly for the window tests: registry redirection, temporary files, modal answers.
#include "ProgramFixture.h"

#include <commctrl.h>

#include <cstring>

#include "resources/ResourceIds.h"
#include "search/SearchOptions.h"

namespace apptest {

namespace {

const char kTestRoot[] = "Software\\SeekwordTests";
const char kSettingsPath[] = "Software\\Ovelund Freeware\\Seekword\\Settings";
constexpr UINT kTickMs = 20;

ModalResponder* activeResponder = nullptr;

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    char text[300] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

} // namespace

RedirectedRegistry::RedirectedRegistry()
{
    path = std::string(kTestRoot) + "\\App" + std::to_string(GetCurrentProcessId());
    RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        key = nullptr;
        return;
    }
    active = RegOverridePredefKey(HKEY_CURRENT_USER, key) == ERROR_SUCCESS;
}

RedirectedRegistry::~RedirectedRegistry()
{
    if (active)
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    if (key)
        RegCloseKey(key);
    RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, kTestRoot);  // only goes when no other test key is left
}

std::string SettingsValue(const char* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return "<missing>";
    DWORD type = 0;
    BYTE data[256] = {};
    DWORD size = sizeof data - 1;
    const LONG result = RegQueryValueExA(key, name, nullptr, &type, data, &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return "<missing>";
    if (type == REG_SZ)
        return reinterpret_cast<const char*>(data);
    if (type == REG_DWORD || (type == REG_BINARY && size == 1))
        return std::to_string(type == REG_DWORD ? *reinterpret_cast<const DWORD*>(data) : data[0]);
    return "<" + std::to_string(size) + " bytes>";
}

TempTree::TempTree()
{
    char base[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    path = std::string(base) + "seekword_app_" + std::to_string(GetCurrentProcessId()) + "_" +
           std::to_string(++counter);
    CreateDirectoryA(path.c_str(), nullptr);
}

TempTree::~TempTree()
{
    for (const std::string& file : files)
        DeleteFileA(file.c_str());
    RemoveDirectoryA(path.c_str());
}

std::string TempTree::Write(const std::string& relative, const std::string& bytes)
{
    const std::string file = path + "\\" + relative;
    HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, handle) << file;
    if (handle != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(handle);
    }
    for (const std::string& known : files)
        if (known == file)
            return file;
    files.push_back(file);
    return file;
}

std::vector<std::string> TempTree::WalkOrder() const
{
    std::vector<std::string> names;
    FolderWalker walker;
    walker.Begin((path + "\\*.*").c_str(), 0, 0);
    char found[FolderWalker::kOutputSize];
    while (walker.Next(found)) {
        const std::string name = NamePart(found);
        if (name != "." && name != "..")
            names.push_back(name);
    }
    return names;
}

ModalResponder::ModalResponder()
{
    activeResponder = this;
    timer = SetTimer(nullptr, 0, kTickMs, Tick);
}

ModalResponder::~ModalResponder()
{
    if (timer)
        KillTimer(nullptr, timer);
    if (activeResponder == this)
        activeResponder = nullptr;
}

void ModalResponder::Expect(const std::string& title, Action action)
{
    steps.push_back({title, std::move(action)});
}

void CALLBACK ModalResponder::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (activeResponder)
        activeResponder->Look();
}

void ModalResponder::Look()
{
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
        if (!IsWindowVisible(window) || (window == lastHandled && IsWindow(window)))
            continue;
        const std::string windowClass = ClassOf(window);
        std::string key;
        if (windowClass == "#32770")
            key = TextOf(window);
        else if (windowClass == kMessageWindowKey)
            key = kMessageWindowKey;
        else
            continue;
        lastHandled = window;
        if (next < steps.size() && steps[next].title == key) {
            Action action = steps[next].action;
            ++next;
            action(window);
        } else {
            unexpected.push_back(key);
            if (windowClass == "#32770")
                PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            else
                PostMessageA(window, WM_CLOSE, 0, 0);
        }
        return;
    }
}

ModalResponder::Action FillAndConfirm(const SearchEntry& entry)
{
    return [entry](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_SEARCHTEXT, entry.text.c_str());
        SetDlgItemTextA(dialog, IDC_LOCATION, entry.location.c_str());
        CheckDlgButton(dialog, IDC_CASESENSITIVE, entry.caseSensitive ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(dialog, IDC_SUBFOLDERS, entry.subfolders ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(dialog, IDC_ALLFILES, entry.allFiles ? BST_CHECKED : BST_UNCHECKED);
        for (int slot = 0; slot < kExtensionSlots; ++slot) {
            const bool used = slot < static_cast<int>(entry.extensions.size());
            CheckDlgButton(dialog, IDC_EXTCHECK1 + slot, used ? BST_CHECKED : BST_UNCHECKED);
            SetDlgItemTextA(dialog, IDC_EXTEDIT1 + slot, used ? entry.extensions[slot].c_str() : "");
        }
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    };
}

ModalResponder::Action PressCancel()
{
    return [](HWND dialog) { SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); };
}

ModalResponder::Action CloseNotFound()
{
    return [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); };
}

void ResetSearchOptions()
{
    std::memset(searchOptions.patternArea, 0, sizeof searchOptions.patternArea);
    searchOptions.caseSensitive = 0;
    searchOptions.criteriaConfirmed = 0;
    searchOptions.allFiles = 0;
    searchOptions.subfolders = 0;
    std::memset(searchOptions.extEnabled, 0, sizeof searchOptions.extEnabled);
    std::memset(searchOptions.extText, 0, sizeof searchOptions.extText);
    std::memset(typedSearchText, 0, sizeof typedSearchText);
}

std::string NamePart(const std::string& path)
{
    const size_t separator = path.find_last_of("\\/:");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

bool TakeQuit(WPARAM* code)
{
    MSG message;
    if (!PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return false;
    if (code)
        *code = message.wParam;
    return true;
}

void PumpMessages(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // Left for the test to see.
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

ProgramTest::ProgramTest()
    : appFrame(searchView, aboutWindow), searchView(buttonBar, statusBar, folderWalker, searchDialog),
      searchDialog(buttonBar)
{
}

void ProgramTest::SetUp()
{
    ASSERT_TRUE(registry.Active());
    TakeQuit();
    ResetSearchOptions();
    // As the entry point does it.
    searchView.SetTitleAndCursor(kProgramTitle, IDC_MARGIN_CURSOR);
    ASSERT_TRUE(buttonBar.Reserve(7));
    ASSERT_TRUE(statusBar.SetPartCount(3));
    statusBar.AddPart(80, 0);
    statusBar.AddPart(20, 0);
    statusBar.AddPart(12, 0);
    ASSERT_TRUE(appFrame.CreateFrame(searchView, buttonBar, statusBar));
    appFrame.Show(SW_SHOWNORMAL);
    MoveWindow(appFrame.hwnd, 20, 20, 800, 600, TRUE);
    PumpMessages(20);
    // The first-run defaults that showing the frame loaded are not what the tests start from.
    ResetSearchOptions();
}

void ProgramTest::TearDown()
{
    if (appFrame.hwnd && IsWindow(appFrame.hwnd))
        DestroyWindow(appFrame.hwnd);
    TakeQuit();
    folderWalker.Reset();
    EXPECT_TRUE(responder.AllAnswered()) << responder.Answered() << " windows answered";
    EXPECT_TRUE(responder.unexpected.empty()) << "unexpected window: " << responder.unexpected.front();
    ResetSearchOptions();
}

void ProgramTest::Start(const SearchEntry& entry)
{
    responder.Expect(kSearchTitle, FillAndConfirm(entry));
    Command(CMD_START);
}

std::string ProgramTest::Status(int part) const
{
    HWND bar = statusBar.hwnd;
    const LRESULT length = SendMessageA(bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0);
    std::string text(static_cast<size_t>(LOWORD(length)) + 1, '\0');
    SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(&text[0]));
    return text.c_str();
}

std::string ProgramTest::FrameTitle() const
{
    return TextOf(appFrame.hwnd);
}

} // namespace apptest
