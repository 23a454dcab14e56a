// Records and dismisses the message boxes that appear on the test thread, so
// that tests can assert what the user would have seen.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct CapturedBox {
    std::string caption;
    std::string text;
    HWND owner;
};

class MessageBoxCapture {
public:
    MessageBoxCapture();
    ~MessageBoxCapture();
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

    const std::vector<CapturedBox>& Boxes() const;
    void Clear();

private:
    HHOOK hook_;
};
