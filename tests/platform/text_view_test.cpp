// The text views of windows 8, 9 and 10: the text kept exactly, shown with
// carriage returns as line breaks, appended cheaply.
#include <gtest/gtest.h>

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
