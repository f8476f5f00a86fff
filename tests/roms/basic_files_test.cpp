// basic_files_test.cpp: BASIC's file statements on the disk drive, as a user types them: SAVE,
// LOAD and VERIFY of the program, and a sequential file written with PRINT# and read back with
// INPUT#, GET# and ST. Each runs on a blank disk under the built-in ROMs and, when present, the
// genuine ones; both must show the lines kept here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/d64_builder.h"
#include "support/run_vornce.h"
#include "support/temp_folder.h"

TEST(BasicFiles, ProgramsAndSequentialFilesGoToTheDiskAndBack) {
  const std::string typed =
      "10 PRINT \"SAVED OK\"\\nSAVE \"PROG\",8\\nNEW\\nLOAD \"PROG\",8\\nVERIFY \"PROG\",8\\nRUN\\n"
      "OPEN 2,8,2,\"SEQ,S,W\":PRINT#2,\"HELLO,42\":CLOSE 2\\n"
      "10 OPEN 2,8,2,\"SEQ,S,R\":INPUT#2,A$,B:GET#2,C$:CLOSE 2:PRINT A$;B;ST\\nRUN\\n";
  const std::vector<std::string> expected = {"LOADING", "VERIFYING", "OK", "SAVED OK", "HELLO 42  66"};
  std::vector<std::string> sets = {"--builtin-roms"};
  if (!GenuineRomFolder().empty()) sets.push_back("--roms " + GenuineRomFolder());
  for (const std::string& roms : sets) {
    TempFolder folder;
    const std::string disk = folder.Write("blank.d64", BlankD64());
    const VornceRun run =
        RunVornce("--headless " + roms + " --disk " + disk + " --seconds 25 --dump-screen --keybuf '" + typed + "'");
    size_t at = 0;
    for (const std::string& line : expected) {
      at = run.out.find("\n" + line + "\n", at);
      ASSERT_NE(at, std::string::npos) << line << " with " << roms << "\n" << run.out;
    }
  }
}
