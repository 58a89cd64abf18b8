// Where a registered client path leads, held to Wine's rules by one table: natively each case
// runs through the lookup in a Wine prefix that the test writes (user.reg, dosdevices/c:), and in
// the Windows build, run under Wine, through the registry and Wine's own file name rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "client/client_location.h"
#include "client/install_dir.h"
#include "core/run_error.h"
#include "platform/native_file_system.h"
#include "tests/test_support.h"

#ifdef _WIN32
#include <windows.h>

#include "client/file_name_case.h"
#include "platform/win_text.h"
#include "tests/registry_guard.h"
#else
#include <cstdio>

#include "core/utf16.h"
#endif

namespace huevane {
namespace {

struct PathRuleCase {
    std::string registered;            // the client's executable, below the case's folder on C:
    std::vector<std::string> folders;  // made there, "" being the case's folder itself
    std::optional<std::string> found;  // where buddyui.ocm and aim.exe are read; none: refused
};

const std::vector<PathRuleCase> kCases = {
    // Wine folds a letter whose upper case maps back to it, and prefers the exact spelling.
    {"CAFÉ\\aim.exe", {"Café"}, "Café"},
    {"ÄЖΩǄᾈŸ\\AIM.EXE", {"äжωǆᾀÿ"}, "äжωǆᾀÿ"},
    {"café\\aim.exe", {"CAFÉ", "café"}, "café"},
    {"ǅ\\aim.exe", {"ǆ"}, std::nullopt},
    {"ı\\aim.exe", {"I"}, std::nullopt},
    {"İ\\aim.exe", {"i"}, std::nullopt},
    {"\U00010400\\aim.exe", {"\U00010428"}, std::nullopt},
    // One trailing dot goes from a folder; all trailing dots and spaces from the file.
    {"AIM.\\aim.exe", {"AIM"}, "AIM"},
    {"AIM..\\aim.exe", {"AIM", "AIM."}, "AIM."},
    {"AIM .\\aim.exe. ", {"AIM", "AIM "}, "AIM "},
    {"AIM\\...\\aim.exe", {"", "AIM"}, std::nullopt},  // "..." leaves "..", a name Wine refuses
    {"q?\\aim.exe", {"q?"}, std::nullopt},
    {"L\uFFFD\\aim.exe", {"L\uFFFD"}, "L\uFFFD"},
    {"L\xED\xA0\x80\\aim.exe", {"L\uFFFD"}, std::nullopt},  // a lone surrogate is no U+FFFD
};

std::string Contents(const std::string& path) {
    try {
        return test::ReadFileBytes(path);
    } catch (const std::exception&) {
        return "none";
    }
}

// The folders that the client's buddyui.ocm and executable are read from.
std::string Reached(const std::optional<std::string>& prefix) {
    const std::unique_ptr<FileSystem> fs = platform::MakeNativeFileSystem();
    try {
        const client::ClientLocation location = client::LocateClient(std::nullopt, prefix, *fs);
        return Contents(fs->JoinPath(location.installDir, "buddyui.ocm")) + ", " +
               Contents(location.executable);
    } catch (const RunError&) {
        return "none, none";
    }
}

#ifdef _WIN32
// The case's folder as Wine shows the Unix file system ("\\?\unix\..."), where names are
// neither trimmed nor refused: the folders are made and removed there as they stand.
std::string OnTheDisk(const std::string& windowsPath) {
    const auto unixFileName =
        reinterpret_cast<char*(CDECL*)(const wchar_t*)>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unixPath = unixFileName(platform::Wide(windowsPath).c_str());
    std::string path = "\\\\?\\unix" + std::string(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

TEST(PathRules, WineUpperCaseIsWines) {
    const auto upcase = reinterpret_cast<WCHAR(WINAPI*)(WCHAR)>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlUpcaseUnicodeChar")));
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        ASSERT_EQ(client::WineUpperCase(c), upcase(static_cast<WCHAR>(c)))
            << static_cast<unsigned>(c);
    }
}
#else
// Text as user.reg may spell it: each UTF-16 code unit escaped, as Wine writes those past ASCII.
std::string UserRegText(const std::string& value) {
    std::string text;
    for (const char16_t unit : Utf8ToUtf16(value)) {
        std::array<char, 8> escaped{};
        std::snprintf(escaped.data(), escaped.size(), "\\x%04x", static_cast<unsigned>(unit));
        text += escaped.data();
    }
    return text;
}
#endif

TEST(PathRules, EachRegisteredPathLeadsWhereWineGoes) {
    const auto separator = static_cast<char>(std::filesystem::path::preferred_separator);
    for (const PathRuleCase& c : kCases) {
        SCOPED_TRACE(c.registered);
        const test::TempDir root;
#ifdef _WIN32  // the registry, and the case's folder on drive C: of the test's Wine prefix
        const std::string disk = OnTheDisk(root.MakeSubdir("case"));
        const test::RegistryValueGuard value(std::string(client::kClientKeyPath),
                                             root.File("case") + "\\" + c.registered);
        const std::optional<std::string> prefix;
#else  // a Wine prefix: user.reg, and drive C: in dosdevices/
        const std::string disk = root.MakeSubdir("drive_c/case");
        std::filesystem::create_directory_symlink("../drive_c",
                                                  root.MakeSubdir("dosdevices") + "/c:");
        test::WriteFileBytes(root.File("user.reg"),
                             "WINE REGISTRY Version 2\n[" +
                                 UserRegText(std::string(client::kClientKeyPath)) + "] 0\n@=\"" +
                                 UserRegText("C:\\case\\" + c.registered) + "\"\n");
        const std::optional<std::string> prefix = root.path();
#endif
        for (const std::string& folder : c.folders) {
            const std::string dir = disk + (folder.empty() ? "" : separator + folder);
            std::filesystem::create_directory(std::u8string(dir.begin(), dir.end()));
            test::WriteFileBytes(dir + separator + "buddyui.ocm", "'" + folder + "'");
            test::WriteFileBytes(dir + separator + "aim.exe", "'" + folder + "'");
        }
        const std::string expected = c.found ? "'" + *c.found + "'" : "none";
        EXPECT_EQ(Reached(prefix), expected + ", " + expected);
#ifdef _WIN32  // Windows would trim "AIM." and remove "AIM"
        for (const std::string& folder : c.folders) {
            const std::wstring dir = platform::Wide(disk + "\\" + folder);
            DeleteFileW((dir + L"\\buddyui.ocm").c_str());
            DeleteFileW((dir + L"\\aim.exe").c_str());
            RemoveDirectoryW(dir.c_str());
        }
#endif
    }
}

}  // namespace
}  // namespace huevane
