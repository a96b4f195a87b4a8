// The text views of windows 8, 9 and 10: the text kept exactly, shown with
// carriage returns as line breaks, appended cheaply, scrolled to the end.
#include <gtest/gtest.h>

#include <QScrollBar>

#include "platform/platform.h"
#include "platform/qt/handles.h"
#include "platform/qt/text_windows.h"

namespace {

std::string shown(uint8_t window)
{
    return totextview(windowtextview(window))->toPlainText().toStdString();
}

std::string lines(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "Patient: Zeile " + std::to_string(i) + "\r";
    return text;
}

}  // namespace

TEST(TextView, KeepsTheTextExactlyAndShowsReturnsAsLines)
{
    // what is set in turn, what the view then shows
    struct Row {
        const char* set;
        const char* shows;
    };
    const Row rows[] = {
        {"Protokoll vom 01.02.2024\rPatient: Hallo", "Protokoll vom 01.02.2024\nPatient: Hallo"},
        {"Protokoll vom 01.02.2024\rPatient: Hallo\rSprecho: Na?",
         "Protokoll vom 01.02.2024\nPatient: Hallo\nSprecho: Na?"},   // appended
        {"a\r\nb", "a\nb"},                                            // CR LF is one break
        {"a\r\nb\r", "a\nb\n"},                                        // appended
        {"a\r\nb\r\nc", "a\nb\nc"},                                    // CR and LF in two steps
        {"neu", "neu"},                                                // replaced
        {"", ""},
        {"x\n\ny", "x\n\ny"},
        {"Gr\xC3", "Gr\uFFFD"},                                       // cut inside "ü"
        {"Gr\xC3\xBC\xC3\x9F", "Grüß"},                                // completed later
    };
    for (const Row& row : rows) {
        platform::set_text_view_text(windowtextview(9), row.set);
        EXPECT_EQ(platform::text_view_text(windowtextview(9)), row.set);
        EXPECT_EQ(shown(9), row.shows) << "after setting " << testing::PrintToString(row.set);
    }
}

TEST(TextView, BytesThatAreNoUtf8AreKeptAsTheyCame)
{
    const std::string raw = "ab\xFF\xC3";
    platform::set_text_view_text(windowtextview(10), raw);
    EXPECT_EQ(platform::text_view_text(windowtextview(10)), raw);
}

TEST(TextView, ViewsAreReadOnlyMonospacedAndUnwrapped)
{
    for (const uint8_t n : {8, 9, 10}) {
        const TextView* view = totextview(windowtextview(n));
        EXPECT_TRUE(view->isReadOnly());
        EXPECT_TRUE(view->textInteractionFlags() & Qt::TextSelectableByMouse);
        EXPECT_EQ(view->lineWrapMode(), QPlainTextEdit::NoWrap);
        EXPECT_TRUE(QFontInfo(view->font()).fixedPitch());
        EXPECT_EQ(view->font().pixelSize(), 12);
    }
}

TEST(TextView, AViewAtTheEndFollowsTheTextAndOneScrolledBackStays)
{
    platform::set_window_frame(platformwindow(9), {0, 0, 600, 300});
    platform::order_window_front(platformwindow(9));
    TextView* view = totextview(windowtextview(9));
    QScrollBar* bar = view->verticalScrollBar();

    platform::set_text_view_text(windowtextview(9), lines(200));
    bar->setValue(bar->maximum());
    platform::set_text_view_text(windowtextview(9), lines(210));
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());

    bar->setValue(0);
    platform::set_text_view_text(windowtextview(9), lines(220));
    EXPECT_EQ(bar->value(), 0);
}

