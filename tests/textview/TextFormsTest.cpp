// Text stored as UTF-16 or UTF-8 loads as the same text stored in ANSI: the count, the lines and the bytes.
#include <gtest/gtest.h>

#include "ViewTestSupport.h"
#include "search/Matcher.h"
#include "search/SearchOptions.h"

namespace {

std::string Encode(UINT codePage, const std::wstring& text)
{
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int length = static_cast<int>(text.size());
    std::string bytes(static_cast<size_t>(length) * 4, '\0');
    bytes.resize(static_cast<size_t>(WideCharToMultiByte(codePage, flags, text.data(), length, &bytes[0],
                                                         static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

std::string Utf16(const std::wstring& text, bool bigEndian)
{
    std::string bytes;
    for (wchar_t unit : L"\xFEFF" + text) {
        const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

class TextFormsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!AnsiText::SingleByte())
            GTEST_SKIP() << "files are searched as their bytes where the code page is multi-byte";
    }
    void TearDown() override
    {
        searchOptions.searchText[0] = '\0';
        searchOptions.caseSensitive = 0;
    }

    // Loads the bytes as a file with the search text given and checks the count and the text loaded.
    void ExpectLoadedAs(const std::string& bytes, const std::string& search, int caseSensitive, DWORD count,
                        const std::string& text, const std::string& form)
    {
        TempFolder folder;
        lstrcpynA(searchOptions.searchText, search.c_str(), kSearchTextSize);
        if (!caseSensitive)
            FoldCase(searchOptions.searchText);
        searchOptions.caseSensitive = caseSensitive;
        ProbeView view;
        view.useRealCount = 1;
        EXPECT_EQ(count ? 1 : -2, view.LoadFile(folder.Write("text.txt", bytes).c_str())) << form << ", " << search;
        EXPECT_EQ(count, view.matchCount) << form << ", " << search;
        if (count)
            EXPECT_EQ(text, std::string(view.buffer, view.bytesRead)) << form << ", " << search;
    }
};

TEST_F(TextFormsTest, FiveFormsOfOneTextGiveTheSameCountLinesAndBytes)
{
    const std::wstring text = L"Gr\x00F6\x00DF" L"e und Caf\x00E9\r\nthe enc-needle sits here";
    const std::string ansi = Encode(CP_ACP, text);
    if (ansi.find('?') != std::string::npos)
        GTEST_SKIP() << "the code page lacks the letters";
    const struct {
        const char* form;
        std::string bytes;
    } forms[] = {
        {"ANSI", ansi},
        {"UTF-16 LE", Utf16(text, false)},
        {"UTF-16 BE", Utf16(text, true)},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + Encode(CP_UTF8, text)},
        {"UTF-8", Encode(CP_UTF8, text)},
    };
    // An ASCII text may count unmarked UTF-8 before converting it; one beyond ASCII may not.
    const std::string capitals = Encode(CP_ACP, L"GR\x00D6\x00DF" L"E");
    for (const auto& form : forms) {
        ExpectLoadedAs(form.bytes, "enc-needle", 1, 1, ansi, form.form);
        ExpectLoadedAs(form.bytes, capitals, 0, 1, ansi, form.form);
        ExpectLoadedAs(form.bytes, capitals, 1, 0, ansi, form.form);
        TempFolder folder;
        ProbeView view;
        ASSERT_EQ(1, view.LoadFile(folder.Write("lines.txt", form.bytes).c_str()));
        EXPECT_EQ((std::vector<std::string>{ansi.substr(0, ansi.find('\r')), "the enc-needle sits here"}),
                  AllLines(view))
            << form.form;
    }
}

TEST_F(TextFormsTest, ACharacterTheCodePageLacksIsNeverALookAlikeAndNoPartSplitsACharacter)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the letters below are those of code page 1252";
    // Ł and ź have look-alikes L and z in the code page, which must not stand in for them.
    const std::wstring city = L"\x0141\x00F3" L"d\x017A";
    for (const std::string& bytes : {Utf16(city, false), Encode(CP_UTF8, city)}) {
        ExpectLoadedAs(bytes, "L\xF3" "dz", 0, 0, "", "no look-alike");
        ExpectLoadedAs(bytes, "?", 1, 2, "?\xF3" "d?", "the default character");
    }

    // The conversion goes a part at a time: a surrogate pair and a UTF-8 sequence across the first part's end.
    const std::wstring text = std::wstring(32767, L'x') + L"\xD83D\xDE00\x00E9 needle";
    const std::string ansi = Encode(CP_ACP, text);
    ExpectLoadedAs(Utf16(text, false), "needle", 1, 1, ansi, "UTF-16 in parts");
    ExpectLoadedAs(Encode(CP_UTF8, text), "\xE9 needle", 1, 1, ansi, "UTF-8 in parts");
}

} // namespace
