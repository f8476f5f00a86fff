// key_mapping.cpp: desktop keys mapped onto the handheld's keys.
//
// Keys are taken by what they type on a US layout, shifted or not, since the key table itself
// decides what the shift state means: Qt reports shift+2 as '@', and both map to the 2 key.
// The handheld's buttons move to desktop keys: the joypad is the cursor keys, the right-hand
// buttons (fire) are Right Ctrl and Left Alt, the left-hand buttons (RUN/STOP) are Esc and the
// record button (rotate) is F12. The C64 keys a PC keyboard lacks sit where a desktop user looks
// for them: Tab is the Commodore key, Home CLR/HOME, Page Up RESTORE, \ the pound key and ` the
// left arrow.
// Left out: other keyboard layouts' symbol positions.
// Called by: the desktop window's key events.
#include "platform/desktop/key_mapping.h"

#include <QKeyEvent>

#include "shell/keyboard_input.h"

namespace {
// The X11 scan code (evdev + 8) of Right Ctrl, which Qt reports like the left one.
constexpr quint32 kRightControlScanCode = 105;

struct KeyPair {
  int qtKey;
  int virtualKey;
};

// Symbols by the key that types them: digits and their shifted symbols, then the punctuation.
constexpr KeyPair kSymbolKeys[] = {
    {Qt::Key_ParenRight, '0'}, {Qt::Key_Exclam, '1'},     {Qt::Key_At, '2'},        {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},     {Qt::Key_Percent, '5'},    {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},   {Qt::Key_ParenLeft, '9'},  {Qt::Key_Semicolon, 186}, {Qt::Key_Colon, 186},
    {Qt::Key_Equal, 187},      {Qt::Key_Plus, 187},       {Qt::Key_Comma, 188},     {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},      {Qt::Key_Underscore, 189}, {Qt::Key_Period, 190},    {Qt::Key_Greater, 190},
    {Qt::Key_Slash, 191},      {Qt::Key_Question, 191},   {Qt::Key_BracketLeft, 219}, {Qt::Key_BraceLeft, 219},
    {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222}, {Qt::Key_QuoteDbl, 222},
    {Qt::Key_QuoteLeft, kVkBackQuote}, {Qt::Key_AsciiTilde, kVkBackQuote}, {Qt::Key_Backslash, kVkBackslash},
    {Qt::Key_Bar, kVkBackslash},       {Qt::Key_sterling, kVkBackslash},
};

constexpr KeyPair kNamedKeys[] = {
    {Qt::Key_Backspace, kVkBackspace}, {Qt::Key_Return, kVkReturn}, {Qt::Key_Enter, kVkReturn},
    {Qt::Key_Space, kVkSpace},         {Qt::Key_Left, kVkLeft},     {Qt::Key_Up, kVkUp},
    {Qt::Key_Right, kVkRight},         {Qt::Key_Down, kVkDown},     {Qt::Key_Insert, kVkInsert},
    {Qt::Key_Escape, kVkRunStopButton}, {Qt::Key_Alt, kVkFireButton}, {Qt::Key_F12, kVkRecordButton},
    {Qt::Key_Tab, kVkTab},             {Qt::Key_Backtab, kVkTab},  {Qt::Key_Home, kVkHome},
    {Qt::Key_Delete, kVkDelete},       {Qt::Key_PageUp, kVkRestore},
};

int Find(const KeyPair* pairs, size_t count, int qtKey) {
  for (size_t i = 0; i < count; ++i) {
    if (pairs[i].qtKey == qtKey) return pairs[i].virtualKey;
  }
  return -1;
}
}  // namespace

int VirtualKeyFor(const QKeyEvent& event) {
  const int key = event.key();
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F8) return kVkF1 + (key - Qt::Key_F1);
  if (event.modifiers() & Qt::KeypadModifier) {
    if (key == Qt::Key_Plus) return 107;
    if (key == Qt::Key_Minus) return 109;
    if (key == Qt::Key_Asterisk) return kVkKeypadMultiply;
  }
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
  if (key == Qt::Key_Control) return event.nativeScanCode() == kRightControlScanCode ? kVkFireButton : kVkControl;
  // Both shift keys hold the C64's shift, as a desktop user expects.
  if (key == Qt::Key_Shift) return kVkShift;
  const int symbol = Find(kSymbolKeys, std::size(kSymbolKeys), key);
  return symbol >= 0 ? symbol : Find(kNamedKeys, std::size(kNamedKeys), key);
}
