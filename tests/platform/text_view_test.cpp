// The text views of windows 8, 9 and 10: the text kept exactly, shown with
// carriage returns as line breaks, appended cheaply, scrolled to the end.
#include <gtest/gtest.h>

#include <QScrollBar>

#include "platform/platform.h"
#include "frontends/qt/handles.h"
#include "frontends/qt/text_windows.h"

// Each row is set in turn, so a row that extends the one before is appended
// and must not break or double the lines already shown.
TEST(TextView, KeepsTheTextExactlyAndShowsReturnsAsLines)
{
    const struct { const char *set, *shows; } rows[] = {
        {"Protokoll\rPatient: Hallo", "Protokoll\nPatient: Hallo"},
        {"Protokoll\rPatient: Hallo\rSprecho: Na?", "Protokoll\nPatient: Hallo\nSprecho: Na?"},
        {"a\r\nb\r", "a\nb\n"},              // replaced; CR LF is one break
        {"a\r\nb\r\nc", "a\nb\nc"},          // CR and LF in two steps
        {"Gr\xC3", "Gr\uFFFD"},              // cut inside "ü"
        {"Gr\xC3\xBC\xC3\x9F", "Grüß"},      // completed later
        {"ab\xFF\xC3", "ab\uFFFD\uFFFD"},    // no UTF-8 at all
    };
    for (const auto& row : rows) {
        platform::set_text_view_text(windowtextview(9), row.set);
        EXPECT_EQ(platform::text_view_text(windowtextview(9)), row.set);
        EXPECT_EQ(totextview(windowtextview(9))->toPlainText().toStdString(), row.shows)
            << "after setting " << testing::PrintToString(row.set);
    }
}

// A view at the end of its text follows it as lines are added; one the
// reader scrolled back stays where it is.
TEST(TextView, AViewAtTheEndFollowsTheTextAndOneScrolledBackStays)
{
    const auto lines = [](int count) {
        std::string text;
        for (int i = 1; i <= count; ++i)
            text += "Patient: Zeile " + std::to_string(i) + "\r";
        return text;
    };
    platform::set_window_frame(platformwindow(9), {0, 0, 600, 300});
    platform::order_window_front(platformwindow(9));
    QScrollBar* bar = totextview(windowtextview(9))->verticalScrollBar();
    platform::set_text_view_text(windowtextview(9), lines(200));
    bar->setValue(bar->maximum());
    platform::set_text_view_text(windowtextview(9), lines(210));
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    bar->setValue(0);
    platform::set_text_view_text(windowtextview(9), lines(220));
    EXPECT_EQ(bar->value(), 0);
}
