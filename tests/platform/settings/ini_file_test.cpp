// TIniFile on real files: the settings file's load and close-time save, the
// boolean and integer forms, the 2048-byte read buffer, file modes and write
// failures (including ones that stop root).
#include <gtest/gtest.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "byte_assert.h"
#include "ini_file.h"
#include "ini_temp_dir.h"

namespace {

using namespace std::string_literals;
using test_support::ModeOf;
using test_support::ReadBytes;
using test_support::TempDir;
using test_support::Utf16File;
using test_support::WriteBytes;

// " に書き込めません" in Shift_JIS.
const std::string kCannotWrite = "\x20\x82\xC9\x8F\x91\x82\xAB\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82\xF1";

const char* const kKeys[] = {"ShortName", "POPServer", "Account", "Password"};

struct Settings {
  bool stop = false, icon = false;
  std::string sound;
  std::string rows[4][4];
};

// What the main window does at start and at close.
Settings Load(const TIniFile& ini) {
  Settings s;
  s.stop = ini.ReadBool("Option", "Stop", false);
  s.icon = ini.ReadBool("Option", "Icon", false);
  s.sound = ini.ReadString("Option", "SndFile", "");
  for (int row = 1; row <= 4; ++row)
    for (int col = 0; col < 4; ++col)
      s.rows[row - 1][col] = ini.ReadString("Account:" + std::to_string(row), kKeys[col], "");
  return s;
}

void Save(TIniFile& ini, const Settings& s) {
  ini.WriteBool("Option", "Stop", s.stop);
  ini.WriteBool("Option", "Icon", s.icon);
  ini.WriteString("Option", "SndFile", s.sound);
  for (int row = 1; row <= 4; ++row)
    for (int col = 0; col < 4; ++col)
      ini.WriteString("Account:" + std::to_string(row), kKeys[col], s.rows[row - 1][col]);
}

TEST(TIniFile, OnlyAccount2FillsRow2AndTheCloseWritesEverything) {
  TempDir dir;
  const std::string path = dir.File("tolvane.ini");
  WriteBytes(path,
             "[Account:2]\r\nShortName=\x83\x81\x83\x43\x83\x8B\r\nPOPServer=pop.example.jp\r\n"
             "Account=taro\r\nPassword=p=w;d\r\n");
  TIniFile ini(path);
  const Settings s = Load(ini);
  EXPECT_FALSE(s.stop);
  EXPECT_FALSE(s.icon);
  EXPECT_BYTES_EQ(s.sound, "");
  const std::string row2[4] = {"\x83\x81\x83\x43\x83\x8B", "pop.example.jp", "taro", "p=w;d"};
  for (int col = 0; col < 4; ++col) {
    EXPECT_BYTES_EQ(s.rows[1][col], row2[col]);
    for (int row : {0, 2, 3}) EXPECT_BYTES_EQ(s.rows[row][col], "");
  }
  Save(ini, s);
  EXPECT_BYTES_EQ(ReadBytes(path),
                  "[Account:2]\r\nShortName=\x83\x81\x83\x43\x83\x8B\r\nPOPServer=pop.example.jp\r\n"
                  "Account=taro\r\nPassword=p=w;d\r\n"
                  "[Option]\r\nStop=0\r\nIcon=0\r\nSndFile=\r\n"
                  "[Account:1]\r\nShortName=\r\nPOPServer=\r\nAccount=\r\nPassword=\r\n"
                  "[Account:3]\r\nShortName=\r\nPOPServer=\r\nAccount=\r\nPassword=\r\n"
                  "[Account:4]\r\nShortName=\r\nPOPServer=\r\nAccount=\r\nPassword=\r\n");
  const Settings again = Load(TIniFile(path));
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col) EXPECT_BYTES_EQ(again.rows[row][col], s.rows[row][col]);
}

TEST(TIniFile, MissingFileGivesTheDefaults) {
  TempDir dir;
  const TIniFile ini(dir.File("tolvane.ini"));
  const Settings s = Load(ini);
  EXPECT_FALSE(s.stop);
  EXPECT_FALSE(s.icon);
  EXPECT_TRUE(ini.ReadBool("Option", "Stop", true));
  EXPECT_BYTES_EQ(ini.ReadString("Option", "SndFile", "  x  "), "  x");  // only trailing spaces go
  EXPECT_EQ(ini.ReadInteger("Option", "N", 42), 42);
  EXPECT_TRUE(dir.Names().empty());
}

TEST(TIniFile, ReadsBooleansAsIntegers) {
  const struct {
    std::string stored;
    bool when_default_false, when_default_true;
  } cases[] = {
      {"5", true, true},     {"1", true, true},     {"-1", true, true},           {"+1", true, true},
      {"0x10", true, true},  {"0X10", true, true},  {"$10", true, true},          {"   1  ", true, true},
      {"'1'", true, true},   {"\"1\"", true, true}, {"08", true, true},           {"0", false, false},
      {"0x0", false, false}, {"-0", false, false},  {"yes", false, true},         {"true", false, true},
      {"", false, true},     {"1x", false, true},   {"'1 '", false, true},        {"0x", false, true},
      {"-", false, true},    {"0x1G", false, true}, {"99999999999", false, true},
  };
  TempDir dir;
  const std::string path = dir.File("tolvane.ini");
  for (const auto& c : cases) {
    SCOPED_TRACE("Stop=" + c.stored);
    WriteBytes(path, "[Option]\r\nStop=" + c.stored + "\r\n");
    const TIniFile ini(path);
    EXPECT_EQ(ini.ReadBool("Option", "Stop", false), c.when_default_false);
    EXPECT_EQ(ini.ReadBool("Option", "Stop", true), c.when_default_true);
  }
}

TEST(TIniFile, ReadsIntegersInDecimalAndHex) {
  const struct {
    std::string stored;
    int expected;
  } cases[] = {
      {"0x16", 22},
      {"$1f", 31},
      {"-$10", -16},
      {"08", 8},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", -7},
      {"0xFFFFFFFF", -1},
      {"0x100000000", -7},
      {"12 ", 12},
      {"\"12 \"", -7},
  };
  TempDir dir;
  const std::string path = dir.File("tolvane.ini");
  for (const auto& c : cases) {
    SCOPED_TRACE("N=" + c.stored);
    WriteBytes(path, "[s]\r\nN=" + c.stored + "\r\n");
    EXPECT_EQ(TIniFile(path).ReadInteger("s", "N", -7), c.expected);
  }
}

TEST(TIniFile, WritesBooleansAsOneAndZero) {
  TempDir dir;
  const std::string path = dir.File("tolvane.ini");
  WriteBytes(path, "[Option]\r\nStop=0x10\r\nIcon=yes\r\n");
  TIniFile ini(path);
  ini.WriteBool("Option", "Stop", ini.ReadBool("Option", "Stop", false));
  ini.WriteBool("Option", "Icon", ini.ReadBool("Option", "Icon", false));
  EXPECT_BYTES_EQ(ReadBytes(path), "[Option]\r\nStop=1\r\nIcon=0\r\n");
}

TEST(TIniFile, ReadsAtMost2047Bytes) {
  TempDir dir;
  const std::string path = dir.File("tolvane.ini");
  std::string long_value;
  for (int i = 0; i < 3000; ++i) long_value += static_cast<char>('A' + i % 26);
  for (const std::size_t size : {std::size_t{2046}, std::size_t{2047}, std::size_t{2048}, std::size_t{3000}}) {
    SCOPED_TRACE(size);
    const std::string stored = long_value.substr(0, size);
    WriteBytes(path, "[Account:1]\r\nPassword=" + stored + "\r\n");
    EXPECT_BYTES_EQ(TIniFile(path).ReadString("Account:1", "Password", ""), stored.substr(0, 2047));
  }
  // The cut comes after the quotes are stripped.
  WriteBytes(path, "[Account:1]\r\nPassword=\"" + long_value + "\"\r\n");
  EXPECT_BYTES_EQ(TIniFile(path).ReadString("Account:1", "Password", ""), long_value.substr(0, 2047));
}

TEST(TIniFile, ValuesWithBlanksOrQuotesSurviveASaveAndLoad) {
  TempDir dir;
  const std::string path = dir.File("tolvane.ini");
  TIniFile ini(path);
  const std::string values[] = {" secret ", "'quoted'", "\"x\"", "C:\\Sound\\ding.wav", "\x83\x70\x83\x58"};
  for (const std::string& v : values) {
    SCOPED_TRACE(v);
    ini.WriteString("Account:1", "Password", v);
    EXPECT_BYTES_EQ(ini.ReadString("Account:1", "Password", ""), v);
  }
  EXPECT_BYTES_EQ(ReadBytes(path), "[Account:1]\r\nPassword=\x83\x70\x83\x58\r\n");
  // A line end cannot be stored; what reads back is what a Windows reader
  // would see, and no line can be smuggled in.
  ini.WriteString("Account:1", "Password", "pw\r\n[Option]\r\nStop=1");
  EXPECT_BYTES_EQ(ReadBytes(path), "[Account:1]\r\nPassword=pw\r\n");
  EXPECT_FALSE(ini.ReadBool("Option", "Stop", false));
}

TEST(TIniFile, NewFileIsPrivateAndAnExistingOneKeepsItsMode) {
  TempDir dir;
  const mode_t old_umask = ::umask(0);
  const std::string fresh = dir.File("fresh.ini");
  TIniFile(fresh).WriteString("s", "k", "v");
  EXPECT_EQ(ModeOf(fresh), 0600u);
  for (const mode_t mode : {mode_t{0644}, mode_t{0640}, mode_t{0604}}) {
    const std::string path = dir.File("old.ini");
    WriteBytes(path, "[s]\r\nk=1\r\n");
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    TIniFile(path).WriteString("s", "k", "2");
    EXPECT_EQ(ModeOf(path), mode);
    EXPECT_BYTES_EQ(ReadBytes(path), "[s]\r\nk=2\r\n");
  }
  ::umask(old_umask);
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"fresh.ini", "old.ini"}));  // no temporaries left
}

// Runs body in a child process and returns its exit code: a failure that
// needs a resource limit or another user must not touch the test process.
template <typename Body>
int InChild(Body body) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(body());
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// 0 when the write raised EIniFileException with the expected text.
int ExpectWriteFailure(const std::string& path, const std::string& value) {
  try {
    TIniFile(path).WriteString("Account:1", "Password", value);
    return 2;
  } catch (const EIniFileException& e) {
    return std::string(e.what()) == path + kCannotWrite ? 0 : 3;
  }
}

TEST(TIniFile, WriteBelowARegularFileFailsWithTheMessage) {
  TempDir dir;
  WriteBytes(dir.File("plain"), "x");
  const std::string path = dir.File("plain/tolvane.ini");
  try {
    TIniFile(path).WriteBool("Option", "Stop", true);
    FAIL() << "no error";
  } catch (const EIniFileException& e) {
    EXPECT_BYTES_EQ(e.what(), path + kCannotWrite);
  }
  EXPECT_BYTES_EQ(ReadBytes(dir.File("plain")), "x");
  EXPECT_FALSE(TIniFile(path).ReadBool("Option", "Stop", false));
}

TEST(TIniFile, FullDiskLeavesTheOldFile) {
  TempDir dir;
  const std::string path = dir.File("tolvane.ini");
  const std::string old = "; accounts\r\n[Account:1]\r\nPassword=old\r\n";
  WriteBytes(path, old);
  // A file size limit stops root as well as anyone.
  const int rc = InChild([&] {
    const rlimit limit{1024, 1024};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 4;
    std::signal(SIGXFSZ, SIG_IGN);
    return ExpectWriteFailure(path, std::string(4000, 'x'));
  });
  EXPECT_EQ(rc, 0);
  EXPECT_BYTES_EQ(ReadBytes(path), old);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"tolvane.ini"});
}

TEST(TIniFile, ReadOnlyFolderLeavesTheOldFile) {
  TempDir dir;
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  const std::string folder = dir.File("ro");
  ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
  const std::string path = folder + "/tolvane.ini";
  const std::string old = "[Account:1]\r\nPassword=old\r\n";
  WriteBytes(path, old);
  ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  // Root ignores folder permissions, so the child gives up root first.
  const int rc = InChild([&] {
    if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) return 77;
    return ExpectWriteFailure(path, "new");
  });
  if (rc == 77) GTEST_SKIP() << "cannot drop root privileges here";
  EXPECT_EQ(rc, 0);
  EXPECT_BYTES_EQ(ReadBytes(path), old);
}

TEST(TIniFile, UnicodeFileIsReadAndWrittenThroughCodePage932) {
  TempDir dir;
  const std::string path = dir.File("tolvane.ini");
  // U+00E9 and U+1F600 are not in code page 932; a lone surrogate is no
  // character at all. All of them must survive writes to other keys.
  const std::string others = "; caf\u00E9 \U0001F600\r\n";
  WriteBytes(path, Utf16File(others + "[Account:1]\r\nShortName=\u30C6\u30B9\u30C8\r\nPassword=x\u00E9\r\n") +
                       "\x00\xD8\r\x00\n\x00"s);
  TIniFile ini(path);
  EXPECT_BYTES_EQ(ini.ReadString("account:1", "SHORTNAME", ""), "\x83\x65\x83\x58\x83\x67");
  EXPECT_BYTES_EQ(ini.ReadString("Account:1", "Password", ""), "x?");
  ini.WriteString("Account:1", "Password", " \x83\x70\x83\x58");
  ini.WriteBool("Option", "Stop", true);
  EXPECT_BYTES_EQ(ReadBytes(path), Utf16File(others + "[Account:1]\r\nShortName=\u30C6\u30B9\u30C8\r\n"
                                                      "Password=\" \u30D1\u30B9\"\r\n") +
                                       "\x00\xD8\r\x00\n\x00"s + Utf16File("[Option]\r\nStop=1\r\n").substr(2));
  EXPECT_BYTES_EQ(ini.ReadString("Account:1", "Password", ""), " \x83\x70\x83\x58");
  EXPECT_TRUE(ini.ReadBool("Option", "Stop", false));
}

TEST(TIniFile, LoneByteOrderMarkGetsALineEndBeforeTheFirstSection) {
  TempDir dir;
  const std::string path = dir.File("tolvane.ini");
  WriteBytes(path, "\xFF\xFE");
  TIniFile(path).WriteString("Option", "SndFile", "");
  EXPECT_BYTES_EQ(ReadBytes(path), Utf16File("\r\n[Option]\r\nSndFile=\r\n"));
}

TEST(TIniFile, BrokenUnicodeFileIsNeitherReadNorOverwritten) {
  TempDir dir;
  const std::string path = dir.File("tolvane.ini");
  const std::string odd = Utf16File("[s]\r\nk=v\r\n") + "\0"s;  // not whole code units
  WriteBytes(path, odd);
  TIniFile ini(path);
  EXPECT_BYTES_EQ(ini.ReadString("s", "k", "none"), "none");
  EXPECT_EQ(ExpectWriteFailure(path, "x"), 0);
  EXPECT_BYTES_EQ(ReadBytes(path), odd);
}

TEST(TIniFile, MessageIsShiftJis) {
  EXPECT_BYTES_EQ(test_support::Iconv(EIniFileException("C:\\x.ini").what(), "CP932", "UTF-8"),
                  "C:\\x.ini \u306B\u66F8\u304D\u8FBC\u3081\u307E\u305B\u3093");  // に書き込めません
}

TEST(TIniFile, LineEndInANameIsRefused) {
  TempDir dir;
  const std::string path = dir.File("tolvane.ini");
  WriteBytes(path, "[s]\r\nk=1\r\n");
  TIniFile ini(path);
  EXPECT_THROW(ini.WriteString("s\r\n[t]", "k", "v"), EIniFileException);
  EXPECT_THROW(ini.WriteString("s", "k\nx", "v"), EIniFileException);
  EXPECT_BYTES_EQ(ReadBytes(path), "[s]\r\nk=1\r\n");
}

}  // namespace
