// The text views of the pasteboard (8), virtual printer (9) and system
// console (10) windows, their rulers, and their layout after a resize.
#pragma once

#include <QFont>
#include <QPlainTextEdit>
#include <cstdint>
#include <string>
#include <string_view>

// A read-only plain-text view. It keeps the text exactly as it was set
// (carriage returns included) beside what it shows, where carriage returns
// become line breaks.
class TextView : public QPlainTextEdit {
public:
    explicit TextView(QWidget* parent);
    const std::string& text() const { return text_; }
    void settext(const std::string& text);

private:
    void showtext(const std::string& text);
    void appendtext(std::string_view addition);
    std::string text_;
};

// The face of the text views and rulers: DejaVu Sans Mono at 12 logical
// pixels (the runtime's 12 points, as on the desktop the sizes were chosen
// for).
QFont textviewfont();

// Window 8, 9, 10: fits the scroll view (and ruler) to the window's frame.
// Any other number: nothing.
void relayouttextwindow(uint8_t number);
