// The desktop tests run on Qt's offscreen platform, in one QApplication.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // The window remembers its settings; the tests keep theirs out of the user's folder.
  char configFolder[] = "/tmp/vornce-desktop-tests-XXXXXX";
  if (mkdtemp(configFolder) != nullptr) setenv("XDG_CONFIG_HOME", configFolder, 1);
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  std::filesystem::remove_all(configFolder);
  return result;
}
