// Screen scripts: plain-text tests of the text engine.
//
// A script is a list of commands, each at the start of a line, with the
// expected results indented by two spaces under it. Every command runs with
// the diagnostics captured; what it printed must equal its `out` and `raw`
// expectations exactly (nothing, when it has none). `#` starts a comment.
//
//   window 0 10x4                 hand-made window 0, 10 x 4 cells of 4 x 4
//   print "AB\rC"                  t_Print of a String (\r \n \e \\ \" \xNN \u{20AC})
//     cursor 2,2                   expected cursor column, line
//     row 1 "AB"                   line 1 of the text memory, trailing blanks cut
//     screen                       the whole screen, trailing blanks and lines cut
//       |AB
//       |C
//
// Commands: window N CxL [depth D] [font WxH] [exact]; target N;
// area C1 L1 C2 L2; fullarea; print S; bytes S (the Text form: \xNN is a
// byte); char N; control N; mode N; color N; inverse; normal; reverse;
// goto C L (sets the cursor fields); htab N; tab N [FILL]; spc N; home; end;
// left; right; up; down; cr; scrollup; scrolldown; scrolllock on|off;
// header S S; invert C1 L1 C2 L2; cursoron; cursoroff; cursordraw;
// clearline; clearwindow; redirect N; getscreen S; snapshot; write C L S
// (stores codes and colour 0xC0 in text memory directly, without drawing);
// emptyfont (t_WindowFont with the empty font); notext (the record loses
// its text block).
//
// Expectations: cursor C,L; row N S; screen (rows prefixed by "|"); code
// C,L N; attr C,L 0xHH; ink C,L N and paper C,L N (colour of the cell's
// top-left and bottom-right pixel, 24 and 32 bits); consistent (every cell's
// pixels match its text memory); unchanged (pixels and text memory equal the
// last snapshot); mode N; color 0xHH; inverse yes|no; level N; area C1 L1 C2
// L2; border N; result S (of getscreen); out S; raw S.
#pragma once

#include <string>

// Runs the script in `path`; every mismatch is a test failure naming the
// script line.
void runscreenscript(const std::string& path);
