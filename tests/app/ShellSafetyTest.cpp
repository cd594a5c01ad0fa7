// Edit must never hand a program or script to the shell: which names count as runnable.
#include <gtest/gtest.h>

#include "app/ShellSafety.h"

#include <windows.h>

TEST(ShellSafetyTest, ProgramsScriptsAndShortcutsAreRunnableInAnyCase)
{
    for (const char* path : {"C:\\a\\setup.exe", "C:\\a\\RUN.BAT", "C:\\a\\x.cmd", "C:\\a\\x.com", "C:\\a\\x.pif",
                             "C:\\a\\x.scr", "C:\\a\\x.cpl", "C:\\a\\x.msi", "C:\\a\\x.msc", "C:\\a\\x.lnk",
                             "C:\\a\\x.url", "C:\\a\\x.hta", "C:\\a\\x.js", "C:\\a\\x.jse", "C:\\a\\x.vbs",
                             "C:\\a\\x.vbe", "C:\\a\\x.wsf", "C:\\a\\x.wsh", "C:\\a\\x.ps1", "C:\\a\\x.reg",
                             "C:\\a\\x.jar", "C:\\a\\x.Settingcontent-ms", "C:\\a\\x.appinstaller"})
        EXPECT_TRUE(ShellWouldRun(path)) << path;
}

TEST(ShellSafetyTest, TrailingDotsAndSpacesDoNotHideTheRealType)
{
    EXPECT_TRUE(ShellWouldRun("C:\\a\\evil.exe."));
    EXPECT_TRUE(ShellWouldRun("C:\\a\\evil.bat .. "));
    EXPECT_TRUE(ShellWouldRun("C:\\a\\notes.txt.exe"));
}

// A path may name a file by its short name, whose type is cut to three letters that mean nothing; the shell
// acts on the file all the same. The own name may be the extension alone, or unknown.
TEST(ShellSafetyTest, AFileIsJudgedByItsShortAndItsOwnNameAndEitherCanSendItToNotepad)
{
    const struct { const char* path; const char* ownName; int runs; } cases[] = {
        {"C:\\a\\SETUP~1.APP", "setup.appref-ms", 1}, {"C:\\a\\CONTRO~1.SET", "control.settingcontent-ms", 1},
        {"C:\\a\\DEPLOY~1.APP", "deploy.application", 1}, {"C:\\a\\PACKAG~1.APP", "package.appinstaller", 1},
        {"C:\\a\\NETWOR~1.DIA", "network.diagcab", 1},
        {"C:\\a\\NUL~1.APP", "nul.appref-ms", 1},            // a device name goes by its short name
        {"C:\\a\\9F2A~1.APP", ".appref-ms", 1},              // the code page holds only the extension
        {"C:\\a\\README~1.COM", "readme.community", 1},      // the short name is the runnable one
        {"C:\\a\\9F2A~1.TXT", "", 1}, {"C:\\a\\9F2A~1.TXT", nullptr, 1},  // nothing known of the own name
        {"C:\\a\\LONGNO~1.TXT", "long notes.txt", 0}, {"C:\\a\\9F2A~1.TXT", ".txt", 0},
        {"C:\\a\\CON~1.TXT", "con.txt", 0}, {"C:\\a\\main.cpp", "main.cpp", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.runs, ShellWouldRunFile(c.path, c.ownName)) << c.path << " " << (c.ownName ? c.ownName : "(null)");
    EXPECT_FALSE(ShellWouldRun(cases[0].path)) << "judged by the short name alone";
}

// As the shell reads names: no dot, a space after the last dot, or a type too long to look up whole.
TEST(ShellSafetyTest, NamesWithoutAnExtensionTheShellKnowsAreNotHandedToIt)
{
    for (const char* path : {"C:\\a\\Makefile", "C:\\a.b\\README", "C:\\a\\name.", "", "C:\\a\\notes.txt v2",
                             "C:\\a\\x.averyveryveryverylongextensionname"})
        EXPECT_TRUE(ShellWouldRun(path)) << path;
}

TEST(ShellSafetyTest, DocumentsKeepTheShellsOpen)
{
    for (const char* path : {"C:\\a\\notes.txt", "C:\\a\\main.cpp", "C:\\a\\x.h", "C:\\exe\\readme.md",
                             "C:\\a\\archive.tar.gz", "C:\\a\\x.batch", "C:\\a\\x.exe1", "C:\\a\\my notes.txt"})
        EXPECT_FALSE(ShellWouldRun(path)) << path;
}

TEST(ShellSafetyTest, ShellsScriptHostsAndInterpretersAreKnownByTheirNames)
{
    for (const char* program :
         {"C:\\Windows\\System32\\cmd.exe", "C:\\Windows\\System32\\WScript.EXE", "C:\\Windows\\SysWOW64\\mshta.exe",
          "C:\\Python311\\python.exe", "C:\\Python311\\pythonw.exe", "C:\\Python311\\python3.11.exe",
          "C:\\Windows\\py.exe", "C:\\Perl\\bin\\perl5.36.exe", "C:\\Program Files\\Git\\bin\\bash.exe",
          "C:\\Tools\\node18.exe", "C:\\Java\\bin\\javaw.exe", "rundll32.exe", "C:\\Tools\\runner.bat",
          "C:\\Windows\\System32\\WindowsPowerShell\\v1.0\\powershell.exe", "C:\\Tools\\pwsh-preview.exe",
          "C:\\Program Files\\AutoHotkey\\UX\\AutoHotkeyUX.exe", "C:\\AHK\\AutoHotkeyU64.exe",
          "C:\\AHK\\AutoHotkeyA32.exe", "C:\\AutoIt3\\AutoIt3_x64.exe"})
        EXPECT_TRUE(IsInterpreter(program)) << program;
    for (const char* program : {"C:\\Windows\\notepad.exe", "C:\\JetBrains\\phpstorm64.exe", "C:\\Tools\\nodepad.exe",
                                "C:\\Office\\soffice.exe", "C:\\bash\\viewer.exe", "C:\\Tools\\javadocviewer.exe",
                                "C:\\JetBrains\\pycharm64.exe", "C:\\ShareX\\sharex.exe"})
        EXPECT_FALSE(IsInterpreter(program)) << program;
}

TEST(ShellSafetyTest, PathExtEntriesMatchWholeExtensionsInAnyCase)
{
    const char list[] = ".COM;.EXE;.BAT;; .PY ;.PYW;RB";
    for (const char* extension : {"com", "py", "PyW", "rb"})
        EXPECT_TRUE(ListedExtension(extension, list)) << extension;
    for (const char* extension : {"p", "pyc", "ex", "", "txt"})
        EXPECT_FALSE(ListedExtension(extension, list)) << extension;
}

// A verb handled by an object rather than a command (app installers, troubleshooters) still acts on the
// file; only a type the system knows nothing of goes to the shell, which can but ask what to open it with.
TEST(ShellSafetyTest, AnAssociatedTypeWhoseOpenNamesNoProgramGoesToNotepad)
{
    const char type[] = "Software\\Classes\\.swdelegated";
    const char verbClass[] = "Software\\Classes\\SeekwordTest.Delegated";
    const char handler[] = "{00000000-0000-0000-0000-000000000001}";
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_CURRENT_USER, type, nullptr, REG_SZ, "SeekwordTest.Delegated", 23));
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Classes\\SeekwordTest.Delegated\\shell\\open",
                                             "DelegateExecute", REG_SZ, handler, sizeof handler));
    EXPECT_TRUE(ShellWouldRun("C:\\a\\package.swdelegated"));
    EXPECT_FALSE(ShellWouldRun("C:\\a\\package.swunknown"));
    RegDeleteTreeA(HKEY_CURRENT_USER, type);
    RegDeleteTreeA(HKEY_CURRENT_USER, verbClass);
}
