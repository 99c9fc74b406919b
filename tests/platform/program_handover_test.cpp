// varnek hands a start with a window over to the window's own program: it
// finds that program where the build or the installation puts it, and the
// window learns which program the user started (whose folder holds the
// help file).
#include "platform/program_handover.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/program_data.h"
#include "tests/support/files.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

TEST(ProgramHandover, TheWindowProgramLiesNextToTheProgramOrInLibexec) {
  EXPECT_EQ(HelperProgramCandidates("/opt/p/bin/varnek", "varnek-window"),
            (std::vector<std::string>{"/opt/p/bin/varnek-window",
                                      "/opt/p/libexec/pirukko/varnek-window"}));

  const test_support::TempDir root("handover");
  const fs::path bin = root.path() / "bin";
  const fs::path libexec = root.path() / "libexec" / "pirukko";
  fs::create_directories(bin);
  fs::create_directories(libexec);
  const std::string program = (bin / "varnek").string();
  EXPECT_EQ(FindHelperProgram(program, "varnek-window"), std::nullopt);
  // Installed: in libexec; a file that may not be run does not count.
  test_support::WriteFile(libexec / "varnek-window", "#!/bin/sh\n");
  EXPECT_EQ(FindHelperProgram(program, "varnek-window"), std::nullopt);
  fs::permissions(libexec / "varnek-window", fs::perms::owner_all);
  EXPECT_EQ(FindHelperProgram(program, "varnek-window"), (libexec / "varnek-window").string());
  // In the build folder: next to the program, found first.
  test_support::WriteFile(bin / "varnek-window", "#!/bin/sh\n");
  fs::permissions(bin / "varnek-window", fs::perms::owner_all);
  EXPECT_EQ(FindHelperProgram(program, "varnek-window"), (bin / "varnek-window").string());
}

TEST(ProgramHandover, TheProgramHandedOverToLearnsWhichProgramWasStarted) {
  const test_support::TempDir scratch("handover");
  const fs::path seen = scratch.path() / "seen";
  const pid_t child = fork();
  if (child == 0) {
    char sh[] = "sh", c[] = "-c";
    std::string script = "printf %s \"$PIRUKKO_STARTED_AS\" > '" + seen.string() + "'";
    char* argv[] = {sh, c, script.data(), nullptr};
    HandOverTo("/bin/sh", argv, "/usr/bin/varnek");
    _exit(127);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(test_support::ReadFile(seen), "/usr/bin/varnek");

  // A program that does not exist: the reason comes back, nothing is left set.
  char name[] = "nothing";
  char* argv[] = {name, nullptr};
  EXPECT_EQ(HandOverTo((scratch.path() / "nothing").string(), argv, "/usr/bin/varnek"), ENOENT);
  EXPECT_EQ(TakeStartedProgram(), std::nullopt);

  // Taken once, and gone for the programs this one starts.
  ASSERT_EQ(setenv("PIRUKKO_STARTED_AS", "/usr/bin/varnek", 1), 0);
  EXPECT_EQ(TakeStartedProgram(), "/usr/bin/varnek");
  EXPECT_EQ(getenv("PIRUKKO_STARTED_AS"), nullptr);
  EXPECT_EQ(TakeStartedProgram(), std::nullopt);
}

TEST(ProgramHandover, OwnProgramPathIsThisTestProgram) {
  const std::optional<std::string> own = OwnProgramPath();
  ASSERT_TRUE(own);
  EXPECT_EQ(fs::path(*own).filename(), "platform_program_handover_test");
}

}  // namespace
}  // namespace platform
