// The file filter: all files, or only the extensions of enabled slots, compared without regard to case.
#include <gtest/gtest.h>

#include <windows.h>

#include "search/ExtensionFilter.h"
#include "search/SearchOptions.h"

#include <cstring>

namespace {

class ExtensionFilterTest : public ::testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    static void Clear()
    {
        searchOptions.allFiles = 0;
        std::memset(searchOptions.extEnabled, 0, sizeof searchOptions.extEnabled);
        std::memset(searchOptions.extText, 0, sizeof searchOptions.extText);
    }
    static void SetSlot(int slot, const char* text, int enabled)
    {
        lstrcpynA(searchOptions.extText[slot - 1], text, kExtensionSize);
        searchOptions.extEnabled[slot - 1] = enabled;
    }
};

const char* const kPaths[] = {
    "C:\\src\\main.CPP", "C:\\src\\x.tar.h", "C:\\src\\main.c", "C:\\src\\README",
    "C:\\src\\name.",    "C:\\src\\",        "C:\\a.cpp\\readme", "",
};

}  // namespace

TEST_F(ExtensionFilterTest, AcceptsOnlyEnabledExtensionsIgnoringCase)
{
    SetSlot(1, "cpp", 1);
    SetSlot(2, "h", 1);
    EXPECT_TRUE(ExtensionAccepted("C:\\src\\main.CPP"));
    EXPECT_TRUE(ExtensionAccepted("C:\\src\\x.tar.h"));
    EXPECT_TRUE(ExtensionAccepted("main.Cpp"));
    EXPECT_FALSE(ExtensionAccepted("C:\\src\\main.c"));
    EXPECT_FALSE(ExtensionAccepted("C:\\src\\main.cppx"));
    EXPECT_FALSE(ExtensionAccepted("C:\\src\\README"));
    EXPECT_FALSE(ExtensionAccepted("C:\\src\\name."));
    EXPECT_FALSE(ExtensionAccepted("C:\\src\\"));
    EXPECT_FALSE(ExtensionAccepted("C:\\a.cpp\\readme"));
    EXPECT_FALSE(ExtensionAccepted(""));
}

TEST_F(ExtensionFilterTest, FindAllFilesAcceptsEveryPath)
{
    SetSlot(1, "cpp", 1);
    searchOptions.allFiles = 1;
    for (const char* path : kPaths)
        EXPECT_TRUE(ExtensionAccepted(path)) << path;
}

TEST_F(ExtensionFilterTest, DisabledAndEmptySlotsAcceptNothing)
{
    SetSlot(1, "cpp", 0);
    SetSlot(3, "", 1);
    for (const char* path : kPaths)
        EXPECT_FALSE(ExtensionAccepted(path)) << path;
    SetSlot(6, "txt", 1);
    EXPECT_TRUE(ExtensionAccepted("C:\\notes.TXT"));
    EXPECT_FALSE(ExtensionAccepted("C:\\main.cpp"));
}

TEST_F(ExtensionFilterTest, ASlotWithoutTerminatorDoesNotRunIntoTheNext)
{
    std::memcpy(searchOptions.extText[0], "abcdefgh", kExtensionSize);
    searchOptions.extEnabled[0] = 1;
    lstrcpynA(searchOptions.extText[1], "cpp", kExtensionSize);
    EXPECT_FALSE(ExtensionAccepted("C:\\x.abcdefghcpp"));
    EXPECT_FALSE(ExtensionAccepted("C:\\x.abcdefgh"));
    EXPECT_TRUE(ExtensionAccepted("C:\\x.abcdefg"));
}
