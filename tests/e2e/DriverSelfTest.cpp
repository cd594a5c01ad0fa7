// The end-to-end driver against its own sample target: every primitive the product tests rely on.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SampleTargetIds.h"
#include "driver/AppProcess.h"
#include "driver/Artifacts.h"
#include "driver/ClipboardAccess.h"
#include "driver/Controls.h"
#include "driver/HostPaths.h"
#include "driver/Keyboard.h"
#include "driver/Mouse.h"
#include "driver/PngEncoder.h"
#include "driver/RemoteStatusBar.h"
#include "driver/ScreenImage.h"
#include "driver/UnixCommand.h"
#include "driver/UserRegistry.h"
#include "driver/WindowQuery.h"
#include "driver/WindowState.h"
#include "driver/XdoTool.h"

using namespace e2e;

namespace {

const char kScratchKey[] = "Software\\Ovelund Freeware\\Seekword E2E Scratch";
const COLORREF kBlockColour = RGB(SAMPLE_BLOCK_RED, SAMPLE_BLOCK_GREEN, SAMPLE_BLOCK_BLUE);

bool WaitForPart(const RemoteStatusBar& bar, int part, const std::string& expected)
{
    return WaitUntil([&] { return bar.PartText(part) == expected; });
}

class SampleTargetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(UserRegistry::DeleteKey(SAMPLE_REGISTRY_KEY));
        ASSERT_TRUE(app.Start(SAMPLE_TARGET_EXE)) << app.Failure();
        main = app.WaitForTopWindow(SAMPLE_CLASS, SAMPLE_TITLE);
        ASSERT_NE(nullptr, main);
        status = RemoteStatusBar::WaitFor(main);
        ASSERT_TRUE(status.IsValid());
        // Fully up once the status bar has its texts.
        ASSERT_TRUE(WaitForPart(status, 2, "\t\tRight"));
    }

    std::string Part(int i) const { return status.PartText(i); }

    AppProcess app;
    HWND main = nullptr;
    RemoteStatusBar status = RemoteStatusBar::OfWindow(nullptr);
};

// Reads back what PngEncoder wrote, checking every structure a decoder relies on.
struct DecodedPng {
    bool ok = false;
    std::string failure;
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> raw;  // filter byte + RGB per row
};

uint32_t BigEndian(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

DecodedPng DecodeStoredPng(const std::vector<uint8_t>& png)
{
    DecodedPng result;
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 8 || memcmp(png.data(), signature, 8) != 0) {
        result.failure = "signature";
        return result;
    }
    std::vector<uint8_t> zlib;
    size_t at = 8;
    bool ended = false;
    while (at + 12 <= png.size() && !ended) {
        const uint32_t length = BigEndian(&png[at]);
        if (at + 12 + length > png.size()) {
            result.failure = "chunk length";
            return result;
        }
        const std::string type(reinterpret_cast<const char*>(&png[at + 4]), 4);
        if (PngEncoder::Crc32(&png[at + 4], 4 + length) != BigEndian(&png[at + 8 + length])) {
            result.failure = "crc of " + type;
            return result;
        }
        const uint8_t* data = &png[at + 8];
        if (type == "IHDR") {
            result.width = BigEndian(data);
            result.height = BigEndian(data + 4);
            if (length != 13 || data[8] != 8 || data[9] != 2 || data[12] != 0) {
                result.failure = "header";
                return result;
            }
        } else if (type == "IDAT") {
            zlib.insert(zlib.end(), data, data + length);
        } else if (type == "IEND") {
            ended = true;
        }
        at += 12 + length;
    }
    if (!ended || zlib.size() < 6 || ((zlib[0] << 8) | zlib[1]) % 31 != 0) {
        result.failure = "stream";
        return result;
    }
    size_t z = 2;
    bool last = false;
    while (!last) {
        if (z + 5 > zlib.size() || (zlib[z] & 0x06) != 0) {
            result.failure = "block header";
            return result;
        }
        last = zlib[z] & 1;
        const uint16_t len = uint16_t(zlib[z + 1] | (zlib[z + 2] << 8));
        const uint16_t nlen = uint16_t(zlib[z + 3] | (zlib[z + 4] << 8));
        if (uint16_t(~nlen) != len || z + 5 + len > zlib.size()) {
            result.failure = "block length";
            return result;
        }
        result.raw.insert(result.raw.end(), zlib.begin() + z + 5, zlib.begin() + z + 5 + len);
        z += 5 + len;
    }
    if (z + 4 != zlib.size() || BigEndian(&zlib[z]) != PngEncoder::Adler32(result.raw.data(), result.raw.size())) {
        result.failure = "adler";
        return result;
    }
    if (result.raw.size() != size_t(result.height) * (1 + 3 * size_t(result.width))) {
        result.failure = "size";
        return result;
    }
    result.ok = true;
    return result;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

TEST(AppProcessTest, StartsWithArgumentsAndFolderAndFailsClearlyForMissingProgram)
{
    AppProcess app;
    const std::string folder = ToWindowsPath(ArtifactFolder());
    ASSERT_TRUE(app.Start(SAMPLE_TARGET_EXE, "--title \"Other Title\"", folder)) << app.Failure();
    HWND main = app.WaitForTopWindow(SAMPLE_CLASS, "Other Title");
    ASSERT_NE(nullptr, main);
    EXPECT_EQ("Other Title", StoredTitle(main));
    EXPECT_EQ("Other Title", WindowText(main));
    BOOL inJob = FALSE;
    ASSERT_TRUE(IsProcessInJob(app.Handle(), app.Job(), &inJob));
    EXPECT_TRUE(inJob);
    // Lookups limited to the process do not see another process's windows.
    EXPECT_EQ(nullptr, FindTopWindow(SAMPLE_CLASS, nullptr, GetCurrentProcessId()));
    EXPECT_EQ(main, FindTopWindow(SAMPLE_CLASS, nullptr, app.Id()));
    std::string shown = WindowText(GetDlgItem(main, IDC_FOLDER));
    while (shown.size() > 3 && shown.back() == '\\')
        shown.pop_back();
    std::string expected = folder;
    while (expected.size() > 3 && expected.back() == '\\')
        expected.pop_back();
    EXPECT_EQ(0, lstrcmpiA(expected.c_str(), shown.c_str())) << expected << " vs " << shown;

    AppProcess missing;
    EXPECT_FALSE(missing.Start(ArtifactPath("no-such-program.exe")));
    EXPECT_NE(std::string::npos, missing.Failure().find("no-such-program.exe"));
    EXPECT_FALSE(missing.IsRunning());
}

TEST(AppProcessTest, EndingTheDriverEndsTheProgramAndExitCodesAreReported)
{
    HANDLE watched = nullptr;
    HWND main = nullptr;
    {
        AppProcess app;
        ASSERT_TRUE(app.Start(SAMPLE_TARGET_EXE)) << app.Failure();
        main = app.WaitForTopWindow(SAMPLE_CLASS, SAMPLE_TITLE);
        ASSERT_NE(nullptr, main);
        watched = OpenProcess(SYNCHRONIZE, FALSE, app.Id());
        ASSERT_NE(nullptr, watched);
    }
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(watched, 0));
    CloseHandle(watched);
    EXPECT_TRUE(WaitForWindowGone(main));

    AppProcess app;
    ASSERT_TRUE(app.Start(SAMPLE_TARGET_EXE)) << app.Failure();
    main = app.WaitForTopWindow(SAMPLE_CLASS, SAMPLE_TITLE);
    ASSERT_NE(nullptr, main);
    EXPECT_TRUE(app.IsRunning());
    DWORD code = 0;
    EXPECT_FALSE(app.WaitForExit(50, &code));
    ASSERT_TRUE(ClickButton(ButtonByText(main, "E&xit")));
    ASSERT_TRUE(app.WaitForExit(kWaitMs, &code));
    EXPECT_EQ(DWORD(SAMPLE_EXIT_CODE), code);
    EXPECT_FALSE(app.IsRunning());
    EXPECT_TRUE(WaitForWindowGone(main));
}

TEST_F(SampleTargetTest, StatusPartsKeepTheirTabsAndWidthsAcrossResize)
{
    ASSERT_EQ(3, status.PartCount());
    EXPECT_EQ("Ready", Part(0));
    EXPECT_EQ("\tCentre", Part(1));
    EXPECT_EQ("\t\tRight", Part(2));
    // The status window's own caption says nothing about its parts.
    EXPECT_EQ("stale caption", StoredTitle(status.Handle()));
    std::string beyond;
    EXPECT_TRUE(status.ReadPart(5, &beyond));
    EXPECT_EQ("", beyond);

    RECT client = {};
    GetClientRect(main, &client);
    std::vector<int> edges = status.PartEdges();
    ASSERT_EQ(3u, edges.size());
    EXPECT_EQ(client.right - SAMPLE_PART2_WIDTH - SAMPLE_PART1_WIDTH, edges[0]);
    EXPECT_EQ(client.right - SAMPLE_PART2_WIDTH, edges[1]);
    EXPECT_EQ(-1, edges[2]);

    ASSERT_TRUE(MoveAndSize(main, SAMPLE_X, SAMPLE_Y, SAMPLE_WIDTH + 150, SAMPLE_HEIGHT));
    ASSERT_TRUE(WaitUntil([&] { return status.PartEdges().size() == 3 && status.PartEdges()[0] == edges[0] + 150; }));
    std::vector<int> wider = status.PartEdges();
    EXPECT_EQ(edges[1] - edges[0], wider[1] - wider[0]);
    EXPECT_EQ("\tCentre", Part(1));
}

TEST_F(SampleTargetTest, ButtonsControlsAndRegistryValuesTheProgramWrites)
{
    HWND registry = ButtonByText(main, "&Registry");
    HWND disabled = ButtonByText(main, "Disabled");
    ASSERT_NE(nullptr, registry);
    ASSERT_NE(nullptr, disabled);
    EXPECT_EQ(nullptr, ButtonByText(main, "Registry"));
    EXPECT_TRUE(IsEnabledNow(registry));
    EXPECT_FALSE(IsEnabledNow(disabled));
    EXPECT_TRUE(IsShownNow(registry));
    EXPECT_EQ(static_cast<int>(GetDlgCtrlID(registry)), IDB_REGISTRY);

    HWND edit = GetDlgItem(main, IDC_MAIN_EDIT);
    ASSERT_TRUE(SetControlText(edit, "typed by the driver"));
    EXPECT_EQ("typed by the driver", WindowText(edit));

    ASSERT_TRUE(ClickButton(registry));
    ASSERT_TRUE(WaitForPart(status, 0, "Stored"));
    DWORD counter = 0;
    ASSERT_TRUE(UserRegistry::ReadDword(SAMPLE_REGISTRY_KEY, "Counter", &counter));
    EXPECT_EQ(1u, counter);
    std::string text;
    ASSERT_TRUE(UserRegistry::ReadString(SAMPLE_REGISTRY_KEY, "Text", &text));
    EXPECT_EQ("typed by the driver", text);
    RegistryValue blob;
    ASSERT_TRUE(UserRegistry::Read(SAMPLE_REGISTRY_KEY, "Blob", &blob));
    EXPECT_EQ(DWORD(REG_BINARY), blob.type);
    EXPECT_EQ((std::vector<BYTE>{0x00, 0x01, 0x02, 0xFE, 0xFF}), blob.data);

    // The program reads what the driver stores.
    ASSERT_TRUE(UserRegistry::WriteDword(SAMPLE_REGISTRY_KEY, "Counter", 41));
    ASSERT_TRUE(ClickDlgItem(main, IDB_REGISTRY));
    ASSERT_TRUE(WaitUntil([&] { return UserRegistry::ReadDword(SAMPLE_REGISTRY_KEY, "Counter", &counter) && counter == 42; }));
}

TEST_F(SampleTargetTest, ModalDialogIsDrivenThroughItsControls)
{
    ASSERT_TRUE(PostClickButton(ButtonByText(main, "&Dialog")));
    HWND dialog = WaitForTopWindow("#32770", SAMPLE_DIALOG_TITLE, app.Id());
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(WaitUntil([&] { return !IsEnabledNow(main); }));
    EXPECT_EQ("initial", DlgItemText(dialog, IDC_DLG_EDIT));
    HWND combo = GetDlgItem(dialog, IDC_DLG_COMBO);
    EXPECT_EQ((std::vector<std::string>{"alpha", "beta", "gamma"}), ComboItems(combo));
    EXPECT_EQ(0, ComboSelection(combo));
    ASSERT_TRUE(SelectComboItem(combo, 2));
    EXPECT_FALSE(SelectComboItem(combo, 7));
    EXPECT_FALSE(IsChecked(dialog, IDC_DLG_FLAG));
    ASSERT_TRUE(SetChecked(dialog, IDC_DLG_FLAG, true));
    EXPECT_TRUE(IsChecked(dialog, IDC_DLG_FLAG));
    ASSERT_TRUE(SetDlgItemTextTo(dialog, IDC_DLG_EDIT, "from the test"));
    ASSERT_TRUE(ClickDlgItem(dialog, IDOK));
    ASSERT_TRUE(WaitForWindowGone(dialog));
    EXPECT_TRUE(WaitForPart(status, 0, "Dialog OK: from the test flag=1 pick=gamma")) << Part(0);
    EXPECT_TRUE(WaitUntil([&] { return IsEnabledNow(main); }));

    ASSERT_TRUE(PostClickDlgItem(main, IDB_DIALOG));
    dialog = WaitForTopWindow("#32770", SAMPLE_DIALOG_TITLE, app.Id());
    ASSERT_NE(nullptr, dialog);
    EXPECT_FALSE(IsChecked(dialog, IDC_DLG_FLAG));
    ASSERT_TRUE(PostClickDlgItem(dialog, IDCANCEL));
    ASSERT_TRUE(WaitForWindowGone(dialog));
    EXPECT_TRUE(WaitForPart(status, 0, "Dialog cancelled")) << Part(0);
}

TEST_F(SampleTargetTest, SendInputReachesAcceleratorsAndTheFocusedEdit)
{
    HWND edit = GetDlgItem(main, IDC_MAIN_EDIT);
    ASSERT_TRUE(BringToFront(main));
    EXPECT_EQ(main, ActiveOf(main));
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(main) == edit; }));

    ASSERT_TRUE(PressKey('K', kAlt));
    EXPECT_TRUE(WaitForPart(status, 0, "Command 301")) << Part(0);
    ASSERT_TRUE(PressKey('L', kCtrl));
    EXPECT_TRUE(WaitForPart(status, 0, "Command 302")) << Part(0);
    ASSERT_TRUE(PressKey(VK_F5));
    EXPECT_TRUE(WaitForPart(status, 0, "Command 303")) << Part(0);

    ASSERT_TRUE(TypeText("Hello, World 42!"));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == "Hello, World 42!"; })) << WindowText(edit);
    // No modifier is left down: a plain key after the chords types a plain letter.
    ASSERT_TRUE(PressKey('Q'));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == "Hello, World 42!q"; })) << WindowText(edit);
}

TEST_F(SampleTargetTest, MouseClicksLandAtScreenPositions)
{
    ASSERT_TRUE(ClickInClient(main, 200, 250));
    EXPECT_TRUE(WaitForPart(status, 1, "\tClick 200,250")) << Part(1);
    POINT at = ClientToScreenPoint(main, 37, 301);
    ASSERT_TRUE(ClickAt(at.x, at.y));
    EXPECT_TRUE(WaitForPart(status, 1, "\tClick 37,301")) << Part(1);

    // A click on a button takes the focus there and runs the button.
    HWND copy = ButtonByText(main, "&Copy");
    RECT rect = WindowRectOf(copy);
    ASSERT_TRUE(ClipboardAccess::Clear());
    ASSERT_TRUE(ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
    EXPECT_TRUE(WaitForPart(status, 0, "Copied")) << Part(0);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(main) == copy; }));
}

TEST_F(SampleTargetTest, ClipboardTextIsReadExactly)
{
    ASSERT_TRUE(ClipboardAccess::PutText("the driver's own"));
    std::string text;
    ASSERT_TRUE(ClipboardAccess::ReadText(&text));
    EXPECT_EQ("the driver's own", text);

    const DWORD seen = ClipboardAccess::Sequence();
    ASSERT_TRUE(ClickButton(ButtonByText(main, "&Copy")));
    ASSERT_TRUE(ClipboardAccess::WaitForChange(seen));
    ASSERT_TRUE(ClipboardAccess::WaitUntilFree());
    ASSERT_TRUE(ClipboardAccess::ReadText(&text));
    EXPECT_EQ(SAMPLE_CLIPBOARD_TEXT, text);
    std::vector<char> raw;
    ASSERT_TRUE(ClipboardAccess::ReadRaw(CF_TEXT, &raw));
    const size_t length = strlen(SAMPLE_CLIPBOARD_TEXT);
    ASSERT_GT(raw.size(), length);
    EXPECT_EQ(0, memcmp(raw.data(), SAMPLE_CLIPBOARD_TEXT, length + 1));

    ASSERT_TRUE(ClipboardAccess::Clear());
    EXPECT_FALSE(ClipboardAccess::HasFormat(CF_TEXT));
    EXPECT_FALSE(ClipboardAccess::ReadText(&text, 200));
}

TEST(UserRegistryTest, RawTypesAndSizesRoundTripAndDeletesAreIdempotent)
{
    const std::string key = kScratchKey;
    const std::string sub = key + "\\Inner";
    ASSERT_TRUE(UserRegistry::DeleteKey(key));
    EXPECT_FALSE(UserRegistry::KeyExists(key));

    ASSERT_TRUE(UserRegistry::Write(key, "Unterminated", REG_SZ, "abc", 3));
    RegistryValue value;
    ASSERT_TRUE(UserRegistry::Read(key, "Unterminated", &value));
    EXPECT_EQ(DWORD(REG_SZ), value.type);
    EXPECT_EQ((std::vector<BYTE>{'a', 'b', 'c'}), value.data);
    std::string text;
    ASSERT_TRUE(UserRegistry::ReadString(key, "Unterminated", &text));
    EXPECT_EQ("abc", text);

    ASSERT_TRUE(UserRegistry::WriteString(key, "Terminated", "xyz"));
    ASSERT_TRUE(UserRegistry::Read(key, "Terminated", &value));
    EXPECT_EQ(4u, value.data.size());
    ASSERT_TRUE(UserRegistry::Write(key, "Empty", REG_BINARY, nullptr, 0));
    ASSERT_TRUE(UserRegistry::Read(key, "Empty", &value));
    EXPECT_EQ(DWORD(REG_BINARY), value.type);
    EXPECT_TRUE(value.data.empty());

    ASSERT_TRUE(UserRegistry::WriteDword(key, "Number", 0xDEADBEEF));
    DWORD number = 0;
    ASSERT_TRUE(UserRegistry::ReadDword(key, "Number", &number));
    EXPECT_EQ(0xDEADBEEFu, number);
    EXPECT_FALSE(UserRegistry::ReadDword(key, "Terminated", &number));
    EXPECT_FALSE(UserRegistry::ReadString(key, "Number", &text));
    EXPECT_FALSE(UserRegistry::Read(key, "Missing", &value));

    std::vector<std::string> names = UserRegistry::ValueNames(key);
    EXPECT_EQ(4u, names.size());
    ASSERT_TRUE(UserRegistry::DeleteValue(key, "Number"));
    EXPECT_FALSE(UserRegistry::ValueExists(key, "Number"));
    EXPECT_TRUE(UserRegistry::DeleteValue(key, "Number"));

    ASSERT_TRUE(UserRegistry::WriteDword(sub, "Deep", 1));
    ASSERT_TRUE(UserRegistry::DeleteKey(key));
    EXPECT_FALSE(UserRegistry::KeyExists(sub));
    EXPECT_FALSE(UserRegistry::KeyExists(key));
    EXPECT_TRUE(UserRegistry::DeleteKey(key));
    EXPECT_TRUE(UserRegistry::DeleteValue(key, "Number"));
}

TEST_F(SampleTargetTest, ScreenshotShowsThePaintedBlockAndIsSavedAsPng)
{
    ASSERT_TRUE(BringToFront(main));
    ScreenImage shot;
    const RECT window = WindowRectOf(main);
    const POINT block = ClientToScreenPoint(main, SAMPLE_BLOCK_LEFT, SAMPLE_BLOCK_TOP);
    // The block is there once the window has painted.
    ASSERT_TRUE(WaitUntil([&] {
        shot = ScreenImage::CaptureWindow(main);
        return shot.CountColour(kBlockColour) == SAMPLE_BLOCK_WIDTH * SAMPLE_BLOCK_HEIGHT;
    }));
    EXPECT_EQ(window.right - window.left, shot.Width());
    EXPECT_EQ(window.bottom - window.top, shot.Height());
    POINT found = {};
    RECT all = {0, 0, shot.Width(), shot.Height()};
    ASSERT_TRUE(shot.FindColour(kBlockColour, all, &found));
    EXPECT_EQ(block.x - window.left, found.x);
    EXPECT_EQ(block.y - window.top, found.y);
    RECT inner = {found.x, found.y, found.x + SAMPLE_BLOCK_WIDTH, found.y + SAMPLE_BLOCK_HEIGHT};
    EXPECT_EQ(kBlockColour, shot.DominantColour(inner));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), shot.Pixel(found.x - 2, found.y - 2));
    EXPECT_EQ(CLR_INVALID, shot.Pixel(-1, 0));
    for (uint32_t p : shot.Pixels())
        ASSERT_EQ(0xFF000000u, p & 0xFF000000u);

    // The whole screen and a bare rectangle show the same pixels where the block is.
    ScreenImage screen = ScreenImage::CaptureScreen();
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), screen.Width());
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), screen.Height());
    EXPECT_EQ(kBlockColour, screen.Pixel(block.x + 3, block.y + 3));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), screen.Pixel(block.x - 3, block.y - 3));
    RECT blockRect = {block.x, block.y, block.x + SAMPLE_BLOCK_WIDTH, block.y + SAMPLE_BLOCK_HEIGHT};
    ScreenImage bare = ScreenImage::CaptureRect(blockRect);
    EXPECT_EQ(SAMPLE_BLOCK_WIDTH * SAMPLE_BLOCK_HEIGHT, bare.CountColour(kBlockColour));
    EXPECT_EQ(blockRect.left, bare.ScreenArea().left);
    EXPECT_TRUE(ScreenImage::CaptureRect(RECT{10, 10, 10, 20}).IsEmpty());

    const std::string path = ArtifactPath("sample-target.png");
    DeleteFileA(path.c_str());
    ASSERT_TRUE(shot.SavePng(path));
    DecodedPng decoded = DecodeStoredPng(ReadFileBytes(path));
    ASSERT_TRUE(decoded.ok) << decoded.failure;
    EXPECT_EQ(uint32_t(shot.Width()), decoded.width);
    EXPECT_EQ(uint32_t(shot.Height()), decoded.height);
    const size_t row = 1 + 3 * size_t(decoded.width);
    const uint8_t* pixel = &decoded.raw[size_t(found.y) * row + 1 + 3 * size_t(found.x)];
    EXPECT_EQ(SAMPLE_BLOCK_RED, pixel[0]);
    EXPECT_EQ(SAMPLE_BLOCK_GREEN, pixel[1]);
    EXPECT_EQ(SAMPLE_BLOCK_BLUE, pixel[2]);

    // A real decoder agrees.
    std::string identified;
    ASSERT_EQ(0, UnixCommand::Run({"identify", "-format", "%w %h", ToUnixPath(path)}, &identified)) << identified;
    EXPECT_EQ(std::to_string(shot.Width()) + " " + std::to_string(shot.Height()), identified);
}

TEST(PngEncoderTest, ChecksumsMatchKnownValuesAndLargeImagesSpanSeveralBlocks)
{
    const uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(0xCBF43926u, PngEncoder::Crc32(digits, sizeof(digits)));
    EXPECT_EQ(PngEncoder::Crc32(digits, sizeof(digits)), PngEncoder::Crc32(digits + 4, 5, PngEncoder::Crc32(digits, 4)));
    const uint8_t word[] = {'W', 'i', 'k', 'i', 'p', 'e', 'd', 'i', 'a'};
    EXPECT_EQ(0x11E60398u, PngEncoder::Adler32(word, sizeof(word)));
    EXPECT_EQ(1u, PngEncoder::Adler32(nullptr, 0));

    // 300 x 100 RGB rows are 90100 bytes: two stored blocks.
    RECT nowhere = {};
    ScreenImage image(300, 100, nowhere);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 300; ++x)
            image.SetPixel(x, y, RGB(x & 0xFF, y, x >> 8));
    DecodedPng decoded = DecodeStoredPng(PngEncoder::Encode(image));
    ASSERT_TRUE(decoded.ok) << decoded.failure;
    ASSERT_EQ(300u, decoded.width);
    ASSERT_EQ(100u, decoded.height);
    const size_t row = 1 + 3 * 300;
    for (int y = 0; y < 100; y += 7)
        for (int x = 0; x < 300; x += 13) {
            const uint8_t* p = &decoded.raw[size_t(y) * row + 1 + 3 * size_t(x)];
            ASSERT_EQ(image.Pixel(x, y), RGB(p[0], p[1], p[2])) << x << "," << y;
        }
    RECT region = {0, 0, 300, 100};
    EXPECT_EQ(1, image.CountColour(RGB(5, 3, 0), region));
    EXPECT_EQ(0, image.CountColour(RGB(5, 3, 0), RECT{6, 0, 300, 100}));
    EXPECT_LE(1, image.CountColour(RGB(5, 3, 0), RECT{-50, -50, 1000, 1000}, 1));
}

TEST(UnixCommandTest, RunsUnixProgramsWithQuotedArgumentsAndReportsExitCodes)
{
    ASSERT_TRUE(UnixCommand::Available());
    std::string output;
    const std::string awkward = "a \"b\" c\\ \\\"d\\";
    ASSERT_EQ(0, UnixCommand::Run({"/bin/sh", "-c", "printf '%s|%s' \"$0\" \"$1\"", awkward, "it's"}, &output));
    EXPECT_EQ(awkward + "|it's", output);
    EXPECT_EQ(3, UnixCommand::Run({"/bin/sh", "-c", "echo err >&2; exit 3"}, &output));
    EXPECT_EQ("err\n", output);
    EXPECT_NE(0, UnixCommand::Run({"/bin/sleep", "30"}, nullptr, 500));
    EXPECT_EQ("/tmp", ToUnixPath(ToWindowsPath("/tmp")));
}

TEST_F(SampleTargetTest, XdoToolGivesRealKeyPressesAndClicks)
{
    ASSERT_TRUE(XdoTool::Available());
    ASSERT_NE(0u, XdoTool::XWindowOf(main));
    ASSERT_TRUE(XdoTool::PressKeys(main, "alt+k"));
    EXPECT_TRUE(WaitForPart(status, 0, "Command 301")) << Part(0);
    ASSERT_TRUE(XdoTool::PressKeys(main, "ctrl+l"));
    EXPECT_TRUE(WaitForPart(status, 0, "Command 302")) << Part(0);
    HWND edit = GetDlgItem(main, IDC_MAIN_EDIT);
    ASSERT_TRUE(XdoTool::Type(main, "xdo Text"));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == "xdo Text"; })) << WindowText(edit);
    POINT at = ClientToScreenPoint(main, 123, 222);
    ASSERT_TRUE(XdoTool::ClickAt(at.x, at.y));
    EXPECT_TRUE(WaitForPart(status, 1, "\tClick 123,222")) << Part(1);
}
