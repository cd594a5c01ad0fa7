// The folder walk on scratch trees: order, depth, skipped folders, resuming, long paths and handle hygiene.
#include <gtest/gtest.h>

#include "TempTree.h"
#include "search/FolderWalker.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr size_t kWalkLimit = 100000;
constexpr int kGuardSize = 32;
constexpr char kGuard = '\x5A';

// The caller's 260-byte path buffer with a guard behind it.
struct GuardedPath {
    GuardedPath() { std::memset(bytes, kGuard, sizeof bytes); }
    bool GuardIntact() const
    {
        for (int i = FolderWalker::kOutputSize; i < FolderWalker::kOutputSize + kGuardSize; ++i) {
            if (bytes[i] != kGuard)
                return false;
        }
        return true;
    }
    char bytes[FolderWalker::kOutputSize + kGuardSize];
};

std::vector<std::string> Rest(FolderWalker& walker, size_t limit = kWalkLimit)
{
    std::vector<std::string> paths;
    GuardedPath output;
    while (paths.size() < limit && walker.Next(output.bytes)) {
        EXPECT_TRUE(output.GuardIntact()) << "wrote past the output after " << paths.size() << " paths";
        EXPECT_LT(std::strlen(output.bytes), static_cast<size_t>(FolderWalker::kOutputSize));
        paths.push_back(output.bytes);
    }
    EXPECT_TRUE(output.GuardIntact());
    EXPECT_LT(paths.size(), kWalkLimit) << "the walk did not end";
    return paths;
}

std::vector<std::string> Walk(const std::string& pathPattern, int recurse, int includeSystemFolders = 0)
{
    FolderWalker walker;
    walker.Begin(pathPattern.c_str(), recurse, includeSystemFolders);
    return Rest(walker);
}

// Paths relative to the tree's root; a path outside it is kept whole so that a comparison shows it.
std::vector<std::string> Relative(const TempTree& tree, const std::vector<std::string>& paths)
{
    std::vector<std::string> relative;
    std::string prefix = tree.Root() + "\\";
    for (const std::string& path : paths)
        relative.push_back(path.compare(0, prefix.size(), prefix) == 0 ? path.substr(prefix.size()) : path);
    return relative;
}

std::string NameOf(const std::string& path)
{
    size_t cut = path.find_last_of('\\');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string FolderOf(const std::string& relative)
{
    size_t cut = relative.find_last_of('\\');
    return cut == std::string::npos ? std::string() : relative.substr(0, cut);
}

// Only the files, without the dot entries and the folders listed by the file phase.
std::set<std::string> FilesOf(const std::vector<std::string>& relative)
{
    std::set<std::string> files;
    for (const std::string& path : relative) {
        if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".txt") == 0)
            files.insert(path);
    }
    return files;
}

std::set<std::string> AsSet(const std::vector<std::string>& paths, size_t from, size_t to)
{
    return std::set<std::string>(paths.begin() + from, paths.begin() + to);
}

class CurrentDirectory {
public:
    CurrentDirectory() { GetCurrentDirectoryA(MAX_PATH, saved); }
    ~CurrentDirectory() { SetCurrentDirectoryA(saved); }

private:
    char saved[MAX_PATH];
};

bool FindStillWorks(HANDLE find)
{
    WIN32_FIND_DATAA entry;
    return FindNextFileA(find, &entry) && FindClose(find);
}

class FolderWalkerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(tree.Root().empty()) << "no scratch folder"; }

    void MakeSmallTree()
    {
        ASSERT_TRUE(tree.MakeFile("a.txt", "a"));
        ASSERT_TRUE(tree.MakeFile("b.txt", "b"));
        ASSERT_TRUE(tree.MakeFolder("sub"));
        ASSERT_TRUE(tree.MakeFile("sub\\c.txt", "c"));
    }

    void MakeBranchyTree()
    {
        for (const char* folder : {"x", "x\\x1", "x\\x1\\x2", "y", "y\\y1", "z"})
            ASSERT_TRUE(tree.MakeFolder(folder));
        for (const char* file : {"top.txt", "x\\f1.txt", "x\\x1\\f2.txt", "x\\x1\\x2\\f3.txt", "y\\f4.txt",
                                 "y\\y1\\f5.txt", "z\\f6.txt"})
            ASSERT_TRUE(tree.MakeFile(file, file));
    }

    std::string All() const { return tree.Path("*.*"); }

    TempTree tree;
};

}  // namespace

TEST_F(FolderWalkerTest, ListsEveryEntryOfAFolderBeforeItsSubfolder)
{
    MakeSmallTree();
    std::vector<std::string> walk = Relative(tree, Walk(All(), 1));
    ASSERT_EQ(8u, walk.size());
    EXPECT_EQ((std::set<std::string>{".", "..", "a.txt", "b.txt", "sub"}), AsSet(walk, 0, 5));
    EXPECT_EQ((std::set<std::string>{"sub\\.", "sub\\..", "sub\\c.txt"}), AsSet(walk, 5, 8));
}

TEST_F(FolderWalkerTest, WalksEachSubfolderCompletelyBeforeTheNextSibling)
{
    MakeBranchyTree();
    std::vector<std::string> walk = Relative(tree, Walk(All(), 1));
    EXPECT_EQ((std::set<std::string>{"top.txt", "x\\f1.txt", "x\\x1\\f2.txt", "x\\x1\\x2\\f3.txt", "y\\f4.txt",
                                     "y\\y1\\f5.txt", "z\\f6.txt"}),
              FilesOf(walk));

    // The folders in the order their entries come: each once, and each right below one still open.
    std::vector<std::string> folders;
    for (const std::string& path : walk) {
        if (folders.empty() || folders.back() != FolderOf(path))
            folders.push_back(FolderOf(path));
    }
    EXPECT_EQ(7u, folders.size());
    std::set<std::string> seen;
    std::vector<std::string> open;
    for (const std::string& folder : folders) {
        EXPECT_TRUE(seen.insert(folder).second) << folder << " comes back after another folder";
        if (folder.empty()) {
            EXPECT_TRUE(open.empty()) << "the start folder comes first";
        } else {
            while (!open.empty() && open.back() != FolderOf(folder))
                open.pop_back();
            EXPECT_FALSE(open.empty()) << folder << " is not below a folder still being walked";
        }
        open.push_back(folder);
    }
}

TEST_F(FolderWalkerTest, WithoutRecursionStaysInTheStartFolder)
{
    MakeSmallTree();
    FolderWalker walker;
    walker.Begin(All().c_str(), 0, 0);
    std::vector<std::string> walk = Relative(tree, Rest(walker));
    EXPECT_EQ((std::set<std::string>{".", "..", "a.txt", "b.txt", "sub"}), AsSet(walk, 0, walk.size()));
    EXPECT_EQ(5u, walk.size());
    GuardedPath output;
    for (int again = 0; again < 3; ++again)
        EXPECT_FALSE(walker.Next(output.bytes));
    EXPECT_EQ(-1, walker.depth);
}

TEST_F(FolderWalkerTest, EntersHiddenFoldersButNeverDotFolders)
{
    for (const char* folder : {".cache", "..more", "hid", "hid\\.git"})
        ASSERT_TRUE(tree.MakeFolder(folder));
    for (const char* file : {".cache\\in.txt", "..more\\in.txt", "hid\\in.txt", "hid\\.git\\in.txt", ".top.txt"})
        ASSERT_TRUE(tree.MakeFile(file));
    ASSERT_TRUE(tree.AddAttributes("hid", FILE_ATTRIBUTE_HIDDEN));

    std::vector<std::string> walk = Relative(tree, Walk(All(), 1));
    EXPECT_EQ((std::set<std::string>{".top.txt", "hid\\in.txt"}), FilesOf(walk));
    // The dot folders are still listed as entries of their parent.
    EXPECT_EQ(1, std::count(walk.begin(), walk.end(), ".cache"));
    EXPECT_EQ(1, std::count(walk.begin(), walk.end(), "hid\\.git"));
}

TEST_F(FolderWalkerTest, EntersSystemFoldersOnlyWhenAsked)
{
    ASSERT_TRUE(tree.MakeFolder("sys"));
    ASSERT_TRUE(tree.MakeFile("sys\\in.txt"));
    ASSERT_TRUE(tree.MakeFile("out.txt"));
    ASSERT_TRUE(tree.AddAttributes("sys", FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ((std::set<std::string>{"out.txt"}), FilesOf(Relative(tree, Walk(All(), 1, 0))));
    EXPECT_EQ((std::set<std::string>{"out.txt", "sys\\in.txt"}), FilesOf(Relative(tree, Walk(All(), 1, 1))));
}

TEST_F(FolderWalkerTest, DescendsAtMostFifteenLevels)
{
    std::string folder;
    std::set<std::string> expected{"f0.txt"};
    ASSERT_TRUE(tree.MakeFile("f0.txt"));
    for (int level = 1; level <= 20; ++level) {
        folder += (level > 1 ? "\\d" : "d") + std::to_string(level);
        ASSERT_TRUE(tree.MakeFolder(folder));
        std::string file = folder + "\\f" + std::to_string(level) + ".txt";
        ASSERT_TRUE(tree.MakeFile(file));
        if (level <= FolderWalker::kMaxDepth)
            expected.insert(file);
    }
    FolderWalker walker;
    walker.Begin(All().c_str(), 1, 0);
    EXPECT_EQ(expected, FilesOf(Relative(tree, Rest(walker))));
    EXPECT_EQ(-1, walker.depth);
    for (HANDLE handle : walker.handles)
        EXPECT_EQ(INVALID_HANDLE_VALUE, handle);
}

TEST_F(FolderWalkerTest, WalksTheCurrentDirectoryWhenThePatternHasNoFolder)
{
    MakeSmallTree();
    CurrentDirectory keep;
    ASSERT_TRUE(SetCurrentDirectoryA(tree.Root().c_str()));
    std::vector<std::string> walk = Walk("*.*", 0);
    ASSERT_EQ(5u, walk.size());
    for (const std::string& path : walk)
        EXPECT_EQ(tree.Root() + "\\" + NameOf(path), path);
    EXPECT_EQ((std::set<std::string>{"a.txt", "b.txt", "sub\\c.txt"}), FilesOf(Relative(tree, Walk("*.*", 1))));

    // A drive root already ends in its separator.
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
    FolderWalker walker;
    walker.Begin("*.*", 0, 0);
    EXPECT_STREQ("C:\\", walker.folder);
    GuardedPath output;
    ASSERT_TRUE(walker.Next(output.bytes));
    EXPECT_EQ(0, std::strncmp(output.bytes, "C:\\", 3));
    EXPECT_NE('\\', output.bytes[3]) << output.bytes;
}

TEST_F(FolderWalkerTest, CurrentDirectoryThatDoesNotFitGivesAnEmptyWalk)
{
    CurrentDirectory keep;
    const int rootLength = static_cast<int>(tree.Root().size());
    // 259 characters leave no room for the separator; 258 leave none for any entry; 260 cannot be read.
    for (int length : {258, 259, 260}) {
        std::string name(length - rootLength - 1, static_cast<char>('a' + length - 258));
        ASSERT_TRUE(tree.MakeFolder(name));
        ASSERT_TRUE(tree.MakeFile(name + "\\f"));
        if (!SetCurrentDirectoryA(tree.Path(name).c_str()))
            continue;
        FolderWalker walker;
        walker.Begin("*.*", 1, 0);
        EXPECT_TRUE(Rest(walker).empty()) << "current directory of " << length << " characters";
        EXPECT_EQ(-1, walker.depth);
        SetCurrentDirectoryA(tree.Root().c_str());
    }
}

TEST_F(FolderWalkerTest, ResumesAfterAnyFile)
{
    MakeBranchyTree();
    const std::vector<std::string> whole = Walk(All(), 1);
    ASSERT_GT(whole.size(), 20u);
    for (size_t stop = 0; stop <= whole.size(); ++stop) {
        FolderWalker walker;
        walker.Begin(All().c_str(), 1, 0);
        std::vector<std::string> walk = Rest(walker, stop);
        // Another walk in between must not disturb the suspended one.
        EXPECT_EQ(whole, Walk(All(), 1));
        std::vector<std::string> rest = Rest(walker);
        walk.insert(walk.end(), rest.begin(), rest.end());
        ASSERT_EQ(whole, walk) << "suspended after " << stop << " paths";
    }
}

TEST_F(FolderWalkerTest, PassesOverPathsThatDoNotFitTheirBuffers)
{
    const int rootLength = static_cast<int>(tree.Root().size());
    const std::string mid(100, 'm');
    const std::string deep = mid + "\\" + std::string(250 - rootLength - 1 - 100 - 1, 'd');
    ASSERT_EQ(250u, tree.Path(deep).size());
    ASSERT_TRUE(tree.MakeFolder(mid));
    ASSERT_TRUE(tree.MakeFolder(deep));
    ASSERT_TRUE(tree.MakeFile("root.txt"));
    ASSERT_TRUE(tree.MakeFile(mid + "\\mid.txt"));
    // The walker's folder for deep has 251 characters.
    ASSERT_TRUE(tree.MakeFile(deep + "\\ok.txt"));          // 257 characters
    ASSERT_TRUE(tree.MakeFile(deep + "\\12345678.txt"));    // 263: no room in the output
    ASSERT_TRUE(tree.MakeFolder(deep + "\\s"));             // entered as a folder of 253
    ASSERT_TRUE(tree.MakeFile(deep + "\\s\\x.txt"));        // 258
    ASSERT_TRUE(tree.MakeFile(deep + "\\s\\longer.txt"));   // 263
    ASSERT_TRUE(tree.MakeFolder(deep + "\\abcdefgh"));      // listed with 259, but 260 with its separator
    ASSERT_TRUE(tree.MakeFile(deep + "\\abcdefgh\\in.txt"));

    std::vector<std::string> walk = Relative(tree, Walk(All(), 1));
    EXPECT_EQ((std::set<std::string>{"root.txt", mid + "\\mid.txt", deep + "\\ok.txt", deep + "\\s\\x.txt"}),
              FilesOf(walk));
    EXPECT_EQ(1, std::count(walk.begin(), walk.end(), deep + "\\s"));
    EXPECT_EQ(1, std::count(walk.begin(), walk.end(), deep + "\\abcdefgh"));

    // A pattern that fits beside a short folder but not beside the deep one: only the deep files are lost.
    std::string stars(57, '*');
    walk = Relative(tree, Walk(tree.Path(stars + "*.*"), 1));
    EXPECT_EQ((std::set<std::string>{"root.txt", mid + "\\mid.txt"}), FilesOf(walk));
}

TEST_F(FolderWalkerTest, FolderOrPatternTooLongForItsBufferWalksNothing)
{
    const int rootLength = static_cast<int>(tree.Root().size());
    const std::string deep = std::string(100, 'm') + "\\" + std::string(250 - rootLength - 1 - 100 - 1, 'd');
    ASSERT_TRUE(tree.MakeFolder(deep.substr(0, 100)));
    ASSERT_TRUE(tree.MakeFolder(deep));
    ASSERT_TRUE(tree.MakeFile(deep + "\\in.txt"));
    ASSERT_TRUE(tree.MakeFolder(deep + "\\abcdefghij"));
    // Cut to 259 characters this folder part would name deep itself.
    EXPECT_TRUE(Walk(tree.Path(deep + "\\abcdefghij\\*.*"), 1).empty());
    EXPECT_TRUE(Walk(tree.Path(deep + "\\abcdefghij\\"), 1).empty());
    EXPECT_TRUE(Walk(tree.Path(std::string(82, '*')), 1).empty());
    EXPECT_FALSE(Walk(tree.Path(std::string(81, '*')), 0).empty());
}

TEST_F(FolderWalkerTest, WalksFolderPathsWrittenWithSlashesOrABareDrive)
{
    MakeBranchyTree();
    const std::set<std::string> files = FilesOf(Relative(tree, Walk(All(), 1)));
    ASSERT_EQ(7u, files.size());

    std::string slashed = tree.Root();
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    std::vector<std::string> walk = Walk(slashed + "/*.*", 1);
    std::set<std::string> found;
    for (std::string path : walk) {
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str())) << path;
        std::replace(path.begin(), path.end(), '/', '\\');
        found.insert(path.substr(tree.Root().size() + 1));
    }
    EXPECT_EQ(files, FilesOf(std::vector<std::string>(found.begin(), found.end())));

    CurrentDirectory keep;
    ASSERT_TRUE(SetCurrentDirectoryA(tree.Root().c_str()));
    std::string drive = tree.Root().substr(0, 2);
    ASSERT_EQ(':', drive[1]);
    walk = Walk(drive + "*.*", 1);
    std::vector<std::string> relative;
    for (const std::string& path : walk) {
        EXPECT_EQ(drive, path.substr(0, 2));
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str())) << path;
        relative.push_back(path.substr(2));
    }
    EXPECT_EQ(files, FilesOf(relative));
}

TEST_F(FolderWalkerTest, MissingStartFolderGivesAnEmptyWalk)
{
    EXPECT_TRUE(Walk(tree.Path("missing\\*.*"), 0).empty());
    EXPECT_TRUE(Walk(tree.Path("missing\\*.*"), 1).empty());
    FolderWalker idle;
    GuardedPath output;
    EXPECT_FALSE(idle.Next(output.bytes));
}

TEST_F(FolderWalkerTest, ClosesEachEnumerationOnceAndNoneAfterTheWalk)
{
    ASSERT_TRUE(tree.MakeFile("a.txt"));
    for (const char* folder : {"d1", "d1\\d2", "d1\\d2\\d3"})
        ASSERT_TRUE(tree.MakeFolder(folder));
    ASSERT_TRUE(tree.MakeFile("d1\\d2\\c.txt"));
    ASSERT_TRUE(tree.MakeFile("d1\\d2\\d3\\e.txt"));
    const std::string stopAt = tree.Path("d1\\d2\\c.txt");
    auto openFresh = [&](std::vector<HANDLE>& fresh) {
        WIN32_FIND_DATAA entry;
        for (HANDLE& handle : fresh) {
            handle = FindFirstFileA(All().c_str(), &entry);
            ASSERT_NE(INVALID_HANDLE_VALUE, handle);
        }
    };

    // Suspended three levels down, then reset: a second close of a stale handle would end the fresh ones.
    {
        FolderWalker walker;
        walker.Begin(All().c_str(), 1, 0);
        GuardedPath output;
        while (walker.Next(output.bytes) && stopAt != output.bytes) {
        }
        ASSERT_EQ(stopAt, output.bytes);
        ASSERT_EQ(2, walker.depth);
        for (int level = 0; level <= 2; ++level)
            EXPECT_NE(INVALID_HANDLE_VALUE, walker.handles[level]);
        walker.Reset();
        for (HANDLE handle : walker.handles)
            EXPECT_EQ(INVALID_HANDLE_VALUE, handle);
        EXPECT_EQ(nullptr, walker.folder);
        std::vector<HANDLE> fresh(6);
        openFresh(fresh);
        walker.Reset();
        EXPECT_FALSE(walker.Next(output.bytes));
        walker.Reset();
        for (HANDLE handle : fresh)
            EXPECT_TRUE(FindStillWorks(handle));
    }

    // Begin over a suspended walk, and Next after the end, recursive or not.
    for (int recurse = 0; recurse < 2; ++recurse) {
        FolderWalker walker;
        walker.Begin(All().c_str(), 1, 0);
        std::vector<std::string> firstFew = Rest(walker, 7);
        walker.Begin(All().c_str(), recurse, 0);
        std::vector<std::string> walk = Rest(walker);
        EXPECT_EQ(Walk(All(), recurse), walk);
        EXPECT_EQ(-1, walker.depth);
        std::vector<HANDLE> fresh(6);
        openFresh(fresh);
        GuardedPath output;
        for (int again = 0; again < 3; ++again)
            EXPECT_FALSE(walker.Next(output.bytes));
        EXPECT_EQ(-1, walker.depth);
        for (HANDLE handle : fresh)
            EXPECT_TRUE(FindStillWorks(handle));
    }
}

TEST(FolderWalker, EntersOnlyPlainFoldersWhoseNameHasNoLeadingDot)
{
    WIN32_FIND_DATAA entry = {};
    lstrcpynA(entry.cFileName, "link", MAX_PATH);
    entry.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    EXPECT_TRUE(FolderWalker::EntersFolder(entry, 0));
    entry.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN;
    EXPECT_TRUE(FolderWalker::EntersFolder(entry, 0));
    entry.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    EXPECT_FALSE(FolderWalker::EntersFolder(entry, 0));
    EXPECT_FALSE(FolderWalker::EntersFolder(entry, 1));
    entry.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM;
    EXPECT_FALSE(FolderWalker::EntersFolder(entry, 0));
    EXPECT_TRUE(FolderWalker::EntersFolder(entry, 1));
    entry.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
    EXPECT_FALSE(FolderWalker::EntersFolder(entry, 1));
    entry.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    lstrcpynA(entry.cFileName, ".link", MAX_PATH);
    EXPECT_FALSE(FolderWalker::EntersFolder(entry, 1));
}

TEST_F(FolderWalkerTest, DoesNotFollowADirectoryLinkBackToTheRoot)
{
    ASSERT_TRUE(tree.MakeFile("a.txt"));
    ASSERT_TRUE(tree.MakeFolder("sub"));
    ASSERT_TRUE(tree.MakeFile("sub\\b.txt"));
    std::string link = tree.Path("sub\\loop");
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    if (CreateSymbolicLinkA(link.c_str(), tree.Root().c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY))
        attributes = GetFileAttributesA(link.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        GTEST_SKIP() << "this platform makes no directory links";
    EXPECT_EQ((std::set<std::string>{"a.txt", "sub\\b.txt"}), FilesOf(Relative(tree, Walk(All(), 1))));
    RemoveDirectoryA(link.c_str());
}
