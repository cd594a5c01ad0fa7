// Recent-entry lists against a private registry key: loading, picking, adding and damaged data.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestRegistry.h"
#include "searchdialog/RecentList.h"

namespace {

const char kBase[] = "Software\\SeekwordTests\\RecentList";
const std::string kTexts = std::string(kBase) + "\\Texts";
const std::string kPlaces = std::string(kBase) + "\\Places";

class RecentListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testreg::DeleteTree(HKEY_CURRENT_USER, kBase);
        parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
        combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL,
                                0, 0, 300, 200, parent, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, combo);
    }

    void TearDown() override
    {
        list.Release();
        DestroyWindow(parent);
        testreg::DeleteTestKey(kBase);
    }

    void LoadTexts() { list.Load(combo, 80, 12, kBase, "Texts"); }
    void LoadPlaces() { list.Load(combo, 259, 14, kBase, "Places"); }

    std::vector<std::string> Items()
    {
        std::vector<std::string> items;
        const LRESULT n = SendMessageA(combo, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            std::string item(static_cast<size_t>(SendMessageA(combo, CB_GETLBTEXTLEN, i, 0)) + 1, '\0');
            SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0]));
            items.push_back(item.c_str());
        }
        return items;
    }

    std::string ComboText()
    {
        char text[400] = {};
        GetWindowTextA(combo, text, sizeof text);
        return text;
    }

    std::string Commit(const std::string& typed)
    {
        SetWindowTextA(combo, typed.c_str());
        char output[300];
        std::fill(output, output + sizeof output, '#');
        list.Commit(output);
        return output;
    }

    std::string Text(const std::string& key, const char* name)
    {
        return testreg::GetString(HKEY_CURRENT_USER, key, name);
    }

    void Put(const std::string& key, const char* name, const std::string& text)
    {
        ASSERT_TRUE(testreg::SetString(HKEY_CURRENT_USER, key, name, text));
    }

    void PutWithTail(const std::string& key, const char* name, const std::string& text)
    {
        ASSERT_TRUE(testreg::SetStringWithTail(HKEY_CURRENT_USER, key, name, text));
    }

    DWORD StoredSize(const std::string& key, const char* name)
    {
        return static_cast<DWORD>(testreg::Get(HKEY_CURRENT_USER, key, name).bytes.size());
    }

    HWND parent = nullptr;
    HWND combo = nullptr;
    RecentList list;
};

using Strings = std::vector<std::string>;

TEST_F(RecentListTest, FirstRunShowsNothingAndStoresTheFirstEntryAsA)
{
    LoadTexts();
    EXPECT_TRUE(list.loaded);
    EXPECT_EQ(0, list.count);
    EXPECT_EQ(Strings{}, Items());
    EXPECT_EQ("", ComboText());
    HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    ASSERT_NE(nullptr, edit);
    EXPECT_EQ(79, SendMessageA(edit, EM_GETLIMITTEXT, 0, 0));

    EXPECT_EQ("alpha", Commit("alpha"));
    EXPECT_FALSE(list.loaded);
    EXPECT_EQ(nullptr, list.order);
    EXPECT_EQ("alpha", Text(kTexts, "a"));
    EXPECT_EQ("a", Text(kTexts, "MRUList"));
    EXPECT_EQ(REG_SZ, testreg::Get(HKEY_CURRENT_USER, kTexts, "a").type);
    EXPECT_EQ(6u, StoredSize(kTexts, "a"));

    LoadTexts();
    EXPECT_EQ(Strings{"alpha"}, Items());
    EXPECT_EQ("alpha", ComboText());
    EXPECT_EQ("beta", Commit("beta"));
    EXPECT_EQ("alpha", Text(kTexts, "a"));
    EXPECT_EQ("beta", Text(kTexts, "b"));
    EXPECT_EQ("ba", Text(kTexts, "MRUList"));
}

TEST_F(RecentListTest, PickingAnEntryMovesOnlyItsLetterToTheFront)
{
    PutWithTail(kTexts, "a", "alpha");
    PutWithTail(kTexts, "b", "beta");
    PutWithTail(kTexts, "c", "gamma");
    Put(kTexts, "MRUList", "bca");

    const auto before = testreg::Snapshot(HKEY_CURRENT_USER, kTexts);
    ASSERT_GT(before.at("a").bytes.size(), 6u);

    LoadTexts();
    EXPECT_EQ((Strings{"beta", "gamma", "alpha"}), Items());
    EXPECT_EQ("beta", ComboText());
    SendMessageA(combo, CB_SETCURSEL, 2, 0);
    EXPECT_EQ("alpha", ComboText());
    EXPECT_EQ("alpha", Commit(ComboText()));
    EXPECT_EQ("abc", Text(kTexts, "MRUList"));
    // Each value still holds the extra byte it was planted with: none was written again.
    auto after = testreg::Snapshot(HKEY_CURRENT_USER, kTexts);
    EXPECT_EQ(4u, after.size());
    for (const char* name : {"a", "b", "c"})
        EXPECT_EQ(before.at(name), after.at(name)) << name;

    LoadTexts();
    EXPECT_EQ((Strings{"alpha", "beta", "gamma"}), Items());
}

TEST_F(RecentListTest, PickingTheFirstEntryOrTypingNothingChangesNothing)
{
    PutWithTail(kTexts, "a", "alpha");
    PutWithTail(kTexts, "b", "beta");
    PutWithTail(kTexts, "MRUList", "ba");
    const auto before = testreg::Snapshot(HKEY_CURRENT_USER, kTexts);

    LoadTexts();
    EXPECT_EQ("beta", Commit("beta"));
    EXPECT_EQ(before, testreg::Snapshot(HKEY_CURRENT_USER, kTexts));

    LoadTexts();
    EXPECT_EQ("", Commit(""));
    EXPECT_EQ(before, testreg::Snapshot(HKEY_CURRENT_USER, kTexts));

    LoadTexts();
    list.Release();
    EXPECT_FALSE(list.loaded);
    EXPECT_EQ(before, testreg::Snapshot(HKEY_CURRENT_USER, kTexts));

    // With no key at all, an empty text does not even create it.
    list.Load(combo, 80, 12, kBase, "Unused");
    EXPECT_EQ("", Commit(""));
    EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, std::string(kBase) + "\\Unused"));
}

TEST_F(RecentListTest, FullListOverwritesTheLeastRecentEntryAndPutsItFirst)
{
    for (char letter = 'a'; letter <= 'l'; ++letter)
        Put(kTexts, std::string(1, letter).c_str(), std::string("text ") + letter);
    Put(kTexts, "MRUList", "cbadefghijkl");

    LoadTexts();
    EXPECT_EQ(12, list.count);
    EXPECT_EQ(12u, Items().size());
    EXPECT_EQ("text c", ComboText());
    EXPECT_EQ("newest", Commit("newest"));
    EXPECT_EQ("newest", Text(kTexts, "l"));
    EXPECT_EQ("lcbadefghijk", Text(kTexts, "MRUList"));
    for (char letter = 'a'; letter <= 'k'; ++letter)
        EXPECT_EQ(std::string("text ") + letter, Text(kTexts, std::string(1, letter).c_str()));
    EXPECT_EQ("<missing>", Text(kTexts, "m"));
}

TEST_F(RecentListTest, TypingAListedTextInOtherCaseKeepsTheStoredText)
{
    PutWithTail(kTexts, "a", "alpha");
    Put(kTexts, "b", "beta");
    Put(kTexts, "MRUList", "ba");
    const testreg::Value stored = testreg::Get(HKEY_CURRENT_USER, kTexts, "a");
    ASSERT_GT(stored.bytes.size(), 6u);

    LoadTexts();
    EXPECT_EQ("ALPHA", Commit("ALPHA"));
    EXPECT_EQ("alpha", Text(kTexts, "a"));
    EXPECT_EQ(stored, testreg::Get(HKEY_CURRENT_USER, kTexts, "a"));
    EXPECT_EQ("ab", Text(kTexts, "MRUList"));
    EXPECT_EQ("<missing>", Text(kTexts, "c"));
}

TEST_F(RecentListTest, LocationListHoldsFourteenEntriesOf258Characters)
{
    for (int i = 0; i < 14; ++i) {
        const char letter = static_cast<char>('a' + i);
        Put(kPlaces, std::string(1, letter).c_str(), std::string(258, letter));
    }
    Put(kPlaces, "MRUList", "nabcdefghijklm");

    LoadPlaces();
    HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    EXPECT_EQ(258, SendMessageA(edit, EM_GETLIMITTEXT, 0, 0));
    const Strings items = Items();
    ASSERT_EQ(14u, items.size());
    EXPECT_EQ(std::string(258, 'n'), items[0]);
    EXPECT_EQ(std::string(258, 'm'), items[13]);
    EXPECT_EQ(std::string(258, 'n'), ComboText());

    // A text set from outside the edit field is cut to what the list holds.
    const std::string fresh = std::string(258, 'Z') + "overflow";
    EXPECT_EQ(std::string(258, 'Z'), Commit(fresh));
    EXPECT_EQ(std::string(258, 'Z'), Text(kPlaces, "m"));
    EXPECT_EQ("mnabcdefghijkl", Text(kPlaces, "MRUList"));

    // A stored text of 259 characters does not fit its 259 bytes and is skipped.
    Put(kPlaces, "b", std::string(259, 'b'));
    LoadPlaces();
    EXPECT_EQ(13u, Items().size());
    EXPECT_EQ(13, list.count);
}

TEST_F(RecentListTest, StringsCountOnlyWhenTerminatedWithinTheBuffer)
{
    // 80 bytes without a terminator fill the buffer: missing. Shorter data ends inside it: read.
    ASSERT_TRUE(testreg::SetUnterminated(HKEY_CURRENT_USER, kTexts, "a", std::string(80, 'x')));
    ASSERT_TRUE(testreg::SetUnterminated(HKEY_CURRENT_USER, kTexts, "b", "beta"));
    Put(kTexts, "c", std::string(79, 'c'));
    Put(kTexts, "d", std::string(80, 'd'));
    Put(kTexts, "MRUList", "abcd");
    LoadTexts();
    EXPECT_EQ((Strings{"beta", std::string(79, 'c')}), Items());
    EXPECT_EQ(2, list.count);
    list.Release();

    // An order string of 14 letters without terminator fills its buffer: the list is empty.
    ASSERT_TRUE(testreg::SetUnterminated(HKEY_CURRENT_USER, kTexts, "MRUList", "bcbcbcbcbcbcbc"));
    LoadTexts();
    EXPECT_EQ(Strings{}, Items());
    EXPECT_EQ("", ComboText());
    list.Release();

    // Fifteen bytes do not fit at all; thirteen letters and the terminator do.
    Put(kTexts, "MRUList", "bcbcbcbcbcbcbc");
    LoadTexts();
    EXPECT_EQ(Strings{}, Items());
    list.Release();
    Put(kTexts, "MRUList", "cbcbcbcbcbcbc");
    LoadTexts();
    EXPECT_EQ((Strings{std::string(79, 'c'), "beta"}), Items());
}

TEST_F(RecentListTest, DamagedOrderNeverOverwritesALiveEntryOrListsOneTwice)
{
    // Repeated letters: each is listed once, and the full list recycles its real last letter.
    for (char letter = 'a'; letter <= 'l'; ++letter)
        Put(kTexts, std::string(1, letter).c_str(), std::string("text ") + letter);
    Put(kTexts, "MRUList", "lkjihgfedcbal");
    LoadTexts();
    EXPECT_EQ(12u, Items().size());
    EXPECT_EQ(12, list.count);
    EXPECT_EQ("newest", Commit("newest"));
    EXPECT_EQ("alkjihgfedcb", Text(kTexts, "MRUList"));
    EXPECT_EQ("newest", Text(kTexts, "a"));
    EXPECT_EQ("text l", Text(kTexts, "l"));
    testreg::DeleteTree(HKEY_CURRENT_USER, kTexts);

    // Letters out of range are dropped; a new entry takes a free letter.
    Put(kTexts, "a", "alpha");
    Put(kTexts, "b", "beta");
    Put(kTexts, "m", "out of range");
    Put(kTexts, "MRUList", "a{mb");
    LoadTexts();
    EXPECT_EQ((Strings{"alpha", "beta"}), Items());
    EXPECT_EQ("gamma", Commit("gamma"));
    EXPECT_EQ("gamma", Text(kTexts, "c"));
    EXPECT_EQ("cab", Text(kTexts, "MRUList"));
    EXPECT_EQ("out of range", Text(kTexts, "m"));
    testreg::DeleteTree(HKEY_CURRENT_USER, kTexts);

    // A letter whose value is missing: items keep their own letters.
    Put(kTexts, "a", "alpha");
    Put(kTexts, "b", "beta");
    Put(kTexts, "MRUList", "acb");
    LoadTexts();
    EXPECT_EQ((Strings{"alpha", "beta"}), Items());
    EXPECT_EQ("beta", Commit("beta"));
    EXPECT_EQ("ba", Text(kTexts, "MRUList"));
    EXPECT_EQ("<missing>", Text(kTexts, "c"));
    testreg::DeleteTree(HKEY_CURRENT_USER, kTexts);

    // Two listed entries but not a and b: 'a' + count would be c, a live entry.
    Put(kTexts, "a", "alpha");
    Put(kTexts, "c", "gamma");
    Put(kTexts, "MRUList", "ca");
    LoadTexts();
    EXPECT_EQ("delta", Commit("delta"));
    EXPECT_EQ("delta", Text(kTexts, "b"));
    EXPECT_EQ("gamma", Text(kTexts, "c"));
    EXPECT_EQ("bca", Text(kTexts, "MRUList"));
    LoadTexts();
    EXPECT_EQ((Strings{"delta", "gamma", "alpha"}), Items());
}

TEST_F(RecentListTest, ValuesOfAnotherTypeAreSkipped)
{
    const DWORD number = 0x61;
    ASSERT_TRUE(testreg::SetRaw(HKEY_CURRENT_USER, kTexts, "a", REG_DWORD, &number, sizeof number));
    Put(kTexts, "b", "beta");
    Put(kTexts, "MRUList", "ab");
    LoadTexts();
    EXPECT_EQ(Strings{"beta"}, Items());
    EXPECT_EQ("beta", ComboText());
}

} // namespace
