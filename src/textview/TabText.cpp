// Expanding tab characters of one display line into spaces.
#include "textview/TabText.h"

char* ExpandTabs(char* destination, const char* text, int tabWidth, int capacity)
{
    if (capacity <= 0)
        return destination;
    if (tabWidth <= 0)
        tabWidth = 1;
    int out = 0;
    const int limit = capacity - 1;
    for (const char* p = text; *p && out < limit; ++p) {
        if (*p == '\t') {
            int stop = out + tabWidth - out % tabWidth;
            while (out < stop && out < limit)
                destination[out++] = ' ';
        } else {
            destination[out++] = *p;
        }
    }
    destination[out] = '\0';
    return destination;
}
