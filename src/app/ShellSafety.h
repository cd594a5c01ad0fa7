// Which files the shell would run rather than open, and opening those as plain text instead.
#pragma once

// Nonzero when handing path to the shell could run it: programs, scripts, shortcuts, installers,
// types the system runs (%PATHEXT%) or calls dangerous, types whose "open" starts a shell, script
// host or interpreter or the file itself, and names without an extension.
int ShellWouldRun(const char* path);
// The same for a file reached by path whose own name is ownName: nonzero when either name could run.
// ownName may be the extension alone (".txt"); empty or null, nothing is known of it, so it could.
int ShellWouldRunFile(const char* path, const char* ownName);

// Nonzero when the program path names a command shell, script host or interpreter.
int IsInterpreter(const char* programPath);
// Nonzero when the extension (without its dot) is one of the ";"-separated ".EXT" entries of list.
int ListedExtension(const char* extension, const char* list);

// Starts the Windows folder's Notepad on path; nonzero when it started.
int OpenInNotepad(const char* path);
