// Whole-file reads and the crash-safe replacement under the settings file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "atomic_file.h"
#include "byte_assert.h"
#include "ini_file.h"
#include "ini_temp_dir.h"

namespace {

using namespace std::string_literals;
using test_support::ModeOf;
using test_support::ReadBytes;
using test_support::TempDir;
using test_support::WriteBytes;
using tolvane::platform::ReadFileBytes;
using tolvane::platform::ReplaceFileAtomically;

TEST(ReadFileBytes, GivesEveryByteOrTheReason) {
  TempDir dir;
  const std::string bytes = "a\0b\r\n\xFF"s + std::string(200000, 'z');
  WriteBytes(dir.File("f"), bytes);
  std::error_code ec;
  const auto got = ReadFileBytes(dir.File("f"), ec);
  ASSERT_TRUE(got.has_value());
  EXPECT_FALSE(ec);
  EXPECT_BYTES_EQ(*got, bytes);

  EXPECT_FALSE(ReadFileBytes(dir.File("missing"), ec).has_value());
  EXPECT_EQ(ec, std::errc::no_such_file_or_directory);
  EXPECT_FALSE(ReadFileBytes(dir.path(), ec).has_value());
  EXPECT_EQ(ec, std::errc::is_a_directory);
  EXPECT_FALSE(ReadFileBytes(dir.File("f/x"), ec).has_value());
  EXPECT_EQ(ec, std::errc::not_a_directory);
  // A FIFO nobody writes to would block a plain open and read for ever.
  ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
  EXPECT_FALSE(ReadFileBytes(dir.File("fifo"), ec).has_value());
  EXPECT_EQ(ec, std::errc::invalid_argument);
  EXPECT_FALSE(ReadFileBytes("/dev/zero", ec).has_value());
  EXPECT_EQ(ec, std::errc::invalid_argument);
}

TEST(ReplaceFileAtomically, CreatesReplacesAndLeavesNoTemporary) {
  TempDir dir;
  const std::string path = dir.File("f");
  ReplaceFileAtomically(path, "one", 0600);
  EXPECT_BYTES_EQ(ReadBytes(path), "one");
  EXPECT_EQ(ModeOf(path), 0600u);
  ASSERT_EQ(::chmod(path.c_str(), 0664), 0);
  ReplaceFileAtomically(path, "", 0600);
  EXPECT_BYTES_EQ(ReadBytes(path), "");
  EXPECT_EQ(ModeOf(path), 0664u);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"f"});
}

TEST(ReplaceFileAtomically, ReplacesTheTargetOfALink) {
  TempDir dir;
  ASSERT_EQ(::mkdir(dir.File("real").c_str(), 0700), 0);
  WriteBytes(dir.File("real/f"), "old");
  ASSERT_EQ(::chmod(dir.File("real/f").c_str(), 0640), 0);
  ASSERT_EQ(::symlink("real/f", dir.File("link").c_str()), 0);
  ReplaceFileAtomically(dir.File("link"), "new", 0600);
  struct stat st {};
  ASSERT_EQ(::lstat(dir.File("link").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_BYTES_EQ(ReadBytes(dir.File("real/f")), "new");
  EXPECT_EQ(ModeOf(dir.File("real/f")), 0640u);
}

TEST(ReplaceFileAtomically, FailureThrowsAndLeavesNothing) {
  TempDir dir;
  WriteBytes(dir.File("plain"), "x");
  EXPECT_THROW(ReplaceFileAtomically(dir.File("plain/f"), "new", 0600), std::system_error);
  EXPECT_THROW(ReplaceFileAtomically(dir.File("missing/f"), "new", 0600), std::system_error);
  // The target is a folder: the rename fails, for root too.
  ASSERT_EQ(::mkdir(dir.File("sub").c_str(), 0700), 0);
  EXPECT_THROW(ReplaceFileAtomically(dir.File("sub"), "new", 0600), std::system_error);
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"plain", "sub"}));
  EXPECT_BYTES_EQ(ReadBytes(dir.File("plain")), "x");
}

// A process that saves the settings file over and over is killed at random
// moments; each time the file must be exactly the old or the new version.
TEST(ReplaceFileAtomically, KillDuringASaveLeavesTheOldOrTheNewFile) {
  TempDir dir;
  const std::string path = dir.File("tolvane.ini");
  // A large file makes each save take many write calls, so kills land inside.
  const std::string head = "; " + std::string(1 << 16, '-') + "\r\n[Account:1]\r\nPassword=";
  const std::string value_a(3000, 'a');
  const std::string value_b = "b";
  const std::string file_a = head + value_a + "\r\n";
  const std::string file_b = head + value_b + "\r\n";
  WriteBytes(path, file_a);

  std::mt19937 random(12345);
  int seen_a = 0, seen_b = 0;
  constexpr int kRounds = 60;
  for (int round = 0; round < kRounds; ++round) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(ready[0]);
      TIniFile ini(path);
      for (long i = 0;; ++i) {
        ini.WriteString("Account:1", "Password", i % 2 == 0 ? value_b : value_a);
        if (i == 0 && ::write(ready[1], "r", 1) != 1) ::_exit(1);
      }
    }
    ::close(ready[1]);
    char byte = 0;
    const bool started = ::read(ready[0], &byte, 1) == 1;  // one save done: file_b
    ::close(ready[0]);
    // Kill within the next few saves, however long a save takes in this build.
    const auto save_us =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    std::uniform_int_distribution<long> delay_us(0, 3 * save_us.count());
    std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(started) << "the saving process died early";
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    const std::string now = ReadBytes(path);
    if (now == file_a) ++seen_a;
    else if (now == file_b) ++seen_b;
    else FAIL() << "round " << round << ": a file of " << now.size() << " bytes is neither version";
    // Start the next round from the old version again.
    WriteBytes(path, file_a);
  }
  // Both outcomes occurred, so the kills did land between and during saves.
  EXPECT_GT(seen_a, 0);
  EXPECT_GT(seen_b, 0);
  RecordProperty("old", seen_a);
  RecordProperty("new", seen_b);
}

}  // namespace
