// Where the settings live: beside the executable when a tolvane.ini is there,
// else in the user's configuration folder, which a first start fills with the
// sample NG-word list installed beside the program.
#include <sys/stat.h>

#include <QCoreApplication>

#include "app_fixture.h"
#include "byte_assert.h"
#include "settings_folder.h"
#include "temp_dir.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;

const std::string kSample =
    "\x96\xa2\x8f\xb3\x94\x46\x8d\x4c\x8d\x90\r\n\x8f\x6f\x89\xef\x82\xa2\r\n";  // 未承認広告, 出会い
const std::string kCannotOpen =
    "\x83t\x83@\x83"
    "C\x83\x8b ";  // ファイル
const std::string kCannotWrite =
    " \x82\xc9\x8f\x91\x82\xab\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1";  // に書き込めません

unsigned Mode(const fs::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// An installed layout: the executable in bin/ with no settings beside it,
// the sample list in share/tolvane/, the user's folder under config/.
class SettingsFolder : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    fs::create_directories(Path("bin"));
    fs::create_directories(Path("share/tolvane"));
    WriteFile(Path("share/tolvane/ngword.txt"), kSample);
    platform::Application().SetExeDir(Path("bin").string() + "/");
  }
  fs::path UserDir() const { return Path("config/tolvane"); }
};

TEST_F(SettingsFolder, FirstStartGetsTheSampleListAndSavesInTheUserFolder) {
  Start();
  QCoreApplication::processEvents();
  EXPECT_TRUE(messages.boxes.empty());
  EXPECT_EQ(Form1->FNgWords->Strings(),
            (std::vector<std::string>{"\x96\xa2\x8f\xb3\x94\x46\x8d\x4c\x8d\x90", "\x8f\x6f\x89\xef\x82\xa2"}));
  EXPECT_BYTES_EQ(ReadFile(UserDir() / "ngword.txt"), kSample);
  // Both made by the program, both private: the settings hold passwords.
  EXPECT_EQ(Mode(UserDir()), 0700u);
  EXPECT_EQ(Mode(Path("config")), 0700u);

  Form1->StringGrid1->SetCells(3, 1, "secret");
  Form1->Close();
  EXPECT_NE(ReadFile(UserDir() / "tolvane.ini").find("Password=secret"), std::string::npos);
  EXPECT_FALSE(fs::exists(Path("bin/tolvane.ini")));
  EXPECT_FALSE(fs::exists(Path("bin/ngword.txt")));
}

TEST_F(SettingsFolder, ASettingsFileBesideTheExecutableKeepsBothFilesThere) {
  WriteFile(Path("bin/tolvane.ini"), "[Account:1]\r\nPOPServer=portable.example.jp\r\n");
  WriteFile(Path("bin/ngword.txt"), "X\r\n");
  Start();
  EXPECT_EQ(Form1->StringGrid1->Cells(1, 1), "portable.example.jp");
  EXPECT_EQ(Form1->FNgWords->Strings(), (std::vector<std::string>{"X"}));
  Form1->Close();
  EXPECT_NE(ReadFile(Path("bin/tolvane.ini")).find("[Account:4]"), std::string::npos);
  EXPECT_FALSE(fs::exists(Path("config")));
}

TEST_F(SettingsFolder, AnExistingFolderIsUsedAsItIsAndADeletedListStaysDeleted) {
  fs::create_directories(UserDir());
  WriteFile(UserDir() / "tolvane.ini", "[Account:2]\r\nAccount=alice\r\n");
  Start();
  QCoreApplication::processEvents();
  EXPECT_EQ(Form1->StringGrid1->Cells(2, 2), "alice");
  EXPECT_FALSE(fs::exists(UserDir() / "ngword.txt"));
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_BYTES_EQ(messages.boxes[0].text,
                  kCannotOpen + (UserDir() / "ngword.txt").string() + " \x82\xcd\x8aJ\x82\xaf\x82\xdc\x82\xb9\x82\xf1");
}

TEST_F(SettingsFolder, AFolderThatCannotBeMadeIsReportedAndNothingIsLost) {
  // A plain file where the configuration folder should be: no folder can
  // be made below it, whoever runs the test.
  WriteFile(Path("config"), "");
  Start();
  QCoreApplication::processEvents();
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_NE(messages.boxes[0].text.find(kCannotOpen + (UserDir() / "ngword.txt").string()), std::string::npos);
  EXPECT_TRUE(tray.shown);

  Form1->show();
  Form1->Close();
  ASSERT_EQ(messages.boxes.size(), 2u);
  EXPECT_NE(messages.boxes[1].text.find(kCannotWrite), std::string::npos);
  EXPECT_TRUE(Form1->isVisible());  // still up: the edits are kept for another try
  EXPECT_FALSE(fs::exists(Path("bin/tolvane.ini")));
}

TEST(SettingsFolderPath, FollowsXdgConfigHomeWhenItIsAbsolute) {
  struct Case {
    const char* xdg;  // nullptr: unset
    const char* home;
    const char* folder;
  } cases[] = {
      {"/x/conf", "/home/u", "/x/conf/tolvane/"},
      {"/x/conf/", "/home/u", "/x/conf/tolvane/"},
      {nullptr, "/home/u", "/home/u/.config/tolvane/"},
      {"", "/home/u/", "/home/u/.config/tolvane/"},
      {"relative/conf", "/home/u", "/home/u/.config/tolvane/"},
  };
  const std::string saved_home = std::getenv("HOME") ? std::getenv("HOME") : "";
  for (const Case& c : cases) {
    if (c.xdg) setenv("XDG_CONFIG_HOME", c.xdg, 1);
    else unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", c.home, 1);
    EXPECT_EQ(settings_folder::UserFolder(), c.folder) << (c.xdg ? c.xdg : "(unset)");
  }
  setenv("HOME", saved_home.c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
}

TEST(SettingsFolderPath, CreateMakesOnlyTheMissingFoldersPrivate) {
  const test_support::TempDir scratch;
  const fs::path base = scratch.path();
  ::chmod(base.c_str(), 0755);
  EXPECT_TRUE(settings_folder::Create((base / "a/b/tolvane/").string()));
  EXPECT_EQ(Mode(base), 0755u);
  for (const char* made : {"a", "a/b", "a/b/tolvane"}) EXPECT_EQ(Mode(base / made), 0700u) << made;
  EXPECT_TRUE(settings_folder::Create((base / "a/b/tolvane/").string()));  // already there
  WriteFile(base / "file", "");
  EXPECT_FALSE(settings_folder::Create((base / "file/tolvane/").string()));
  EXPECT_FALSE(settings_folder::Create((base / "file").string()));
}

}  // namespace
}  // namespace app_test
