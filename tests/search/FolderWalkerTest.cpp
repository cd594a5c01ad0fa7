// The folder walk on scratch trees: order against a plain walk, depth, skipped folders and links, resuming,
// names beyond the code page, long paths, what is left uncounted, listed sizes and handle hygiene.
#include <gtest/gtest.h>

#include "TempTree.h"
#include "search/FolderWalker.h"

#include <winioctl.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
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

// The paths a walk produces; a file no path reaches shows as "<no path: its own name>".
std::vector<std::string> Rest(FolderWalker& walker, size_t limit = kWalkLimit)
{
    std::vector<std::string> paths;
    GuardedPath output;
    for (int listed; paths.size() < limit && (listed = walker.Next(output.bytes)) != FolderWalker::kWalkOver;) {
        EXPECT_TRUE(output.GuardIntact()) << "wrote past the output after " << paths.size() << " paths";
        if (listed != FolderWalker::kFile) {
            paths.push_back("<no path: " + std::string(walker.EntryName()) + ">");
            continue;
        }
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

// What the file at path holds; otherwise when that is nothing or it cannot be opened.
std::string ContentAt(const std::string& path, const std::string& otherwise)
{
    std::ifstream file(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return bytes.empty() ? otherwise : bytes;
}

// One file as a plain walk lists it.
struct Listed {
    std::string path;
    ULONGLONG size;
    DWORD attributes;
};

// The walk by its definition, listing each folder twice: the files the pattern names, in listing order, then
// each subfolder the walk enters, completely, down to 15 levels; the generated paths are short.
void ReferenceWalk(const std::string& folder, const std::string& pattern, int depth, int recurse,
                   int includeSystemFolders, std::vector<Listed>& listed)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = INVALID_HANDLE_VALUE;
    if (folder.size() + pattern.size() < static_cast<size_t>(FolderWalker::kSpecSize))
        find = FindFirstFileA((folder + pattern).c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string path = folder + entry.cFileName;
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                path.size() < static_cast<size_t>(FolderWalker::kOutputSize))
                listed.push_back({path, (static_cast<ULONGLONG>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow,
                                  entry.dwFileAttributes});
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    if (!recurse || depth >= FolderWalker::kMaxDepth)
        return;
    std::vector<std::string> subfolders;
    find = FindFirstFileA((folder + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const DWORD attributes = entry.dwFileAttributes;
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && entry.cFileName[0] != '.' &&
                !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                (includeSystemFolders || !(attributes & FILE_ATTRIBUTE_SYSTEM)))
                subfolders.push_back(entry.cFileName);
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    for (const std::string& name : subfolders) {
        if (folder.size() + name.size() + 1 < static_cast<size_t>(FolderWalker::kFolderSize))
            ReferenceWalk(folder + name + "\\", pattern, depth + 1, recurse, includeSystemFolders, listed);
    }
}

// Nested folders, some hidden, some system, some named with a leading dot, some empty; files of many sizes,
// some hidden, named with and without dots.
void MakeRandomTree(const TempTree& tree, std::mt19937& random)
{
    const char* fileNames[] = {"a.txt", "b.TXT", "readme", "x.c", ".hidden.txt", "name.with.dots.txt", "z",
                               "q.t", "Long Name.txt", "k.txt"};
    const char* folderNames[] = {"d", "e", "Sub Folder", "sys", ".dot", "hid", "x.dir", "f"};
    std::vector<std::string> folders{""};
    for (int made = 0; made < 28; ++made) {
        const std::string& parent = folders[random() % folders.size()];
        if (std::count(parent.begin(), parent.end(), '\\') >= 4)
            continue;
        std::string name = folderNames[random() % (sizeof folderNames / sizeof folderNames[0])];
        std::string relative = (parent.empty() ? "" : parent + "\\") + name + std::to_string(made);
        ASSERT_TRUE(tree.MakeFolder(relative)) << relative;
        if (name == "sys")
            ASSERT_TRUE(tree.AddAttributes(relative, FILE_ATTRIBUTE_SYSTEM));
        if (name == "hid")
            ASSERT_TRUE(tree.AddAttributes(relative, FILE_ATTRIBUTE_HIDDEN));
        folders.push_back(relative);
    }
    for (const std::string& folder : folders) {
        std::vector<std::string> names(std::begin(fileNames), std::end(fileNames));
        std::shuffle(names.begin(), names.end(), random);
        names.resize(folder.empty() ? 5 : random() % 6);
        for (const std::string& name : names) {
            std::string relative = (folder.empty() ? "" : folder + "\\") + name;
            ASSERT_TRUE(tree.MakeFile(relative, std::string(random() % 3000, 'x'))) << relative;
            if (name[0] == '.')
                ASSERT_TRUE(tree.AddAttributes(relative, FILE_ATTRIBUTE_HIDDEN));
        }
    }
}

// What a listing of the path itself says: the walker sees a folder this way.
DWORD ListedAttributes(const std::string& path)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(path.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return INVALID_FILE_ATTRIBUTES;
    FindClose(find);
    return entry.dwFileAttributes;
}

bool IsListedAsLinkFolder(const std::string& path)
{
    const DWORD attributes = ListedAttributes(path);
    const DWORD wanted = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & wanted) == wanted;
}

// Runs a program of the host system in folder (under Wine, a Unix program starts this way) and waits up to
// five seconds for done() to hold.
template <typename Done>
bool RunOnHost(const char* program, std::string commandLine, const std::string& folder, Done done)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        return false;
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (DWORD waited = 0; !done() && waited < 5000; waited += 20)
        Sleep(20);
    return done();
}

// A symbolic link named name in parent to target (relative to parent). Windows makes it itself; Wine's call
// makes none, but Wine lists a Unix link as a reparse-point folder, and the host's ln makes one.
bool MakeFolderLink(const TempTree& tree, const std::string& parent, const std::string& name,
                    const std::string& target)
{
    const std::string link = tree.Path(parent + "\\" + name);
    if (CreateSymbolicLinkA(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) &&
        IsListedAsLinkFolder(link))
        return true;
    return RunOnHost("Z:\\bin\\ln", "ln -s " + target + " " + name, tree.Path(parent),
                     [&] { return IsListedAsLinkFolder(link); });
}

void RemoveFolderLink(const TempTree& tree, const std::string& parent, const std::string& name)
{
    const std::string link = tree.Path(parent + "\\" + name);
    RemoveDirectoryA(link.c_str());
    if (ListedAttributes(link) != INVALID_FILE_ATTRIBUTES)
        RunOnHost("Z:\\bin\\rm", "rm " + name, tree.Path(parent),
                  [&] { return ListedAttributes(link) == INVALID_FILE_ATTRIBUTES; });
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

TEST_F(FolderWalkerTest, ListsTheFilesOfAFolderBeforeItsSubfolderAndNoFolders)
{
    MakeSmallTree();
    std::vector<std::string> walk = Relative(tree, Walk(All(), 1));
    ASSERT_EQ(3u, walk.size());
    EXPECT_EQ((std::set<std::string>{"a.txt", "b.txt"}), AsSet(walk, 0, 2));
    EXPECT_EQ("sub\\c.txt", walk[2]);
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
    EXPECT_EQ((std::set<std::string>{"a.txt", "b.txt"}), AsSet(walk, 0, walk.size()));
    EXPECT_EQ(2u, walk.size());
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
    EXPECT_EQ((std::vector<std::string>{".top.txt", "hid\\in.txt"}), walk);
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
    EXPECT_EQ(INVALID_HANDLE_VALUE, walker.find);
    EXPECT_EQ(1u, walker.FoldersNotSearched()) << "the folder 16 levels down";
}

TEST_F(FolderWalkerTest, WalksTheCurrentDirectoryWhenThePatternHasNoFolder)
{
    MakeSmallTree();
    CurrentDirectory keep;
    ASSERT_TRUE(SetCurrentDirectoryA(tree.Root().c_str()));
    std::vector<std::string> walk = Walk("*.*", 0);
    ASSERT_EQ(2u, walk.size());
    for (const std::string& path : walk)
        EXPECT_EQ(tree.Root() + "\\" + NameOf(path), path);
    EXPECT_EQ((std::set<std::string>{"a.txt", "b.txt", "sub\\c.txt"}), FilesOf(Relative(tree, Walk("*.*", 1))));

    // A current folder the code page cannot hold is walked by its short path.
    const std::wstring data = L"\u0434\u0430\u043d\u043d\u044b\u0435";
    ASSERT_TRUE(tree.MakeFolder(data) && tree.MakeFile(data + L"\\in.txt", "in"));
    ASSERT_TRUE(SetCurrentDirectoryW((std::wstring(tree.Root().begin(), tree.Root().end()) + L"\\" + data).c_str()));
    walk = Walk("*.*", 0);
    ASSERT_EQ(1u, walk.size());
    EXPECT_EQ("in", ContentAt(walk[0], walk[0]));

    // A drive root already ends in its separator (the root may hold only folders, hence the recursion).
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
    FolderWalker walker;
    walker.Begin("*.*", 1, 0);
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
        EXPECT_EQ(1u, walker.FoldersNotSearched()) << length;
        SetCurrentDirectoryA(tree.Root().c_str());
    }
}

TEST_F(FolderWalkerTest, ReachesEachFileByAPathThatOpensItAndCountsWhatNoPathReaches)
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
    // Too long beside mid, a folder and the file in it go by their short names.
    const std::string longFolder = mid + "\\" + std::string(200, 'w');
    ASSERT_TRUE(tree.MakeFolder(longFolder));
    ASSERT_TRUE(tree.MakeFile(longFolder + "\\" + std::string(200, 'f') + ".txt", "far"));
    // So do names the code page cannot hold, the first Lodz (with a stroke) among them: its best fit would open
    // the second. Device names reach no entry, and being 8.3 names they have no short name either.
    const std::wstring data = L"\u0434\u0430\u043d\u043d\u044b\u0435";
    ASSERT_TRUE(tree.MakeFolder(data) && tree.MakeFolder(L"aux"));
    const std::pair<std::wstring, const char*> files[] = {
        {L"\u043e\u0442\u0447\u0451\u0442.txt", "report"}, {data + L"\\inner.txt", "inner"},
        {L"\u0141odz.txt", "stroke"}, {L"Lodz.txt", "Lodz"}, {L"con.txt", "con"}, {L"aux\\in.txt", "aux"}};
    for (const auto& file : files)
        ASSERT_TRUE(tree.MakeFile(file.first, file.second));

    // Each file by its contents, where it has any.
    FolderWalker walker;
    walker.Begin(All().c_str(), 1, 0);
    std::multiset<std::string> reached;
    for (const std::string& path : Relative(tree, Rest(walker)))
        reached.insert(ContentAt(tree.Path(path), path));
    EXPECT_EQ((std::multiset<std::string>{"root.txt", mid + "\\mid.txt", deep + "\\ok.txt", deep + "\\s\\x.txt",
                                          "<no path: 12345678.txt>", "<no path: longer.txt>", "<no path: con.txt>",
                                          "far", "report", "inner", "stroke", "Lodz"}),
              reached);
    EXPECT_EQ(2u, walker.FoldersNotSearched()) << "abcdefgh and aux";
    walker.Begin(All().c_str(), 0, 0);
    Rest(walker);
    EXPECT_EQ(0u, walker.FoldersNotSearched()) << "without subfolders, aux is left by design";

    // A pattern that leaves deep no room beside mid: deep goes by its short name, and all of it is reached.
    walker.Begin(tree.Path(std::string(57, '*') + "*.*").c_str(), 1, 0);
    EXPECT_EQ(13u, Rest(walker).size());
    EXPECT_EQ(1u, walker.FoldersNotSearched()) << "aux";
}

TEST_F(FolderWalkerTest, FolderOrPatternTooLongForItsBufferWalksNothing)
{
    const int rootLength = static_cast<int>(tree.Root().size());
    const std::string deep = std::string(100, 'm') + "\\" + std::string(250 - rootLength - 1 - 100 - 1, 'd');
    ASSERT_TRUE(tree.MakeFolder(deep.substr(0, 100)));
    ASSERT_TRUE(tree.MakeFolder(deep));
    ASSERT_TRUE(tree.MakeFile(deep + "\\in.txt"));
    ASSERT_TRUE(tree.MakeFolder(deep + "\\abcdefghij"));
    ASSERT_TRUE(tree.MakeFile("root.txt"));
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
    idle.Begin(tree.Path("missing\\*.txt").c_str(), 1, 0);
    EXPECT_FALSE(idle.Next(output.bytes));
    EXPECT_EQ(1u, idle.FoldersNotSearched());
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
        EXPECT_NE(INVALID_HANDLE_VALUE, walker.find);
        walker.Reset();
        EXPECT_EQ(INVALID_HANDLE_VALUE, walker.find);
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
    WIN32_FIND_DATAW entry = {};
    lstrcpynW(entry.cFileName, L"link", MAX_PATH);
    entry.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    EXPECT_TRUE(FolderWalker::EntersFolder(entry, 0));
    entry.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN;
    EXPECT_TRUE(FolderWalker::EntersFolder(entry, 0));
    entry.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM;
    EXPECT_FALSE(FolderWalker::EntersFolder(entry, 0));
    EXPECT_TRUE(FolderWalker::EntersFolder(entry, 1));
    entry.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
    EXPECT_FALSE(FolderWalker::EntersFolder(entry, 1));
    entry.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    lstrcpynW(entry.cFileName, L".link", MAX_PATH);
    EXPECT_FALSE(FolderWalker::EntersFolder(entry, 1));
}

TEST(FolderWalker, SkipsOnlyReparsePointsThatLinkElsewhereAndReadsNoOnlineOnlyFile)
{
    WIN32_FIND_DATAW entry = {};
    lstrcpynW(entry.cFileName, L"folder", MAX_PATH);
    const DWORD reparseFolder = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    // Name surrogates: junctions and mount points, symbolic links, WSL's links and any other vendor's; and a
    // reparse point without a tag (how Wine lists a link).
    for (DWORD tag : {static_cast<DWORD>(IO_REPARSE_TAG_MOUNT_POINT), static_cast<DWORD>(IO_REPARSE_TAG_SYMLINK),
                      0xA000001Dul, 0x2000F0F0ul, static_cast<DWORD>(IO_REPARSE_TAG_RESERVED_ZERO)}) {
        entry.dwFileAttributes = reparseFolder;
        entry.dwReserved0 = tag;
        EXPECT_TRUE(FolderWalker::IsFolderLink(entry.dwFileAttributes, tag)) << std::hex << tag;
        EXPECT_FALSE(FolderWalker::EntersFolder(entry, 0)) << std::hex << tag;
        EXPECT_FALSE(FolderWalker::EntersFolder(entry, 1)) << std::hex << tag;
    }
    // Cloud files, deduplication, storage tiers: folders of the user's own files.
    for (DWORD tag : {static_cast<DWORD>(IO_REPARSE_TAG_CLOUD_6), static_cast<DWORD>(IO_REPARSE_TAG_DEDUP),
                      static_cast<DWORD>(IO_REPARSE_TAG_HSM), static_cast<DWORD>(IO_REPARSE_TAG_WOF), 0x0000F0F0ul}) {
        entry.dwFileAttributes = reparseFolder;
        entry.dwReserved0 = tag;
        EXPECT_FALSE(FolderWalker::IsFolderLink(entry.dwFileAttributes, tag)) << std::hex << tag;
        EXPECT_TRUE(FolderWalker::EntersFolder(entry, 0)) << std::hex << tag;
        entry.dwFileAttributes = reparseFolder | FILE_ATTRIBUTE_SYSTEM;
        EXPECT_FALSE(FolderWalker::EntersFolder(entry, 0)) << std::hex << tag;
        EXPECT_TRUE(FolderWalker::EntersFolder(entry, 1)) << std::hex << tag;
    }
    // The tag field means nothing without the reparse attribute.
    EXPECT_FALSE(FolderWalker::IsFolderLink(FILE_ATTRIBUTE_DIRECTORY, IO_REPARSE_TAG_SYMLINK));
    entry.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    entry.dwReserved0 = IO_REPARSE_TAG_MOUNT_POINT;
    EXPECT_TRUE(FolderWalker::EntersFolder(entry, 0));

    // Contents online only, or offline, are not read; a cloud file held here is.
    EXPECT_TRUE(FolderWalker::IsOnlineOnly(FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS));
    EXPECT_TRUE(FolderWalker::IsOnlineOnly(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_OFFLINE));
    EXPECT_FALSE(FolderWalker::IsOnlineOnly(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT));
}

TEST(FolderWalker, ANameNamesItselfOnlyWhenAnAnsiPathEndingInItReachesThatEntry)
{
    for (const wchar_t* name : {L"a.txt", L"notes", L".hidden", L" lead.txt", L"caf\u00e9", L"console.txt",
                                L"com10.log", L"com0", L"lpt.txt", L"x.con", L"nul_x", L"conin"})
        EXPECT_TRUE(FolderWalker::NamesItself(name)) << name;
    for (const wchar_t* name : {L"", L"con", L"CON.txt", L"Con .txt", L"con.txt.bak", L"aux.c", L"nul", L"prn.log",
                                L"com1.log", L"LPT9", L"com\u00b9", L"conin$", L"CONOUT$.txt", L"trail.", L"trail ",
                                L"a:b", L"a?b", L"a*b", L"a|b", L"a\"b", L"a<b", L"a>b", L"a\x01" L"b"})
        EXPECT_FALSE(FolderWalker::NamesItself(name)) << name;
}

TEST_F(FolderWalkerTest, DoesNotFollowADirectoryLinkBackToTheRoot)
{
    ASSERT_TRUE(tree.MakeFile("a.txt"));
    ASSERT_TRUE(tree.MakeFolder("sub"));
    ASSERT_TRUE(tree.MakeFile("sub\\b.txt"));
    if (!MakeFolderLink(tree, "sub", "loop", ".."))
        GTEST_SKIP() << "this platform makes no directory links";
    struct LinkRemover {
        ~LinkRemover() { RemoveFolderLink(tree, "sub", "loop"); }
        const TempTree& tree;
    } remover{tree};
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(tree.Path("sub\\loop\\sub\\b.txt").c_str()))
        << "the link does not lead back to the root";
    EXPECT_EQ((std::vector<std::string>{"a.txt", "sub\\b.txt"}), Relative(tree, Walk(All(), 1)));
}

TEST_F(FolderWalkerTest, ReportsTheListedSizeAndAttributesOfEachFile)
{
    ASSERT_TRUE(tree.MakeFile("empty.txt"));
    ASSERT_TRUE(tree.MakeFile("small.txt", "twelve bytes"));
    ASSERT_TRUE(tree.AddAttributes("small.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    // A file past 4 GiB, sparse where the file system allows it.
    const ULONGLONG huge = (5ull << 30) + 7;
    HANDLE file = CreateFileA(tree.Path("huge.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD ignored = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(huge);
    const bool sized = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    ASSERT_TRUE(sized);

    FolderWalker walker;
    EXPECT_EQ(0u, walker.EntrySize());
    walker.Begin(All().c_str(), 1, 0);
    GuardedPath output;
    std::map<std::string, std::pair<ULONGLONG, DWORD>> seen;
    while (walker.Next(output.bytes))
        seen[NameOf(output.bytes)] = {walker.EntrySize(), walker.EntryAttributes()};
    ASSERT_EQ(3u, seen.size());
    EXPECT_EQ(0u, seen["empty.txt"].first);
    EXPECT_EQ(12u, seen["small.txt"].first);
    EXPECT_EQ(huge, seen["huge.bin"].first);
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              seen["small.txt"].second & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(0u, seen["empty.txt"].second & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
    SetFileAttributesA(tree.Path("small.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FolderWalkerTest, MatchesAPlainWalkOnGeneratedTreesAndResumesAfterAnyFile)
{
    std::mt19937 random(5150);
    MakeRandomTree(tree, random);

    struct Walk {
        const char* pattern;
        int recurse;
        int includeSystemFolders;
    };
    const Walk walks[] = {{"*.*", 1, 0}, {"*.*", 1, 1}, {"*.*", 0, 0}, {"*", 1, 0}, {"*.txt", 1, 0}, {"?.*", 1, 1}};
    for (const Walk& walk : walks) {
        const std::string pathPattern = tree.Path(walk.pattern);
        std::vector<Listed> expected;
        ReferenceWalk(tree.Root() + "\\", walk.pattern, 0, walk.recurse, walk.includeSystemFolders, expected);
        ASSERT_GT(expected.size(), walk.recurse ? 10u : 2u) << walk.pattern;

        FolderWalker walker;
        walker.Begin(pathPattern.c_str(), walk.recurse, walk.includeSystemFolders);
        GuardedPath output;
        size_t produced = 0;
        for (; walker.Next(output.bytes); ++produced) {
            ASSERT_LT(produced, expected.size()) << walk.pattern << ": more files than the plain walk";
            const Listed& wanted = expected[produced];
            ASSERT_EQ(wanted.path, output.bytes) << walk.pattern << " recurse " << walk.recurse << " system "
                                                 << walk.includeSystemFolders << " at " << produced;
            EXPECT_EQ(wanted.size, walker.EntrySize()) << wanted.path;
            EXPECT_EQ(wanted.attributes, walker.EntryAttributes()) << wanted.path;
        }
        EXPECT_EQ(expected.size(), produced) << walk.pattern;
        EXPECT_EQ(0u, walker.FoldersNotSearched()) << walk.pattern << ": folders without such files are searched";
        EXPECT_TRUE(output.GuardIntact());
    }

    // Suspended after any file, with another walk run in between, the walk goes on where it stopped.
    for (const Walk& walk : {walks[0], walks[4]}) {
        const std::string pathPattern = tree.Path(walk.pattern);
        std::vector<Listed> expected;
        ReferenceWalk(tree.Root() + "\\", walk.pattern, 0, walk.recurse, walk.includeSystemFolders, expected);
        std::vector<std::string> whole;
        for (const Listed& listed : expected)
            whole.push_back(listed.path);
        for (size_t stop = 0; stop <= whole.size(); ++stop) {
            FolderWalker walker;
            walker.Begin(pathPattern.c_str(), walk.recurse, walk.includeSystemFolders);
            std::vector<std::string> paths = Rest(walker, stop);
            FolderWalker other;
            other.Begin(tree.Path("*.*").c_str(), 1, 1);
            Rest(other);
            std::vector<std::string> rest = Rest(walker);
            paths.insert(paths.end(), rest.begin(), rest.end());
            ASSERT_EQ(whole, paths) << walk.pattern << " suspended after " << stop << " files";
        }
    }
}
