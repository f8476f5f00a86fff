// basic_expressions_test.cpp: BASIC's expression evaluator as programs use it: operator
// precedence and grouping, relations on numbers and strings, the 16-bit logic operators, the
// functions and number formats. The expressions run as PRINT lines of a program under the
// built-in ROMs and, when present, the genuine ones; both must print what the table keeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/kernal_call.h"

namespace {
struct Printed {
  const char* expression;
  const char* shown;
};

// Runs the expressions as the lines 10, 20, ... of one program; the lines after RUN.
std::vector<std::string> RunPrints(RomSet set, const std::vector<Printed>& group) {
  std::string typed;
  for (size_t i = 0; i < group.size(); ++i)
    typed += std::to_string((i + 1) * 10) + " PRINT " + group[i].expression + "\r";
  EXPECT_TRUE(BootToReady(set));
  TypeAndRun(typed + "RUN\r", 8);
  const std::vector<std::string> screen = ScreenLines();
  size_t row = screen.size();
  while (row > 0 && screen[row - 1] != "RUN") --row;
  return std::vector<std::string>(screen.begin() + static_cast<long>(row), screen.end());
}
}  // namespace

TEST(BasicExpressions, PrintWhatTheGenuineBasicPrints) {
  const std::vector<Printed> table = {
      {"2+3*4^2/8-1", " 7"},
      {"-2^2+(-2)^2", " 0"},
      {"2^3^2", " 64"},
      {"10-4-3", " 3"},
      {"100/10/5", " 2"},
      {"1<2 AND 2<3", "-1"},
      {"NOT 1=2", "-1"},
      {"1 OR 2 AND 4", " 1"},
      {"-(3>2)*5", " 5"},
      {"5=5=-1", "-1"},
      {"\"B\"+\"A\"<\"BB\"", "-1"},
      {"INT(7.99)+INT(-.01)", " 6"},
      {"ABS(-2.5)*SGN(-2.5)", "-2.5"},
      {"SQR(16)+EXP(0)+LOG(1)", " 5"},
      {"INT(SIN(1)*1E6)", " 841470"},
      {"INT(COS(1)*1E6)", " 540302"},
      {"INT(TAN(1)*1E6)", " 1557407"},
      {"INT(ATN(1)*1E6)", " 785398"},
      {"INT(1E9*RND(-3))", " 44"},
      {"LEN(STR$(-0.5))", " 3"},
      {"VAL(\" 12 3\")", " 123"},
      {"VAL(\"-1E2X\")", "-100"},
      {"ASC(MID$(\"XYZ\",3))", " 90"},
      {"MID$(\"ABC\",4)+\"!\"", "!"},
      {"LEFT$(\"ABC\",0)+RIGHT$(\"ABC\",9)", "ABC"},
      {"CHR$(72)+CHR$(73)", "HI"},
      {"1E-10*1E-10", " 1E-20"},
      {"999999999+1", " 1E+09"},
      {"123456789*10", " 1.23456789E+09"},
      {".1+.2", " .3"},
      {"-32768 AND -1", "-32768"},
      {"32767 OR -32768", "-1"},
      {"NOT -32768", " 32767"},
      {"-1.7E-38/1E10", " 0"},
      {"INT(-32768.5)", "-32769"},
      {"2^0.5*2^0.5", " 2"},
      {"(1=1)+(2>1)+(\"A\"=\"A\")", "-3"},
  };
  for (RomSet set : AvailableRomSets())
    for (size_t first = 0; first < table.size(); first += 10) {
      const std::vector<Printed> group(table.begin() + static_cast<long>(first),
                                       table.begin() + static_cast<long>(std::min(first + 10, table.size())));
      const std::vector<std::string> shown = RunPrints(set, group);
      ASSERT_GE(shown.size(), group.size()) << RomSetName(set);
      for (size_t i = 0; i < group.size(); ++i)
        EXPECT_EQ(shown[i], group[i].shown) << group[i].expression << " under the " << RomSetName(set) << " ROMs";
    }
}
