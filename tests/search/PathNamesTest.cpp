// Folder part, name part and extension of paths written with '\', '/', ':' or no separator at all; exact ANSI names.
#include <gtest/gtest.h>

#include <windows.h>

#include "search/PathNames.h"

#include <cstring>
#include <string>

namespace {

std::string Cut(const char* path)
{
    char buffer[300];
    lstrcpynA(buffer, path, sizeof buffer);
    CutToFolder(buffer);
    return buffer;
}

std::string NamePart(const char* path, int size, const CodePageText& chars = CodePageText::Ansi())
{
    char buffer[300];
    std::memset(buffer, 'x', sizeof buffer);
    CopyNamePart(path, buffer, size, chars);
    EXPECT_EQ('x', buffer[size]) << "wrote past " << size << " bytes";
    return buffer;
}

}  // namespace

TEST(PathNames, CutToFolderKeepsEverythingUpToTheLastSeparator)
{
    EXPECT_EQ("C:\\src\\", Cut("C:\\src\\*.c"));
    EXPECT_EQ("C:\\", Cut("C:\\src"));
    EXPECT_EQ("", Cut("*.c"));
    EXPECT_EQ("", Cut(""));
    EXPECT_EQ("C:", Cut("C:*.*"));
    EXPECT_EQ("a/b/", Cut("a/b/c.txt"));
    EXPECT_EQ("C:/src\\", Cut("C:/src\\*.*"));
    EXPECT_EQ("\\\\server\\share\\", Cut("\\\\server\\share\\*.*"));
    // A separator in the very first byte does not count.
    EXPECT_EQ("", Cut("\\name"));
    EXPECT_EQ("\\a\\", Cut("\\a\\b"));
    EXPECT_EQ(7, FolderPartLength("C:\\src\\*.c"));
    EXPECT_EQ(0, FolderPartLength("/"));
}

TEST(PathNames, CopyNamePartCopiesTheNameBoundedAndTerminated)
{
    EXPECT_EQ("verylon", NamePart("C:\\src\\verylongname.txt", 8));
    EXPECT_EQ("verylongname.txt", NamePart("C:\\src\\verylongname.txt", 40));
    EXPECT_EQ("*.*", NamePart("C:\\src\\*.*", 82));
    EXPECT_EQ("name", NamePart("name", 82));
    EXPECT_EQ("\\name", NamePart("\\name", 82));
    EXPECT_EQ("c.txt", NamePart("a/b/c.txt", 82));
    EXPECT_EQ("x", NamePart("C:x", 82));
    EXPECT_EQ("", NamePart("C:\\src\\", 82));
    EXPECT_EQ("", NamePart("C:\\src\\abc", 1));

    char untouched[4] = {'q', 'q', 'q', 'q'};
    CopyNamePart("C:\\abc", untouched, 0);
    EXPECT_EQ('q', untouched[0]);
}

TEST(PathNames, GetExtensionTellsDotNoExtensionAndNoNameApart)
{
    const char* archive = "C:\\src\\a.tar.gz";
    EXPECT_EQ(archive + 12, GetExtension(archive));
    EXPECT_STREQ(".", GetExtension("C:\\src\\name."));

    // No dot in the name: the answer is the path's terminator, whatever the folders hold.
    const char* plain = "C:\\dir.d\\README";
    EXPECT_EQ(plain + std::strlen(plain), GetExtension(plain));
    const char* bare = "README";
    EXPECT_EQ(bare + 6, GetExtension(bare));
    const char* drive = "C:name";
    EXPECT_EQ(drive + 6, GetExtension(drive));

    // Nothing after the last separator: no file name at all.
    EXPECT_EQ(nullptr, GetExtension("C:\\src\\"));
    EXPECT_EQ(nullptr, GetExtension("C:"));
    EXPECT_EQ(nullptr, GetExtension("\\"));

    // '/' is not a separator here, so the last dot of a folder name counts.
    EXPECT_STREQ(".d/README", GetExtension("C:/dir.d/README"));
    EXPECT_STREQ(".txt", GetExtension("C:/dir.d/a.txt"));
    const char* empty = "";
    EXPECT_EQ(empty, GetExtension(empty));
}

TEST(PathNames, ExactAnsiTakesOnlyWhatTheCodePageHoldsAndStaysInItsBuffer)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "written for code page 1252, not " << GetACP();
    char output[] = "xxxxx";
    // A best fit, a '?' or a composed form would name another file or none; the terminator must fit as well.
    for (const wchar_t* text : {L"\u0141", L"\U0001F600", L"e\u0301", L"abcde", L"ab\u00e9de"})
        EXPECT_EQ(-1, ExactAnsi(text, output, 4)) << text;
    EXPECT_EQ('x', output[4]);
    EXPECT_EQ(3, ExactAnsi(L"\u20ac\u00e9a", output, 4));
    EXPECT_STREQ("\x80\xe9" "a", output);
}

// On code page 932 a second byte 0x5C is no '\': 表 is 95 5C, ソ 83 5C, 示 8E A6, 資料 8E 91 97 BF.
TEST(PathNames, DoubleByteCharactersEndingIn5CAreNoSeparators)
{
    const CodePageText japanese(932);
    ASSERT_TRUE(japanese.DoubleByte());
    const std::string folder = "C:\\\x8E\x91\x97\xBF\\\x88\xEA\x97\x97\x95\x5C";  // C:\資料\一覧表
    const std::string file = "C:\\\x83\x5C\x83\x74\x83\x67\\\x95\x5C.txt";       // C:\ソフト\表.txt
    // extension: null when the path names no file, "" when the name has none.
    const struct { std::string path; int folderPart, endsWithSeparator; const char* extension; } rows[] = {
        {folder, 8, 0, ""}, {folder + "\\", 15, 1, nullptr}, {file, 10, 0, ".txt"},
        {"C:\\x.d\\\x83\x5C", 7, 0, ""}, {"\x95\x5C", 0, 0, ""}, {"\x95\x5C\\\x83\x5C", 3, 0, ""},
    };
    for (const auto& row : rows) {
        const char* path = row.path.c_str();
        EXPECT_EQ(row.folderPart, FolderPartLength(path, japanese)) << path;
        EXPECT_EQ(row.endsWithSeparator, EndsWithSeparator(path, static_cast<int>(row.path.size()), japanese)) << path;
        EXPECT_STREQ(row.extension, GetExtension(path, japanese)) << path;
    }
    // The name part and its cut keep whole characters: 表示.txt cut to 3 bytes is 表 alone.
    EXPECT_EQ("\x95\x5C.txt", NamePart(file.c_str(), 16, japanese));
    EXPECT_EQ("\x95\x5C", NamePart("C:\\\x95\x5C\x8E\xA6.txt", 4, japanese));
    EXPECT_EQ("\x95\x5C\x8E\xA6", NamePart("C:\\\x95\x5C\x8E\xA6.txt", 5, japanese));
    // The same bytes on a single-byte code page are two characters each.
    EXPECT_EQ(14, FolderPartLength(folder.c_str(), CodePageText(1252)));
}
