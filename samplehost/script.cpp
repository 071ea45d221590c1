#include "script.h"
#include <wctype.h>
#include <initializer_list>
#include <stdint.h>
#include <stdlib.h>
#include "helpers/files.h"
#include "output.h"

namespace {

std::wstring Trim(const std::wstring& text)
{
    size_t first = 0;
    while (first < text.size() && iswspace(text[first]))
        ++first;
    size_t last = text.size();
    while (last > first && iswspace(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

std::vector<std::wstring> Words(const std::wstring& text)
{
    std::vector<std::wstring> words;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && iswspace(text[at]))
            ++at;
        size_t start = at;
        while (at < text.size() && !iswspace(text[at]))
            ++at;
        if (at > start)
            words.push_back(text.substr(start, at - start));
    }
    return words;
}

bool ParseNumber(const std::wstring& word, int* out)
{
    if (word.empty() || word.size() > 10)
        return false;
    wchar_t* end = nullptr;
    long value = wcstol(word.c_str(), &end, 10);
    if (*end != L'\0')
        return false;
    *out = static_cast<int>(value);
    return true;
}

WORD KeyCode(const std::wstring& name)
{
    struct Named {
        const wchar_t* name;
        WORD key;
    };
    static const Named named[] = {
        {L"down", VK_DOWN},     {L"up", VK_UP},       {L"left", VK_LEFT}, {L"right", VK_RIGHT},
        {L"return", VK_RETURN}, {L"enter", VK_RETURN}, {L"escape", VK_ESCAPE}, {L"tab", VK_TAB},
        {L"space", VK_SPACE},
    };
    for (const Named& entry : named) {
        if (name == entry.name)
            return entry.key;
    }
    if (name.size() == 1 && iswalnum(name[0]) && name[0] < 0x80)
        return static_cast<WORD>(towupper(name[0]));
    return 0;
}

struct StepName {
    const wchar_t* name;
    StepKind kind;
    int numbers;  // how many numeric arguments; -1: the rest of the line is one argument
};

const StepName kSteps[] = {
    {L"play", StepKind::Play, -1},      {L"status", StepKind::Status, 1}, {L"event", StepKind::Event, 1},
    {L"wait", StepKind::Wait, 1},       {L"drag", StepKind::Drag, 2},     {L"dblclick", StepKind::DoubleClick, 0},
    {L"rightclick", StepKind::RightClick, 0}, {L"key", StepKind::Key, 0},  {L"rect", StepKind::Rect, 0},
    {L"capture", StepKind::Capture, -1}, {L"scene", StepKind::Scene, -1}, {L"menu", StepKind::Menu, 0},
    {L"cycle", StepKind::Cycle, 1},      {L"quit", StepKind::Quit, 0},     {L"await", StepKind::Await, -1},
    {L"press", StepKind::Press, 0},      {L"release", StepKind::Release, 0}, {L"quit-on", StepKind::QuitOn, -1},
    {L"unload", StepKind::Unload, 0},    {L"freeze", StepKind::Freeze, 0}, {L"close", StepKind::Close, 0},
    {L"locked-init", StepKind::LockedInit, 0}, {L"sample-centre", StepKind::SampleCentre, 1},
    {L"visible", StepKind::Visible, 0},
};

bool OneOf(const std::wstring& word, std::initializer_list<const wchar_t*> allowed)
{
    for (const wchar_t* candidate : allowed) {
        if (word == candidate)
            return true;
    }
    return false;
}

bool ParseArguments(const StepName& name, const std::vector<std::wstring>& words, const std::wstring& text,
                    Step* step, std::wstring* error)
{
    if (name.numbers == -1) {
        step->argument = Trim(text.substr(words[0].size()));
        if (step->argument.empty()) {
            *error = words[0] + L" needs an argument";
            return false;
        }
        if (step->kind == StepKind::Await && !OneOf(step->argument, {L"path-query", L"status-query"})) {
            *error = L"await takes path-query or status-query";
            return false;
        }
        if (step->kind == StepKind::QuitOn && !OneOf(step->argument, {L"activate", L"path-query", L"status-query"})) {
            *error = L"quit-on takes activate, path-query or status-query";
            return false;
        }
        return true;
    }
    if (step->kind == StepKind::Key) {
        if (words.size() < 2) {
            *error = L"key needs at least one key name";
            return false;
        }
        for (size_t i = 1; i < words.size(); ++i) {
            WORD key = KeyCode(words[i]);
            if (!key) {
                *error = L"unknown key " + words[i];
                return false;
            }
            step->keys.push_back(key);
        }
        return true;
    }
    if ((step->kind == StepKind::DoubleClick || step->kind == StepKind::Press) && words.size() == 2 &&
        words[1] == L"shift") {
        step->shift = true;
        return true;
    }
    if (words.size() != static_cast<size_t>(name.numbers) + 1) {
        *error = words[0] + L" takes " + std::to_wstring(name.numbers) + L" argument(s)";
        return false;
    }
    for (int i = 0; i < name.numbers; ++i) {
        if (!ParseNumber(words[i + 1], &step->numbers[i])) {
            *error = L"bad number " + words[i + 1];
            return false;
        }
    }
    if ((step->kind == StepKind::Wait && step->numbers[0] < 0) ||
        (step->kind == StepKind::Cycle && step->numbers[0] < 1)) {
        *error = L"number out of range " + words[1];
        return false;
    }
    return true;
}

}  // namespace

bool ParseStep(const std::wstring& rawText, int line, Step* step, std::wstring* error)
{
    std::wstring text = Trim(rawText);
    std::vector<std::wstring> words = Words(text);
    if (words.empty()) {
        *error = L"empty step";
        return false;
    }
    *step = Step();
    step->line = line;
    step->text = text;
    for (const StepName& name : kSteps) {
        if (words[0] == name.name) {
            step->kind = name.kind;
            return ParseArguments(name, words, text, step, error);
        }
    }
    *error = L"unknown step " + words[0];
    return false;
}

bool ReadScript(const std::wstring& path, std::vector<Step>* steps, int* errorLine, std::wstring* error)
{
    *errorLine = 0;
    std::vector<unsigned char> raw;
    if (ReadFileBytes(path, SIZE_MAX, &raw) != ReadOutcome::Read) {
        *error = L"cannot read script " + path;
        return false;
    }
    std::string bytes(raw.begin(), raw.end());
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        bytes.erase(0, 3);

    std::wstring text = WideOf(bytes);
    int line = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring content = Trim(text.substr(start, end - start));
        ++line;
        start = end + 1;
        if (content.empty() || content[0] == L'#')
            continue;
        Step step;
        if (!ParseStep(content, line, &step, error)) {
            *errorLine = line;
            return false;
        }
        steps->push_back(step);
    }
    return true;
}
