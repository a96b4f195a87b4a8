// The faces beside text memory: each cell keeps the face of the font that
// drew it, through scrolling, and a front-end reads them with the cells.
#include <gtest/gtest.h>

#include <string>

#include "hand_window.h"
#include "text/face_plane.h"
#include "text/glyph.h"
#include "text/text_attributes.h"
#include "text/text_output.h"
#include "windows/window_table.h"

namespace {

// Window 0 of 6 x 3 cells with a plane of faces, as t_InitWindow leaves it.
void setup()
{
    sethandwindow({.width = 2 * 6, .height = 2 * 3, .padded = false}, handfont(2, 2));
    resetfaceplane(0, textplanesize(windowtable[0]));
}

void drawin(t_FontFace face, uint8_t code, int64_t column, int64_t line)
{
    windowtable[0].Font.Face = face;
    t_PrintSymbol(0, code, 0xC0, column, line);
}

// A column of lines 1..3 as code and face ("Ab": A in bold; r regular, i italic).
std::string columnof(int64_t column)
{
    t_TextScreen screen;
    EXPECT_TRUE(viewtextscreen(0, screen));
    std::string text;
    for (int64_t line = 0; line < screen.Lines; ++line) {
        const t_TextCell& cell = screen.Cells[size_t(line * screen.Columns + column - 1)];
        text += char(cell.Code);
        text += "rbi"[int(cell.Face)];
    }
    return text;
}

struct Restore {
    ~Restore() { resetfaceplane(0, 0); }
};

}  // namespace

TEST(FacePlane, CellsKeepTheFaceThatDrewThem)
{
    const Restore restore;
    setup();
    drawin(t_FontFace::bold, 'A', 1, 1);
    drawin(t_FontFace::italic, 'B', 1, 2);
    drawin(t_FontFace::italic, 'E', 6, 2);
    drawin(t_FontFace::bold, 'F', 6, 3);
    EXPECT_EQ(columnof(1), "AbBi r");
    // A full-width scroll moves the cells and their faces, to the last cell.
    windowtable[0].Font.Face = t_FontFace::regular;
    t_ScrollUp(0);
    EXPECT_EQ(columnof(1), "Bi r r");
    EXPECT_EQ(columnof(6), "EiFb r");
    // A narrower area redraws its cells, in the face the window has now.
    drawin(t_FontFace::bold, 'C', 1, 3);
    t_Area(0, 1, 1, 5, 3);
    windowtable[0].Font.Face = t_FontFace::italic;
    t_ScrollDown(0);
    EXPECT_EQ(columnof(1), " iBi i");
}
