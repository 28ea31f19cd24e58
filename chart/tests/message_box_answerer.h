// Answers the message boxes the current thread opens, and records them.
// A CBT hook sees each box when it is activated, reads its caption, text,
// buttons and icon, and clicks the wanted button (OK when it has no such
// button): the real MessageBox path runs, and no test waits for a user.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct SeenBox {
    std::wstring caption;
    std::wstring text;
    bool yesNo = false;  // Yes and No buttons, else OK only
    HICON icon = nullptr;
};

class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(int answer, std::function<void(const SeenBox&)> onBox = {});
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    const std::vector<SeenBox>& Boxes() const { return boxes_; }

    // Reads the open box and clicks the wanted button.
    void Answer(HWND box);

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    int answer_;
    std::function<void(const SeenBox&)> onBox_;
    std::vector<SeenBox> boxes_;
    HHOOK hook_;
};

HICON SystemIcon(LPCWSTR id);
