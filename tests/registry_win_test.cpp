// The install directory lookup against the real registry: a key of the test's own below
// HKEY_CURRENT_USER, and the client's key in the build tree's private Wine prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "client/install_dir.h"
#include "platform/registry.h"
#include "platform/win_text.h"

namespace huevane {
namespace {

using modColors::GetRegString;
using platform::kCurrentUserRoot;

std::string WithTerminator(std::string_view text) {
    return std::string(text) + '\0';
}

std::string DwordBytes(DWORD number) {
    return {reinterpret_cast<const char*>(&number), sizeof number};
}

void SetRawValue(HKEY key, const std::string& name, DWORD type, const std::string& bytes) {
    ASSERT_EQ(RegSetValueExW(key, platform::Wide(name).c_str(), 0, type,
                             reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

// A string value is given as UTF-8 and stored as the UTF-16 the system keeps; other values as
// their bytes.
void SetValue(HKEY key, const std::string& name, DWORD type, const std::string& bytes) {
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        SetRawValue(key, name, type, bytes);
        return;
    }
    const std::wstring text = platform::Wide(bytes);
    SetRawValue(
        key, name, type,
        std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)));
}

bool KeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

// A key below HKEY_CURRENT_USER\Software\HuevaneTest that no other run uses, removed with
// everything in it.
class ScratchKey {
public:
    ScratchKey() : path_(std::string(kParent) + "\\" + std::to_string(GetCurrentProcessId())) {
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());  // left over from a crashed run
        EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key_, nullptr),
                  ERROR_SUCCESS);
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;
    ~ScratchKey() {
        RegCloseKey(key_);
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, kParent);  // fails, as it should, while others use it
    }

    const std::string& path() const { return path_; }
    HKEY key() const { return key_; }

private:
    static constexpr const char* kParent = "Software\\HuevaneTest";
    std::string path_;
    HKEY key_ = nullptr;
};

struct StoredValue {
    const char* name;
    DWORD type;
    std::string bytes;
    std::string expected;
};

class RealRegistryValue : public ::testing::TestWithParam<StoredValue> {};

TEST_P(RealRegistryValue, ReadsAsTheDefaultValue) {
    const StoredValue& v = GetParam();
    ScratchKey scratch;
    SetValue(scratch.key(), "", v.type, v.bytes);
    const auto registry = platform::MakeWindowsRegistry();
    EXPECT_EQ(GetRegString(*registry, kCurrentUserRoot, scratch.path(), ""), v.expected);
}

const std::string k2047 = std::string(2047, 'x');
const std::string k2048 = std::string(2048, 'y');

// The limit counts characters, whatever their script: two bytes each in UTF-8 here.
std::string Repeated(std::string_view text, std::size_t times) {
    std::string repeated;
    for (std::size_t i = 0; i < times; ++i) {
        repeated += text;
    }
    return repeated;
}
const std::string k2047Cyrillic = Repeated("Ж", 2047);
const std::string k2048Cyrillic = Repeated("ж", 2048);

INSTANTIATE_TEST_SUITE_P(
    Values, RealRegistryValue,
    ::testing::Values(
        StoredValue{"Path", REG_SZ, WithTerminator("C:\\Program Files\\AIM\\aim.exe"),
                    "C:\\Program Files\\AIM\\aim.exe"},
        StoredValue{"ExpandSzUnexpanded", REG_EXPAND_SZ,
                    WithTerminator("%ProgramFiles%\\AIM\\aim.exe"), "%ProgramFiles%\\AIM\\aim.exe"},
        StoredValue{"Dword7", REG_DWORD, DwordBytes(7), "007"},
        StoredValue{"DwordMaximum", REG_DWORD, DwordBytes(4294967295), "4294967295"},
        StoredValue{"EmptyString", REG_SZ, WithTerminator(""), ""},
        StoredValue{"NoBytesAtAll", REG_BINARY, "", ""},
        StoredValue{"Longest2047Characters", REG_SZ, WithTerminator(k2047), k2047},
        StoredValue{"Too2048CharactersLong", REG_SZ, WithTerminator(k2048), "Not Found"},
        // Scripts that no one ANSI code page holds together, and a character past U+FFFF.
        StoredValue{"CyrillicAndCjk", REG_SZ, WithTerminator("C:\\Клиент\\程序\\aim.exe"),
                    "C:\\Клиент\\程序\\aim.exe"},
        StoredValue{"ExpandSzInAnyScript", REG_EXPAND_SZ,
                    WithTerminator("%ProgramFiles%\\Łukasz\\😀.exe"),
                    "%ProgramFiles%\\Łukasz\\😀.exe"},
        StoredValue{"StoredWithoutTerminator", REG_SZ, "C:\\Клиент", "C:\\Клиент"},
        StoredValue{"Longest2047CyrillicCharacters", REG_SZ, WithTerminator(k2047Cyrillic),
                    k2047Cyrillic},
        StoredValue{"Too2048CyrillicCharactersLong", REG_SZ, WithTerminator(k2048Cyrillic),
                    "Not Found"}),
    [](const ::testing::TestParamInfo<StoredValue>& value) { return value.param.name; });

TEST(RealRegistry, ReadsANamedValue) {
    ScratchKey scratch;
    SetValue(scratch.key(), "Other", REG_SZ, WithTerminator("D:\\x.exe"));
    const auto registry = platform::MakeWindowsRegistry();
    EXPECT_EQ(GetRegString(*registry, kCurrentUserRoot, scratch.path(), "Other"), "D:\\x.exe");
}

TEST(RealRegistry, KeyWithoutDefaultValueIsNotFound) {
    ScratchKey scratch;
    SetValue(scratch.key(), "Other", REG_SZ, WithTerminator("D:\\x.exe"));
    const auto registry = platform::MakeWindowsRegistry();
    EXPECT_EQ(GetRegString(*registry, kCurrentUserRoot, scratch.path(), ""), "Not Found");
}

TEST(RealRegistry, MissingKeyIsNotFound) {
    const ScratchKey scratch;
    const auto registry = platform::MakeWindowsRegistry();
    EXPECT_EQ(GetRegString(*registry, kCurrentUserRoot, scratch.path() + "\\Missing", ""),
              "Not Found");
}

TEST(RealRegistry, EmptyHandleQueriesAndClosesWithoutHarm) {
    const auto registry = platform::MakeWindowsRegistry();
    platform::RegistryHandle handle = 12345;
    EXPECT_NE(registry->OpenKey(kCurrentUserRoot, "Software\\HuevaneTest\\NoSuchKey\\x", handle),
              0u);
    EXPECT_EQ(handle, platform::kEmptyHandle);
    std::string buffer(16, ' ');
    std::uint32_t type = 0;
    auto length = static_cast<std::uint32_t>(buffer.size());
    EXPECT_NE(registry->QueryValue(handle, "", type, buffer.data(), length), 0u);
    EXPECT_NE(registry->CloseKey(handle), 0u);
}

// Sets the client's registered path for the life of the object, then puts back what was there:
// the old default value, or no value, or no key at all.
class ClientPathOverride {
public:
    explicit ClientPathOverride(const std::string& path) {
        std::string prefix;
        for (std::size_t start = 0; start <= key_.size();) {
            const std::size_t end = std::min(key_.find('\\', start), key_.size());
            prefix = key_.substr(0, end);
            if (!KeyExists(prefix)) {
                firstCreated_ = prefix;
                break;
            }
            start = end + 1;
        }
        EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &handle_, nullptr),
                  ERROR_SUCCESS);
        SaveDefaultValue();
        SetValue(handle_, "", REG_SZ, WithTerminator(path));
    }
    ClientPathOverride(const ClientPathOverride&) = delete;
    ClientPathOverride& operator=(const ClientPathOverride&) = delete;
    ~ClientPathOverride() {
        if (saved_) {
            SetRawValue(handle_, "", savedType_, *saved_);
        } else {
            RegDeleteValueA(handle_, "");
        }
        RegCloseKey(handle_);
        if (!firstCreated_.empty()) {
            RegDeleteTreeA(HKEY_CURRENT_USER, firstCreated_.c_str());
        }
    }

    bool CreatedTheKey() const { return !firstCreated_.empty(); }

private:
    void SaveDefaultValue() {
        DWORD size = 0;
        if (RegQueryValueExW(handle_, L"", nullptr, &savedType_, nullptr, &size) != ERROR_SUCCESS) {
            return;
        }
        std::string bytes(size, '\0');
        if (RegQueryValueExW(handle_, L"", nullptr, &savedType_,
                             reinterpret_cast<BYTE*>(bytes.data()), &size) == ERROR_SUCCESS) {
            bytes.resize(size);
            saved_ = bytes;
        }
    }

    const std::string key_{client::kClientKeyPath};
    std::string firstCreated_;
    HKEY handle_ = nullptr;
    DWORD savedType_ = REG_NONE;
    std::optional<std::string> saved_;
};

// Writes to the client's key, so it runs only in the build tree's own prefix, which ctest's
// wine-run sets up; never in a real user's registry.
bool InPrivateWinePrefix() {
    const char* prefix = std::getenv("WINEPREFIX");
    return prefix != nullptr && (std::string_view(prefix).ends_with("/build/win32/wineprefix") ||
                                 std::string_view(prefix).ends_with("/build/win64/wineprefix"));
}

TEST(WindowsLookupInstallDir, FindsTheRegisteredClientsDirectory) {
    if (!InPrivateWinePrefix()) {
        GTEST_SKIP() << "needs the build tree's private Wine prefix";
    }
    bool createdTheKey = false;
    {
        const ClientPathOverride client(R"(C:\Program Files\AIM\aim.exe)");
        createdTheKey = client.CreatedTheKey();
        EXPECT_EQ(client::LookupInstallDir(*platform::MakeWindowsRegistry()),
                  "C:\\Program Files\\AIM");
    }
    {
        const ClientPathOverride client(R"(C:\Клиент\程序\aim.exe)");
        EXPECT_EQ(client::LookupInstallDir(*platform::MakeWindowsRegistry()), "C:\\Клиент\\程序");
    }
    if (createdTheKey) {
        EXPECT_FALSE(KeyExists(std::string(client::kClientKeyPath)));
        EXPECT_EQ(client::LookupInstallDir(*platform::MakeWindowsRegistry()), "Not Found");
    }
}

}  // namespace
}  // namespace huevane
