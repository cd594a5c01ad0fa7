// Text stored as UTF-16 or UTF-8 loads as the same text stored in ANSI: the count, the lines and the bytes.
#include <gtest/gtest.h>

#include "ViewTestSupport.h"
#include "search/Matcher.h"
#include "search/SearchOptions.h"

namespace {

std::string Encode(UINT codePage, const std::wstring& text)
{
    std::string bytes(text.size() * 4, '\0');
    bytes.resize(static_cast<size_t>(WideCharToMultiByte(codePage, codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS,
                                                         text.data(), static_cast<int>(text.size()), &bytes[0],
                                                         static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

std::string Utf16(const std::wstring& text, bool bigEndian)
{
    std::string bytes;
    for (wchar_t unit : L"\xFEFF" + text) {
        bytes += static_cast<char>(bigEndian ? unit >> 8 : unit & 0xFF);
        bytes += static_cast<char>(bigEndian ? unit & 0xFF : unit >> 8);
    }
    return bytes;
}

// Loads bytes as a file searched for text; when it is a hit, expects the count and the ANSI text, and gives
// the lines.
std::vector<std::string> ExpectLoadedAs(const std::string& bytes, const std::string& text, int caseSensitive,
                                        DWORD count, const std::string& ansi)
{
    TempFolder folder;
    lstrcpynA(searchOptions.searchText, text.c_str(), kSearchTextSize);
    if (!caseSensitive)
        FoldCase(searchOptions.searchText);
    searchOptions.caseSensitive = caseSensitive;
    ProbeView view;
    view.useRealCount = 1;
    EXPECT_EQ(count ? 1 : -2, view.LoadFile(folder.Write("text.txt", bytes).c_str())) << text;
    EXPECT_EQ(count, view.matchCount) << text;
    if (count)
        EXPECT_EQ(ansi, std::string(view.buffer, view.bytesRead)) << text;
    searchOptions.searchText[0] = '\0';
    searchOptions.caseSensitive = 0;
    return AllLines(view);
}

TEST(TextForms, FiveFormsOfOneTextGiveTheSameCountLinesAndBytes)
{
    const std::wstring text = L"Gr\x00F6\x00DF" L"e und Caf\x00E9\r\nthe enc-needle sits here";
    const std::string ansi = Encode(CP_ACP, text);
    if (!AnsiText::SingleByte() || ansi.find('?') != std::string::npos)
        GTEST_SKIP() << "the code page is not single-byte or lacks the letters";
    const std::string forms[] = {ansi, Utf16(text, false), Utf16(text, true), "\xEF\xBB\xBF" + Encode(CP_UTF8, text),
                                 Encode(CP_UTF8, text)};
    // An ASCII text may count unmarked UTF-8 before it is converted; one beyond ASCII may not.
    const std::string capitals = Encode(CP_ACP, L"GR\x00D6\x00DF" L"E");
    for (const std::string& form : forms) {
        SCOPED_TRACE("form " + std::to_string(&form - forms));
        ExpectLoadedAs(form, capitals, 1, 0, ansi);
        ExpectLoadedAs(form, capitals, 0, 1, ansi);
        EXPECT_EQ((std::vector<std::string>{ansi.substr(0, ansi.find('\r')), "the enc-needle sits here"}),
                  ExpectLoadedAs(form, "enc-needle", 1, 1, ansi));
    }
}

TEST(TextForms, ACharacterTheCodePageLacksIsNeverALookAlikeAndNoPartSplitsACharacter)
{
    if (!AnsiText::SingleByte() || GetACP() != 1252)
        GTEST_SKIP() << "the letters below are those of code page 1252";
    // Ł and ź have look-alikes in the code page, L and z, which must not stand in for them.
    const std::wstring city = L"\x0141\x00F3" L"d\x017A";
    for (const std::string& bytes : {Utf16(city, false), Encode(CP_UTF8, city)}) {
        ExpectLoadedAs(bytes, "L\xF3" "dz", 0, 0, "");
        ExpectLoadedAs(bytes, "?", 1, 2, "?\xF3" "d?");
    }
    // A surrogate pair and a UTF-8 sequence across the end of the first part converted.
    const std::wstring text = std::wstring(32767, L'x') + L"\xD83D\xDE00\x00E9 needle";
    ExpectLoadedAs(Utf16(text, false), "needle", 1, 1, Encode(CP_ACP, text));
    ExpectLoadedAs(Encode(CP_UTF8, text), "\xE9 needle", 1, 1, Encode(CP_ACP, text));
}

} // namespace
