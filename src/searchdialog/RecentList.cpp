// Recent-entry lists: reading the order letters and entry texts of a key, and storing a new entry.
#include "searchdialog/RecentList.h"

#include <new>

#include "textview/CodePageText.h"

const char kProgramKeyPath[] = "Software\\Ovelund Freeware\\Seekword";

namespace {

const char kOrderValue[] = "MRUList";
constexpr int kMaxLetters = 26;  // entries are named 'a' to 'z' at most

// A string counts as read only when it is REG_SZ data that ends within the buffer: data shorter
// than the buffer is terminated here, data that fills it must hold its own terminator.
bool ReadString(HKEY key, const char* name, char* buffer, DWORD size)
{
    DWORD type = 0;
    DWORD stored = size;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &stored) == ERROR_SUCCESS &&
        type == REG_SZ && stored <= size) {
        if (stored < size) {
            buffer[stored] = 0;
            return true;
        }
        for (DWORD i = 0; i < stored; ++i) {
            if (buffer[i] == 0)
                return true;
        }
    }
    buffer[0] = 0;
    return false;
}

bool Contains(const char* letters, int length, char letter)
{
    for (int i = 0; i < length; ++i) {
        if (letters[i] == letter)
            return true;
    }
    return false;
}

} // namespace

RecentList::RecentList()
    : loaded(0), combo(nullptr), keyPath(nullptr), count(0), maxEntries(0), textSize(0), order(nullptr)
{
}

RecentList::~RecentList()
{
    Release();
}

// The order string as stored may repeat letters, name letters out of range or letters whose value
// cannot be read; only letters that became a combo item are kept, once each, so item i is always
// order[i] and a later Commit can neither overwrite a live entry nor list one twice.
void RecentList::Load(HWND comboBox, int entryTextSize, int entryLimit, const char* basePath, const char* subkey)
{
    Release();
    combo = comboBox;
    count = 0;
    textSize = entryTextSize < 1 ? 1 : entryTextSize;
    maxEntries = entryLimit < 1 ? 1 : (entryLimit > kMaxLetters ? kMaxLetters : entryLimit);

    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    SendMessageA(combo, CB_LIMITTEXT, static_cast<WPARAM>(textSize - 1), 0);

    const int baseLength = lstrlenA(basePath);
    const int subkeyLength = lstrlenA(subkey);
    keyPath = new (std::nothrow) char[baseLength + 1 + subkeyLength + 1];
    order = new (std::nothrow) char[maxEntries + 2]();
    char* text = new (std::nothrow) char[textSize];
    if (!keyPath || !order || !text) {
        delete[] text;
        Release();
        SetWindowTextA(combo, "");
        return;
    }
    lstrcpynA(keyPath, basePath, baseLength + 1);
    keyPath[baseLength] = '\\';
    lstrcpynA(keyPath + baseLength + 1, subkey, subkeyLength + 1);
    text[0] = 0;

    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        if (ReadString(key, kOrderValue, order, static_cast<DWORD>(maxEntries + 2))) {
            // Compacts order in place: kept letters never overtake the one being read.
            int kept = 0;
            char name[2] = {0, 0};
            for (int i = 0; order[i]; ++i) {
                const char letter = order[i];
                if (letter < 'a' || letter >= 'a' + maxEntries || Contains(order, kept, letter))
                    continue;
                name[0] = letter;
                if (!ReadString(key, name, text, static_cast<DWORD>(textSize)))
                    continue;
                if (SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)) < 0)
                    continue;
                order[kept++] = letter;
            }
            for (int i = kept; i < maxEntries + 2; ++i)
                order[i] = 0;
            count = kept;

            text[0] = 0;
            const LRESULT firstLength = SendMessageA(combo, CB_GETLBTEXTLEN, 0, 0);
            if (firstLength >= 0 && firstLength < textSize)
                SendMessageA(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
        } else {
            for (int i = 0; i < maxEntries + 2; ++i)
                order[i] = 0;
        }
        RegCloseKey(key);
    }

    SetWindowTextA(combo, text);
    delete[] text;
    loaded = 1;
}

// The text is handed out even when the list could not be loaded, so the search still gets it.
void RecentList::Commit(char* output)
{
    output[0] = 0;
    if (combo && textSize > 0) {
        GetWindowTextA(combo, output, textSize);
        // A text longer than the buffer may come cut inside a double-byte character.
        output[CodePageText::Ansi().WholeLength(output)] = '\0';
    }
    if (!loaded || output[0] == 0) {
        Release();
        return;
    }

    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        Release();
        return;
    }

    const LRESULT found = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(output));
    if (found >= 0 && found < count) {
        // Typed again, perhaps in other letter case: the stored text stays as it was.
        if (found != 0)
            WriteOrder(key, order[found]);
    } else {
        const char letter = count < maxEntries ? FreeLetter() : order[maxEntries - 1];
        const char name[2] = {letter, 0};
        const DWORD size = static_cast<DWORD>(lstrlenA(output) + 1);
        if (RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(output), size) == ERROR_SUCCESS) {
            WriteOrder(key, letter);
            if (count < maxEntries)
                ++count;
        }
    }
    RegCloseKey(key);
    Release();
}

void RecentList::Release()
{
    delete[] order;
    order = nullptr;
    delete[] keyPath;
    keyPath = nullptr;
    loaded = 0;
}

// The lowest letter in range that no entry holds; on well-formed data that is 'a' + count.
char RecentList::FreeLetter() const
{
    for (int i = 0; i < maxEntries; ++i) {
        const char letter = static_cast<char>('a' + i);
        if (!Contains(order, count, letter))
            return letter;
    }
    return order[maxEntries - 1];
}

void RecentList::WriteOrder(HKEY key, char first)
{
    char rewritten[kMaxLetters + 2] = {};
    int length = 0;
    rewritten[length++] = first;
    for (int i = 0; i < count; ++i) {
        if (order[i] != first && length < maxEntries)
            rewritten[length++] = order[i];
    }
    rewritten[length] = 0;
    RegSetValueExA(key, kOrderValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(rewritten),
                   static_cast<DWORD>(length + 1));
    lstrcpynA(order, rewritten, maxEntries + 1);
}
