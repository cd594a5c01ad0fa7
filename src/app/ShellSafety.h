// Which files the shell would run rather than open, and opening those as plain text instead.
#pragma once

// Nonzero when handing path to the shell could run it: programs, scripts, shortcuts, installers,
// and names without an extension.
int ShellWouldRun(const char* path);

// Starts Notepad on path; nonzero when it started.
int OpenInNotepad(const char* path);
