// Shows the wait cursor for the life of a scope and puts the previous cursor back on every way out.
#pragma once
#include <windows.h>

class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    // Ends the wait early; the destructor then does nothing.
    void End();

private:
    HCURSOR previous;
    bool active;
};
