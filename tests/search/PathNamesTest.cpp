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

std::string NamePart(const char* path, int size)
{
    char buffer[300];
    std::memset(buffer, 'x', sizeof buffer);
    CopyNamePart(path, buffer, size);
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
