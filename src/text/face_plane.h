// Beside the text memory of each graphic window: which face of the font
// (regular, bold, italic) drew each cell. Video memory keeps only codes and
// colours; a front-end that shows the text rather than the pixels reads the
// face from here to show the header in bold and the replies in italics.
//
// The plane follows the text memory cell for cell: t_PrintSymbol records the
// window font's face with every cell it draws, scrolling moves the plane's
// lines with the text memory's. It is sized when the window is set up.
#pragma once

#include <cstdint>

#include "platform/entry_points.h"

// Program thread: a plane of `cells` regular cells for the window (none
// for 0 cells), replacing the old one.
void resetfaceplane(uint8_t window, int64_t cells);
// Program thread: the face of cell `index`; an index outside the plane is
// ignored (a window set up by hand has none).
void recordface(uint8_t window, int64_t index, t_FontFace face);
// Program thread: `count` cells from index `from` to index `to`, as
// memmove would move them; ranges outside the plane move nothing.
void moveface(uint8_t window, int64_t from, int64_t to, int64_t count);
// Any thread: the faces of cells 0..count-1 into `faces` (regular where the
// plane has no cell).
void readfaces(uint8_t window, t_FontFace* faces, int64_t count);
