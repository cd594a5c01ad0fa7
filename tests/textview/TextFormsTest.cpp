// Text stored as UTF-16 or UTF-8 loads as the same text stored in ANSI: the count, the lines and the bytes.
#include <gtest/gtest.h>

#include "ViewTestSupport.h"
#include "search/SearchOptions.h"

TEST(TextForms, FiveFormsOfOneTextGiveTheSameCountLinesAndBytes)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the letters below are those of code page 1252";
    const std::vector<std::string> lines = {"Gr\xF6\xDF" "e in ?\xF3" "d?", "the enc-needle sits here"};
    const std::wstring wide = L"\xFEFFGr\x00F6\x00DF" L"e in \x0141\x00F3" L"d\x017A\r\nthe enc-needle sits here";
    std::string le(reinterpret_cast<const char*>(wide.data()), 2 * wide.size()), be(le);
    for (size_t i = 0; i < be.size(); i += 2)
        std::swap(be[i], be[i + 1]);
    const std::string utf8 = "Gr\xC3\xB6\xC3\x9F" "e in \xC5\x81\xC3\xB3" "d\xC5\xBA\r\nthe enc-needle sits here";
    const std::string forms[] = {lines[0] + "\r\n" + lines[1], le, be, "\xEF\xBB\xBF" + utf8, utf8};
    // Letters the code page lacks become '?', no look-alike; only an ASCII text counts unmarked UTF-8 unconverted.
    const struct { const char* text; int caseSensitive; DWORD count; } searches[] = {
        {"enc-needle", 1, 1}, {"GR\xD6\xDF" "E", 1, 0}, {"gr\xF6\xDF" "e", 0, 1}, {"l\xF3" "dz", 0, 0}, {"?", 1, 2}};
    TempFolder folder;
    for (const std::string& form : forms) {
        for (const auto& search : searches) {
            SCOPED_TRACE("form " + std::to_string(&form - forms) + ", text " + search.text);
            lstrcpynA(searchOptions.searchText, search.text, kSearchTextSize);
            searchOptions.caseSensitive = search.caseSensitive;
            ProbeView view;
            view.useRealCount = 1;
            EXPECT_EQ(search.count ? 1 : -2, view.LoadFile(folder.Write("text.txt", form).c_str()));
            EXPECT_EQ(search.count, view.matchCount);
            if (search.count) {
                EXPECT_EQ(forms[0], std::string(view.buffer, view.bytesRead));
                EXPECT_EQ(lines, AllLines(view));
            }
        }
    }
    searchOptions.searchText[0] = '\0';
    searchOptions.caseSensitive = 0;
}
