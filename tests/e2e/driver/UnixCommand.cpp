// Unix programs started from the Windows side through sh.
//
// Wine starts a Unix program for CreateProcess of a non-PE file but gives no process handle and
// drops its standard output, so the command runs under sh, which writes its output and exit code
// to files that are polled for.
#include "driver/UnixCommand.h"

#include <fstream>
#include <sstream>

#include "driver/HostPaths.h"

namespace e2e {

namespace {

const char kShell[] = "/bin/sh";

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string TempFolder()
{
    char path[MAX_PATH] = "";
    DWORD length = GetTempPathA(sizeof(path), path);
    if (length == 0 || length >= sizeof(path))
        return std::string();
    return path;
}

} // namespace

bool UnixCommand::Available()
{
    return GetFileAttributesA(ToWindowsPath(kShell).c_str()) != INVALID_FILE_ATTRIBUTES &&
           !ToUnixPath("C:\\").empty();
}

std::string UnixCommand::ShellQuote(const std::string& argument)
{
    std::string quoted = "'";
    for (char c : argument) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::string UnixCommand::WindowsQuote(const std::string& argument)
{
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"')
            quoted.append(backslashes * 2 + 1, '\\');
        else
            quoted.append(backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

int UnixCommand::Run(const std::vector<std::string>& argv, std::string* output, DWORD timeoutMs)
{
    if (output)
        output->clear();
    if (argv.empty())
        return -1;
    static unsigned counter = 0;
    const std::string stem = TempFolder() + "e2e-unix-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(++counter);
    const std::string outFile = stem + ".out";
    const std::string codeFile = stem + ".rc";
    const std::string unixOut = ToUnixPath(outFile);
    const std::string unixCode = ToUnixPath(codeFile);
    if (unixOut.empty() || unixCode.empty())
        return -1;
    DeleteFileA(outFile.c_str());
    DeleteFileA(codeFile.c_str());

    // timeout(1) keeps a stuck program from outliving the test; the code file appears whole.
    const unsigned seconds = timeoutMs / 1000 + 1;
    std::string script = "timeout " + std::to_string(seconds);
    for (const std::string& argument : argv)
        script += " " + ShellQuote(argument);
    script += " >" + ShellQuote(unixOut) + " 2>&1; echo $? >" + ShellQuote(unixCode + ".tmp") + " && mv " +
              ShellQuote(unixCode + ".tmp") + " " + ShellQuote(unixCode);

    std::string commandLine = WindowsQuote(kShell) + " -c " + WindowsQuote(script);
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    const std::string shell = ToWindowsPath(kShell);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(shell.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return -1;
    if (info.hThread)
        CloseHandle(info.hThread);
    if (info.hProcess)
        CloseHandle(info.hProcess);

    bool finished = WaitUntil([&] {
        return GetFileAttributesA(codeFile.c_str()) != INVALID_FILE_ATTRIBUTES;
    }, timeoutMs + 2000);
    int code = -1;
    if (finished) {
        std::string codeText = ReadWholeFile(codeFile);
        code = codeText.empty() ? -1 : atoi(codeText.c_str());
    }
    if (output)
        *output = ReadWholeFile(outFile);
    DeleteFileA(outFile.c_str());
    DeleteFileA(codeFile.c_str());
    return code;
}

} // namespace e2e
