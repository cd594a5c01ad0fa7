// A scratch folder tree under the temporary directory, removed with everything in it at the end of a test.
#pragma once
#include <windows.h>

#include <string>

class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // The tree's folder, without a trailing separator.
    const std::string& Root() const { return root; }
    std::string Path(const std::string& relative) const { return root + "\\" + relative; }

    // Relative paths use '\'; the parent must exist. Paths past MAX_PATH work too.
    bool MakeFolder(const std::string& relative) const;
    bool MakeFile(const std::string& relative, const std::string& content = std::string()) const;
    bool AddAttributes(const std::string& relative, DWORD attributes) const;
    // The same for names in any script.
    bool MakeFolder(const std::wstring& relative) const;
    bool MakeFile(const std::wstring& relative, const std::string& content = std::string()) const;

private:
    std::string root;
};
