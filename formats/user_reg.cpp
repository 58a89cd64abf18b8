#include "formats/user_reg.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <cstddef>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "core/ascii_case.h"
#include "core/byte_order.h"
#include "core/utf16.h"
#include "core/utf8_text.h"

// Reads the file the way wineserver loads it, quirks included, so the answer is what a program
// running under Wine would get from the registry.
namespace huevane::userreg {
namespace {

constexpr std::string_view kHeaderLine = "WINE REGISTRY Version 2";

// Registry value types as Windows numbers them.
constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

// The most data of one value that is kept: far more than any path, and memory stays small
// whatever the file holds.
constexpr std::size_t kMaxValueBytes = std::size_t{1} << 20;

// ---------------------------------------------------------------------------------------------
// Characters (the C locale's classes, as wineserver uses them)

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

unsigned DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<unsigned>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<unsigned>(c - 'a' + 10);
    }
    return static_cast<unsigned>(c - 'A' + 10);
}

std::string_view SkipSpaces(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

// ---------------------------------------------------------------------------------------------
// Lines

// Hands out the lines of a file without their "\n" or "\r\n". A line's content ends at its
// first NUL byte, as it does for the C string functions Wine reads the file with. The line
// handed out stays valid until the next one is asked for.
class LineSource {
public:
    virtual ~LineSource() = default;
    virtual bool Next(std::string_view& line) = 0;
};

// The lines of a text in memory.
class TextLines final : public LineSource {
public:
    explicit TextLines(std::string_view text) : rest_(text) {}

    bool Next(std::string_view& line) override {
        if (rest_.empty()) {
            return false;
        }
        const std::size_t newline = rest_.find('\n');
        if (newline == std::string_view::npos) {
            line = rest_;  // the last line keeps a lone '\r': only "\r\n" ends a line
            rest_ = {};
        } else {
            line = rest_.substr(0, newline);
            rest_.remove_prefix(newline + 1);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
        }
        line = line.substr(0, line.find('\0'));
        return true;
    }

private:
    std::string_view rest_;
};

// The lines of an open file, read a chunk at a time: a file of any size takes the memory of one
// chunk and one line. A line longer than kMaxLineBytes keeps only its first kMaxLineBytes: real
// lines are short (Wine wraps hex data), and no value the lookup wants comes near that.
class FileLines final : public LineSource {
public:
    static constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

    explicit FileLines(ReadableFile& file) : file_(file), chunk_(kChunkBytes) { file_.Seek(0); }

    bool Next(std::string_view& line) override {
        line_.clear();
        bool any = false;
        bool ended = false;
        while (!ended) {
            if (position_ == length_) {
                length_ = atEnd_ ? 0 : file_.Read(chunk_);
                position_ = 0;
                if (length_ == 0) {
                    atEnd_ = true;
                    break;
                }
            }
            any = true;
            const char* start = chunk_.data() + position_;
            const auto* newline =
                static_cast<const char*>(std::memchr(start, '\n', length_ - position_));
            const std::size_t count = newline != nullptr ? static_cast<std::size_t>(newline - start)
                                                         : length_ - position_;
            line_.append(start, std::min(count, kMaxLineBytes - line_.size()));
            position_ += count;
            if (newline != nullptr) {
                ++position_;
                ended = true;
            }
        }
        if (!any) {
            return false;
        }
        line = line_;
        if (ended && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = line.substr(0, line.find('\0'));
        return true;
    }

private:
    static constexpr std::size_t kChunkBytes = std::size_t{64} << 10;

    ReadableFile& file_;
    std::vector<char> chunk_;
    std::size_t position_ = 0;
    std::size_t length_ = 0;
    bool atEnd_ = false;
    std::string line_;
};

// ---------------------------------------------------------------------------------------------
// UTF-8

// Reads one raw character as Wine does: the bytes of an invalid UTF-8 sequence are dropped (a
// byte that cuts a sequence short still starts the next character), and an encoded surrogate
// passes through as a lone code unit.
void ReadRawChar(std::string_view& in, std::u16string& units) {
    const Utf8Char c = NextUtf8Char(in, 0, EncodedSurrogates::kAllowed);
    in.remove_prefix(c.length);
    if (c.valid) {
        AppendUtf16(c.code, units);
    }
}

// ---------------------------------------------------------------------------------------------
// Escaped strings

std::optional<char16_t> ControlForLetter(char letter) {
    switch (letter) {
        case 'a':
            return u'\a';
        case 'b':
            return u'\b';
        case 'e':
            return char16_t{0x1B};
        case 'f':
            return u'\f';
        case 'n':
            return u'\n';
        case 'r':
            return u'\r';
        case 't':
            return u'\t';
        case 'v':
            return u'\v';
        default:
            return std::nullopt;
    }
}

// Reads up to maxDigits digits of the given class and base as one code unit.
char16_t ReadDigits(std::string_view& in, bool (*isDigit)(char), unsigned base,
                    std::size_t maxDigits) {
    unsigned value = 0;
    for (std::size_t count = 0; count < maxDigits && !in.empty() && isDigit(in.front()); ++count) {
        value = value * base + DigitValue(in.front());
        in.remove_prefix(1);
    }
    return static_cast<char16_t>(value);
}

// Reads the escape after a backslash; false (and nothing read) for a character that stands for
// itself, such as '\\' or '"'.
bool ReadEscape(std::string_view& in, std::u16string& units) {
    const char first = in.front();
    if (const std::optional<char16_t> control = ControlForLetter(first)) {
        units.push_back(*control);
        in.remove_prefix(1);
        return true;
    }
    if (first == 'x') {
        in.remove_prefix(1);
        const bool hasDigits = !in.empty() && IsHexDigit(in.front());
        units.push_back(hasDigits ? ReadDigits(in, IsHexDigit, 16, 4) : u'x');
        return true;
    }
    if (IsOctalDigit(first)) {
        units.push_back(ReadDigits(in, IsOctalDigit, 8, 3));
        return true;
    }
    return false;
}

// Reads an escaped string up to endChar and past it. nullopt when endChar never comes.
std::optional<std::u16string> ReadEscapedString(std::string_view& in, char endChar) {
    std::u16string units;
    while (!in.empty() && in.front() != endChar) {
        if (in.front() == '\\') {
            in.remove_prefix(1);
            if (in.empty()) {
                return std::nullopt;
            }
            if (ReadEscape(in, units)) {
                continue;
            }
        }
        ReadRawChar(in, units);
    }
    if (in.empty()) {
        return std::nullopt;
    }
    in.remove_prefix(1);
    return units;
}

// UTF-8 for string data, cut at its first NUL. A surrogate without its partner stays as its own
// three bytes, as the Windows registry gives it, so that a path holding one can be refused
// rather than taken for one with U+FFFD, which is another name.
std::string TextOfUnits(std::u16string_view units) {
    return Utf16ToUtf8(units.substr(0, units.find(u'\0')), LoneSurrogates::kKept);
}

// ---------------------------------------------------------------------------------------------
// Numbers

// Reads a number as strtoul(text, &end, 16) does with a 64-bit unsigned long: leading spaces,
// a sign and "0x" are allowed, and a number too large gives the largest value. Without digits
// nothing is read and the result is 0.
std::uint64_t ReadHexNumber(std::string_view& in) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    std::string_view text = SkipSpaces(in);
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    if (text.size() > 2 && text[0] == '0' && AsciiLower(text[1]) == 'x' && IsHexDigit(text[2])) {
        text.remove_prefix(2);
    }
    if (text.empty() || !IsHexDigit(text.front())) {
        return 0;
    }
    std::uint64_t value = 0;
    bool overflow = false;
    while (!text.empty() && IsHexDigit(text.front())) {
        overflow = overflow || value > (kMax >> 4);
        value = (value << 4) | DigitValue(text.front());
        text.remove_prefix(1);
    }
    in = text;
    if (overflow) {
        return kMax;
    }
    return negative ? 0 - value : value;
}

// ---------------------------------------------------------------------------------------------
// Key paths

using KeyPath = std::vector<std::string>;  // components, ASCII letters folded to lower case

KeyPath FoldedComponents(std::string_view path) {
    KeyPath components;
    std::string component;
    for (const char c : path) {
        if (c != '\\') {
            component.push_back(AsciiLower(c));
        } else if (!component.empty()) {
            components.push_back(std::move(component));
            component.clear();
        }
    }
    if (!component.empty()) {
        components.push_back(std::move(component));
    }
    return components;
}

// The key a section line names, from the text after its '['. nullopt for a section Wine
// rejects. Repeated or trailing backslashes separate nothing, as in Wine.
std::optional<KeyPath> ReadSectionKey(std::string_view afterBracket) {
    const std::optional<std::u16string> name = ReadEscapedString(afterBracket, ']');
    if (!name) {
        return std::nullopt;
    }
    if (name->empty() || name->front() == u'\0') {
        return KeyPath{};  // the key the file itself stands for
    }
    if (name->front() == u'\\') {
        return std::nullopt;
    }
    return FoldedComponents(Utf16ToUtf8(*name, LoneSurrogates::kReplaced));
}

// ---------------------------------------------------------------------------------------------
// Values

struct RawValue {
    std::uint32_t type = kRegNone;
    std::string bytes;
};

// Reads the value name and the '=' after it; nullopt for a malformed name. True for the
// default value, which is "@" or the empty name.
std::optional<bool> ReadValueName(std::string_view& line) {
    bool isDefault = true;
    const bool quoted = line.front() == '"';
    line.remove_prefix(1);
    if (quoted) {
        const std::optional<std::u16string> name = ReadEscapedString(line, '"');
        if (!name) {
            return std::nullopt;
        }
        isDefault = name->empty();
    }
    line = SkipSpaces(line);
    if (line.empty() || line.front() != '=') {
        return std::nullopt;
    }
    line = SkipSpaces(line.substr(1));
    return isDefault;
}

// Reads hex bytes separated by commas or spaces; false for a number above 0xff. Bytes past
// kMaxValueBytes are read but not kept: the value is then cut, and none the lookup wants.
bool ReadHexList(std::string_view& data, std::string& bytes, bool& cut) {
    while (!data.empty() && IsHexDigit(data.front())) {
        const std::uint64_t value = ReadHexNumber(data);
        if (value > 0xFF) {
            return false;
        }
        if (bytes.size() < kMaxValueBytes) {
            bytes.push_back(static_cast<char>(value));
        } else {
            cut = true;
        }
        data = SkipSpaces(data);
        if (!data.empty() && data.front() == ',') {
            data.remove_prefix(1);
        }
        data = SkipSpaces(data);
    }
    return true;
}

// Hex data goes on over the next line after a backslash; that line is taken as data whatever it
// holds.
std::optional<std::string> ReadHexData(std::string_view data, LineSource& lines, bool& cut) {
    std::string bytes;
    for (;;) {
        if (!ReadHexList(data, bytes, cut)) {
            return std::nullopt;
        }
        data = SkipSpaces(data);
        if (data.empty()) {
            return bytes;
        }
        if (data.front() != '\\' || !lines.Next(data)) {
            return std::nullopt;
        }
        data = SkipSpaces(data);
    }
}

enum class DataForm { kString, kHex, kDword };

struct DataTag {
    std::string_view text;
    std::uint32_t type;
    DataForm form;
};

constexpr std::array kDataTags = {
    DataTag{"\"", kRegSz, DataForm::kString},
    DataTag{"str:\"", kRegSz, DataForm::kString},
    DataTag{"str(2):\"", kRegExpandSz, DataForm::kString},
    DataTag{"str(7):\"", kRegMultiSz, DataForm::kString},
    DataTag{"hex:", kRegBinary, DataForm::kHex},
    DataTag{"dword:", kRegDword, DataForm::kDword},
};

std::optional<std::string> ReadDataOfForm(DataForm form, std::string_view data, LineSource& lines,
                                          bool& cut) {
    switch (form) {
        case DataForm::kString: {
            const std::optional<std::u16string> units = ReadEscapedString(data, '"');
            if (!units) {
                return std::nullopt;
            }
            return BytesOfUtf16(*units, ByteOrder::kLittleEndian);
        }
        case DataForm::kHex:
            return ReadHexData(data, lines, cut);
        case DataForm::kDword:
            // Wine takes whatever strtoul makes of the text, garbage included.
            return BytesOfNumber(static_cast<std::uint32_t>(ReadHexNumber(data)));
    }
    return std::nullopt;
}

// The value of a type and its data, which was cut when it was longer than kMaxValueBytes: that
// one stands as REG_BINARY, since its text or number would be wrong.
RawValue ValueOf(std::uint32_t type, std::string bytes, bool cut) {
    return RawValue{cut ? kRegBinary : type, std::move(bytes)};
}

// Reads the data after "name=", with any continuation lines. nullopt for data Wine rejects.
std::optional<RawValue> ReadData(std::string_view data, LineSource& lines) {
    bool cut = false;
    for (const DataTag& tag : kDataTags) {
        if (data.starts_with(tag.text)) {
            std::optional<std::string> bytes =
                ReadDataOfForm(tag.form, data.substr(tag.text.size()), lines, cut);
            if (!bytes) {
                return std::nullopt;
            }
            return ValueOf(tag.type, std::move(*bytes), cut);
        }
    }
    constexpr std::string_view kTypedHex = "hex(";
    if (!data.starts_with(kTypedHex)) {
        return std::nullopt;
    }
    data.remove_prefix(kTypedHex.size());
    const auto type = static_cast<std::uint32_t>(ReadHexNumber(data));
    if (!data.starts_with("):")) {
        return std::nullopt;
    }
    std::optional<std::string> bytes = ReadHexData(data.substr(2), lines, cut);
    if (!bytes) {
        return std::nullopt;
    }
    return ValueOf(type, std::move(*bytes), cut);
}

struct ValueLine {
    bool isDefault = false;
    RawValue value;
};

// Reads a value line. nullopt when the name is malformed: Wine then leaves the key alone. With
// a good name but bad data, Wine keeps the value with no data and type REG_NONE.
std::optional<ValueLine> ReadValueLine(std::string_view line, LineSource& lines) {
    const std::optional<bool> isDefault = ReadValueName(line);
    if (!isDefault) {
        return std::nullopt;
    }
    std::optional<RawValue> value = ReadData(line, lines);
    return ValueLine{*isDefault, value ? std::move(*value) : RawValue{}};
}

Lookup LookupOf(const RawValue& value) {
    switch (value.type) {
        case kRegSz:
            return {LookupStatus::kFound, ValueType::kString,
                    TextOfUnits(Utf16FromBytes(value.bytes, ByteOrder::kLittleEndian))};
        case kRegExpandSz:
            return {LookupStatus::kFound, ValueType::kExpandString,
                    TextOfUnits(Utf16FromBytes(value.bytes, ByteOrder::kLittleEndian))};
        case kRegDword:
            if (value.bytes.size() == 4) {
                return {LookupStatus::kFound, ValueType::kDword,
                        std::to_string(NumberFromBytes<std::uint32_t>(value.bytes))};
            }
            break;
        default:
            break;
    }
    return {LookupStatus::kFound, ValueType::kOther, {}};
}

// ---------------------------------------------------------------------------------------------
// The file

// Wine stops loading at an "#arch=" option it does not know that comes outside any key.
bool IsUnknownArch(std::string_view option) {
    constexpr std::string_view kArch = "#arch=";
    if (!option.starts_with(kArch)) {
        return false;
    }
    option.remove_prefix(kArch.size());
    return option != "win32" && option != "win64";
}

enum class Section { kNone, kOther, kWanted };  // kNone: before any key or after a bad one

Section SectionOf(std::string_view afterBracket, const KeyPath& wanted) {
    const std::optional<KeyPath> key = ReadSectionKey(afterBracket);
    if (!key) {
        return Section::kNone;
    }
    return *key == wanted ? Section::kWanted : Section::kOther;
}

Lookup FindDefaultValue(LineSource& lines, std::string_view keyPath) {
    std::string_view line;
    if (!lines.Next(line) || line != kHeaderLine) {
        return {LookupStatus::kBadHeader, ValueType::kOther, {}};
    }
    const KeyPath wanted = FoldedComponents(keyPath);
    Lookup result{LookupStatus::kNoKey, ValueType::kOther, {}};
    Section section = Section::kNone;
    while (lines.Next(line)) {
        line = SkipSpaces(line);
        if (line.empty()) {
            continue;
        }
        switch (line.front()) {
            case '[':
                section = SectionOf(line.substr(1), wanted);
                if (section == Section::kWanted && result.status == LookupStatus::kNoKey) {
                    result.status = LookupStatus::kNoValue;
                }
                break;
            case '@':
            case '"':
                if (section != Section::kNone) {
                    const std::optional<ValueLine> value = ReadValueLine(line, lines);
                    if (value && value->isDefault && section == Section::kWanted) {
                        result = LookupOf(value->value);
                    }
                }
                break;
            case '#':
                if (section == Section::kNone && IsUnknownArch(line)) {
                    return result;
                }
                break;
            default:
                break;  // ';' comments, and lines Wine does not recognise
        }
    }
    return result;
}

}  // namespace

Lookup FindDefaultValue(std::string_view fileText, std::string_view keyPath) {
    TextLines lines(fileText);
    return FindDefaultValue(lines, keyPath);
}

Lookup FindDefaultValue(ReadableFile& file, std::string_view keyPath) {
    FileLines lines(file);
    return FindDefaultValue(lines, keyPath);
}

}  // namespace huevane::userreg
