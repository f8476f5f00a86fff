// Tests of the --keybuf text's translation into the codes the keyboard buffer takes.
#include "shell/typed_text.h"

#include <gtest/gtest.h>

TEST(TypedText, KeysAndBraceNamesBecomeTheirPetsciiCodes) {
  struct Case {
    std::string text;
    std::string codes;
  } cases[] = {
      {"Print 2+2\\n", "PRINT 2+2\r"},
      {"a\nb\\\\c\\x", "A\rB\\C\\X"},  // a real newline, an escaped backslash, a lone backslash
      {"@[]^_", "@[]^_"},
      {"{clr}{home}{up}{down}{left}{rght}", "\x93\x13\x91\x11\x9d\x1d"},
      {"{rvon}{rvof}{inst}{del}{return}", "\x12\x92\x94\x14\r"},
      {"{f1}{f2}{f3}{f4}{f5}{f6}{f7}{f8}", "\x85\x89\x86\x8a\x87\x8b\x88\x8c"},
      {"{blk}{wht}{red}{cyn}{pur}{grn}{blu}{yel}", "\x90\x05\x1c\x9f\x9c\x1e\x1f\x9e"},
      {"{orng}{brn}{lred}{gry1}{gry2}{lgrn}{lblu}{gry3}", "\x81\x95\x96\x97\x98\x99\x9a\x9b"},
      {"{CLR}{F1}{Red}", "\x93\x85\x1c"},
      {"{$c1}{$0D}{$0}{$FF}x", std::string("\xc1\r", 2) + std::string(1, '\0') + "\xff" "X"},
      {"", ""},
  };
  for (const Case& c : cases) {
    std::string codes;
    std::string error;
    EXPECT_TRUE(TranslateTypedText(c.text, codes, error)) << c.text << ": " << error;
    EXPECT_EQ(codes, c.codes) << c.text;
  }
}

TEST(TypedText, UnknownNamesAndUntypableCharactersAreErrors) {
  struct Case {
    std::string text;
    std::string error;
  } cases[] = {
      {"RUN{clear}", "has an unknown key name {clear}; use a listing name such as {clr} or {f1}, or {$xx}"},
      {"{f9}", "has an unknown key name {f9}"},
      {"{$100}", "has an unknown key name {$100}"},
      {"{$}", "has an unknown key name {$}"},
      {"{$g1}", "has an unknown key name {$g1}"},
      {"{}", "has an unknown key name {}"},
      {"PRINT {clr", "has '{' without its '}' in '{clr'"},
      {"A~B", "has '~', which no C64 key types; give its PETSCII code as {$xx}"},
      {"A}", "has '}', which no C64 key types"},
      {"TAB\t", "has 0x09, which no C64 key types"},
      {"\xc2\xa3", "has 0xC2, which no C64 key types"},
  };
  for (const Case& c : cases) {
    std::string codes;
    std::string error;
    EXPECT_FALSE(TranslateTypedText(c.text, codes, error)) << c.text;
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << ": " << error;
  }
}
