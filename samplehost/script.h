#pragma once
#include <windows.h>
#include <string>
#include <vector>

enum class StepKind {
    Play, Status, Event, Wait, Await, Drag, DoubleClick, RightClick, Key, Rect, Capture, Scene, Menu, Cycle, Quit,
    Press, Release, QuitOn, Unload, Freeze, Close, LockedInit, SampleCentre, Visible
};

struct Step {
    int line = 0;             // script line, or position after "--"
    StepKind kind = StepKind::Wait;
    std::wstring text;        // as written, for the report
    std::wstring argument;    // play: path or URL; capture, scene: file; await: path-query or status-query;
                              // quit-on: activate, status-query or path-query
    int numbers[2] = {0, 0};  // status/event/wait/cycle: [0]; drag: dx, dy
    bool shift = false;       // dblclick shift, press shift
    std::vector<WORD> keys;   // virtual-key codes
};

// Parses one step; on failure fills `error` with a one-line reason.
bool ParseStep(const std::wstring& text, int line, Step* step, std::wstring* error);

// Reads a UTF-8 script file: one step a line, '#' comments and blank lines
// skipped. On failure `error` holds the reason and `errorLine` the line number
// (0 when the file itself cannot be read).
bool ReadScript(const std::wstring& path, std::vector<Step>* steps, int* errorLine, std::wstring* error);
