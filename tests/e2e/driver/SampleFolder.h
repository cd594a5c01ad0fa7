// A folder of sample files made under the temp folder for one test and removed with it.
#pragma once

#include <string>
#include <vector>

namespace e2e {

class SampleFolder {
public:
    // Makes a new, empty folder with a name no other test or run uses.
    SampleFolder();
    ~SampleFolder();
    SampleFolder(const SampleFolder&) = delete;
    SampleFolder& operator=(const SampleFolder&) = delete;

    bool IsValid() const { return !folder.empty(); }
    // The folder's Windows path, ending in a backslash.
    const std::string& Path() const { return folder; }
    // Writes the bytes exactly as given into a file (name may hold subfolders, which are made);
    // returns the file's full path, or an empty string when it could not be written.
    std::string Add(const std::string& name, const std::string& bytes);
    // The same for a name in any script or a path past MAX_PATH (made through \\?\ paths); true when written.
    bool AddWide(const std::wstring& name, const std::string& bytes);
    // A path inside the folder that is not made.
    std::string PathOf(const std::string& name) const { return folder + name; }

private:
    std::string folder;
    std::vector<std::wstring> wideEntries;  // removed before the folder, the last made first
};

// Deletes a folder with everything in it; true when it is gone afterwards.
bool RemoveFolderTree(const std::string& path);

} // namespace e2e
