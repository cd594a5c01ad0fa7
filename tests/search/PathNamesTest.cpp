// Folder part, name part and extension of paths written with '\', '/', ':' or no separator at all; wide
// names and paths taken into the code page only exactly.
#include <gtest/gtest.h>

#include <windows.h>

#include "TempTree.h"
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
        GTEST_SKIP() << "the cases are written for code page 1252, not " << GetACP();
    struct Case {
        const wchar_t* text;
        const char* ansi;  // null: not held
    };
    const Case cases[] = {
        {L"plain.txt", "plain.txt"}, {L"", ""}, {L"caf\u00e9.txt", "caf\xe9.txt"}, {L"\u20ac", "\x80"},
        {L"\u0141odz.txt", nullptr},  // its best fit, Lodz.txt, names another file
        {L"\u043e\u0442\u0447\u0451\u0442.txt", nullptr}, {L"a\U0001F600", nullptr}, {L"caf\u00e9\u0301", nullptr},
    };
    for (const Case& c : cases) {
        char output[16];
        std::memset(output, 'x', sizeof output);
        const int length = ExactAnsi(c.text, output, sizeof output);
        EXPECT_EQ(c.ansi ? static_cast<int>(std::strlen(c.ansi)) : -1, length) << (c.ansi ? c.ansi : "(not held)");
        EXPECT_STREQ(c.ansi ? c.ansi : "", output);
    }
    char small[5];
    std::memset(small, 'x', sizeof small);
    EXPECT_EQ(-1, ExactAnsi(L"abcde", small, 4));
    EXPECT_EQ(-1, ExactAnsi(L"ab\u00e9de", small, 4));
    EXPECT_EQ('x', small[4]);
    EXPECT_EQ(3, ExactAnsi(L"ab\u00e9", small, 4));
    EXPECT_STREQ("ab\xe9", small);
}

TEST(PathNames, AnsiPathToAFolderTheCodePageCannotHoldIsItsShortPath)
{
    TempTree tree;
    ASSERT_FALSE(tree.Root().empty());
    const std::wstring name = L"\u0434\u0430\u043d\u043d\u044b\u0435";
    ASSERT_TRUE(tree.MakeFolder(name));
    ASSERT_TRUE(tree.MakeFile(name + L"\\in.txt", "inner"));
    const std::wstring folder = std::wstring(tree.Root().begin(), tree.Root().end()) + L"\\" + name;

    char path[MAX_PATH];
    ASSERT_TRUE(AnsiPathTo(folder.c_str(), path, sizeof path));
    EXPECT_EQ(nullptr, std::strchr(path, '?')) << path;
    HANDLE file = CreateFileA((std::string(path) + "\\in.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, file) << path;
    CloseHandle(file);

    // What the code page holds is taken as it is; a place that does not exist has no short path to fall back on.
    EXPECT_TRUE(AnsiPathTo(L"C:\\no such folder", path, sizeof path));
    EXPECT_STREQ("C:\\no such folder", path);
    EXPECT_FALSE(AnsiPathTo((folder + L"\\\u0436").c_str(), path, sizeof path));
    EXPECT_STREQ("", path);
    EXPECT_FALSE(AnsiPathTo(folder.c_str(), path, 8));
}
