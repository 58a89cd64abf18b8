// The file version read out of PE images: built ones, damaged ones, and real executables.
#include "formats/pe_version.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "huevane_version.h"
#include "platform/program_dir.h"
#include "tests/memory_file.h"
#include "tests/pe_builder.h"
#include "tests/test_support.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/lazy_proc.h"
#endif

namespace huevane::pe {

void PrintTo(const FileVersion& v, std::ostream* os) {
    *os << v.major << '.' << v.minor << '.' << v.build << '.' << v.revision;
}

}  // namespace huevane::pe

namespace huevane {
namespace {

namespace fs = std::filesystem;

using pe::FileVersion;
using test::BuildPe;
using test::PeDefect;
using test::PeFormat;
using test::PeImage;
using test::PeLayout;
using test::PeOptions;
using test::PutU16;
using test::PutU32;

std::optional<FileVersion> Read(std::string_view bytes) {
    MemoryFile file(bytes);
    return pe::ReadFileVersion(file);
}

PeOptions Options(FileVersion version, PeFormat format = PeFormat::kPe32,
                  bool withOtherResources = false, PeDefect defect = PeDefect::kNone) {
    PeOptions options;
    options.version = version;
    options.format = format;
    options.withOtherResources = withOtherResources;
    options.defect = defect;
    return options;
}

const FileVersion kSomeVersion{5, 1, 3036, 0};

// ---- Valid images ----------------------------------------------------------------------------

using BuiltImageParam = std::tuple<FileVersion, PeFormat, bool /*withOtherResources*/>;

class BuiltImage : public ::testing::TestWithParam<BuiltImageParam> {
protected:
    static PeOptions Options() {
        const auto& [version, format, others] = GetParam();
        return huevane::Options(version, format, others);
    }
};

TEST_P(BuiltImage, GivesItsFileVersion) {
    EXPECT_EQ(Read(BuildPe(Options()).bytes), Options().version);
}

// Every prefix that stops before the version resource's last byte lacks something the reader
// needs; every longer one holds all of it (the rest is section padding).
TEST_P(BuiltImage, TruncatedAnywhereGivesNothingUntilTheVersionIsWhole) {
    const PeImage pe = BuildPe(Options());
    ASSERT_LT(pe.layout.versionInfoEnd, pe.bytes.size());
    for (std::size_t length = 0; length <= pe.bytes.size(); ++length) {
        const auto read = Read(std::string_view(pe.bytes).substr(0, length));
        if (length < pe.layout.versionInfoEnd) {
            ASSERT_EQ(read, std::nullopt) << "length " << length;
        } else {
            ASSERT_EQ(read, Options().version) << "length " << length;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    VersionsFormatsAndNeighbours, BuiltImage,
    ::testing::Combine(::testing::Values(FileVersion{5, 1, 3036, 0}, FileVersion{5, 9, 3861, 1},
                                         FileVersion{65535, 0, 1, 2}, FileVersion{0, 0, 0, 0},
                                         FileVersion{1, 2, 3, 4},
                                         FileVersion{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}),
                       ::testing::Values(PeFormat::kPe32, PeFormat::kPe32Plus), ::testing::Bool()));

TEST(BuildPeWithVersion, IsAValidPe32Image) {
    const std::string image = test::BuildPeWithVersion({5, 9, 3861, 1});
    EXPECT_EQ(image.substr(0, 2), "MZ");
    EXPECT_EQ(Read(image), (FileVersion{5, 9, 3861, 1}));
}

// ---- Damaged images ----------------------------------------------------------------------------

class DamagedImage
    : public ::testing::TestWithParam<std::tuple<PeDefect, PeFormat, bool /*others*/>> {};

TEST_P(DamagedImage, GivesNoVersionWhereTheUndamagedOneGivesIt) {
    const auto& [defect, format, others] = GetParam();
    EXPECT_EQ(Read(BuildPe(Options(kSomeVersion, format, others)).bytes), kSomeVersion);
    EXPECT_EQ(Read(BuildPe(Options(kSomeVersion, format, others, defect)).bytes), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    EveryDefect, DamagedImage,
    ::testing::Combine(
        ::testing::Values(PeDefect::kNoDosSignature, PeDefect::kNewHeaderOffsetPastEnd,
                          PeDefect::kNoPeSignature, PeDefect::kUnknownOptionalHeaderMagic,
                          PeDefect::kNoResourceDirectory, PeDefect::kNoVersionResource,
                          PeDefect::kResourceDirectoryOutsideSections,
                          PeDefect::kVersionDataPastSection, PeDefect::kWrongFixedInfoSignature,
                          PeDefect::kTruncated),
        ::testing::Values(PeFormat::kPe32, PeFormat::kPe32Plus), ::testing::Bool()));

TEST(BuildPeWithDefect, DamagesAValidImage) {
    EXPECT_EQ(Read(test::BuildPeWithDefect(kSomeVersion, PeDefect::kNone)), kSomeVersion);
    EXPECT_EQ(Read(test::BuildPeWithDefect(kSomeVersion, PeDefect::kNoVersionResource)),
              std::nullopt);
}

// One field of a valid image changed, and whether the version can still be read.
struct FieldChange {
    const char* what;
    std::function<void(std::string&, const PeLayout&)> change;
    bool stillReadable = false;
};

void PrintTo(const FieldChange& c, std::ostream* os) {
    *os << c.what;
}

constexpr std::size_t kNumberOfSectionsField = 0x46;
constexpr std::size_t kSizeOfOptionalHeaderField = 0x54;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kSectionVirtualSize = 8;
constexpr std::size_t kSectionSizeOfRawData = 16;
constexpr std::size_t kSectionPointerToRawData = 20;
constexpr std::uint32_t kSubdirectory = 0x80000000;

constexpr std::size_t kDataDirectorySize = 8;
constexpr std::size_t kResourceDirectoryIndex = 2;
// VS_VERSIONINFO's key, L"VS_VERSION_INFO", and the padding after it.
constexpr std::size_t kKeyField = 6;
constexpr std::size_t kKeyLastLetter = kKeyField + sizeof(char16_t) * 14;
constexpr std::size_t kKeyTerminator = kKeyField + sizeof(char16_t) * 15;
constexpr std::size_t kKeyPadding = kKeyField + sizeof(char16_t) * 16;

std::size_t NumberOfRvaAndSizesField(const PeLayout& l) {
    return l.resourceDataDirectory - kResourceDirectoryIndex * kDataDirectorySize - 4;
}

const std::vector<FieldChange> kFieldChanges = {
    {"e_lfanew at the top of the address space",
     [](std::string& i, const PeLayout&) { PutU32(i, 0x3C, 0xFFFFFFFC); }},
    {"e_lfanew of all ones", [](std::string& i, const PeLayout&) { PutU32(i, 0x3C, 0xFFFFFFFF); }},
    {"no data directory entry for resources",
     [](std::string& i, const PeLayout& l) { PutU32(i, NumberOfRvaAndSizesField(l), 2); }},
    {"exactly enough data directory entries",
     [](std::string& i, const PeLayout& l) { PutU32(i, NumberOfRvaAndSizesField(l), 3); }, true},
    {"optional header ending inside the resource entry, section table moved up to it",
     [](std::string& i, const PeLayout& l) {
         const std::size_t size = l.resourceDataDirectory + 4 - l.optionalHeader;
         const std::string sections = i.substr(l.sectionTable, 2 * kSectionHeaderSize);
         i.replace(l.optionalHeader + size, sections.size(), sections);
         PutU16(i, kSizeOfOptionalHeaderField, static_cast<std::uint16_t>(size));
     }},
    {"no sections", [](std::string& i, const PeLayout&) { PutU16(i, kNumberOfSectionsField, 0); }},
    {"a section table running past the end of the file",
     [](std::string& i, const PeLayout&) { PutU16(i, kNumberOfSectionsField, 0xFFFF); }},
    {"resource directory of size zero",
     [](std::string& i, const PeLayout& l) { PutU32(i, l.resourceDataDirectory + 4, 0); }},
    {"resource directory smaller than its tree",
     [](std::string& i, const PeLayout& l) { PutU32(i, l.resourceDataDirectory + 4, 24); }},
    {"resource directory ending inside the version's data entry",
     [](std::string& i, const PeLayout& l) {
         PutU32(i, l.resourceDataDirectory + 4,
                static_cast<std::uint32_t>(l.versionDataEntry + 8 - l.resourceRoot));
     }},
    {"resource directory one byte longer than its section",
     [](std::string& i, const PeLayout& l) {
         PutU32(i, l.resourceDataDirectory + 4,
                static_cast<std::uint32_t>(l.versionInfoEnd + 1 - l.resourceRoot));
     }},
    {"resource directory RVA in the middle of nowhere",
     [](std::string& i, const PeLayout& l) { PutU32(i, l.resourceDataDirectory, 0xFFFFFFF0); }},
    {"resource section's VirtualSize cuts the tree short",
     [](std::string& i, const PeLayout& l) {
         PutU32(i, l.resourceSectionHeader + kSectionVirtualSize, 16);
     }},
    {"resource section's VirtualSize zero: the raw data is the section",
     [](std::string& i, const PeLayout& l) {
         PutU32(i, l.resourceSectionHeader + kSectionVirtualSize, 0);
     },
     true},
    {"resource section without raw data",
     [](std::string& i, const PeLayout& l) {
         PutU32(i, l.resourceSectionHeader + kSectionSizeOfRawData, 0);
     }},
    {"resource section's raw data past the end of the file",
     [](std::string& i, const PeLayout& l) {
         PutU32(i, l.resourceSectionHeader + kSectionPointerToRawData,
                static_cast<std::uint32_t>(i.size()));
     }},
    {"resource section's raw data where the offset wraps around",
     [](std::string& i, const PeLayout& l) {
         PutU32(i, l.resourceSectionHeader + kSectionPointerToRawData, 0xFFFFFF00);
     }},
    {"root directory claiming 131070 entries",
     [](std::string& i, const PeLayout& l) {
         PutU16(i, l.resourceRoot + 12, 0xFFFF);
         PutU16(i, l.resourceRoot + 14, 0xFFFF);
     }},
    {"name directory counting the language directory's header as a second entry",
     [](std::string& i, const PeLayout& l) { PutU16(i, l.versionNameEntry - 2, 2); }, true},
    {"language directory counting the data entry as a second entry",
     [](std::string& i, const PeLayout& l) { PutU16(i, l.versionLanguageEntry - 2, 2); }, true},
    {"RT_VERSION's directory without entries",
     [](std::string& i, const PeLayout& l) { PutU16(i, l.versionNameEntry - 2, 0); }},
    {"language directory without entries",
     [](std::string& i, const PeLayout& l) { PutU16(i, l.versionLanguageEntry - 2, 0); }},
    {"RT_VERSION given as a name",
     [](std::string& i, const PeLayout& l) { PutU32(i, l.versionTypeEntry, 0x80000010); }},
    {"RT_VERSION pointing at data instead of a directory",
     [](std::string& i, const PeLayout& l) {
         PutU32(i, l.versionTypeEntry + 4,
                static_cast<std::uint32_t>(l.versionNameEntry - 16 - l.resourceRoot));
     }},
    {"name level pointing back at the root",
     [](std::string& i, const PeLayout& l) { PutU32(i, l.versionNameEntry + 4, kSubdirectory); }},
    {"language level pointing back at the root as a directory",
     [](std::string& i, const PeLayout& l) {
         PutU32(i, l.versionLanguageEntry + 4, kSubdirectory);
     }},
    {"language level flagged as a directory, pointing at the data entry",
     [](std::string& i, const PeLayout& l) {
         PutU32(i, l.versionLanguageEntry + 4,
                kSubdirectory | static_cast<std::uint32_t>(l.versionDataEntry - l.resourceRoot));
     }},
    {"language level pointing past the resource directory",
     [](std::string& i, const PeLayout& l) { PutU32(i, l.versionLanguageEntry + 4, 0x7FFFFFF8); }},
    {"data entry's RVA outside every section",
     [](std::string& i, const PeLayout& l) { PutU32(i, l.versionDataEntry, 0x9000); }},
    {"data entry's size at the top of the address space",
     [](std::string& i, const PeLayout& l) { PutU32(i, l.versionDataEntry + 4, 0xFFFFFFFF); }},
    {"data entry's size shorter than VS_VERSIONINFO's wLength",
     [](std::string& i, const PeLayout& l) {
         PutU32(i, l.versionDataEntry + 4,
                static_cast<std::uint32_t>(l.versionInfoEnd - l.versionInfo - 1));
     }},
    {"wLength shorter than its value",
     [](std::string& i, const PeLayout& l) {
         PutU16(i, l.versionInfo, static_cast<std::uint16_t>(l.versionInfoEnd - l.versionInfo - 1));
     }},
    {"wValueLength shorter than VS_FIXEDFILEINFO",
     [](std::string& i, const PeLayout& l) { PutU16(i, l.versionInfo + 2, 51); }},
    {"wType text", [](std::string& i, const PeLayout& l) { PutU16(i, l.versionInfo + 4, 1); }},
    {"key misspelt",
     [](std::string& i, const PeLayout& l) { PutU16(i, l.versionInfo + kKeyLastLetter, u'P'); }},
    {"key without its terminator",
     [](std::string& i, const PeLayout& l) { PutU16(i, l.versionInfo + kKeyTerminator, u'X'); }},
    {"padding after the key not zero: ignored",
     [](std::string& i, const PeLayout& l) { PutU16(i, l.versionInfo + kKeyPadding, 0xABCD); },
     true},
};

class ChangedField : public ::testing::TestWithParam<std::tuple<FieldChange, PeFormat>> {};

TEST_P(ChangedField, IsReadOrRejectedAsExpected) {
    const auto& [change, format] = GetParam();
    PeImage pe = BuildPe(Options(kSomeVersion, format, true));
    change.change(pe.bytes, pe.layout);
    const std::optional<FileVersion> expected =
        change.stillReadable ? std::optional(kSomeVersion) : std::nullopt;
    EXPECT_EQ(Read(pe.bytes), expected);
}

INSTANTIATE_TEST_SUITE_P(OneAtATime, ChangedField,
                         ::testing::Combine(::testing::ValuesIn(kFieldChanges),
                                            ::testing::Values(PeFormat::kPe32,
                                                              PeFormat::kPe32Plus)));

TEST(ReadFileVersion, EmptyAndTinyInputsGiveNothing) {
    const std::string dosHeaderOnly = "MZ" + std::string(0x3E, '\0');  // e_lfanew 0
    for (const std::string& bytes :
         {std::string(), std::string("M"), std::string("MZ"), std::string("MZ\0\0", 4),
          std::string(0x40, 'M'), dosHeaderOnly}) {
        EXPECT_EQ(Read(bytes), std::nullopt) << bytes.size() << " bytes";
    }
}

// A client executable of 30 GB (sparse): the headers and resources lie at its start, and only
// they are read.
class HugeFile final : public ReadableFile {
public:
    explicit HugeFile(std::string start) : start_(std::move(start)) {}
    std::uint64_t Size() override { return std::uint64_t{30} << 30; }
    FileIdentity Identity() override { return {}; }
    void Seek(std::uint64_t offset) override { position_ = offset; }
    std::size_t Read(std::span<char> buffer) override {
        const std::size_t count = buffer.size();
        for (std::size_t i = 0; i < count; ++i, ++position_) {
            buffer[i] =
                position_ < start_.size() ? start_[static_cast<std::size_t>(position_)] : '\0';
        }
        bytesRead += count;
        return count;
    }
    std::uint64_t bytesRead = 0;

private:
    std::string start_;
    std::uint64_t position_ = 0;
};

TEST(ReadFileVersion, ReadsOnlyWhatTheHeadersPointAt) {
    HugeFile file(BuildPe(Options(kSomeVersion)).bytes);
    EXPECT_EQ(pe::ReadFileVersion(file), kSomeVersion);
    EXPECT_LE(file.bytesRead, 64u << 10);
}

// A file that ends before the size it gave (it shrank after it was opened).
TEST(ReadFileVersion, FileShorterThanItsSizeGivesNothing) {
    const PeImage pe = BuildPe(Options(kSomeVersion));
    const std::string& image = pe.bytes;
    const std::string cut = image.substr(0, pe.layout.versionInfo + 8);
    class ShrunkFile final : public ReadableFile {
    public:
        ShrunkFile(std::string_view bytes, std::uint64_t size) : bytes_(bytes), size_(size) {}
        std::uint64_t Size() override { return size_; }
        FileIdentity Identity() override { return {}; }
        void Seek(std::uint64_t offset) override { bytes_.Seek(offset); }
        std::size_t Read(std::span<char> buffer) override { return bytes_.Read(buffer); }

    private:
        MemoryFile bytes_;
        std::uint64_t size_;
    } file(cut, image.size());
    ASSERT_EQ(Read(image), kSomeVersion);
    EXPECT_EQ(pe::ReadFileVersion(file), std::nullopt);
}

// ---- Real executables ----------------------------------------------------------------------

#ifdef _WIN32
constexpr const char* kThisExecutable = "pe_version_test.exe";
#else
constexpr const char* kThisExecutable = "pe_version_test";
#endif

#ifdef _WIN32
// What Windows' own version functions make of a file.
std::optional<FileVersion> WindowsFileVersion(const std::string& path) {
    using SizeFunction = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoFunction = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFunction = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    static const auto size =
        platform::LazyProc<SizeFunction>("version.dll", "GetFileVersionInfoSizeA");
    static const auto info = platform::LazyProc<InfoFunction>("version.dll", "GetFileVersionInfoA");
    static const auto query = platform::LazyProc<QueryFunction>("version.dll", "VerQueryValueA");
    if (size == nullptr || info == nullptr || query == nullptr) {
        ADD_FAILURE() << "version.dll lacks its functions";
        return std::nullopt;
    }
    DWORD ignored = 0;
    const DWORD bytes = size(path.c_str(), &ignored);
    if (bytes == 0) {
        return std::nullopt;
    }
    std::vector<char> block(bytes);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!info(path.c_str(), 0, bytes, block.data()) ||
        !query(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof *fixed) {
        return std::nullopt;
    }
    return FileVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                       HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
}

// The built images are real enough for Windows: it reads the same version from them.
TEST(BuiltImageOnWindows, WindowsReadsTheSameVersion) {
    const test::TempDir dir;
    const std::string path = dir.File("built.exe");
    for (const PeFormat format : {PeFormat::kPe32, PeFormat::kPe32Plus}) {
        for (const bool others : {false, true}) {
            const FileVersion version{5, 9, 3861, static_cast<std::uint16_t>(others ? 1 : 2)};
            test::WriteFileBytes(path, BuildPe(Options(version, format, others)).bytes);
            EXPECT_EQ(WindowsFileVersion(path), version)
                << (format == PeFormat::kPe32 ? "PE32" : "PE32+") << (others ? " with others" : "");
        }
    }
}

TEST(SystemFiles, ReadAsWindowsReadsThem) {
    std::string system(MAX_PATH, '\0');
    system.resize(GetSystemDirectoryA(system.data(), MAX_PATH));
    ASSERT_FALSE(system.empty());
    int versioned = 0;
    for (const char* name :
         {"kernel32.dll", "user32.dll", "version.dll", "comctl32.dll", "notepad.exe"}) {
        const std::string path = system + "\\" + name;
        if (!fs::is_regular_file(path)) {
            continue;
        }
        const std::optional<FileVersion> windows = WindowsFileVersion(path);
        EXPECT_EQ(Read(test::ReadFileBytes(path)), windows) << path;
        versioned += windows ? 1 : 0;
    }
    EXPECT_GT(versioned, 0) << "no system file with a version to compare";
}
#endif

fs::path ProgramDirectory() {
    const std::string dir = platform::ProgramDirectory();
    EXPECT_FALSE(dir.empty());
    return dir;
}

// Linked without a version resource: an ELF file natively, a PE image under Windows.
TEST(RealExecutable, ThisTestHasNoVersion) {
    const fs::path self = ProgramDirectory() / kThisExecutable;
    const std::string bytes = test::ReadFileBytes(self.string());
#ifdef _WIN32
    ASSERT_EQ(bytes.substr(0, 2), "MZ");
    EXPECT_EQ(WindowsFileVersion(self.string()), std::nullopt);
#else
    ASSERT_EQ(bytes.substr(0, 4),
              "\x7F"
              "ELF");
#endif
    EXPECT_EQ(Read(bytes), std::nullopt);
}

// Huevane.exe exists only in a Windows build, next to this test's directory.
TEST(RealExecutable, HuevaneExeHasItsResourceVersion) {
    const fs::path exe = ProgramDirectory() / ".." / "ui" / "Huevane.exe";
    if (!fs::is_regular_file(exe)) {
        GTEST_SKIP() << "no " << exe.string() << " in this build";
    }
    const FileVersion fromResourceScript{HUEVANE_VERSION_NUMBERS};  // from project(VERSION)
    EXPECT_EQ(Read(test::ReadFileBytes(exe.string())), fromResourceScript);
#ifdef _WIN32
    EXPECT_EQ(WindowsFileVersion(exe.string()), fromResourceScript);
#endif
}

}  // namespace
}  // namespace huevane
