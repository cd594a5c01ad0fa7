// The file filter: every file, or only files with one of the enabled extensions.
#pragma once

// Nonzero when path is a candidate under the current search options.
int ExtensionAccepted(const char* path);
