// Every key of a German ISO (105 keys) and a US (104 keys) PC keyboard by
// position: its Linux input event code (the X11 keycode is 8 more), its
// legend on each layout and the runtime's key code at that position, which
// follows the original platform's ISO keyboard. Modifier and lock keys give
// no key press: their code is `modifier`.
#pragma once

#include <cstdint>

struct KeyboardKey {
    int evdev;
    const char* german;
    const char* us;  // nullptr: the key is not on a US keyboard
    int64_t code;
};

inline constexpr int64_t modifier = -1;

inline constexpr KeyboardKey keyboardkeys[] = {
    {1, "Esc", "Esc", 53},        {59, "F1", "F1", 122},        {60, "F2", "F2", 120},
    {61, "F3", "F3", 99},         {62, "F4", "F4", 118},        {63, "F5", "F5", 96},
    {64, "F6", "F6", 97},         {65, "F7", "F7", 98},         {66, "F8", "F8", 100},
    {67, "F9", "F9", 101},        {68, "F10", "F10", 109},      {87, "F11", "F11", 103},
    {88, "F12", "F12", 111},      {99, "Druck", "PrtSc", 105},  {70, "Rollen", "ScrLk", modifier},
    {119, "Pause", "Pause", 113},
    {41, "^", "`", 10},           {2, "1", "1", 18},            {3, "2", "2", 19},
    {4, "3", "3", 20},            {5, "4", "4", 21},            {6, "5", "5", 23},
    {7, "6", "6", 22},            {8, "7", "7", 26},            {9, "8", "8", 28},
    {10, "9", "9", 25},           {11, "0", "0", 29},           {12, "ß", "-", 27},
    {13, "´", "=", 24},           {14, "Rück", "Backspace", 51},
    {15, "Tab", "Tab", 48},       {16, "Q", "Q", 12},           {17, "W", "W", 13},
    {18, "E", "E", 14},           {19, "R", "R", 15},           {20, "T", "T", 17},
    {21, "Z", "Y", 16},           {22, "U", "U", 32},           {23, "I", "I", 34},
    {24, "O", "O", 31},           {25, "P", "P", 35},           {26, "Ü", "[", 33},
    {27, "+", "]", 30},           {28, "Eingabe", "Enter", 36},
    {58, "Feststell", "Caps", modifier},
    {30, "A", "A", 0},            {31, "S", "S", 1},            {32, "D", "D", 2},
    {33, "F", "F", 3},            {34, "G", "G", 5},            {35, "H", "H", 4},
    {36, "J", "J", 38},           {37, "K", "K", 40},           {38, "L", "L", 37},
    {39, "Ö", ";", 41},           {40, "Ä", "'", 39},           {43, "#", "\\", 42},
    {42, "Umschalt links", "Shift", modifier},
    {86, "<", nullptr, 50},       {44, "Y", "Z", 6},            {45, "X", "X", 7},
    {46, "C", "C", 8},            {47, "V", "V", 9},            {48, "B", "B", 11},
    {49, "N", "N", 45},           {50, "M", "M", 46},           {51, ",", ",", 43},
    {52, ".", ".", 47},           {53, "-", "/", 44},
    {54, "Umschalt rechts", "Right Shift", modifier},
    {29, "Strg links", "Ctrl", modifier},  {125, "Super links", "Win", modifier},
    {56, "Alt", "Alt", modifier},          {57, "Leertaste", "Space", 49},
    {100, "Alt Gr", "Right Alt", modifier}, {126, "Super rechts", "Right Win", modifier},
    {127, "Menü", "Menu", 110},            {97, "Strg rechts", "Right Ctrl", modifier},
    {110, "Einfg", "Insert", 114},  {102, "Pos1", "Home", 115},     {104, "Bild auf", "Page Up", 116},
    {111, "Entf", "Delete", 117},   {107, "Ende", "End", 119},      {109, "Bild ab", "Page Down", 121},
    {103, "Auf", "Up", 126},        {105, "Links", "Left", 123},    {108, "Ab", "Down", 125},
    {106, "Rechts", "Right", 124},
    {69, "Num", "Num Lock", modifier},  {98, "Ziffernblock /", "Keypad /", 75},
    {55, "Ziffernblock *", "Keypad *", 67},  {74, "Ziffernblock -", "Keypad -", 78},
    {71, "Ziffernblock 7", "Keypad 7", 89},  {72, "Ziffernblock 8", "Keypad 8", 91},
    {73, "Ziffernblock 9", "Keypad 9", 92},  {78, "Ziffernblock +", "Keypad +", 69},
    {75, "Ziffernblock 4", "Keypad 4", 86},  {76, "Ziffernblock 5", "Keypad 5", 87},
    {77, "Ziffernblock 6", "Keypad 6", 88},  {79, "Ziffernblock 1", "Keypad 1", 83},
    {80, "Ziffernblock 2", "Keypad 2", 84},  {81, "Ziffernblock 3", "Keypad 3", 85},
    {96, "Ziffernblock Eingabe", "Keypad Enter", 76},  {82, "Ziffernblock 0", "Keypad 0", 82},
    {83, "Ziffernblock ,", "Keypad .", 65},
};
