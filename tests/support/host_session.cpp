#include "support/host_session.h"
#include <stdio.h>

namespace {

constexpr DWORD POLL_MS = 20;

std::wstring Quoted(const std::wstring& argument)
{
    return L"\"" + argument + L"\"";
}

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
    HANDLE read = NULL, write = NULL;
    bool Open()
    {
        SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, NULL, TRUE};
        if (!CreatePipe(&read, &write, &inheritable, 0))
            return false;
        // Only the child's end is inherited.
        SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
        return true;
    }
    void CloseWrite()
    {
        if (write)
            CloseHandle(write);
        write = NULL;
    }
    ~Pipe()
    {
        CloseWrite();
        if (read)
            CloseHandle(read);
    }
};

std::wstring CommandLineFor(const HostLaunch& launch, const std::wstring& script)
{
    std::wstring command = Quoted(BinDir() + L"\\quaver_host.exe");
    command += L" --plugin " + Quoted(launch.plugin.empty() ? BinDir() + L"\\coverdeck.qpl" : launch.plugin);
    if (!launch.bass.empty())
        command += L" --bass " + Quoted(launch.bass);
    for (const std::wstring& argument : launch.extraArguments)
        command += L" " + Quoted(argument);
    command += L" --script " + Quoted(script);
    return command;
}

// Reads "window LEFT TOP WIDTH HEIGHT" into a rectangle; false for any other line.
bool ParseWindowLine(const std::string& line, RECT* rect)
{
    long left, top, width, height;
    char rest;
    if (sscanf(line.c_str(), "window %ld %ld %ld %ld%c", &left, &top, &width, &height, &rest) != 4)
        return false;
    *rect = RECT{left, top, left + width, top + height};
    return true;
}

}  // namespace

bool HostRun::Has(const std::string& line) const
{
    return Count(line) > 0;
}

int HostRun::Count(const std::string& line) const
{
    int count = 0;
    for (const std::string& reported : lines)
        count += reported == line ? 1 : 0;
    return count;
}

std::vector<std::string> HostRun::StartingWith(const std::string& prefix) const
{
    std::vector<std::string> found;
    for (const std::string& reported : lines) {
        if (reported.compare(0, prefix.size(), prefix) == 0)
            found.push_back(reported);
    }
    return found;
}

std::string HostRun::Transcript() const
{
    std::string text = "exit " + std::to_string(exitCode) + (timedOut ? " (timed out)" : "") + "\n";
    for (const std::string& line : lines)
        text += line + "\n";
    return text + errors;
}

HostRun RunProgram(const std::wstring& commandLine, DWORD timeoutMs)
{
    HostRun run;
    Pipe out, err;
    if (!out.Open() || !err.Open()) {
        run.exitCode = MAXDWORD;
        run.errors = "cannot make the output pipes";
        return run;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out.write;
    startup.hStdError = err.write;
    PROCESS_INFORMATION process = {};
    std::wstring command = commandLine;
    if (!CreateProcessW(NULL, &command[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process)) {
        run.exitCode = MAXDWORD;
        run.errors = "cannot start " + Utf8Of(command);
        return run;
    }
    out.CloseWrite();
    err.CloseWrite();

    std::string stdoutText;
    DWORD start = GetTickCount();
    while (WaitForSingleObject(process.hProcess, POLL_MS) == WAIT_TIMEOUT) {
        Drain(out.read, &stdoutText);
        Drain(err.read, &run.errors);
        if (GetTickCount() - start > timeoutMs) {
            TerminateProcess(process.hProcess, MAXDWORD);
            WaitForSingleObject(process.hProcess, INFINITE);
            run.timedOut = true;
            break;
        }
    }
    Drain(out.read, &stdoutText);
    Drain(err.read, &run.errors);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    run.lines = SplitLines(stdoutText);
    return run;
}

HostRun RunThemeKit(const std::vector<std::wstring>& arguments)
{
    std::wstring command = Quoted(BinDir() + L"\\coverdeck-theme.exe");
    for (const std::wstring& argument : arguments)
        command += L" " + Quoted(argument);
    return RunProgram(command, 300000);
}

HostRun RunHost(const HostLaunch& launch, const std::vector<std::string>& steps)
{
    TempFolder scratch;
    std::string script;
    for (const std::string& step : steps)
        script += step + "\n";
    std::wstring scriptPath = scratch / L"steps.txt";
    if (!WriteText(scriptPath, script)) {
        HostRun run;
        run.exitCode = MAXDWORD;
        run.errors = "cannot prepare the host run";
        return run;
    }
    return RunProgram(CommandLineFor(launch, scriptPath), launch.timeoutMs);
}

namespace {

struct HostJob {
    const HostLaunch* launch;
    const std::vector<std::string>* steps;
    HostRun run;
};

DWORD WINAPI RunHostJob(void* job)
{
    HostJob* it = static_cast<HostJob*>(job);
    it->run = RunHost(*it->launch, *it->steps);
    return 0;
}

}  // namespace

std::vector<HostRun> RunHostsSideBySide(const std::vector<HostLaunch>& launches,
                                        const std::vector<std::vector<std::string>>& steps)
{
    std::vector<HostJob> jobs(launches.size());
    std::vector<HANDLE> threads;
    for (size_t i = 0; i < launches.size(); ++i) {
        jobs[i].launch = &launches[i];
        jobs[i].steps = &steps[i];
        threads.push_back(CreateThread(NULL, 0, RunHostJob, &jobs[i], 0, NULL));
    }
    std::vector<HostRun> runs;
    for (size_t i = 0; i < threads.size(); ++i) {
        WaitForSingleObject(threads[i], INFINITE);
        CloseHandle(threads[i]);
        runs.push_back(jobs[i].run);
    }
    return runs;
}

std::wstring CopyPluginInto(const TempFolder& folder)
{
    std::wstring copy = folder / L"coverdeck.qpl";
    CopyFileW((BinDir() + L"\\coverdeck.qpl").c_str(), copy.c_str(), FALSE);
    return copy;
}

bool LastWindowRect(const HostRun& run, RECT* rect)
{
    for (auto line = run.lines.rbegin(); line != run.lines.rend(); ++line) {
        if (ParseWindowLine(*line, rect))
            return true;
    }
    return false;
}
