// Huevane.exe itself, started as a user starts it, and read as a file as Windows reads it.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tests/test_support.h"
#include "tests/ui/gui_support.h"
#include "ui/frm_about.h"
#include "ui/frm_main.h"

namespace huevane::ui {
namespace {

// The build hands over the executable's path on the build machine; Wine shows that file
// system as drive Z:.
std::string HuevaneExe() {
    std::string path = HUEVANE_EXE;
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
    }
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

class RunningProgram : public ::testing::Test {
protected:
    void SetUp() override {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + HuevaneExe() + "\"";
        ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &info_))
            << "cannot start " << HuevaneExe();
        main_ = test::WaitForWindowOf(info_.dwProcessId, kMainWindowClass);
        ASSERT_NE(main_, nullptr);
    }
    void TearDown() override {
        if (info_.hProcess != nullptr) {
            if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(info_.hProcess, 1);
            }
            CloseHandle(info_.hThread);
            CloseHandle(info_.hProcess);
        }
    }
    bool EndsWithin(DWORD ms) { return WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0; }

    PROCESS_INFORMATION info_{};
    HWND main_ = nullptr;
};

TEST_F(RunningProgram, OpensTheMainWindowCentred) {
    char caption[64] = {};
    GetWindowTextA(main_, caption, sizeof caption);
    EXPECT_STREQ(caption, "Huevane - Dresk");
    RECT r{};
    GetWindowRect(main_, &r);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_LE(std::abs((r.left + r.right) / 2 - screenWidth / 2), 1);
    EXPECT_LE(std::abs((r.top + r.bottom) / 2 - screenHeight / 2), 1);
    PostMessageA(main_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(EndsWithin(5000));
}

TEST_F(RunningProgram, ClosingTheMainWindowEndsTheProgramWithTheAboutWindow) {
    PostMessageA(GetDlgItem(main_, kIdHelp), BM_CLICK, 0, 0);
    HWND about = test::WaitForWindowOf(info_.dwProcessId, kAboutWindowClass);
    ASSERT_NE(about, nullptr);
    EXPECT_NE(GetWindow(about, GW_OWNER), main_);

    PostMessageA(main_, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box and Alt+F4 send this
    EXPECT_TRUE(EndsWithin(5000));
    DWORD exitCode = 1;
    GetExitCodeProcess(info_.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(IsWindow(about));
}

// The executable as a file: its resources and the DLLs it needs.
class Packaging : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExA(HuevaneExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override { FreeLibrary(module_); }

    std::string Resource(LPCSTR type, LPCSTR name) const {
        HRSRC found = FindResourceA(module_, name, type);
        if (found == nullptr) {
            return {};
        }
        const auto* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return std::string(data, SizeofResource(module_, found));
    }

    HMODULE module_ = nullptr;
};

TEST_F(Packaging, VersionResourceCarriesTheProductFacts) {
    const std::string exe = HuevaneExe();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileFlags, 0u);

    struct Entry {
        const char* name;
        const char* value;
    };
    for (const Entry& e :
         {Entry{"CompanyName", "Dresk Industries"}, Entry{"ProductName", "Huevane"},
          Entry{"FileVersion", "1.01"}, Entry{"ProductVersion", "1.01"},
          Entry{"InternalName", "Huevane"}, Entry{"OriginalFilename", "Huevane.exe"}}) {
        char* value = nullptr;
        const std::string query = std::string("\\StringFileInfo\\040904B0\\") + e.name;
        ASSERT_TRUE(
            VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
            << e.name;
        EXPECT_STREQ(value, e.value) << e.name;
    }
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);
}

TEST_F(Packaging, StringTableKeepsItsOrder) {
    const std::string version = Resource(MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1));
    ASSERT_FALSE(version.empty());
    // The names are stored as UTF-16 in the block; find each one's position.
    auto wide = [](const std::string& s) {
        std::string w;
        for (const char c : s) {
            w.push_back(c);
            w.push_back('\0');
        }
        return w;
    };
    std::size_t last = 0;
    for (const char* name : {"040904B0", "CompanyName", "ProductName", "FileVersion",
                             "ProductVersion", "InternalName", "OriginalFilename"}) {
        const std::size_t at = version.find(wide(name));
        ASSERT_NE(at, std::string::npos) << name;
        EXPECT_GT(at, last) << name;
        last = at;
    }
}

TEST_F(Packaging, ManifestAsksForCommonControlsSix) {
    const std::string manifest = Resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("<assemblyIdentity type=\"win32\" processorArchitecture=\"*\" "
                            "version=\"6.0.0.0\" name=\"name\"/>"),
              std::string::npos);
    EXPECT_NE(manifest.find("<description>XP Manifest" + std::string(11, ' ') + "</description>"),
              std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" "
                            "language=\"*\" processorArchitecture=\"*\" "
                            "publicKeyToken=\"6595b64144ccf1df\""),
              std::string::npos);
}

TEST_F(Packaging, IconGroupHoldsSixteenAndThirtyTwoPixelsAtTwentyFourBits) {
    const std::string group = Resource(MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(1));
    ASSERT_GE(group.size(), 6u);
    const auto word = [&](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(group[at]) |
                                     (static_cast<unsigned char>(group[at + 1]) << 8));
    };
    const unsigned count = word(4);
    ASSERT_EQ(count, 2u);
    ASSERT_EQ(group.size(), 6u + 14u * count);
    std::set<unsigned> sizes;
    for (unsigned i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 14 * i;
        const unsigned width = static_cast<unsigned char>(group[entry]);
        const unsigned height = static_cast<unsigned char>(group[entry + 1]);
        EXPECT_EQ(width, height);
        EXPECT_EQ(word(entry + 6), 24u) << "bits per pixel";
        sizes.insert(width);
    }
    EXPECT_EQ(sizes, (std::set<unsigned>{16, 32}));
}

}  // namespace
}  // namespace huevane::ui
