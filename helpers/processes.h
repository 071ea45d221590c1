#pragma once
#include <windows.h>
#include <string>
#include <vector>

// What a program run by RunProgram did.
struct ProgramRun {
    DWORD exitCode = 0;
    bool timedOut = false;
    std::vector<std::string> lines;  // stdout, one line each
    std::string errors;              // stderr

    bool Has(const std::string& line) const;
    int Count(const std::string& line) const;
    std::vector<std::string> StartingWith(const std::string& prefix) const;
    // Everything reported, for failure messages.
    std::string Transcript() const;
};

// Runs a command line and waits for it, reading its output and its errors as
// it goes; killed and marked timed out after `timeoutMs`. A program that
// cannot start gives exit code MAXDWORD and says so in `errors`.
ProgramRun RunProgram(const std::wstring& commandLine, DWORD timeoutMs);
// `argument` in double quotes, for a command line.
std::wstring Quoted(const std::wstring& argument);

// Threads of this process right now.
unsigned CountProcessThreads();
// This process's top-level windows of a class, topmost first: another
// program's windows of the same class may be on the desktop too.
std::vector<HWND> WindowsOfThisProcess(const wchar_t* className);
