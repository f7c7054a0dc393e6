// snapwin.exe as a test or a person runs it: against the bare window program, whose client area
// is known to the pixel, and against a title that no window has.

#include "child_process.h"
#include "suite_folder.h"
#include "wic_decoder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Runs snapwin.exe with the given arguments; its exit status, or -1 when it could not run.
// With errorFile, its standard error goes to that file (a file, not a pipe: see the Wine notes).
int runSnapwin(const std::string& arguments, DWORD timeoutMs, const std::string& errorFile = {}) {
    const std::string program = e2e::windowsPath(SC_SNAPWIN_EXE);
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    HANDLE error = INVALID_HANDLE_VALUE;
    if (!errorFile.empty()) {
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        error = CreateFileA(errorFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (error == INVALID_HANDLE_VALUE) {
            return -1;
        }
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = error;
    }
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr,
                       error != INVALID_HANDLE_VALUE, 0, nullptr, nullptr, &startup, &process);
    if (error != INVALID_HANDLE_VALUE) {
        CloseHandle(error);
    }
    if (!started) {
        return -1;
    }
    int status = -1;
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        status = static_cast<int>(code);
    } else {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status;
}

std::string tempFile(const char* name) {
    char folder[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

TEST(Snapwin, SavesTheWholeClientAreaOfTheNamedWindow) {
    e2e::ChildProcess bare(e2e::windowsPath(SC_BAREWIN_EXE));
    ASSERT_TRUE(bare.started());
    const std::string out = tempFile("sc-snapwin-bare.png");
    std::remove(out.c_str());

    EXPECT_EQ(runSnapwin("\"Bare window\" \"" + out + "\" 15000", 20000), 0);
    e2e::WicDecoder wic;
    ASSERT_TRUE(wic.ready());
    const auto image = wic.decodeFile(out);
    std::remove(out.c_str());
    ASSERT_TRUE(image.has_value()) << "no readable PNG written";
    EXPECT_EQ(image->width, 658);
    EXPECT_EQ(image->height, 478);

    // An empty window of button-face colour: every pixel that colour, none black or missing.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    std::size_t wrong = 0;
    for (std::size_t i = 0; i + 2 < image->pixels.size(); i += 3) {
        if (image->pixels[i] != GetRValue(face) || image->pixels[i + 1] != GetGValue(face) ||
            image->pixels[i + 2] != GetBValue(face)) {
            ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0u);
}

TEST(Snapwin, EndsWithStatusOneWhenNoWindowHasTheTitle) {
    const std::string out = tempFile("sc-snapwin-none.png");
    std::remove(out.c_str());
    const std::string errors = tempFile("sc-snapwin-none.txt");
    // It gives up on its own, within the wait it was given rather than its 10-second default:
    // the message names that wait. The limit here only catches a hang.
    EXPECT_EQ(runSnapwin("\"No window has this caption\" \"" + out + "\" 300", 60000, errors), 1);
    std::string message(512, '\0');
    if (FILE* file = std::fopen(errors.c_str(), "rb")) {
        message.resize(std::fread(message.data(), 1, message.size(), file));
        std::fclose(file);
    } else {
        message.clear();
    }
    std::remove(errors.c_str());
    EXPECT_NE(message.find("no visible window \"No window has this caption\" within 300 ms"),
              std::string::npos)
        << message;
    EXPECT_EQ(GetFileAttributesA(out.c_str()), INVALID_FILE_ATTRIBUTES) << "a file was written";
}

TEST(Snapwin, RejectsAMalformedTimeout) {
    EXPECT_EQ(runSnapwin("title out.png 12x", 10000), 2);
    EXPECT_EQ(runSnapwin("title out.png -5", 10000), 2);
    EXPECT_EQ(runSnapwin("title", 10000), 2);
}

} // namespace
