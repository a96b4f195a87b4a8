// Keys by what they mean, in the runtime's numbering (part of the inbound
// port's vocabulary).
//
// The runtime takes a key press as a key code by physical position (the
// reference keyboard: an ISO keyboard with a US layout, the German letters
// where a German layout has them, and the key left of 1 — `, § or ^ — as
// code 10), the characters the key produced, and modifier flags.
// A front-end that knows which key was meant (a named key, or the character
// it typed) but not where it sits finds here the code of the key at that
// place, and the characters a desktop reports for keys that type nothing:
// control characters for Escape, Tab, Backspace and Return, and the private
// function-key characters U+F700.. for arrows, Home, End, the page keys
// and F1...
#pragma once

#include <cstdint>
#include <string>

// A key with no place on the reference keyboard.
constexpr int64_t unknownkeycode = 0xFFFF;

enum class t_NamedKey : uint8_t {
    escape, tab, backtab, backspace, returnkey, enter, space, insert, help, forwarddelete,
    home, end, pageup, pagedown, left, right, down, up, clear, menu,
};

// The key code of a named key.
int64_t namedkeycode(t_NamedKey key);
// The characters a desktop reports for a named key (UTF-8); empty where it
// reports what the key typed (space, keypad Enter, Clear, Help, Menu).
std::string namedkeycharacters(t_NamedKey key);

// F1..F20; unknownkeycode for other numbers.
int64_t functionkeycode(int number);
// The private character of function key `number` (U+F704 for F1), UTF-8.
std::string functionkeycharacters(int number);

// The key that types `character` on the reference keyboard, with or without
// Shift (letters in either case); unknownkeycode when none does.
int64_t characterkeycode(char32_t character);
// The numeric keypad's key for a digit or operator it types; unknownkeycode
// for others.
int64_t keypadkeycode(char32_t character);

// True when the reference keyboard types `character` with Shift (capital
// letters, the symbols above the digits, ...).
bool shiftedcharacter(char32_t character);
