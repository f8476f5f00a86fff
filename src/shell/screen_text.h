// screen_text.h: the text screen as the VIC-II shows it, turned into ASCII.
#pragma once

#include <string>

inline constexpr int kTextColumns = 40;
inline constexpr int kTextRows = 25;

// Row 0-24 of the video matrix (through the VIC bank and matrix base), screen codes as ASCII,
// reverse characters as their plain glyph, trailing blanks trimmed.
std::string TextScreenLine(int row);

// True while some row of the text screen contains text, as TextScreenLine reads the row.
bool ScreenShowsText(const std::string& text);
