// basic_statements_test.cpp: BASIC's statements as a user at the keyboard meets them: INPUT's
// prompts and complaints, READ and DATA, GET, the loops and subroutines, DEF FN, STOP and CONT,
// the string functions, TI$ and the error messages. Each case types its lines under the
// built-in ROMs and, when present, the genuine ones; the screen must show the lines kept here,
// in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/kernal_call.h"

namespace {
struct TypedCase {
  const char* name;
  std::vector<std::string> typed;     // each line ends with RETURN
  std::vector<std::string> expected;  // screen lines, in this order, others between them
};

std::string MissingLine(const std::vector<std::string>& shown, const std::vector<std::string>& expected) {
  size_t row = 0;
  for (const std::string& line : expected) {
    while (row < shown.size() && shown[row] != line) ++row;
    if (row == shown.size()) return line;
    ++row;
  }
  return "";
}

void ExpectScreens(const std::vector<TypedCase>& cases) {
  for (RomSet set : AvailableRomSets())
    for (const TypedCase& c : cases) {
      ASSERT_TRUE(BootToReady(set));
      std::string typed;
      for (const std::string& line : c.typed) typed += line + "\r";
      TypeAndRun(typed, 4);
      std::string screen;
      for (const std::string& line : ScreenLines()) screen += line + "\n";
      EXPECT_EQ(MissingLine(ScreenLines(), c.expected), "")
          << c.name << " under the " << RomSetName(set) << " ROMs\n" << screen;
    }
}
}  // namespace

TEST(BasicStatements, InputAsksAgainAndComplains) {
  ExpectScreens({
      {"prompt, a second line for missing items, a bad number, items left over",
       {"10 INPUT \"NAME\";N$:INPUT A,B:PRINT N$;A+B", "20 INPUT X:PRINT X", "RUN", "BOB", "1", "2", "ABC", "7,8"},
       {"NAME? BOB", "? 1", "?? 2", "BOB 3", "? ABC", "?REDO FROM START", "? 7,8", "?EXTRA IGNORED", " 7"}},
      {"quoted answers keep their commas; an empty answer keeps the variable",
       {"10 A$=\"OLD\":INPUT A$,B$:PRINT A$;\"/\";B$", "20 INPUT A$:PRINT A$", "RUN", "\"X, Y\",Z", ""},
       {"? \"X, Y\",Z", "X, Y/Z", "?", "X, Y"}},
      {"a ':' ends the answer: what follows is ignored, and missing items are asked for",
       {"10 INPUT A:PRINT A", "20 INPUT B$:PRINT \"[\"B$\"]\"", "30 INPUT C,D:PRINT C;D", "RUN", "1:2", "  X Y :Z", "5:",
        "6"},
       {"? 1:2", "?EXTRA IGNORED", " 1", "?   X Y :Z", "?EXTRA IGNORED", "[X Y ]", "? 5:", "?? 6", " 5  6"}},
      {"INPUT and INPUT# are for programs only; ST and TI cannot be set",
       {"INPUT A", "INPUT#1,A", "ST=1", "TI=1"},
       {"INPUT A", "?ILLEGAL DIRECT  ERROR", "INPUT#1,A", "?FILE NOT OPEN  ERROR", "ST=1", "?SYNTAX  ERROR", "TI=1",
        "?SYNTAX  ERROR"}},
      {"INPUT# and GET# read the keyboard and screen files without echoing RETURN",
       {"10 OPEN 2,0:INPUT#2,A$,B:CLOSE 2:PRINT A$;B", "20 OPEN 3,3:GET#3,C$:CLOSE 3:PRINT \"[\"C$\"]\"",
        "30 OPEN 1,3:PRINT#1,\"HI\";5:CMD 1:PRINT \"CMD\":PRINT#1:CLOSE 1", "RUN", "XY,42"},
       {"XY,42 XY 42", " [ ]", "HI 5", "CMD"}},
  });
}

TEST(BasicStatements, ReadDataRestoreAndGet) {
  ExpectScreens({
      {"numbers and strings from DATA, RESTORE, then past the end",
       {"10 READ P,Q$,R:PRINT P;Q$;R:RESTORE:READ S:PRINT S", "20 DATA 1.5,\"HI, THERE\",3", "30 GET K$:PRINT \"[\"K$\"]\"",
        "40 READ Z$,Z$,Z$", "RUN"},
       {" 1.5 HI, THERE 3", " 1.5", "[]", "?OUT OF DATA  ERROR IN 40"}},
      {"unquoted DATA strings, DATA after other statements, GET of a waiting key",
       {"10 PRINT \"A\":DATA ONE, TWO ,3", "20 READ A$,B$,C:PRINT \"[\"A$\"][\"B$\"]\";C", "30 GET K$:IF K$=\"\" THEN 30",
        "40 PRINT \"KEY \"K$", "RUN", "Q"},
       {"[ONE][TWO ] 3", "KEY Q"}},
      {"a bad number in DATA is a syntax error in the DATA line",
       {"10 READ A", "20 DATA X1", "RUN"},
       {"?SYNTAX  ERROR IN 20"}},
  });
}

TEST(BasicStatements, LoopsSubroutinesFunctionsAndCont) {
  ExpectScreens({
      {"FOR with STEP and NEXT J,I; nested GOSUB; ON; DEF FN; STOP, END and CONT",
       {"10 DEF FN F(X)=X*X+1:PRINT FN F(3);FN F(FN F(1))",
        "20 FOR I=3 TO 1 STEP -1:FOR J=1 TO 2:PRINT I*J;:NEXT J,I:PRINT", "30 FOR K=1 TO 3:ON K GOSUB 100,200:NEXT:PRINT",
        "40 ON 2 GOTO 50,60", "50 PRINT \"NO\"", "60 PRINT \"ON OK\":STOP", "70 PRINT \"CONT\";X:END", "100 GOSUB 200:RETURN",
        "200 PRINT \"G\";:RETURN", "RUN", "CONT", "CONT"},
       {" 10  5", " 3  6  2  4  1  2", "GG", "ON OK", "BREAK IN 60", "CONT", "CONT 0", "CONT", "G",
        "?RETURN WITHOUT GOSUB  ERROR IN 100"}},
      {"machine code jumping to READY at $A474 ends the program there",
       {"10 PRINT \"A\";:SYS 42100:PRINT \"B\"", "RUN"},
       {"RUN", "A", "READY."}},
      {"a loop on the same variable replaces the open one; RETURN drops loops inside the subroutine",
       {"10 FOR I=1 TO 2:FOR I=5 TO 6:PRINT I;:NEXT:GOSUB 30:PRINT \"R\";:NEXT I", "20 END", "30 FOR J=1 TO 9:RETURN",
        "RUN"},
       {" 5  6 R"}},
  });
}

TEST(BasicStatements, StringsNumbersAndTheClock) {
  ExpectScreens({
      {"string functions and comparisons",
       {"A$=\"HELLO\":B$=A$+\" WORLD\":PRINT LEN(B$);LEFT$(B$,3);RIGHT$(B$,2);MID$(B$,2,3)",
        "PRINT ASC(\"A\");CHR$(66);STR$(12.5);VAL(\"3.25E2\");VAL(\"X\")", "PRINT \"AB\">\"A\";\"A\"<\"AB\";\"\"=\"\";\"B\">\"AB\""},
       {" 11 HELLDELL", " 65 B 12.5 325  0", "-1 -1 -1 -1"}},
      {"a string variable or element assigned from itself keeps its text",
       {"A$=\"AB\"+\"CD\":A$=A$:DIM C$(2):C$(1)=A$+\"E\"", "C$(2)=C$(1):C$(1)=C$(1):PRINT A$;C$(1);C$(2)"},
       {"ABCDABCDEABCDE"}},
      {"numbers, integers and logic",
       {"B%=-3.7:PRINT B%;INT(-3.7);5 AND 3 OR 8;NOT 5;2^-1;-2^2", "PRINT 1E10;1/3;.001;-12345678.9",
        "PRINT TAB(5)\"X\"SPC(3)\"Y\";POS(0)"},
       {"-4 -4  9 -6  .5 -4", " 1E+10  .333333333  1E-03 -12345678.9", "     X   Y 10"}},
      {"TI$ sets the clock TI$ and TI read", {"TI$=\"123456\":PRINT TI$;LEN(TI$);TI>0", "TI$=\"1\""},
       {"123456 6 -1", "?ILLEGAL QUANTITY  ERROR"}},
  });
}

TEST(BasicStatements, ErrorsNameTheirCause) {
  ExpectScreens({
      {"errors in direct mode",
       {"DIM B(2):DIM B(3)", "PRINT FN Q(1)", "PRINT A$+1", "A(11)=1"},
       {"?REDIM'D ARRAY  ERROR", "?UNDEF'D FUNCTION  ERROR", "?TYPE MISMATCH  ERROR", "?BAD SUBSCRIPT  ERROR"}},
      {"more errors in direct mode", {"A%=40000", "RETURN", "NEXT", "CONT"},
       {"?ILLEGAL QUANTITY  ERROR", "?RETURN WITHOUT GOSUB  ERROR", "?NEXT WITHOUT FOR  ERROR",
        "?CAN'T CONTINUE  ERROR"}},
      {"deep parentheses, and operators waiting on each level",
       {"PRINT ((((((((((((((((((((((((((((((1))))))))))))))))))))))))))))))",
        "PRINT 1+2*((((((((((1+2*((((((((((3))))))))))-1))))))))))"},
       {" 1", " 13"}},
      {"errors in a program name the line",
       {"10 A$=\"\":FOR I=1 TO 30:A$=A$+\"1234567890\":NEXT", "20 PRINT 1/0", "RUN", "GOTO 20", "GOTO 99", "X=1E38*10"},
       {"?STRING TOO LONG  ERROR IN 10", "?DIVISION BY ZERO  ERROR IN 20", "?UNDEF'D STATEMENT  ERROR",
        "?OVERFLOW  ERROR"}},
  });
}

namespace {
// A machine-code hook that counts its calls at $C100, then goes on through the address it found
// in the vector: SYS 49158 hooks it, SYS 49181 puts the old address back. The vector is the
// low byte poked into the DATA (8: $0308, each statement; 10: $030A, each operand).
std::vector<std::string> CountingHook(int vector) {
  const std::string low = std::to_string(vector), high = std::to_string(vector + 1);
  return {"10 FOR I=0 TO 41:READ B:POKE 49152+I,B:NEXT:POKE 49408,0",
          "20 DATA 238,0,193,108,1,193,173," + low + ",3,141,1,193,173," + high + ",3,141,2,193",
          "30 DATA 169,0,141," + low + ",3,169,192,141," + high + ",3,96",
          "40 DATA 173,1,193,141," + low + ",3,173,2,193,141," + high + ",3,96",
          "50 SYS 49158:A=1+2*3:B=-(4):C$=\"X\"+CHR$(65):SYS 49181:PRINT PEEK(49408)", "RUN"};
}
}  // namespace

TEST(BasicStatements, HooksOnTheVectorsSeeEachStatementAndOperand) {
  ExpectScreens({
      {"$0308 runs each statement", CountingHook(8), {"RUN", " 4"}},
      {"$030A reads each operand, signs and parentheses included", CountingHook(10), {"RUN", " 10"}},
  });
}
