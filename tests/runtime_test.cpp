#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "CRand.h"
#include "FileDescriptor.h"
#include "Printable.h"
#include "RandomDraws.h"
#include "TempDir.h"
#include "WholeFile.h"

TEST(Generator, SeedOneGivesTheStandardsExampleSequence) {
  runtime::CRand generator(1);
  const int expected[] = {16838, 5758, 10113, 17515, 31051};
  for (int value : expected) EXPECT_EQ(generator.rand(), value);
  EXPECT_EQ(runtime::CRand().rand(), 16838) << "an unseeded generator starts as seed 1";
}

TEST(Generator, ReseedingRestartsAndTheSavedStateContinuesTheStream) {
  runtime::CRand generator(42);
  const std::vector<int> first = Draws(42, 6);
  EXPECT_EQ(generator.rand(), first[0]);
  generator.srand(42);
  EXPECT_EQ(generator.rand(), first[0]);
  EXPECT_EQ(generator.rand(), first[1]);
  runtime::CRand continued(generator.State());
  for (std::size_t i = 2; i < first.size(); ++i) EXPECT_EQ(continued.rand(), first[i]);
}

TEST(Generator, DrawingManyAtOnceGivesTheSameNumbersAndLeavesTheSameState) {
  // Counts around the leap table's length of 16, where a row is drawn in several chunks.
  for (std::uint32_t seed : {1U, 42U, 0xFFFFFFFFU}) {
    for (std::size_t count : {0U, 1U, 12U, 15U, 16U, 17U, 32U, 33U, 100U}) {
      runtime::CRand single(seed), many(seed);
      std::vector<int> drawn(count, -1);
      many.DrawMany(count, [&drawn](std::size_t i, int r) { drawn[i] = r; });
      for (std::size_t i = 0; i < count; ++i) {
        ASSERT_EQ(drawn[i], single.rand()) << "seed " << seed << ", count " << count << ", " << i;
      }
      EXPECT_EQ(many.State(), single.State()) << "seed " << seed << ", count " << count;
    }
  }
}

TEST(Generator, StaysInRangeAndReachesBothEnds) {
  runtime::CRand generator(7);
  bool sawZero = false, sawMax = false;
  for (int i = 0; i < 4'000'000; ++i) {
    const int r = generator.rand();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, runtime::kRandMax);
    sawZero |= r == 0;
    sawMax |= r == runtime::kRandMax;
  }
  EXPECT_TRUE(sawZero);
  EXPECT_TRUE(sawMax);
}

TEST(Generator, TwoGeneratorsAndTheCLibrarysRandNeverInterfere) {
  runtime::CRand one(1), other(1);
  std::srand(99);
  (void)std::rand();
  EXPECT_EQ(one.rand(), 16838);
  std::vector<int> fromThread;
  std::thread drawing([&fromThread] {
    runtime::CRand mine(1);
    for (int i = 0; i < 5; ++i) fromThread.push_back(mine.rand());
  });
  for (int i = 0; i < 1000; ++i) one.rand();
  drawing.join();
  EXPECT_EQ(fromThread, Draws(1, 5));
  EXPECT_EQ(other.rand(), 16838);
}

namespace {
bool NumberIsOpen(int fd) {
  return ::fcntl(fd, F_GETFD) != -1;
}

int OpenDevNull() {
  return ::open("/dev/null", O_RDONLY | O_CLOEXEC);
}
}  // namespace

// A second close of a number would by then close whatever file took the number since: each test
// gives the number to a spare file and checks that it survives the remaining owners.
// Quoted text never carries raw bytes to a terminal, nor a character cut in half.
TEST(Printable, EscapesControlsAndForeignBytesAndCutsAtACharacter) {
  EXPECT_EQ(runtime::Printable("a\tb\x7F"), "a\\x09b\\x7F");
  EXPECT_EQ(runtime::Printable("\xC3\xA9t\xC3\xA9"), "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(runtime::Printable("\xFF\xC3\xA9"), "\\xFF\\xC3\\xA9");
  EXPECT_EQ(runtime::Printable("a\xC3\xA9", 2), "a...");
  EXPECT_EQ(runtime::Printable("abc", 3), "abc");
}

TEST(FileDescriptor, ClosesExactlyOnceThroughMovesAssignmentAndClose) {
  const int spare = OpenDevNull();
  int number = -1;
  {
    runtime::FileDescriptor movedFrom(OpenDevNull());
    number = movedFrom.Get();
    {
      runtime::FileDescriptor owner(std::move(movedFrom));
      runtime::FileDescriptor replaced(OpenDevNull());
      const int old = replaced.Get();
      replaced = std::move(owner);
      EXPECT_FALSE(NumberIsOpen(old)) << "assignment kept the descriptor it replaced";
      EXPECT_TRUE(NumberIsOpen(number));
    }
    EXPECT_FALSE(NumberIsOpen(number)) << "the last owner left it open";
    ASSERT_EQ(::dup2(spare, number), number);
  }
  EXPECT_TRUE(NumberIsOpen(number)) << "an owner it was moved from closed it again";
  ::close(number);
  {
    runtime::FileDescriptor closed(OpenDevNull());
    number = closed.Get();
    EXPECT_EQ(closed.Close(), 0);
    EXPECT_FALSE(NumberIsOpen(number));
    ASSERT_EQ(::dup2(spare, number), number);
  }
  EXPECT_TRUE(NumberIsOpen(number)) << "the destructor closed it again after Close()";
  ::close(number);
  ::close(spare);
}

// Each reason names the real cause: a folder that exists is never called missing.
TEST(WholeFileProblem, NamesTheRealCause) {
  TempDir dir;
  const std::string folder = dir.path().string();
  std::ofstream(dir.path() / "file") << "x";
  EXPECT_EQ(runtime::WholeFileProblem(folder + "/new.json"), "");
  EXPECT_EQ(runtime::WholeFileProblem(folder), "is a folder");
  EXPECT_EQ(runtime::WholeFileProblem(folder + "/file/new.json"),
            "its folder " + folder + "/file is not a folder");
  EXPECT_EQ(runtime::WholeFileProblem("/no/such/folder/new.json"),
            "its folder /no/such/folder does not exist");
  EXPECT_EQ(runtime::WholeFileProblem("/proc/new.json"),
            "its folder /proc is not writable: the file system there takes no new files");
  // Permission bits bind every user but root.
  const std::filesystem::path locked = dir.path() / "locked";
  std::filesystem::create_directory(locked);
  std::filesystem::permissions(locked, std::filesystem::perms::none);
  if (::geteuid() != 0) {
    EXPECT_EQ(runtime::FolderProblem(locked),
              locked.string() + " is not writable: Permission denied");
    EXPECT_EQ(runtime::FolderProblem(locked / "inner"),
              (locked / "inner").string() + " cannot be reached: Permission denied");
  }
  std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
}

// Whether the writer gives up or the disk refuses a byte, the old file stays as it was and no
// temporary is left beside it.
TEST(WholeFiles, AFailedWriteLeavesTheOldFileAndNoTemporaryOne) {
  TempDir dir;
  const std::string target = (dir.path() / "figure.png").string();
  std::ofstream(target) << "keep me";
  std::string error;
  EXPECT_FALSE(runtime::WriteWholeFile(
      target,
      [](const std::string& temporary, std::string& failure) {
        std::ofstream(temporary) << "half a fi";
        failure = "No space left on device";
        return false;
      },
      error));
  EXPECT_EQ(error, "No space left on device");
  // A file size limit makes the write itself fail.
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 4096;
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &small);
  const bool written = runtime::WriteWholeFile(target, std::string(8192, 'x'), error);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(written);
  EXPECT_EQ(error, std::strerror(EFBIG));
  EXPECT_EQ(dir.Read("figure.png"), "keep me");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  EXPECT_TRUE(runtime::WriteWholeFile(target, "new", error)) << error;
  EXPECT_EQ(dir.Read("figure.png"), "new");
}
