// The install directory lookup against a scripted registry that records every call.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "client/install_dir.h"
#include "platform/registry.h"

namespace huevane {
namespace {

using client::CutToDirectory;
using modColors::GetRegString;
using platform::kEmptyHandle;
using platform::RegistryHandle;

constexpr std::uint32_t kSuccess = 0;
constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kInvalidHandle = 6;
constexpr std::uint32_t kMoreData = 234;

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

constexpr RegistryHandle kOpenedHandle = 0x4D2;
constexpr std::uint32_t kTestRoot = 0x80000002;
const std::string kTestKey = "Software\\Vendor\\App";
const std::string kTestValue = "Path";

struct Call {
    std::string operation;
    std::uint32_t root = 0;
    std::string keyPath;
    std::string valueName;
    RegistryHandle handle = kEmptyHandle;
    std::uint32_t capacity = 0;
    std::string bufferOnEntry;
};

enum class Throws { kNone, kOpen, kQuery, kClose, kAll };

// What the scripted registry holds and how its operations behave.
struct Script {
    std::uint32_t openResult = kSuccess;
    bool valueExists = true;
    std::uint32_t queryError = kSuccess;  // forced failure of an otherwise good query
    std::uint32_t type = kRegSz;
    std::string data;
    std::int64_t reportedLength = -1;  // the byte count the query reports, if not data's size
    Throws throws = Throws::kNone;

    Script& Holding(std::uint32_t valueType, std::string bytes) {
        type = valueType;
        data = std::move(bytes);
        return *this;
    }
    Script& ReportingLength(std::int64_t count) {
        reportedLength = count;
        return *this;
    }
    Script& OpenFailing(std::uint32_t code) {
        openResult = code;
        return *this;
    }
    Script& WithoutValue() {
        valueExists = false;
        return *this;
    }
    Script& QueryFailing(std::uint32_t code) {
        queryError = code;
        return *this;
    }
    Script& Throwing(Throws step) {
        throws = step;
        return *this;
    }
};

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

// Behaves like the Windows registry: a failed open leaves the empty handle, a query on the empty
// handle fails, data larger than the capacity fails with ERROR_MORE_DATA.
class ScriptedRegistry final : public platform::RegistryApi {
public:
    explicit ScriptedRegistry(Script script) : script_(std::move(script)) {}

    std::uint32_t OpenKey(std::uint32_t root, const std::string& keyPath,
                          RegistryHandle& handle) override {
        Call& call = Record("open");
        call.root = root;
        call.keyPath = keyPath;
        if (script_.openResult == kSuccess) {
            handle = kOpenedHandle;
        }
        ThrowIf(Throws::kOpen);
        return script_.openResult;
    }

    std::uint32_t QueryValue(RegistryHandle handle, const std::string& valueName,
                             std::uint32_t& type, char* data, std::uint32_t& length) override {
        Call& call = Record("query");
        call.valueName = valueName;
        call.handle = handle;
        call.capacity = length;
        call.bufferOnEntry.assign(data, length);
        if (handle == kEmptyHandle) {
            return kInvalidHandle;
        }
        if (!script_.valueExists) {
            return kFileNotFound;
        }
        type = script_.type;
        const auto size = static_cast<std::uint32_t>(script_.data.size());
        if (size > length) {
            length = size;
            return kMoreData;
        }
        script_.data.copy(data, size);
        length =
            script_.reportedLength < 0 ? size : static_cast<std::uint32_t>(script_.reportedLength);
        ThrowIf(Throws::kQuery);
        return script_.queryError;
    }

    std::uint32_t CloseKey(RegistryHandle handle) override {
        Record("close").handle = handle;
        ThrowIf(Throws::kClose);
        return handle == kEmptyHandle ? kInvalidHandle : kSuccess;
    }

    const std::vector<Call>& calls() const { return calls_; }

    std::string Operations() const {
        std::string names;
        for (const Call& call : calls_) {
            names += names.empty() ? call.operation : " " + call.operation;
        }
        return names;
    }

private:
    Call& Record(const char* operation) {
        calls_.emplace_back().operation = operation;
        return calls_.back();
    }

    void ThrowIf(Throws step) const {
        if (script_.throws == step || script_.throws == Throws::kAll) {
            throw std::runtime_error("registry failure");
        }
    }

    Script script_;
    std::vector<Call> calls_;
};

std::string ReadWith(ScriptedRegistry& registry) {
    return GetRegString(registry, kTestRoot, kTestKey, kTestValue);
}

std::string Read(Script script) {
    ScriptedRegistry registry(std::move(script));
    return ReadWith(registry);
}

std::string Dword(std::uint32_t number) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<char>((number >> (8 * i)) & 0xFFU));
    }
    return bytes;
}

// --- Which operations run, with which handles, on every path ---

struct PathCase {
    const char* name;
    Script script;
    std::string expected;
    RegistryHandle queriedHandle;
    RegistryHandle closedHandle;
};

class CallSequence : public ::testing::TestWithParam<PathCase> {};

TEST_P(CallSequence, OpensQueriesAndClosesOnceEachInOrder) {
    const PathCase& c = GetParam();
    ScriptedRegistry registry(c.script);
    EXPECT_EQ(ReadWith(registry), c.expected);
    ASSERT_EQ(registry.Operations(), "open query close");
    EXPECT_EQ(registry.calls()[1].handle, c.queriedHandle);
    EXPECT_EQ(registry.calls()[2].handle, c.closedHandle);
}

const std::string kPathData = std::string("C:\\AIM\\aim.exe") + '\0';

Script PathValue() {
    return Script().Holding(kRegSz, kPathData);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, CallSequence,
    ::testing::Values(
        PathCase{"ValueFound", PathValue(), "C:\\AIM\\aim.exe", kOpenedHandle, kOpenedHandle},
        PathCase{"KeyMissing", PathValue().OpenFailing(kFileNotFound), "Not Found", kEmptyHandle,
                 kEmptyHandle},
        PathCase{"ValueMissing", Script().WithoutValue(), "Not Found", kOpenedHandle,
                 kOpenedHandle},
        PathCase{"QueryDenied", PathValue().QueryFailing(kAccessDenied), "Not Found", kOpenedHandle,
                 kOpenedHandle},
        // An open that throws after handing out a handle still gets it used and closed.
        PathCase{"OpenThrows", PathValue().Throwing(Throws::kOpen), "C:\\AIM\\aim.exe",
                 kOpenedHandle, kOpenedHandle},
        PathCase{"OpenFailsAndThrows",
                 PathValue().OpenFailing(kAccessDenied).Throwing(Throws::kOpen), "Not Found",
                 kEmptyHandle, kEmptyHandle},
        // Data already in the buffer does not count when the query itself failed.
        PathCase{"QueryThrows", PathValue().Throwing(Throws::kQuery), "Not Found", kOpenedHandle,
                 kOpenedHandle},
        // The value was read before the close failed; the close's failure is skipped.
        PathCase{"CloseThrows", PathValue().Throwing(Throws::kClose), "C:\\AIM\\aim.exe",
                 kOpenedHandle, kOpenedHandle},
        PathCase{"EveryStepThrows", PathValue().Throwing(Throws::kAll), "Not Found", kOpenedHandle,
                 kOpenedHandle}),
    CaseName<PathCase>);

TEST(GetRegString, PassesRootKeyValueNameAndASpaceFilledBufferOf2048) {
    ScriptedRegistry registry(PathValue());
    ReadWith(registry);
    ASSERT_EQ(registry.Operations(), "open query close");
    const Call& open = registry.calls()[0];
    EXPECT_EQ(open.root, kTestRoot);
    EXPECT_EQ(open.keyPath, kTestKey);
    const Call& query = registry.calls()[1];
    EXPECT_EQ(query.valueName, kTestValue);
    EXPECT_EQ(query.capacity, 2048u);
    EXPECT_EQ(query.bufferOnEntry, std::string(2048, ' '));
}

// --- How the value's data becomes text ---

struct ValueCase {
    const char* name;
    std::uint32_t type;
    std::string data;
    std::string expected;
    std::int64_t reportedLength = -1;
};

class ValueText : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ValueText, ComesFromTheBuffer) {
    const ValueCase& c = GetParam();
    EXPECT_EQ(Read(Script().Holding(c.type, c.data).ReportingLength(c.reportedLength)), c.expected);
}

const std::string k2047 = std::string(2047, 'x');
const std::string k2048 = std::string(2048, 'y');

INSTANTIATE_TEST_SUITE_P(
    Types, ValueText,
    ::testing::Values(ValueCase{"Path", kRegSz, kPathData, "C:\\AIM\\aim.exe"},
                      ValueCase{"ExpandSzStaysUnexpanded", kRegExpandSz,
                                std::string("%ProgramFiles%\\AIM\\aim.exe") + '\0',
                                "%ProgramFiles%\\AIM\\aim.exe"},
                      ValueCase{"EmbeddedZeroBytesKept", kRegSz, std::string("ab\0cd\0", 6),
                                std::string("ab\0cd", 5)},
                      ValueCase{"MultiSzKeepsAllButTheLastZero", kRegMultiSz,
                                std::string("a\0b\0\0", 5), std::string("a\0b\0", 4)},
                      ValueCase{"BinaryLosesItsLastByte", kRegBinary, "\x01\x02\xFF", "\x01\x02"},
                      ValueCase{"StringWithoutTerminatorLosesALetter", kRegSz, "abc", "ab"},
                      ValueCase{"ZeroLengthIsEmpty", kRegSz, "", ""},
                      ValueCase{"OnlyTheTerminatorIsEmpty", kRegSz, std::string(1, '\0'), ""},
                      ValueCase{"Longest2047Characters", kRegSz, k2047 + '\0', k2047},
                      ValueCase{"Too2048CharactersLong", kRegSz, k2048 + '\0', "Not Found"},
                      // Bytes behind the data still hold the spaces the buffer was filled with.
                      ValueCase{"ReportedLengthBeyondDataReadsSpaces", kRegSz, "ab", "ab  ", 5},
                      ValueCase{"ReportedLengthBeyondBufferStopsAtIt", kRegSz, "ab",
                                "ab" + std::string(2046, ' '), 5000},
                      ValueCase{"Dword0", kRegDword, Dword(0), "000"},
                      ValueCase{"Dword7", kRegDword, Dword(7), "007"},
                      ValueCase{"Dword42", kRegDword, Dword(42), "042"},
                      ValueCase{"Dword255", kRegDword, Dword(255), "255"},
                      ValueCase{"Dword999", kRegDword, Dword(999), "999"},
                      ValueCase{"Dword1000", kRegDword, Dword(1000), "1000"},
                      ValueCase{"DwordLowByteFirst", kRegDword, Dword(0x01020304), "16909060"},
                      ValueCase{"DwordTopBitSetIsUnsigned", kRegDword, Dword(0x80000000),
                                "2147483648"},
                      ValueCase{"DwordMaximum", kRegDword, Dword(4294967295), "4294967295"}),
    CaseName<ValueCase>);

// --- The cut from executable path to directory ---

struct CutCase {
    std::string path;
    std::string expected;
};

class CutToDirectoryTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutToDirectoryTest, DropsEverythingFromTheLastBackslash) {
    EXPECT_EQ(CutToDirectory(GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, CutToDirectoryTest,
    ::testing::Values(CutCase{"C:\\Program Files\\AIM\\aim.exe", "C:\\Program Files\\AIM"},
                      CutCase{"C:\\aim.exe", "C:"},
                      CutCase{"C:\\Program Files\\AIM\\", "C:\\Program Files\\AIM"},
                      CutCase{"\\aim.exe", ""}, CutCase{"aim.exe", "aim.exe"},
                      CutCase{"Not Found", "Not Found"}, CutCase{"", ""}, CutCase{"007", "007"},
                      CutCase{"C:/AIM/aim.exe", "C:/AIM/aim.exe"},
                      CutCase{"C:\\AIM/x\\y/aim.exe", "C:\\AIM/x"}));

// --- The whole start-up lookup ---

TEST(LookupInstallDir, ReadsTheClientPathOfTheCurrentUserAndCutsIt) {
    ScriptedRegistry registry(
        Script().Holding(kRegSz, std::string(R"(C:\Program Files\AIM\aim.exe)") + '\0'));
    EXPECT_EQ(client::LookupInstallDir(registry), "C:\\Program Files\\AIM");
    ASSERT_EQ(registry.Operations(), "open query close");
    EXPECT_EQ(registry.calls()[0].root, 0x80000001u);
    EXPECT_EQ(registry.calls()[0].keyPath,
              R"(Software\America Online\AOL Instant Messenger (TM)\CurrentVersion\AppPath)");
    EXPECT_EQ(registry.calls()[1].valueName, "");
    EXPECT_EQ(registry.calls()[1].handle, kOpenedHandle);
    EXPECT_EQ(registry.calls()[2].handle, kOpenedHandle);
}

TEST(LookupInstallDir, LeavesNotFoundWhenTheKeyIsMissing) {
    ScriptedRegistry registry(PathValue().OpenFailing(kFileNotFound));
    EXPECT_EQ(client::LookupInstallDir(registry), "Not Found");
    EXPECT_EQ(registry.Operations(), "open query close");
}

}  // namespace
}  // namespace huevane
