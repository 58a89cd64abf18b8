#include "formats/user_reg.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/line_ends.h"
#include "tests/memory_file.h"

namespace huevane::userreg {

void PrintTo(const Lookup& lookup, std::ostream* os) {
    constexpr std::array<std::string_view, 4> kStatusNames = {"kFound", "kBadHeader", "kNoKey",
                                                              "kNoValue"};
    constexpr std::array<std::string_view, 4> kTypeNames = {"kString", "kExpandString", "kDword",
                                                            "kOther"};
    *os << "{" << kStatusNames.at(static_cast<std::size_t>(lookup.status)) << ", "
        << kTypeNames.at(static_cast<std::size_t>(lookup.type)) << ", "
        << ::testing::PrintToString(lookup.text) << "}";
}

namespace {

using std::string_literals::operator""s;

constexpr std::string_view kHeader = "WINE REGISTRY Version 2\n";

Lookup String(std::string text) {
    return {LookupStatus::kFound, ValueType::kString, std::move(text)};
}

Lookup ExpandString(std::string text) {
    return {LookupStatus::kFound, ValueType::kExpandString, std::move(text)};
}

Lookup Dword(std::string decimal) {
    return {LookupStatus::kFound, ValueType::kDword, std::move(decimal)};
}

const Lookup kOtherType{LookupStatus::kFound, ValueType::kOther, {}};
const Lookup kNoKey{LookupStatus::kNoKey, ValueType::kOther, {}};
const Lookup kNoValue{LookupStatus::kNoValue, ValueType::kOther, {}};
const Lookup kBadHeader{LookupStatus::kBadHeader, ValueType::kOther, {}};

// A file read as a stream that hands out one byte per read, so that every line, "\r\n" and
// continuation is split across reads.
Lookup FindInTrickledFile(std::string_view text, std::string_view key) {
    class TrickleFile final : public ReadableFile {
    public:
        explicit TrickleFile(std::string_view bytes) : bytes_(bytes), size_(bytes.size()) {}
        std::uint64_t Size() override { return size_; }
        FileIdentity Identity() override { return {}; }
        void Seek(std::uint64_t offset) override { bytes_.Seek(offset); }
        std::size_t Read(std::span<char> buffer) override {
            return bytes_.Read(buffer.first(std::min<std::size_t>(buffer.size(), 1)));
        }

    private:
        MemoryFile bytes_;
        std::uint64_t size_;
    } file(text);
    return FindDefaultValue(file, key);
}

// A file after its header line, the key to look up, and what a program under Wine would read.
struct Case {
    std::string_view name;
    std::string body;
    std::string_view key;
    Lookup expected;
};

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return std::string(info.param.name);
}

class FindDefaultValueTest : public ::testing::TestWithParam<Case> {};

TEST_P(FindDefaultValueTest, ReadsTheFileAsWineLoadsIt) {
    const Case& c = GetParam();
    EXPECT_EQ(FindDefaultValue(std::string(kHeader) + c.body, c.key), c.expected);
}

TEST_P(FindDefaultValueTest, ReadsTheSameFromAStream) {
    const Case& c = GetParam();
    EXPECT_EQ(FindInTrickledFile(std::string(kHeader) + c.body, c.key), c.expected);
}

TEST_P(FindDefaultValueTest, ReadsTheSameWithCrlfLineEnds) {
    const Case& c = GetParam();
    ASSERT_EQ(c.body.find('\r'), std::string::npos) << "the table's files use LF only";
    EXPECT_EQ(FindDefaultValue(ToCrlf(std::string(kHeader) + c.body), c.key), c.expected);
}

// ---------------------------------------------------------------------------------------------

const std::vector<Case> kKeyCases = {
    {"ExactKey", "[Software\\\\A\\\\B] 1700000000\n@=\"x\"\n", "Software\\A\\B", String("x")},
    {"KeyInOtherCaseInFile", "[SOFTWARE\\\\a\\\\b] 0\n@=\"x\"\n", "Software\\A\\B", String("x")},
    {"KeyInOtherCaseAsked", "[Software\\\\A\\\\B] 0\n@=\"x\"\n", "sOFTWARE\\a\\B", String("x")},
    {"NoTimestamp", "[Software\\\\A]\n@=\"x\"\n", "Software\\A", String("x")},
    {"TextAfterTimestamp", "[Software\\\\A] 1700000000 extra\n@=\"x\"\n", "Software\\A",
     String("x")},
    {"LeadingSpacesOnLines", "  [Software\\\\A] 0\n\t @=\"x\"\n", "Software\\A", String("x")},
    {"SubkeyIsNotTheKey", "[Software\\\\A\\\\B] 0\n@=\"x\"\n", "Software\\A", kNoKey},
    {"ParentIsNotTheKey", "[Software\\\\A] 0\n@=\"x\"\n", "Software\\A\\B", kNoKey},
    {"PrefixOfNameIsNotTheKey", "[Software\\\\AB] 0\n@=\"x\"\n", "Software\\A", kNoKey},
    {"ValueOfLaterKeyNotTaken", "[Software\\\\A] 0\n[Software\\\\B] 0\n@=\"b\"\n", "Software\\A",
     kNoValue},
    {"RepeatedBackslashesSeparateOnce", "[Software\\\\\\\\A\\\\] 0\n@=\"x\"\n", "Software\\A",
     String("x")},
    {"TrailingBackslashAsked", "[Software\\\\A] 0\n@=\"x\"\n", "Software\\A\\", String("x")},
    {"EscapedBracketInName", "[Software\\\\A\\]B] 0\n@=\"x\"\n", "Software\\A]B", String("x")},
    {"HexEscapeInName", "[Software\\\\Caf\\xe9] 0\n@=\"x\"\n", "Software\\Caf\xC3\xA9",
     String("x")},
    {"RawUtf8InNameWithAsciiCaseFolded", "[Software\\\\Caf\xC3\xA9] 0\n@=\"x\"\n",
     "software\\CAF\xC3\xA9", String("x")},
    {"LeadingBackslashRejected", "[\\\\Software\\\\A] 0\n@=\"x\"\n", "Software\\A", kNoKey},
    {"UnterminatedSectionDropsItsValues",
     "[Software\\\\A] 0\n@=\"first\"\n[Software\\\\A\n@=\"second\"\n", "Software\\A",
     String("first")},
    {"MissingKey", "[Software\\\\A] 0\n@=\"x\"\n", "Software\\Missing", kNoKey},
    {"KeyWithoutDefaultValue", "[Software\\\\A] 0\n\"Name\"=\"x\"\n", "Software\\A", kNoValue},
    {"EmptyKey", "[Software\\\\A] 0\n", "Software\\A", kNoValue},
    {"HeaderOnly", "", "Software\\A", kNoKey},
    {"ValueBeforeAnyKeyIgnored", "@=\"orphan\"\n[Software\\\\A] 0\n", "Software\\A", kNoValue},
};
INSTANTIATE_TEST_SUITE_P(Keys, FindDefaultValueTest, ::testing::ValuesIn(kKeyCases), CaseName);

const std::vector<Case> kNameCases = {
    {"AtSign", "[K] 0\n@=\"x\"\n", "K", String("x")},
    {"EmptyQuotedName", "[K] 0\n\"\"=\"x\"\n", "K", String("x")},
    {"SpacesAroundEquals", "[K] 0\n@ = \"x\"\n\"\" =\t\"y\"\n", "K", String("y")},
    {"QuotedAtSignIsNamed", "[K] 0\n\"@\"=\"x\"\n", "K", kNoValue},
    {"NamedValuesIgnored", "[K] 0\n\"A\"=\"a\"\n@=\"x\"\n\"B\"=\"b\"\n", "K", String("x")},
    {"EscapedQuoteInName", "[K] 0\n\"a\\\"=b\"=\"named\"\n@=\"x\"\n", "K", String("x")},
    {"EqualsInsideNameIsNotDefault", "[K] 0\n\"=\"=\"x\"\n", "K", kNoValue},
};
INSTANTIATE_TEST_SUITE_P(Names, FindDefaultValueTest, ::testing::ValuesIn(kNameCases), CaseName);

const std::vector<Case> kTypeCases = {
    {"PlainString", "[K] 0\n@=\"text\"\n", "K", String("text")},
    {"StrTag", "[K] 0\n@=str:\"text\"\n", "K", String("text")},
    {"EmptyString", "[K] 0\n@=\"\"\n", "K", String("")},
    {"TextAfterClosingQuoteIgnored", "[K] 0\n@=\"text\" trailing\n", "K", String("text")},
    {"ExpandStr", "[K] 0\n@=str(2):\"%ProgramFiles%\\\\AIM\"\n", "K",
     ExpandString("%ProgramFiles%\\AIM")},
    {"MultiStrIsOther", "[K] 0\n@=str(7):\"a\\0b\\0\"\n", "K", kOtherType},
    {"Dword", "[K] 0\n@=dword:0000002a\n", "K", Dword("42")},
    {"DwordLargest", "[K] 0\n@=dword:ffffffff\n", "K", Dword("4294967295")},
    {"DwordUpperCaseDigits", "[K] 0\n@=dword:0000ABCD\n", "K", Dword("43981")},
    {"Binary", "[K] 0\n@=hex:01,02\n", "K", kOtherType},
    {"HexExpandString", "[K] 0\n@=hex(2):25,00,41,00,25,00,00,00\n", "K", ExpandString("%A%")},
    {"HexString", "[K] 0\n@=hex(1):68,00,69,00,00,00\n", "K", String("hi")},
    {"HexStringWithoutTerminator", "[K] 0\n@=hex(1):68,00,69,00\n", "K", String("hi")},
    {"HexStringOddLastByteDropped", "[K] 0\n@=hex(1):68,00,69\n", "K", String("h")},
    {"HexStringUtf16ToUtf8", "[K] 0\n@=hex(1):e9,00,ac,20,3d,d8,00,de\n", "K",
     String("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80")},
    {"HexStringLoneSurrogate", "[K] 0\n@=hex(1):41,00,00,d8,42,00\n", "K",
     String("A\xED\xA0\x80"
            "B")},
    {"HexDword", "[K] 0\n@=hex(4):2a,00,00,00\n", "K", Dword("42")},
    {"HexDwordShortIsOther", "[K] 0\n@=hex(4):2a,00\n", "K", kOtherType},
    {"HexDwordLongIsOther", "[K] 0\n@=hex(4):2a,00,00,00,00\n", "K", kOtherType},
    {"HexMultiIsOther", "[K] 0\n@=hex(7):61,00,00,00,00,00\n", "K", kOtherType},
    {"HexNoneIsOther", "[K] 0\n@=hex(0):\n", "K", kOtherType},
    {"HexTypeWithLeadingZeros", "[K] 0\n@=hex(0002):41,00\n", "K", ExpandString("A")},
    {"EmptyHexExpandString", "[K] 0\n@=hex(2):\n", "K", ExpandString("")},
    {"HexBytesSeparatedBySpaces", "[K] 0\n@=hex(1):41 , 00 42,00\n", "K", String("AB")},
    {"SpaceBeforeHexBytesRejected", "[K] 0\n@=hex(1): 41,00\n", "K", kOtherType},
    {"SpaceBeforeStringRejected", "[K] 0\n@=str: \"x\"\n", "K", kOtherType},
};
INSTANTIATE_TEST_SUITE_P(Types, FindDefaultValueTest, ::testing::ValuesIn(kTypeCases), CaseName);

const std::vector<Case> kEscapeCases = {
    {"Backslash", "[K] 0\n@=\"C:\\\\AIM\"\n", "K", String("C:\\AIM")},
    {"Quote", "[K] 0\n@=\"say \\\"hi\\\"\"\n", "K", String("say \"hi\"")},
    {"ControlLetters", "[K] 0\n@=\"\\a\\b\\e\\f\\n\\r\\t\\v\"\n", "K",
     String("\a\b\x1B\f\n\r\t\v")},
    {"UnknownEscapeIsTheLetter", "[K] 0\n@=\"\\q\\[\"\n", "K", String("q[")},
    {"OctalOneDigit", "[K] 0\n@=\"\\7.\"\n", "K", String("\a.")},
    {"OctalTwoDigits", "[K] 0\n@=\"\\33.\"\n", "K", String("\x1B.")},
    {"OctalThreeDigits", "[K] 0\n@=\"\\101\"\n", "K", String("A")},
    {"OctalStopsAtThreeDigits", "[K] 0\n@=\"\\1014\"\n", "K", String("A4")},
    {"OctalStopsAtEight", "[K] 0\n@=\"\\18\"\n", "K",
     String("\x01"
            "8")},
    {"OctalAboveAscii", "[K] 0\n@=\"\\377\\777\"\n", "K", String("\xC3\xBF\xC7\xBF")},
    {"HexOneDigit", "[K] 0\n@=\"\\x9\"\n", "K", String("\t")},
    {"HexOneDigitThenLetter", "[K] 0\n@=\"\\x4g\"\n", "K", String("\x04g")},
    {"HexTwoDigits", "[K] 0\n@=\"\\x41\"\n", "K", String("A")},
    {"HexThreeDigits", "[K] 0\n@=\"\\x0e9\"\n", "K", String("\xC3\xA9")},
    {"HexFourDigits", "[K] 0\n@=\"\\x20ac\"\n", "K", String("\xE2\x82\xAC")},
    {"HexStopsAtFourDigits", "[K] 0\n@=\"\\x0041B\"\n", "K", String("AB")},
    {"HexWithoutDigitsIsX", "[K] 0\n@=\"a\\xg\\x\"\n", "K", String("axgx")},
    {"HexSurrogatePair", "[K] 0\n@=\"\\xd83d\\xde00\"\n", "K", String("\xF0\x9F\x98\x80")},
    {"LoneHighSurrogate", "[K] 0\n@=\"\\xd83d.\"\n", "K", String("\xED\xA0\xBD.")},
    {"LoneLowSurrogate", "[K] 0\n@=\"\\xde00\"\n", "K", String("\xED\xB8\x80")},
    {"SwappedSurrogates", "[K] 0\n@=\"\\xde00\\xd83d\"\n", "K", String("\xED\xB8\x80\xED\xA0\xBD")},
    {"RawUtf8Kept", "[K] 0\n@=\"Caf\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\x98\x80\"\n", "K",
     String("Caf\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\x98\x80")},
    {"RawUtf8BesideEscapes", "[K] 0\n@=\"\\x41\xC3\xA9\\101\"\n", "K",
     String("A\xC3\xA9"
            "A")},
    {"BrokenUtf8Dropped",
     "[K] 0\n@=\"a\xFF"
     "b\xC3(c\xE6\x97\"\n",
     "K", String("ab(c")},
    {"OverlongUtf8Dropped",
     "[K] 0\n@=\"a\xC0\xAF\xE0\x80\xAF"
     "b\"\n",
     "K", String("ab")},
    {"Utf8EncodedSurrogatesPaired", "[K] 0\n@=\"\xED\xA0\xBD\xED\xB8\x80\"\n", "K",
     String("\xF0\x9F\x98\x80")},
    {"NulEscapeCutsText", "[K] 0\n@=\"ab\\0cd\"\n", "K", String("ab")},
    {"OctalNulCutsText", "[K] 0\n@=\"ab\\000cd\"\n", "K", String("ab")},
    {"HexNulCutsText", "[K] 0\n@=\"ab\\x0000cd\"\n", "K", String("ab")},
    {"NulInHexStringCutsText", "[K] 0\n@=hex(2):61,00,00,00,62,00\n", "K", ExpandString("a")},
    {"LeadingNulGivesEmptyText", "[K] 0\n@=str(2):\"\\0rest\"\n", "K", ExpandString("")},
};
INSTANTIATE_TEST_SUITE_P(Escapes, FindDefaultValueTest, ::testing::ValuesIn(kEscapeCases),
                         CaseName);

const std::vector<Case> kContinuationCases = {
    {"HexExpandStringOverThreeLines",
     "[K] 0\n@=hex(2):43,00,3a,00,5c,00,\\\n  41,00,49,00,\\\n  4d,00,00,00\n\"N\"=\"x\"\n", "K",
     ExpandString("C:\\AIM")},
    {"ContinuationWithoutTrailingComma", "[K] 0\n@=hex(1):41,00\\\n  42,00\n", "K", String("AB")},
    {"ValuesAfterContinuationRead", "[K] 0\n\"Bin\"=hex:01,02,\\\n  03,04\n@=\"after\"\n", "K",
     String("after")},
    {"ContinuedLineTakenEvenIfItLooksLikeAValue",
     "[K] 0\n@=\"kept\"\n\"Bin\"=hex:01,\\\n@=\"eaten\"\n", "K", String("kept")},
    {"ContinuedLineTakenEvenIfItOpensAKey", "[A] 0\n\"Bin\"=hex:01,\\\n[B] 0\n@=\"lands in A\"\n",
     "A", String("lands in A")},
    {"KeyEatenByContinuationMissing", "[A] 0\n\"Bin\"=hex:01,\\\n[B] 0\n@=\"x\"\n", "B", kNoKey},
    {"ContinuationAtEndOfFile", "[K] 0\n@=hex(1):41,00,\\\n", "K", kOtherType},
};
INSTANTIATE_TEST_SUITE_P(Continuations, FindDefaultValueTest,
                         ::testing::ValuesIn(kContinuationCases), CaseName);

const std::vector<Case> kMergeCases = {
    {"LastDefaultValueWins", "[K] 0\n@=\"one\"\n@=\"two\"\n", "K", String("two")},
    {"LastWinsAcrossNameForms", "[K] 0\n@=\"one\"\n\"\"=dword:00000002\n", "K", Dword("2")},
    {"KeyGivenTwiceLaterDefaultWins",
     "[K] 0\n@=\"one\"\n[Other] 0\n@=\"other\"\n[k] 0\n@=\"two\"\n", "K", String("two")},
    {"KeyGivenTwiceKeepsEarlierDefault",
     "[K] 0\n@=\"one\"\n[Other] 0\n@=\"other\"\n[K] 0\n\"N\"=\"x\"\n", "K", String("one")},
    {"KeyGivenTwiceDefaultOnlyInSecond", "[K] 0\n\"N\"=\"x\"\n[Other] 0\n[K] 0\n@=\"two\"\n", "K",
     String("two")},
};
INSTANTIATE_TEST_SUITE_P(Merging, FindDefaultValueTest, ::testing::ValuesIn(kMergeCases), CaseName);

const std::vector<Case> kCommentCases = {
    {"CommentsAndOptionsSkipped",
     ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win32\n\n[K] 0\n"
     "#time=1da0c6f1b7e1a2c\n#class=\"c\"\n; note\n;;@=\"commented\"\n\n@=\"x\"\n",
     "K", String("x")},
    {"Win64ArchAccepted", "#arch=win64\n[K] 0\n@=\"x\"\n", "K", String("x")},
    {"UnknownArchStopsLoading", "#arch=win16\n[K] 0\n@=\"x\"\n", "K", kNoKey},
    {"UnknownArchInsideKeyIgnored", "[K] 0\n#arch=win16\n@=\"x\"\n", "K", String("x")},
    {"UnknownArchKeepsWhatCameBefore", "[K] 0\n@=\"x\"\n[\n#arch=win16\n[K] 0\n@=\"y\"\n", "K",
     String("x")},
};
INSTANTIATE_TEST_SUITE_P(Comments, FindDefaultValueTest, ::testing::ValuesIn(kCommentCases),
                         CaseName);

const std::vector<Case> kMalformedCases = {
    {"GarbageLinesSkipped", "garbage\n[K] 0\n=\"x\"\nmore garbage\n@=\"x\"\n}{\n", "K",
     String("x")},
    {"UnterminatedNamedValueSkipped", "[K] 0\n\"N\"=\"unterminated\n@=\"after\"\n", "K",
     String("after")},
    {"UnterminatedNameSkipped", "[K] 0\n\"N=\"x\n@=\"after\"\n", "K", String("after")},
    {"MalformedDefaultThenGoodOne", "[K] 0\n@=\"unterminated\n@=\"after\"\n", "K", String("after")},
    {"BackslashAtLineEndUnterminated", "[K] 0\n@=\"abc\\\n", "K", kOtherType},
    // Wine keeps a default value whose data it cannot read as REG_NONE without data.
    {"MalformedDataReplacesDefault", "[K] 0\n@=\"good\"\n@=\"bad\n", "K", kOtherType},
    {"UnknownDataTag", "[K] 0\n@=bogus\n", "K", kOtherType},
    {"DataTagsAreCaseSensitive", "[K] 0\n@=STR:\"x\"\n", "K", kOtherType},
    {"HexByteAboveFF", "[K] 0\n@=hex(1):41,1ff\n", "K", kOtherType},
    {"HexByteFFIsAByte", "[K] 0\n@=hex(1):ff,00,41,00\n", "K",
     String("\xC3\xBF"
            "A")},
    {"HexGarbageAfterBytes", "[K] 0\n@=hex(1):41,00,zz\n", "K", kOtherType},
    {"HexDoubleComma", "[K] 0\n@=hex(1):41,,00\n", "K", kOtherType},
    {"HexTypeUnclosed", "[K] 0\n@=hex(2:41,00\n", "K", kOtherType},
    {"MalformedNameLeavesDefault", "[K] 0\n@=\"good\"\n@x=\"bad\"\n@\n\"\"\n", "K", String("good")},
    {"MissingEqualsLeavesDefault", "[K] 0\n@=\"good\"\n@ \"bad\"\n", "K", String("good")},
    {"DwordGarbageIsZero", "[K] 0\n@=dword:zz\n", "K", Dword("0")},
    {"DwordEmptyIsZero", "[K] 0\n@=dword:\n", "K", Dword("0")},
    {"DwordReadsLikeStrtoul", "[K] 0\n@=dword: 0x10junk\n", "K", Dword("16")},
    {"DwordNegative", "[K] 0\n@=dword:-1\n", "K", Dword("4294967295")},
    {"DwordTooLongKeepsLowBits", "[K] 0\n@=dword:100000002\n", "K", Dword("2")},
    {"DwordOverflowSaturates", "[K] 0\n@=dword:123456789abcdef0123\n", "K", Dword("4294967295")},
};
INSTANTIATE_TEST_SUITE_P(Malformed, FindDefaultValueTest, ::testing::ValuesIn(kMalformedCases),
                         CaseName);

// The application path key as Wine writes it into user.reg after an installer set it.
constexpr std::string_view kClientKey =
    R"(Software\America Online\AOL Instant Messenger (TM)\CurrentVersion\AppPath)";
constexpr std::string_view kClientPath = R"(C:\Program Files\AIM\aim.exe)";

const std::vector<Case> kClientCases = {
    {"ClientAppPath",
     ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
     "\n"
     "#arch=win32\n"
     "\n"
     "[Control Panel\\\\Colors] 1700000000\n"
     "#time=1da0c6f1b7e1a2c\n"
     "\"ActiveBorder\"=\"212 208 200\"\n"
     "\n"
     "[Software\\\\America Online\\\\AOL Instant Messenger (TM)\\\\CurrentVersion] 1700000000\n"
     "#time=1da0c6f1b7e1a2c\n"
     "\"Version\"=dword:00050009\n"
     "\n"
     "[Software\\\\America Online\\\\AOL Instant Messenger (TM)\\\\CurrentVersion\\\\AppPath] "
     "1700000000\n"
     "#time=1da0c6f1b7e1a2c\n"
     "@=\"C:\\\\Program Files\\\\AIM\\\\aim.exe\"\n"
     "\"Path\"=\"C:\\\\Program Files\\\\AIM\"\n"
     "\n"
     "[Software\\\\Wine\\\\Drives] 1700000000\n"
     "#time=1da0c6f1b7e1a2c\n"
     "\"c:\"=\"hd\"\n",
     kClientKey, String(std::string(kClientPath))},
    {"ClientAppPathAskedInLowerCase",
     "[Software\\\\America Online\\\\AOL Instant Messenger (TM)\\\\CurrentVersion\\\\AppPath] "
     "1700000000\n@=\"C:\\\\Program Files\\\\AIM\\\\aim.exe\"\n",
     R"(software\america online\aol instant messenger (tm)\currentversion\apppath)",
     String(std::string(kClientPath))},
    {"ClientAppPathAsExpandString",
     "[Software\\\\America Online\\\\AOL Instant Messenger (TM)\\\\CurrentVersion\\\\AppPath] "
     "1700000000\n@=str(2):\"%ProgramFiles%\\\\AIM\\\\aim.exe\"\n",
     kClientKey, ExpandString("%ProgramFiles%\\AIM\\aim.exe")},
};
INSTANTIATE_TEST_SUITE_P(Client, FindDefaultValueTest, ::testing::ValuesIn(kClientCases), CaseName);

// ---------------------------------------------------------------------------------------------
// Whole files, header line included.

struct FileCase {
    std::string_view name;
    std::string file;
    Lookup expected;
};

std::string FileCaseName(const ::testing::TestParamInfo<FileCase>& info) {
    return std::string(info.param.name);
}

class WholeFileTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(WholeFileTest, ReadsTheFileAsWineLoadsIt) {
    EXPECT_EQ(FindDefaultValue(GetParam().file, "K"), GetParam().expected);
    EXPECT_EQ(FindInTrickledFile(GetParam().file, "K"), GetParam().expected);
}

const std::vector<FileCase> kHeaderCases = {
    {"EmptyFile", "", kBadHeader},
    {"NoHeader", "[K] 0\n@=\"x\"\n", kBadHeader},
    {"OldVersion", "WINE REGISTRY Version 1\n[K] 0\n@=\"x\"\n", kBadHeader},
    {"RegeditExport", "REGEDIT4\n\n[K]\n@=\"x\"\n", kBadHeader},
    {"HeaderWithTrailingSpace", "WINE REGISTRY Version 2 \n[K] 0\n@=\"x\"\n", kBadHeader},
    {"HeaderInOtherCase", "wine registry version 2\n[K] 0\n@=\"x\"\n", kBadHeader},
    {"HeaderAfterBlankLine", "\nWINE REGISTRY Version 2\n[K] 0\n@=\"x\"\n", kBadHeader},
    {"HeaderAfterByteOrderMark", "\xEF\xBB\xBFWINE REGISTRY Version 2\n[K] 0\n@=\"x\"\n",
     kBadHeader},
    {"HeaderWithLoneCarriageReturn", "WINE REGISTRY Version 2\r[K] 0\n@=\"x\"\n", kBadHeader},
    {"HeaderAloneWithoutNewline", "WINE REGISTRY Version 2", kNoKey},
    {"HeaderWithCrlf", "WINE REGISTRY Version 2\r\n[K] 0\r\n@=\"x\"\r\n", String("x")},
};
INSTANTIATE_TEST_SUITE_P(Header, WholeFileTest, ::testing::ValuesIn(kHeaderCases), FileCaseName);

const std::vector<FileCase> kLineEndCases = {
    {"MixedLineEnds", "WINE REGISTRY Version 2\n[K] 0\r\n@=\"a\"\n@=\"b\"\r\n", String("b")},
    {"CrlfContinuations",
     "WINE REGISTRY Version 2\r\n[K] 0\r\n@=hex(2):41,00,\\\r\n  42,00,\\\r\n  00,00\r\n",
     ExpandString("AB")},
    {"LastLineWithoutNewline", "WINE REGISTRY Version 2\n[K] 0\n@=\"x\"", String("x")},
    {"CarriageReturnInsideStringKept", "WINE REGISTRY Version 2\n[K] 0\n@=\"a\rb\"\r\n",
     String("a\rb")},
    {"NulEndsItsLine", "WINE REGISTRY Version 2\n[K] 0\n@=\"a\0b\"\n@=\"x\"\0junk\n"s, String("x")},
    {"NulAfterHeader", "WINE REGISTRY Version 2\0x\n[K] 0\n@=\"x\"\n"s, String("x")},
};
INSTANTIATE_TEST_SUITE_P(LineEnds, WholeFileTest, ::testing::ValuesIn(kLineEndCases), FileCaseName);

}  // namespace
}  // namespace huevane::userreg
