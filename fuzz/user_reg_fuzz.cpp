// Feeds arbitrary bytes to the user.reg reader: the first line is the key path to look up and the
// rest the file; the whole input is also searched for the messenger's application path key.
// Besides what the sanitizers catch, every answer must keep the promises of formats/user_reg.h.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/utf8_text.h"
#include "formats/user_reg.h"
#include "fuzz/line_ends.h"

namespace {

using huevane::userreg::FindDefaultValue;
using huevane::userreg::Lookup;
using huevane::userreg::LookupStatus;
using huevane::userreg::ValueType;

constexpr std::string_view kClientKey =
    R"(Software\America Online\AOL Instant Messenger (TM)\CurrentVersion\AppPath)";

void Check(bool holds, const char* promise) {
    if (!holds) {
        std::fprintf(stderr, "broken promise: %s\n", promise);
        std::abort();
    }
}

bool IsDecimalDword(std::string_view text) {
    if (text.empty() || text.size() > 10 || (text.size() > 1 && text.front() == '0')) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return text.size() < 10 || text <= "4294967295";
}

// UTF-8 in which a surrogate may stand alone, as in a Windows name that holds one.
bool IsWtf8(std::string_view text) {
    return huevane::FirstNonUtf8(text, huevane::EncodedSurrogates::kAllowed) ==
           std::string_view::npos;
}

void CheckLookup(const Lookup& lookup) {
    if (lookup.status != LookupStatus::kFound) {
        Check(lookup.type == ValueType::kOther && lookup.text.empty(),
              "only a found value has a type and text");
        return;
    }
    switch (lookup.type) {
        case ValueType::kString:
        case ValueType::kExpandString:
            Check(lookup.text.find('\0') == std::string::npos, "text is cut at its first NUL");
            Check(IsWtf8(lookup.text), "text is UTF-8, lone surrogates aside");
            break;
        case ValueType::kDword:
            Check(IsDecimalDword(lookup.text), "a dword is its decimal number");
            break;
        case ValueType::kOther:
            Check(lookup.text.empty(), "other types have no text");
            break;
    }
}

// Whether the first line is exactly the header, as the reader sees lines.
bool StartsWithHeaderLine(std::string_view file) {
    constexpr std::string_view kHeader = "WINE REGISTRY Version 2";
    if (!file.starts_with(kHeader)) {
        return false;
    }
    const std::string_view after = file.substr(kHeader.size());
    return after.empty() || after.front() == '\n' || after.front() == '\0' ||
           after.starts_with("\r\n");
}

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

void CheckFile(std::string_view file, std::string_view key) {
    const Lookup lookup = FindDefaultValue(file, key);
    CheckLookup(lookup);
    Check((lookup.status == LookupStatus::kBadHeader) == !StartsWithHeaderLine(file),
          "the header line alone decides kBadHeader");
    Check(FindDefaultValue(file, UpperAscii(key)) == lookup, "keys match in any ASCII case");
    if (file.find('\r') == std::string_view::npos) {
        Check(FindDefaultValue(ToCrlf(file), key) == lookup, "CRLF reads as LF");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    if (newline != std::string_view::npos) {
        CheckFile(input.substr(newline + 1), input.substr(0, newline));
    }
    CheckFile(input, kClientKey);
    return 0;
}
