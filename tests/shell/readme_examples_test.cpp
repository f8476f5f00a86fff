// The README's headless examples, run as written: every "$ " command of the section's shell
// blocks runs in bash, in one folder, with vornce on the PATH and ~/c64roms standing for the
// genuine ROM folder, and prints what the README shows after it. Empty lines are not compared
// (the README leaves out the screen's empty bottom rows), nor the wall time and the speed.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace {
struct Command {
  std::string text;                   // with the lines of its here-document
  std::vector<std::string> expected;  // the README's lines after it, without empty ones
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// The headless runner's section: its shell blocks that hold commands.
std::vector<std::vector<Command>> ExampleBlocks(const std::string& readme) {
  const size_t start = readme.find("## The headless runner");
  const std::string section = readme.substr(start, readme.find("\n## ", start + 1) - start);
  std::vector<std::vector<Command>> blocks;
  bool inBlock = false;
  std::string hereDocumentEnd;
  for (const std::string& line : Lines(section)) {
    if (!hereDocumentEnd.empty()) {
      blocks.back().back().text += "\n" + line;
      if (line == hereDocumentEnd) hereDocumentEnd.clear();
    } else if (line.rfind("```", 0) == 0) {
      inBlock = !inBlock;
      if (inBlock) blocks.emplace_back();
    } else if (inBlock && line.rfind("$ ", 0) == 0) {
      blocks.back().push_back({line.substr(2), {}});
      if (const size_t at = line.find("<<'"); at != std::string::npos) {
        hereDocumentEnd = line.substr(at + 3, line.find('\'', at + 3) - at - 3);
      }
    } else if (inBlock && !blocks.back().empty() && !line.empty()) {
      blocks.back().back().expected.push_back(line);
    }
  }
  std::erase_if(blocks, [](const std::vector<Command>& block) { return block.empty(); });
  return blocks;
}

// The summary line with its wall seconds and speed (the figures between "in " and " times real
// time") left out.
std::string Masked(const std::string& line) {
  const size_t end = line.find(" times real time");
  const size_t start = line.rfind(" in ", end);
  if (line.rfind("vornce: ", 0) != 0 || end == std::string::npos || start == std::string::npos) return line;
  return line.substr(0, start) + " in W wall seconds, S" + line.substr(end);
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// Runs the block's commands in one bash script, each after a marker line and with $? as the
// command before it left it; returns each command's output lines, without empty ones.
std::vector<std::vector<std::string>> RunBlock(const std::vector<Command>& block, const TempFolder& folder,
                                               const std::string& roms) {
  const std::string marker = "@@@ vornce readme example";
  std::string script = "cd '" + folder.path().string() + "'\nexport PATH='" VORNCE_BINARY_DIR "':\"$PATH\"\nstatus=0\n";
  for (const Command& command : block) {
    script += "echo '" + marker + "'\n(exit $status)\n" + ReplaceAll(command.text, "~/c64roms", roms) + "\nstatus=$?\n";
  }
  const std::string scriptPath = (folder.path() / "example.sh").string();
  const std::string outputPath = (folder.path() / "example.out").string();
  std::ofstream(scriptPath) << script;
  std::system(("bash " + scriptPath + " >" + outputPath + " 2>&1 </dev/null").c_str());
  std::ostringstream output;
  output << std::ifstream(outputPath).rdbuf();
  std::vector<std::vector<std::string>> outputs;
  for (const std::string& line : Lines(output.str())) {
    if (line == marker) {
      outputs.emplace_back();
    } else if (!line.empty() && !outputs.empty()) {
      outputs.back().push_back(Masked(line));
    }
  }
  return outputs;
}
}  // namespace

TEST(ReadmeExamples, HeadlessCommandsPrintWhatTheReadmeShows) {
  const std::string roms = GenuineRomFolder();
  if (roms.empty()) GTEST_SKIP() << "the genuine ROM images are not in $VORNCE_ROMS or ../shared/roms";
  std::ostringstream readme;
  readme << std::ifstream(VORNCE_README).rdbuf();
  const std::vector<std::vector<Command>> blocks = ExampleBlocks(readme.str());
  ASSERT_EQ(blocks.size(), 3u) << "the PRINT 2+2, cc65 and BASIC examples";

  TempFolder folder;
  for (const std::vector<Command>& block : blocks) {
    const std::vector<std::vector<std::string>> outputs = RunBlock(block, folder, roms);
    ASSERT_EQ(outputs.size(), block.size()) << block[0].text;
    for (size_t i = 0; i < block.size(); ++i) {
      std::vector<std::string> expected;
      for (const std::string& line : block[i].expected) expected.push_back(Masked(line));
      EXPECT_EQ(outputs[i], expected) << block[i].text;
    }
  }
}
