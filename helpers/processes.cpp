#include "helpers/processes.h"
#include <tlhelp32.h>
#include "helpers/text.h"
#include "state/owners.h"

namespace {

constexpr DWORD POLL_MS = 20;

// Moves whatever the pipe holds now into `out`, without blocking.
void Drain(HANDLE pipe, std::string* out)
{
    DWORD available = 0;
    while (PeekNamedPipe(pipe, NULL, 0, NULL, &available, NULL) && available > 0) {
        char chunk[4096];
        DWORD got = 0;
        if (!ReadFile(pipe, chunk, available < sizeof chunk ? available : sizeof chunk, &got, NULL) || got == 0)
            return;
        out->append(chunk, got);
    }
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

struct Pipe {
    UniqueHandle read, write;
    bool Open()
    {
        SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, NULL, TRUE};
        if (!CreatePipe(read.put(), write.put(), &inheritable, 0))
            return false;
        // Only the child's end is inherited.
        SetHandleInformation(read.get(), HANDLE_FLAG_INHERIT, 0);
        return true;
    }
};

struct ClassSearch {
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectIfOfClass(HWND window, LPARAM search)
{
    auto* it = reinterpret_cast<ClassSearch*>(search);
    wchar_t className[256];
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && GetClassNameW(window, className, 256) &&
        lstrcmpW(className, it->className) == 0)
        it->found.push_back(window);
    return TRUE;
}

ProgramRun Unstarted(const std::string& why)
{
    ProgramRun run;
    run.exitCode = MAXDWORD;
    run.errors = why;
    return run;
}

}  // namespace

bool ProgramRun::Has(const std::string& line) const
{
    return Count(line) > 0;
}

int ProgramRun::Count(const std::string& line) const
{
    int count = 0;
    for (const std::string& reported : lines)
        count += reported == line ? 1 : 0;
    return count;
}

std::vector<std::string> ProgramRun::StartingWith(const std::string& prefix) const
{
    std::vector<std::string> found;
    for (const std::string& reported : lines) {
        if (reported.compare(0, prefix.size(), prefix) == 0)
            found.push_back(reported);
    }
    return found;
}

std::string ProgramRun::Transcript() const
{
    std::string text = "exit " + std::to_string(exitCode) + (timedOut ? " (timed out)" : "") + "\n";
    for (const std::string& line : lines)
        text += line + "\n";
    return text + errors;
}

ProgramRun RunProgram(const std::wstring& commandLine, DWORD timeoutMs)
{
    Pipe out, err;
    if (!out.Open() || !err.Open())
        return Unstarted("cannot make the output pipes");
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out.write.get();
    startup.hStdError = err.write.get();
    PROCESS_INFORMATION started = {};
    std::wstring command = commandLine;
    if (!CreateProcessW(NULL, &command[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup, &started))
        return Unstarted("cannot start " + Utf8Of(command));
    const UniqueHandle process(started.hProcess), thread(started.hThread);
    // Our copies of the child's ends go, so that the pipes end with the child.
    out.write.reset();
    err.write.reset();

    ProgramRun run;
    std::string stdoutText;
    DWORD start = GetTickCount();
    while (WaitForSingleObject(process.get(), POLL_MS) == WAIT_TIMEOUT) {
        Drain(out.read.get(), &stdoutText);
        Drain(err.read.get(), &run.errors);
        if (GetTickCount() - start > timeoutMs) {
            TerminateProcess(process.get(), MAXDWORD);
            WaitForSingleObject(process.get(), INFINITE);
            run.timedOut = true;
            break;
        }
    }
    Drain(out.read.get(), &stdoutText);
    Drain(err.read.get(), &run.errors);
    GetExitCodeProcess(process.get(), &run.exitCode);
    run.lines = SplitLines(stdoutText);
    return run;
}

std::wstring Quoted(const std::wstring& argument)
{
    return L"\"" + argument + L"\"";
}

unsigned CountProcessThreads()
{
    const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot)
        return 0;
    unsigned count = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more; more = Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            ++count;
    }
    return count;
}

std::vector<HWND> WindowsOfThisProcess(const wchar_t* className)
{
    ClassSearch search{className, {}};
    EnumWindows(CollectIfOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
