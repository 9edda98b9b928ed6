#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>

#include "base/assert.h"
#include "base/log.h"
#include "support/fatalcapture.h"
#include "support/tempdir.h"

namespace {

const std::regex kLine(R"(\[\d\d:\d\d:\d\d-T    \] (.*)\n)");
const std::regex kMarkedLine(R"(\[-\d\d:\d\d:\d\d-T    \] (.*)\n)");

TEST(Log, LinesGoOnlyToTheSinksThatAreOn) {
    TempDir dir;
    const std::string file = dir.File("log.txt");

    // Before any InitLog: nothing anywhere.
    testing::internal::CaptureStderr();
    LogMessage("before %d", 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    InitLog(false, true, false, file.c_str());
    testing::internal::CaptureStderr();
    LogMessage("LODA %d", 110);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    std::string text = ReadFileBytes(file);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(text, m, kLine)) << text;
    EXPECT_EQ(m[1], "LODA 110");

    // Re-initialising with the file on truncates it and adds the debugger output.
    InitLog(true, true, false, file.c_str());
    testing::internal::CaptureStderr();
    LogMessage("OpenGl Vendor: %s", "Mesa");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(std::regex_match(err, m, kLine)) << err;
    EXPECT_EQ(m[1], "OpenGl Vendor: Mesa");
    EXPECT_EQ(ReadFileBytes(file), err);

    // With the file off, the file stream is left as it was: still open, no longer written.
    InitLog(true, false, true, "elsewhere.txt");
    testing::internal::CaptureStderr();
    LogMessage("marked");
    err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(std::regex_match(err, m, kMarkedLine)) << err;
    EXPECT_EQ(m[1], "marked");

    EXPECT_EQ(ReadFileBytes(file).find("marked"), std::string::npos);
    InitLog(false, false, false, "");
}

TEST(Log, LongMessagesAreCutAtTheBuffer) {
    std::string longText(3000, 'x');
    InitLog(true, false, false, "");
    testing::internal::CaptureStderr();
    LogMessage("%s", longText.c_str());
    std::string err = testing::internal::GetCapturedStderr();
    InitLog(false, false, false, "");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(err, m, kLine));
    EXPECT_EQ(m[1].length(), 1023u);
}

TEST(Log, UnopenableFileLeavesTheOtherSinkWorking) {
    TempDir dir;
    const std::string file = dir.File("missing-folder/log.txt");
    InitLog(true, true, false, file.c_str());
    testing::internal::CaptureStderr();
    LogMessage("still on standard error");
    std::string err = testing::internal::GetCapturedStderr();
    InitLog(false, false, false, "");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(err, m, kLine)) << err;
    EXPECT_EQ(m[1], "still on standard error");
    EXPECT_FALSE(std::ifstream(file).good());  // no folder made on the way
}

TEST(Assert, ReportNamesConditionFileWithoutFoldersAndLine) {
    const int line = __LINE__ + 1;
    std::string message = CaptureFatal([] { ASSERT(1 + 1 == 3); });
    EXPECT_EQ(message,
              "Assertion failed: 1 + 1 == 3, file log_test.cpp, line " + std::to_string(line));
    EXPECT_EQ(CaptureFatal([] { ASSERT(2 > 1); }), "");
}

TEST(AssertDeathTest, DefaultHandlerPrintsLogsAndExitsNonZero) {
    TempDir dir;
    const std::string file = dir.File("log.txt");
    EXPECT_EXIT(
        {
            InitLog(false, true, false, file.c_str());
            ASSERT(false);
        },
        testing::ExitedWithCode(kFatalExitCode), "Assertion failed: false, file log_test.cpp");
    std::string logged = ReadFileBytes(file);
    EXPECT_NE(logged.find("-T    ] Assertion failed: false, file log_test.cpp, line "),
              std::string::npos)
        << logged;
}

// The show's message box is a presenter; the default handler shows the report through it, after
// the report is written, and still exits.
TEST(AssertDeathTest, DefaultHandlerShowsTheReportThroughThePresenter) {
    EXPECT_EXIT(
        {
            SetFatalPresenter([](const char* title, const char* text) {
                std::fprintf(stderr, "presented \"%s\": %s\n", title, text);
            });
            ReportFatal("models/Scene01.geo: truncated");
        },
        testing::ExitedWithCode(kFatalExitCode),
        "models/Scene01.geo: truncated\npresented \"Pindle\": models/Scene01.geo: truncated");
}

}  // namespace
