// basic_corpus_test.cpp: BASIC V2 programs typed at READY, as a user types them, run under the
// genuine ROMs (when present) and under the built-in ones. Each case's program lines are typed,
// the screen cleared, then its keys typed (RUN, and whatever its INPUT and GET read). The screen
// text from the row below the first command's echo down to the final READY. is held to the text
// kept in the case, which was taken from the genuine ROMs' run: both ROM sets must show it.
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "core/machine.h"
#include "machine/scheduler.h"
#include "shell/basic_prompt.h"
#include "shell/keyboard_input.h"
#include "shell/screen_text.h"
#include "shell/typed_text.h"
#include "support/kernal_call.h"

namespace {
struct Case {
  const char* name;
  const char* program;  // lines as typed, "\n" (backslash, n) between them; may be empty
  const char* screen;   // the rows shown, "\n" between them
  const char* keys = "RUN\n";  // typed once the program is in; "{stop}" holds down RUN/STOP
  double seconds = 20;         // emulated seconds the keys and the program may take
};

constexpr uint32_t kSlice = 2000;  // cycles between looks at the keyboard buffer and the screen
constexpr uint16_t kKeyboardCount = 0xC6;
constexpr uint16_t kKeyboardBuffer = 0x0277;
constexpr uint8_t kKeyboardBufferSize = 10;
constexpr uint16_t kCursorRow = 0xD6;

std::string Petscii(const std::string& typed) {
  std::string petscii, error;
  EXPECT_TRUE(TranslateTypedText(typed, petscii, error)) << error;
  return petscii;
}

// Runs the machine a slice at a time until done() holds, or until the case's time is up.
bool RunUntil(const std::function<bool()>& done, uint32_t start, uint32_t limit) {
  while (!done()) {
    if (cycleClock - start >= limit) return false;
    const uint32_t sliceStart = cycleClock;
    while (cycleClock - sliceStart < kSlice) RunEmulationPass();
  }
  return true;
}

// Refills the keyboard buffer with the next part of the text once it is empty (the KERNAL
// shifts the buffer as it takes a key, so adding to a part-full one may race with that); true
// once all of the text is in.
bool Feed(const std::string& petscii, size_t& next) {
  if (Ram[kKeyboardCount] != 0) return next == petscii.size();
  while (next < petscii.size() && Ram[kKeyboardCount] < kKeyboardBufferSize)
    Ram[kKeyboardBuffer + Ram[kKeyboardCount]++] = static_cast<uint8_t>(petscii[next++]);
  return next == petscii.size();
}

// Types the keys, holding RUN/STOP down at each "{stop}" once the keys before it are taken and
// the program has run a while; then runs until BASIC waits at READY. False when time runs out.
bool TypeUntilReady(std::string keys, uint32_t limit) {
  const uint32_t start = cycleClock;
  auto pause = [&start](int slices) {
    const uint32_t from = cycleClock;
    return [from, slices] { return cycleClock - from >= static_cast<uint32_t>(slices) * kSlice; };
  };
  for (size_t stop = keys.find("{stop}"); stop != std::string::npos; stop = keys.find("{stop}")) {
    const std::string petscii = Petscii(keys.substr(0, stop));
    size_t next = 0;
    if (!RunUntil([&] { return Feed(petscii, next) && Ram[kKeyboardCount] == 0; }, start, limit)) return false;
    RunUntil(pause(50), start, limit);
    HandleKey(kVkRunStopButton, true);
    RunUntil(pause(50), start, limit);
    HandleKey(kVkRunStopButton, false);
    keys.erase(0, stop + 6);
  }
  const std::string petscii = Petscii(keys);
  size_t next = 0;
  return RunUntil([&] { return Feed(petscii, next) && BasicWaitsForLine(); }, start, limit);
}

// The lines of typed text, split at RETURN ("\n", or a real line break).
std::vector<std::string> Lines(const std::string& typed) {
  std::vector<std::string> lines(1);
  for (size_t at = 0; at < typed.size(); ++at) {
    if (typed[at] == '\n' || typed.compare(at, 2, "\\n") == 0) {
      at += typed[at] == '\n' ? 0 : 1;
      lines.emplace_back();
    } else {
      lines.back() += typed[at];
    }
  }
  return lines;
}

// Runs the case on a machine booted to READY; returns what it showed, or why it did not end.
std::string Run(const Case& c) {
  for (const std::string& line : Lines(c.program))
    if (line.size() >= kTextColumns * 2) return "(a line longer than the screen editor takes: " + line + ")";
  const std::string program = *c.program ? std::string(c.program) + "\\n" : "";
  if (!TypeUntilReady(program + "{clr}" + c.keys, static_cast<uint32_t>(c.seconds * kCyclesPerSecond)))
    return "(no READY within the time)";
  const std::vector<std::string> rows = ScreenLines();
  const std::string command = Lines(c.keys)[0];
  const int commandRows = static_cast<int>(command.size()) / kTextColumns + 1;  // as the editor wraps it
  std::string echo;
  for (int row = 0; row < commandRows; ++row) echo += rows[row];
  if (echo != command) return "(the first command scrolled away)";
  std::string shown;
  for (int row = commandRows; row < Ram[kCursorRow] - 1; ++row) shown += (row > commandRows ? "\\n" : "") + rows[row];
  return shown;
}

// Each case under each ROM set there is. Without the genuine images only the built-in half
// runs, against the kept texts; the test says so in its output.
void RunCases(const std::vector<Case>& cases) {
  const std::vector<RomSet> sets = AvailableRomSets();
  if (sets.size() == 1) std::cout << "[ SKIPPED  ] the genuine ROMs' half: no genuine ROM images found\n";
  for (RomSet set : sets)
    for (const Case& c : cases) {
      ASSERT_TRUE(BootToReady(set));
      EXPECT_EQ(Run(c), c.screen) << c.name << " under the " << RomSetName(set) << " ROMs";
    }
}

const std::vector<Case> kNumbers = {
    {"thirds", "10 PRINT 1/3;2/3;-1/3;10/3", R"( .333333333  .666666667 -.333333333  3.3\n3333333\n)"},
    {"magnitudes", "10 PRINT 1E-10;1E+38;.5;-0.25;123456789;1234567890", R"( 1E-10  1E+38  .5 -.25  123456789  1.234\n56789E+09\n)"},
    {"small numbers", "10 PRINT .1;.01;.001;1E-9;1.5E-5;-3E-7;2.9E-39", R"( .1  .01  1E-03  1E-09  1.5E-05 -3E-07\n0\n)"},
    {"large numbers", "10 PRINT 999999999;1E9;12345678901;1.7E38;-1E20;100000000", R"( 999999999  1E+09  1.23456789E+10  1.7E+\n38 -1E+20  100000000\n)"},
    {"rounding", "10 PRINT 999999999.4;999999999.6;.1+.2;1/7*7;123.456789012;1.99999999999", R"( 1E+09  1E+09  .3  1  123.456789  2\n)"},
    {"integers", "10 PRINT 0;-0;1;-1;32767;-32768;65535;100000", R"( 0  0  1 -1  32767 -32768  65535  100000\n\n)"},
    {"powers of ten", "10 FOR I=-12 TO 12 STEP 4:PRINT 10^I;:NEXT", R"( 9.99999999E-13  1E-08  1E-04  1  10000\n 100000000  1E+12)"},
    {"sum of tenths", "10 S=0:FOR I=1 TO 100:S=S+.1:NEXT:PRINT S;S-10", R"( 10  7.4505806E-09\n)"},
    {"factorials", "10 F=1:FOR I=1 TO 25:F=F*I:NEXT:PRINT F;F/1E20", R"( 1.55112101E+25  155112.101\n)"},
    {"arithmetic", "10 PRINT 7+3;7-3;7*3;7/4;2^10;-2^2;2^-1;-7/2", R"( 10  4  21  1.75  1024 -4  .5 -3.5\n)"},
    {"precedence", "10 PRINT 2+3*4;(2+3)*4;10-4-3;2^3^2;8/2/2;-(3+4)*2", R"( 14  20  3  64  2 -14\n)"},
    {"logic", "10 PRINT 5 AND 3;5 OR 3;NOT 0;NOT 5;-1 AND 255;12 AND -4;-32768 OR 1", R"( 1  7 -1 -6  255  12 -32767\n)"},
    {"comparisons", "10 PRINT 1<2;2<1;1=1;1<>1;2>=2;1<=0;3>2 AND 2>1;NOT 1=2", R"(-1  0 -1  0 -1  0 -1 -1\n)"},
    {"integer variables", "10 A%=3.7:B%=-3.7:C%=32767:PRINT A%;B%;A%/2;C%+1;A%*B%", R"( 3 -4  1.5  32768 -12\n)"},
    {"number input text", R"(10 PRINT VAL("1E3");VAL("-.5E-2");VAL("12AB");VAL(" 4 5");VAL(""))", R"( 1000 -5E-03  12  45  0\n)"},
    {"number formats in text", R"(10 A$=STR$(-1.5)+STR$(1E10)+STR$(.25):PRINT A$;LEN(A$))", R"(-1.5 1E+10 .25 14\n)"},
    {"near the digit limits", "10 PRINT 1E9-1;99999999.9;2^31;1/3*3;-1E-10;.000123;4E-39", R"( 999999999  99999999.9  2.14748365E+09\n1 -1E-10  1.23E-04  4.00000001E-39\n)"},
    {"logic precedence", "10 PRINT 1 OR 2 AND 0;NOT 1 OR 2;-(1<2)*5;2*(3=3);1+2=3", R"( 1 -2  5 -2 -1\n)"},
    {"number input edges", R"(10 PRINT VAL("1E");VAL("-");VAL(".");VAL("1E+2E3");VAL("$5");VAL("1.5.5"))", R"( 1  0  0  100  0  1.5\n)"},
};

const std::vector<Case> kFunctions = {
    {"int abs sgn", "10 PRINT INT(3.7);INT(-3.7);INT(1E10+.5);ABS(-5);SGN(-2);SGN(0);SGN(9)", R"( 3 -4  1E+10  5 -1  0  1\n)"},
    {"sqr exp log", "10 PRINT SQR(2);SQR(16);EXP(1);EXP(-1);LOG(10);LOG(.5)", R"( 1.41421356  4  2.71828183  .367879441\n2.30258509 -.69314718\n)"},
    {"trigonometry", "10 PRINT SIN(1);COS(1);TAN(1);ATN(1)*4;SIN(0);COS(3.14159265)", R"( .841470985  .540302306  1.55740772  3.1\n4159266  0 -.999999999\n)"},
    {"random numbers", "10 X=RND(-1):PRINT RND(1);RND(1);RND(-2.5);RND(1)", R"( .328780872  .978964086  3.73711373E-08\n .366017216\n)"},
    {"peek", "10 PRINT PEEK(43);PEEK(44);PEEK(53280)AND 15;PEEK(646)", R"( 1  8  14  14\n)"},
    {"processor port", "10 PRINT PEEK(0);PEEK(1)", R"( 47  7\n)"},
    {"poke", "10 POKE 1024+40*20,1:POKE 1025+40*20,2:POKE 828,255:PRINT PEEK(828)", R"( 255\n)"},
    {"fre", "10 PRINT FRE(0):DIM A(100):PRINT FRE(0):A$=\"X\"+\"Y\":PRINT FRE(0)", R"(-26672\n-27184\n-27193\n)"},
    {"pos", R"(10 PRINT "ABC";POS(0):PRINT TAB(10);POS(1);)", R"(ABC 3\n           10)"},
    {"def fn", "10 X=10:DEF FN F(X)=X*X+1:PRINT FN F(3);FN F(-1);X", R"( 10  2  10\n)"},
    {"def fn nesting", "10 DEF FN A(X)=X+1:DEF FN B(Y)=FN A(Y)*2:PRINT FN B(4)", R"( 10\n)"},
    {"usr", "10 POKE 828,96:POKE 785,60:POKE 786,3:PRINT USR(7.5)", R"( 7.5\n)"},
    {"sys", "10 POKE 780,65:SYS 65490:POKE 780,66:SYS 65490:PRINT", R"(AB\n)"},
    {"wait", "10 WAIT 198,1:GET A$:PRINT A$", R"(K\n)", R"(RUN\nK)"},
    {"sys passes registers", "10 POKE 828,232:POKE 829,200:POKE 830,96:POKE 781,5:POKE 782,9:SYS 828\n20 PRINT PEEK(781);PEEK(782)", R"( 6  10\n)"},
    {"machine code prints a number", "10 POKE 780,1:POKE 781,2:SYS 48589:PRINT", R"(258\n)"},
    {"machine code prints a string", R"(10 FOR I=0 TO 3:POKE 828+I,ASC(MID$("HI!"+CHR$(0),I+1)):NEXT\n20 POKE 780,60:POKE 782,3:SYS 43806:PRINT)", R"(HI!\n)"},
};

const std::vector<Case> kStrings = {
    {"substrings", R"(10 A$="HELLO WORLD":PRINT LEN(A$);LEFT$(A$,5);RIGHT$(A$,3)\n20 PRINT MID$(A$,7,3);MID$(A$,7))", R"( 11 HELLORLD\nWORWORLD\n)"},
    {"substring edges", R"(10 A$="ABC":PRINT MID$(A$,4);"*";LEFT$(A$,0);"*";RIGHT$(A$,9);"*";MID$(A$,2,9))", R"(**ABC*BC\n)"},
    {"chr and asc", R"(10 PRINT CHR$(65);ASC("Z");CHR$(48+5);ASC("AB");ASC(CHR$(200));LEN(CHR$(0)))", R"(A 90 5 65  200  1\n)"},
    {"str and val", R"(10 PRINT STR$(12.5);VAL("3.25")*2;STR$(-7);LEN(STR$(7));VAL(STR$(1/3)))", R"( 12.5 6.5 -7 2  .333333333\n)"},
    {"concatenation", R"(10 A$="AB":B$=A$+"CD"+A$:B$=B$+B$:PRINT B$;LEN(B$))", R"(ABCDABABCDAB 12\n)"},
    {"string comparisons", R"(10 PRINT "AB"<"AC";"AB"="AB";"A"<"AA";""="";"B">"AZ";"X"<>"X ")", R"(-1 -1 -1 -1 -1 -1\n)"},
    {"longest string", "10 FOR I=1 TO 255:A$=A$+CHR$(65+I-26*INT(I/26)):NEXT:PRINT LEN(A$);RIGHT$(A$,9)", R"( 255 NOPQRSTUV\n)"},
    {"string arrays", "10 DIM N$(3):FOR I=0 TO 3:N$(I)=CHR$(65+I)+STR$(I):NEXT\n20 FOR I=3 TO 0 STEP -1:PRINT N$(I);:NEXT", R"(D 3C 2B 1A 0)"},
    {"garbage collection", R"(10 FOR I=1 TO 3000:A$=STR$(I)+"ABCDEFGHIJKLMNOPQRSTUVWXYZ":B$=A$+A$:NEXT\n20 PRINT B$:PRINT FRE(0))", R"( 3000ABCDEFGHIJKLMNOPQRSTUVWXYZ 3000ABCD\nEFGHIJKLMNOPQRSTUVWXYZ\n-26822\n)", "RUN\n", 60},
    {"garbage collection with live strings", R"(10 DIM S$(40):FOR I=1 TO 2000:S$(I AND 31)=STR$(I)+"ABCDEFGHIJKLMNOPQRSTU"\n20 NEXT:PRINT S$(0);S$(31):PRINT FRE(0))", R"( 1984ABCDEFGHIJKLMNOPQRSTU 1983ABCDEFGHI\nJKLMNOPQRSTU\n-27690\n)", "RUN\n", 60},
    {"garbage collection for a minute", R"(10 FOR I=1 TO 2500:A$=A$+"XY":IF LEN(A$)>200 THEN A$=""\n20 B$=STR$(I)+A$:NEXT:PRINT LEN(A$);LEFT$(B$,9):PRINT FRE(0))", R"( 152  2500XYXY\n-27045\n)", "RUN\n", 90},
    {"long variable names", R"(10 ABC=1:ABD=2:XY$="A":XYZ$="B":PRINT ABC;XY$)", R"( 2 B\n)"},
    {"strings from numbers", R"(10 PRINT STR$(0);STR$(-.5);STR$(1E-5);STR$(123456789);LEN(STR$(1/3)))", R"( 0-.5 1E-05 123456789 11\n)"},
};

const std::vector<Case> kArrays = {
    {"three dimensions", "10 DIM A(2,3,4):A(2,3,4)=7:A(1,2,3)=5:PRINT A(2,3,4)+A(1,2,3);A(0,0,0)", R"( 12  0\n)"},
    {"implicit dimension", "10 B(10)=3:C$(10)=\"Z\":PRINT B(10);B(0);C$(10);LEN(C$(9))", R"( 3  0 Z 0\n)"},
    {"integer arrays", "10 DIM C%(5):C%(5)=-12.7:C%(1)=32767:PRINT C%(5);C%(0);C%(1)", R"(-13  0  32767\n)"},
    {"string matrix", R"(10 DIM S$(2,2)\n20 S$(1,2)="X":S$(2,1)=S$(1,2)+"Y":PRINT S$(1,2);S$(2,1);LEN(S$(0,0)))", R"(XXY 0\n)"},
    {"array in a loop", "10 DIM P(20):FOR I=1 TO 20:P(I)=P(I-1)+I:NEXT:PRINT P(20);P(10)", R"( 210  55\n)"},
    {"variable bytes", "10 A=1.5:B%=-2:C$=\"HI\":P=PEEK(45)+256*PEEK(46)\n20 FOR I=0 TO 27:PRINT PEEK(P+I);:NEXT", R"( 65  0  129  64  0  0  0  194  128  255\n 254  0  0  0  67  128  2  21  8  0  0\n80  0  140  4  128  0  0)"},
    {"array bytes", "10 I=0:DIM A%(2,1):A%(2,1)=258:P=PEEK(47)+256*PEEK(48)\n20 FOR I=0 TO 20:PRINT PEEK(P+I);:NEXT", R"( 193  128  21  0  2  0  2  0  3  0  0  0\n  0  0  0  0  0  0  0  1  2)"},
    {"memory pointers", "10 A=1:DIM B(3):C$=\"X\"+\"Y\":FOR I=43 TO 56:PRINT PEEK(I);:NEXT", R"( 1  8  51  8  72  8  99  8  254  159  0\n 160  0  160)"},
    {"several arrays at once", "10 DIM A(3),B$(2),C%(1,1):A(3)=1:B$(2)=\"B\":C%(1,1)=7:PRINT A(3);B$(2);C%(1,1)", R"( 1 B 7\n)"},
    {"fractional subscripts", "10 DIM A(5):A(1.7)=4:A(2.2)=5:PRINT A(1);A(2);A(1.99)", R"( 4  5  4\n)"},
    {"string descriptor bytes", R"(10 A$="HI"+"THERE":P=PEEK(45)+256*PEEK(46):L=PEEK(P+2)\n20 S=PEEK(P+3)+256*PEEK(P+4):FOR I=0 TO L-1:PRINT CHR$(PEEK(S+I));:NEXT\n30 PRINT L;S)", R"(HITHERE 7  40953\n)"},
    {"poked integer variable", "10 A%=0:P=PEEK(45)+256*PEEK(46):POKE P+2,1:POKE P+3,2:PRINT A%", R"( 258\n)"},
};

const std::vector<Case> kControlFlow = {
    {"nested for", "10 FOR I=1 TO 3:FOR J=1 TO I:PRINT J;:NEXT J,I:PRINT I;J", R"( 1  1  2  1  2  3  4  4\n)"},
    {"for steps", "10 FOR I=10 TO 1 STEP -3:PRINT I;:NEXT:PRINT I\n20 FOR X=0 TO 1 STEP .25:PRINT X;:NEXT", R"( 10  7  4  1 -2\n 0  .25  .5  .75  1)"},
    {"for runs once", "10 FOR I=5 TO 1:PRINT \"ONCE\";I:NEXT:PRINT I", R"(ONCE 5\n 6\n)"},
    {"for reuses its variable", "10 FOR I=1 TO 3:FOR I=1 TO 2:PRINT I;:NEXT:PRINT \"*\";", R"( 1  2 *)"},
    {"nested gosub", R"(10 GOSUB 100:PRINT "END":END\n100 PRINT "A";:GOSUB 200:PRINT "C";:RETURN\n200 PRINT "B";:RETURN)", R"(ABCEND\n)"},
    {"deep gosub", "10 N=0:GOSUB 100:PRINT N:END\n100 N=N+1:IF N<20 THEN GOSUB 100\n110 RETURN", R"( 20\n)"},
    {"gosub inside for", "10 FOR I=1 TO 3:GOSUB 100:NEXT:END\n100 FOR J=1 TO I:PRINT J;:NEXT:PRINT:RETURN", R"( 1\n 1  2\n 1  2  3\n)"},
    {"on gosub", R"(10 FOR I=0 TO 4:ON I GOSUB 100,200,300:NEXT:END\n100 PRINT "A";:RETURN\n200 PRINT "B";:RETURN\n300 PRINT "C";:RETURN)", R"(ABC)"},
    {"on goto", R"(10 X=2.7:ON X GOTO 20,30:PRINT "FELL":END\n20 PRINT "ONE":END\n30 PRINT "TWO")", R"(TWO\n)"},
    {"if then", R"(10 IF 1 THEN PRINT "A":PRINT "B"\n20 IF 0 THEN PRINT "C":PRINT "D"\n30 IF "X" THEN 50\n40 PRINT "E"\n50 IF 2 GOTO 70\n60 PRINT "F"\n70 PRINT "G")", R"(A\nB\nG\n)"},
    {"go to", R"(10 GO TO 30\n20 PRINT "NO"\n30 PRINT "YES")", R"(YES\n)"},
    {"end", "10 PRINT 1:END:PRINT 2", R"( 1\n)"},
    {"stop and cont", R"(10 PRINT "A":STOP:PRINT "B"\n20 PRINT "C")", R"(A\n\nBREAK IN 10\nREADY.\nCONT\nB\nC\n)", R"(RUN\nCONT\n)"},
    {"run from a line", R"(10 PRINT "A"\n20 PRINT "B")", R"(B\n)", R"(RUN 20\n)"},
    {"rem", R"(10 REM PRINT "X":PRINT "Y"\n20 PRINT "Z")", R"(Z\n)"},
    {"let", R"(10 LET A=5:LET B$="Q":LET C%=2:PRINT A;B$;C%)", R"( 5 Q 2\n)"},
    {"clr", R"(10 A=5:B$="Q":CLR:PRINT A;B$;"*")", R"( 0 *\n)"},
    {"run clears variables", "10 PRINT A:A=A+1", R"( 0\n\nREADY.\nRUN\n 0\n)", R"(RUN\nRUN\n)"},
    {"cont after end", R"(10 PRINT "A":END\n20 PRINT "B")", R"(A\n\nREADY.\nCONT\nB\n)", R"(RUN\nCONT\n)"},
    {"jumps both ways", R"(10 GOTO 50\n20 PRINT "B";:GOTO 60\n30 PRINT "X"\n50 PRINT "A";:GOTO 20\n60 PRINT "C")", R"(ABC\n)"},
    {"highest line number", R"(63999 PRINT "TOP")", R"(TOP\n)"},
    {"redefined function", "10 DEF FN A(X)=X+1:PRINT FN A(1);:DEF FN A(X)=X*10:PRINT FN A(1)", R"( 2  10\n)"},
};

const std::vector<Case> kInputAndData = {
    {"input with prompt", R"(10 INPUT "NUMBER";A:PRINT A*2)", R"(NUMBER? X\n?REDO FROM START\nNUMBER? 21\n 42\n)", R"(RUN\nX\n21\n)"},
    {"input several", "10 INPUT A,B$,C:PRINT A;B$;C", R"(? 1,HI,3\n 1 HI 3\n)", R"(RUN\n1,HI,3\n)"},
    {"input over lines", "10 INPUT A,B:PRINT A+B", R"(? 1\n?? 2\n 3\n)", R"(RUN\n1\n2\n)"},
    {"input extra ignored", "10 INPUT A:PRINT A", R"(? 1,2\n?EXTRA IGNORED\n 1\n)", R"(RUN\n1,2\n)"},
    {"input quoted", "10 INPUT A$:PRINT A$;LEN(A$)", R"(? "A, B"\nA, B 4\n)", R"(RUN\n"A, B"\n)"},
    {"input empty line", R"(10 A$="KEEP":INPUT A$:PRINT A$)", R"(?\nKEEP\n)", R"(RUN\n\n)"},
    {"get keys", R"(10 GET A$:IF A$="" THEN 10\n20 PRINT ASC(A$);:IF A$<>"Q" THEN 10)", R"( 65  49  81)", R"(RUN\nA1Q)"},
    {"get number", "10 GET A:IF A=0 THEN 10\n20 PRINT A*2", R"( 14\n)", R"(RUN\n7)"},
    {"get nothing", "10 GET A$:PRINT LEN(A$)", R"( 0\n)"},
    {"read data", R"(10 READ A,B$,C:PRINT A;B$;C\n20 DATA 1,"HI, THERE",-2.5)", R"( 1 HI, THERE-2.5\n)"},
    {"data unquoted", R"(10 READ A$,B$,C$:PRINT A$;"/";B$;"/";C$;"/"\n20 DATA  HELLO  , WORLD,)", R"(HELLO  /WORLD//\n)"},
    {"data across lines", "10 FOR I=1 TO 5:READ A:PRINT A;:NEXT\n20 DATA 1,2\n30 PRINT \"SKIPPED\"\n40 DATA 3:DATA 4,5", R"( 1  2  3  4  5 SKIPPED\n)"},
    {"restore", "10 READ A:RESTORE:READ B,C:PRINT A;B;C\n20 DATA 7,8", R"( 7  7  8\n)"},
    {"get special keys", R"(10 GET A$:IF A$="" THEN 10\n20 PRINT ASC(A$);:IF A$<>"Q" THEN 10)", R"( 133  17  18  19  81)", R"(RUN\n{f1}{down}{rvon}{home}Q)"},
    {"input number forms", "10 INPUT A,B,C:PRINT A;B;C", R"(?  -1.5E2 ,+.5,1 2\n-150  .5  12\n)", R"(RUN\n -1.5E2 ,+.5,1 2\n)"},
};

const std::vector<Case> kPrinting = {
    {"separators", R"(10 PRINT 1;2;-3:PRINT "A";"B":PRINT "X";:PRINT "Y")", R"( 1  2 -3\nAB\nXY\n)"},
    {"comma zones", R"(10 PRINT 1,2,3,4,5:PRINT "A",,"B")", R"( 1         2         3         4\n 5\nA                   B\n)"},
    {"tab and spc", R"(10 PRINT TAB(5);"A";SPC(3);"B";TAB(2);"C":PRINT SPC(38);"WRAP")", R"(     A   BC\n                                      WR\nAP\n)"},
    {"no separator", R"(10 PRINT "A"1"B"2:PRINT 1 2)", R"(A 1 B 2\n 12\n)"},
    {"question mark", R"(10 ?"SHORT":? 3)", R"(SHORT\n 3\n)"},
    {"long line", R"(10 PRINT "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZ")", R"(ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMN\nOPQRSTUVWXYZ\n)"},
    {"screen codes", R"(10 PRINT CHR$(18);"REV";CHR$(146);"ON";CHR$(13);"NEXT")", R"(REVON\nNEXT\n)"},
};

// Each keyword once, as lines typed in; LIST shows them back, the program's bytes show their tokens.
constexpr const char* kEveryKeyword =
    R"(10 END:FOR:NEXT:DATA:INPUT#:INPUT:DIM:READ:LET:GOTO:RUN:IF:RESTORE:GOSUB\n20 RETURN:STOP:ON:WAIT:LOAD:SAVE:VERIFY:DEF:POKE:PRINT#:PRINT:CONT:LIST:REM\n30 CLR:CMD:SYS:OPEN:CLOSE:GET:NEW:TAB(:TO:FN:SPC(:THEN:NOT:STEP:+-*/^:AND:OR\n40 ><=:SGN:INT:ABS:USR:FRE:POS:SQR:RND:LOG:EXP:COS:SIN:TAN:ATN:PEEK:LEN\n50 STR$:VAL:ASC:CHR$:LEFT$:RIGHT$:MID$:GO)";

const std::vector<Case> kDirectMode = {
    {"direct print", "", R"( 4 DIRECT\n)", R"(PRINT 2+2;"DIRECT"\n)"},
    {"direct for", "", R"( 1  2  3)", R"(FOR I=1 TO 3:PRINT I;:NEXT\n)"},
    {"list", R"(10 PRINT "A";:GOTO 20\n20 FOR I=1 TO 2:NEXT:REM OK)", R"(\n10 PRINT "A";:GOTO 20\n20 FOR I=1 TO 2:NEXT:REM OK)", R"(LIST\n)"},
    {"list a range", "10 A=1\n20 B=2\n30 C=3\n40 D=4", R"(\n20 B=2\n30 C=3\n)", R"(LIST 20-30\n)"},
    {"abbreviations", "10 ?\"A\";:F{$cf}I=1TO2:?I;:N{$c5}", R"(\n10 PRINT"A";:FORI=1TO2:PRINTI;:NEXT\nREADY.\nRUN\nA 1  2)", R"(LIST\nRUN\n)"},
    {"lines replaced and deleted", "10 PRINT 1\n20 PRINT 2\n30 PRINT 3\n10 PRINT 4\n20", R"( 4\n 3\n)"},
    {"new", "10 PRINT 1", R"(\nREADY.\nLIST\n)", R"(NEW\nLIST\n)"},
    {"goto in direct mode", "10 PRINT \"HERE\"", R"(HERE\n)", R"(GOTO 10\n)"},
    {"list every keyword", kEveryKeyword, R"(\n10 END:FOR:NEXT:DATA:INPUT#:INPUT:DIM:RE\nAD:LET:GOTO:RUN:IF:RESTORE:GOSUB\n20 RETURN:STOP:ON:WAIT:LOAD:SAVE:VERIFY:\nDEF:POKE:PRINT#:PRINT:CONT:LIST:REM\n30 CLR:CMD:SYS:OPEN:CLOSE:GET:NEW:TAB(:T\nO:FN:SPC(:THEN:NOT:STEP:+-*/^:AND:OR\n40 ><=:SGN:INT:ABS:USR:FRE:POS:SQR:RND:L\nOG:EXP:COS:SIN:TAN:ATN:PEEK:LEN\n50 STR$:VAL:ASC:CHR$:LEFT$:RIGHT$:MID$:G\nO)", R"(LIST\n)"},
    {"keywords as tokens", kEveryKeyword, R"( 63868  2217\n)", R"(S=0:FOR I=2049 TO PEEK(45)+256*PEEK(46)-1:S=S+PEEK(I)*(I AND 7):NEXT:PRINT S;I\n)"},
    {"list keeps quotes and remarks", R"(10 PRINT "FOR TO":REM GOTO "X\n20 DATA PRINT,"AND":X=1)", R"(\n10 PRINT "FOR TO":REM GOTO "X\n20 DATA PRINT,"AND":X=1)", R"(LIST\n)"},
    {"line beyond the highest", "", R"(\n?SYNTAX  ERROR)", R"(64000 PRINT\n)"},
};

const std::vector<Case> kFilesAndClock = {
    {"print to the screen file", R"(10 OPEN 1,3:PRINT#1,"HELLO";1:CLOSE 1)", R"(HELLO 1\n)"},
    {"cmd", R"(10 OPEN 2,3:CMD 2:PRINT "VIA CMD":PRINT#2:CLOSE 2:PRINT "DONE")", R"(\nVIA CMD\n\nDONE\n)"},
    {"input from the keyboard file", "10 OPEN 1,0:INPUT#1,A$:CLOSE 1:PRINT:PRINT A$", R"(WORD\nWORD\n)", R"(RUN\nWORD\n)"},
    {"get from the keyboard file", "10 OPEN 1,0\n20 GET#1,A$:IF A$=\"\" THEN 20\n30 CLOSE 1:PRINT A$", R"(Z\n)", R"(RUN\nZ)"},
    {"status", "10 PRINT ST", R"( 0\n)"},
    {"clock", R"(10 TI$="000100":PRINT INT(TI/60);LEFT$(TI$,4):T=TI\n20 IF TI=T THEN 20\n30 PRINT TI>T)", R"( 60 0001\n-1\n)"},
    {"clock wraps at midnight", R"(10 TI$="235959"\n20 IF TI>100 THEN 20\n30 PRINT LEFT$(TI$,5))", R"(00000\n)"},
    {"load from an absent device", "", R"(\nSEARCHING FOR X\n?DEVICE NOT PRESENT  ERROR)", R"(LOAD "X",9\n)"},
    {"save to an absent device", "10 REM", R"(\n?DEVICE NOT PRESENT  ERROR)", R"(SAVE "X",9\n)"},
    {"verify from an absent device", "10 REM", R"(\nSEARCHING FOR X\n?DEVICE NOT PRESENT  ERROR)", R"(VERIFY "X",9\n)"},
    {"clock set badly", R"(10 TI$="12345")", R"(\n?ILLEGAL QUANTITY  ERROR IN 10)"},
    {"clock set with letters", R"(10 TI$="12AB56":PRINT LEFT$(TI$,4))", R"(1508\n)"},
};

const std::vector<Case> kErrors = {
    {"syntax", "10 PRINT 1:X=)", R"( 1\n\n?SYNTAX  ERROR IN 10)"},
    {"next without for", "10 NEXT", R"(\n?NEXT WITHOUT FOR  ERROR IN 10)"},
    {"return without gosub", "10 RETURN", R"(\n?RETURN WITHOUT GOSUB  ERROR IN 10)"},
    {"out of data", "10 READ A,B\n20 DATA 1", R"(\n?OUT OF DATA  ERROR IN 10)"},
    {"illegal quantity sqr", "10 PRINT SQR(-1)", R"(\n?ILLEGAL QUANTITY  ERROR IN 10)"},
    {"illegal quantity chr", "10 PRINT CHR$(256)", R"(\n?ILLEGAL QUANTITY  ERROR IN 10)"},
    {"illegal quantity mid", R"(10 PRINT MID$("A",0))", R"(\n?ILLEGAL QUANTITY  ERROR IN 10)"},
    {"illegal quantity and", "10 PRINT 32768 AND 1", R"(\n?ILLEGAL QUANTITY  ERROR IN 10)"},
    {"illegal quantity log", "10 PRINT LOG(0)", R"(\n?ILLEGAL QUANTITY  ERROR IN 10)"},
    {"overflow", "10 PRINT 1E38*10", R"(\n?OVERFLOW  ERROR IN 10)"},
    {"overflow constant", "10 A=1E39", R"(\n?OVERFLOW  ERROR IN 10)"},
    {"out of memory array", "10 DIM A(10000)", R"(\n?OUT OF MEMORY  ERROR IN 10)"},
    // how deep FOR and GOSUB nest, and which statement runs out of room, alone and mixed
    {"out of memory gosub", "10 N=N+1:IF N>20 THEN PRINT N;\n20 GOSUB 10", R"( 21  22  23  24\n?OUT OF MEMORY  ERROR IN 10)"},
    {"out of memory for", "10 FOR A=1 TO 2:FOR B=1 TO 2:FOR C=1 TO 2:FOR D=1 TO 2:FOR E=1 TO 2\n20 FOR F=1 TO 2:FOR G=1 TO 2:FOR H=1 TO 2:FOR I=1 TO 2:PRINT 9;\n30 FOR J=1 TO 2:FOR K=1 TO 2:PRINT 11", R"( 9\n?OUT OF MEMORY  ERROR IN 30)"},
    {"out of memory for and gosub", "10 FOR A=1 TO 2:FOR B=1 TO 2\n20 N=N+1:IF N>16 THEN PRINT N;\n30 GOSUB 20", R"( 17  18  19\n?OUT OF MEMORY  ERROR IN 20)"},
    {"out of memory gosub without expressions", "10 READ A:FOR I=1 TO 2:GOSUB 20\n20 GOSUB 10\n30 DATA 1,2,3,4,5,6,7,8,9", R"(\n?OUT OF MEMORY  ERROR IN 20\nREADY.\nPRINT A\n 6\n)", "RUN\nPRINT A\n"},
    {"undefined statement", "10 GOTO 100", R"(\n?UNDEF'D STATEMENT  ERROR IN 10)"},
    {"bad subscript", "10 A(11)=1", R"(\n?BAD SUBSCRIPT  ERROR IN 10)"},
    {"bad subscript dimensions", "10 DIM B(2,2):B(1)=0", R"(\n?BAD SUBSCRIPT  ERROR IN 10)"},
    {"redimensioned array", "10 DIM A(5):DIM A(5)", R"(\n?REDIM'D ARRAY  ERROR IN 10)"},
    {"redimensioned implicit array", "10 A(1)=0:DIM A(5)", R"(\n?REDIM'D ARRAY  ERROR IN 10)"},
    {"division by zero", "10 PRINT 1/0", R"(\n?DIVISION BY ZERO  ERROR IN 10)"},
    {"illegal direct", "", R"(\n?ILLEGAL DIRECT  ERROR)", R"(INPUT A\n)"},
    {"type mismatch", "10 A$=1", R"(\n?TYPE MISMATCH  ERROR IN 10)"},
    {"type mismatch concatenation", R"(10 PRINT "A"+1)", R"(\n?TYPE MISMATCH  ERROR IN 10)"},
    {"string too long", R"(10 A$="X":FOR I=1 TO 8:A$=A$+A$:NEXT)", R"(\n?STRING TOO LONG  ERROR IN 10)"},
    {"formula too complex", R"(10 PRINT "A"+("B"+("C"+("D"+"E"))))", R"(\n?FORMULA TOO COMPLEX  ERROR IN 10)"},
    {"can't continue", "", R"(\n?CAN'T CONTINUE  ERROR)", R"(CONT\n)"},
    {"undefined function", "10 PRINT FN A(1)", R"(\n?UNDEF'D FUNCTION  ERROR IN 10)"},
    {"redo from start", "10 INPUT A:PRINT A", R"(? ABC\n?REDO FROM START\n? 5\n 5\n)", R"(RUN\nABC\n5\n)"},
    {"break on stop", "10 PRINT 1:STOP:PRINT 2", R"( 1\n\nBREAK IN 10)"},
    {"break on run/stop", "10 I=I+1:GOTO 10", R"(\nBREAK IN 10\nREADY.\nCONT\n\nBREAK IN 10\nREADY.\nPRINT I>0\n-1\n)", R"(RUN\n{stop}CONT\n{stop}PRINT I>0\n)"},
    {"error in direct mode", "", R"(\n?DIVISION BY ZERO  ERROR)", R"(PRINT 1/0\n)"},
    {"error inside gosub", "10 GOSUB 100\n100 PRINT 1\n110 X=1/0", R"( 1\n\n?DIVISION BY ZERO  ERROR IN 110)"},
    {"file not open", R"(10 PRINT#5,"X")", R"(\n?FILE NOT OPEN  ERROR IN 10)"},
    {"file open", "10 OPEN 1,3:OPEN 1,3", R"(\n?FILE OPEN  ERROR IN 10)"},
    {"not output file", "10 OPEN 1,0:PRINT#1,1", R"(\n?NOT OUTPUT FILE  ERROR IN 10)"},
    {"device not present", "10 OPEN 1,9,15:PRINT#1,\"I\"", R"(\n?DEVICE NOT PRESENT  ERROR IN 10)"},
    {"missing file name", "", R"(\n?MISSING FILE NAME  ERROR)", R"(LOAD "",8\n)"},
    {"illegal device number", "", R"(\n?ILLEGAL DEVICE NUMBER  ERROR)", R"(LOAD "X",3\n)"},
    {"too many files", "10 FOR I=1 TO 11:OPEN I,3:NEXT", R"(\n?TOO MANY FILES  ERROR IN 10)"},
    {"next with the wrong variable", "10 FOR I=1 TO 2:NEXT J", R"(\n?NEXT WITHOUT FOR  ERROR IN 10)"},
    {"data of the wrong type", R"(10 READ A\n20 DATA X)", R"(\n?SYNTAX  ERROR IN 20)"},
    {"can't continue after an error", "10 X=1/0", R"(\n?DIVISION BY ZERO  ERROR IN 10\nREADY.\nCONT\n\n?CAN'T CONTINUE  ERROR)", R"(RUN\nCONT\n)"},
    {"integer overflow", "10 A%=32768", R"(\n?ILLEGAL QUANTITY  ERROR IN 10)"},
    {"negative subscript", "10 DIM A(3):A(-1)=0", R"(\n?ILLEGAL QUANTITY  ERROR IN 10)"},
    {"out of memory strings", "10 DIM A$(20000)", R"(\n?OUT OF MEMORY  ERROR IN 10)"},
    {"on with a negative index", "10 ON -1 GOTO 10", R"(\n?ILLEGAL QUANTITY  ERROR IN 10)"},
    {"keywords inside names", "10 SCORE=5:PRINT SCORE", R"(\n?SYNTAX  ERROR IN 10)"},
    {"reserved variables", "10 TI=5", R"(\n?SYNTAX  ERROR IN 10)"},
    {"status is read-only", "10 ST=1", R"(\n?SYNTAX  ERROR IN 10)"},
};
}  // namespace

TEST(BasicCorpus, NumbersPrintAsTheGenuineBasicPrintsThem) { RunCases(kNumbers); }

TEST(BasicCorpus, FunctionsGiveTheGenuineResults) { RunCases(kFunctions); }

TEST(BasicCorpus, StringsBehaveAsOnTheGenuineBasic) { RunCases(kStrings); }

TEST(BasicCorpus, ArraysBehaveAsOnTheGenuineBasic) { RunCases(kArrays); }

TEST(BasicCorpus, ControlFlowFollowsTheGenuineBasic) { RunCases(kControlFlow); }

TEST(BasicCorpus, InputGetAndDataReadWhatIsTyped) { RunCases(kInputAndData); }

TEST(BasicCorpus, PrintPlacesItsOutputAsTheGenuineBasicDoes) { RunCases(kPrinting); }

TEST(BasicCorpus, DirectModeAndProgramEditingWork) { RunCases(kDirectMode); }

TEST(BasicCorpus, FilesOnTheScreenAndKeyboardWork) { RunCases(kFilesAndClock); }

TEST(BasicCorpus, ErrorsShowTheGenuineMessages) { RunCases(kErrors); }

TEST(BasicCorpus, CasesHaveOneNameEach) {
  std::set<std::string> names;
  for (const std::vector<Case>* table : {&kNumbers, &kFunctions, &kStrings, &kArrays, &kControlFlow, &kInputAndData,
                                         &kPrinting, &kDirectMode, &kFilesAndClock, &kErrors})
    for (const Case& c : *table) EXPECT_TRUE(names.insert(c.name).second) << "two cases named " << c.name;
}
