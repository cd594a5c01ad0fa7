// Expanding tab characters of one display line into spaces.
#pragma once

// Copies text into destination with every HT widened to the next tab stop; writes at most
// capacity - 1 bytes and a terminating NUL. Returns destination.
char* ExpandTabs(char* destination, const char* text, int tabWidth, int capacity);
