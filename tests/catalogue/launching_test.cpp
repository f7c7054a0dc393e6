#include "catalogue/busy_cursor.h"
#include "catalogue/program_directory.h"
#include "catalogue/shell_request.h"
#include "support/fake_screen_cursor.h"
#include "support/recording_shell_service.h"

#include <gtest/gtest.h>

namespace sc {
namespace {

using test::FakeLaunchContext;
using test::FakeScreenCursor;
using test::RecordingShellService;
using test::ShellFailure;

ShellRequest openRequest(std::uintptr_t owner, std::string file) {
    return ShellRequest{owner, "open", std::move(file), std::nullopt, std::nullopt, kShowDefault};
}

TEST(ProgramDirectory, DirectoryPartKeepsTheLastBackslash) {
    EXPECT_EQ(directoryPart("C:\\Suite\\Start.exe"), "C:\\Suite\\");
    EXPECT_EQ(directoryPart("D:\\Start.exe"), "D:\\");
    EXPECT_EQ(directoryPart("\\\\server\\share\\Suite\\Start.exe"), "\\\\server\\share\\Suite\\");
    EXPECT_EQ(directoryPart("C:\\Suite\\"), "C:\\Suite\\");
    EXPECT_EQ(directoryPart("Start.exe"), "");
    EXPECT_EQ(directoryPart(""), "");
}

TEST(ProgramDirectory, JoinAddsABackslashOnlyWhenMissing) {
    EXPECT_EQ(joinPath("C:\\Suite\\", "DriveInfoTool.exe"), "C:\\Suite\\DriveInfoTool.exe");
    EXPECT_EQ(joinPath("C:\\Suite", "DriveInfoTool.exe"), "C:\\Suite\\DriveInfoTool.exe");
    EXPECT_EQ(joinPath("D:\\", "EraseTool.exe"), "D:\\EraseTool.exe");
    // The file name is taken as it is, spaces and all.
    EXPECT_EQ(joinPath("C:\\My Suite\\", "a b.exe"), "C:\\My Suite\\a b.exe");
    // No directory: the name alone, not a path from the drive's root.
    EXPECT_EQ(joinPath("", "EraseTool.exe"), "EraseTool.exe");
}

TEST(BusyCursor, NestingKeepsTheHourglassUntilTheOutermostEnd) {
    FakeScreenCursor screen;
    BusyCursor busy(screen);
    EXPECT_EQ(busy.count(), 0);
    busy.beginBusy();
    busy.beginBusy();
    EXPECT_EQ(screen.shapes, (std::vector<int>{crHourGlass, crHourGlass}));
    busy.endBusy();
    EXPECT_EQ(busy.count(), 1);
    EXPECT_EQ(screen.current(), crHourGlass);
    EXPECT_EQ(screen.shapes.size(), 2u);
    busy.endBusy();
    EXPECT_EQ(busy.count(), 0);
    EXPECT_EQ(screen.shapes, (std::vector<int>{crHourGlass, crHourGlass, crDefault}));
}

TEST(BusyCursor, EndWithoutBeginChangesNothing) {
    FakeScreenCursor screen;
    BusyCursor busy(screen);
    busy.endBusy();
    EXPECT_EQ(busy.count(), 0);
    EXPECT_TRUE(screen.shapes.empty());
    busy.beginBusy();
    busy.endBusy();
    busy.endBusy();
    EXPECT_EQ(busy.count(), 0);
    EXPECT_EQ(screen.shapes, (std::vector<int>{crHourGlass, crDefault}));
    // The counter did not go below zero: one begin makes it busy again.
    busy.beginBusy();
    EXPECT_EQ(busy.count(), 1);
}

TEST(Launching, TaskProgramIsOpenedFromTheProgramDirectoryWhileBusy) {
    FakeScreenCursor screen;
    BusyCursor busy(screen);
    RecordingShellService shell(&busy);
    const FakeLaunchContext app(0x1234, "C:\\Suite\\Start.exe");
    launchTaskProgram(shell, app, busy, "DriveInfoTool.exe");
    EXPECT_EQ(shell.requests,
              (std::vector<ShellRequest>{openRequest(0x1234, "C:\\Suite\\DriveInfoTool.exe")}));
    EXPECT_EQ(shell.busyCounts, (std::vector<int>{1}));
    EXPECT_EQ(busy.count(), 0);
    EXPECT_EQ(screen.shapes, (std::vector<int>{crHourGlass, crDefault}));
}

TEST(Launching, WebSiteIsOpenedAsGivenWhileBusy) {
    FakeScreenCursor screen;
    BusyCursor busy(screen);
    RecordingShellService shell(&busy);
    openWebSite(shell, FakeLaunchContext(99, "C:\\Suite\\Start.exe"), busy,
                "https://www.quillmark.example/?a=1&b=%20");
    EXPECT_EQ(shell.requests, (std::vector<ShellRequest>{
                                  openRequest(99, "https://www.quillmark.example/?a=1&b=%20")}));
    EXPECT_EQ(shell.busyCounts, (std::vector<int>{1}));
    EXPECT_EQ(screen.current(), crDefault);
}

TEST(Launching, AFailingShellStillEndsBusyOnceAndPassesTheFailureOn) {
    FakeScreenCursor screen;
    BusyCursor busy(screen);
    RecordingShellService shell(&busy);
    shell.failWith = "no shell";
    const FakeLaunchContext app(1, "C:\\Suite\\Start.exe");

    // Already busy from an outer request: the failure must take off exactly one level.
    busy.beginBusy();
    EXPECT_THROW(launchTaskProgram(shell, app, busy, "EraseTool.exe"), ShellFailure);
    EXPECT_EQ(busy.count(), 1);
    EXPECT_THROW(openWebSite(shell, app, busy, "https://www.tavero.example/"), ShellFailure);
    EXPECT_EQ(busy.count(), 1);
    EXPECT_EQ(shell.busyCounts, (std::vector<int>{2, 2}));
    busy.endBusy();
    EXPECT_EQ(screen.current(), crDefault);

    try {
        openWebSite(shell, app, busy, "https://www.tavero.example/");
        FAIL() << "the failure was swallowed";
    } catch (const ShellFailure& failure) {
        EXPECT_STREQ(failure.what(), "no shell");
    }
    EXPECT_EQ(busy.count(), 0);
}

TEST(Launching, PlainOpenDoesNotTouchTheCursor) {
    FakeScreenCursor screen;
    BusyCursor busy(screen);
    RecordingShellService shell(&busy);
    openWithShell(shell, FakeLaunchContext(5, "C:\\x.exe"),
                  supportMailTarget("help@tavero.example"));
    EXPECT_EQ(shell.requests,
              (std::vector<ShellRequest>{openRequest(5, "mailto:help@tavero.example")}));
    EXPECT_EQ(shell.busyCounts, (std::vector<int>{0}));
    EXPECT_TRUE(screen.shapes.empty());
}

} // namespace
} // namespace sc
