#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/file_system.h"

namespace huevane::userreg {

// What a lookup of a key's default value in a Wine registry file found.
enum class LookupStatus {
    kFound,
    kBadHeader,  // not a Wine registry file: no "WINE REGISTRY Version 2" header line
    kNoKey,      // the key has no section in the file
    kNoValue,    // the key exists but has no default value
};

enum class ValueType { kString, kExpandString, kDword, kOther };

struct Lookup {
    LookupStatus status = LookupStatus::kNoKey;
    ValueType type = ValueType::kOther;
    // For kString and kExpandString: the text up to its first NUL, in UTF-8, where a surrogate
    // without a partner keeps its own three bytes (WTF-8, as a Windows name may hold one). For
    // kDword: the number in decimal. Empty otherwise.
    std::string text;
    friend bool operator==(const Lookup&, const Lookup&) = default;
};

// Finds the default value ("@=" or "\"\"=") of keyPath (single backslashes, e.g.
// "Software\\Vendor\\App", matched without regard to ASCII letter case) in the text of a Wine
// registry file such as user.reg. Never throws on malformed input; reads the file as wineserver
// loads it, so the answer is what a program under Wine sees:
// - a line Wine cannot read is skipped, but a default value whose name reads and whose data does
//   not is kept by Wine as REG_NONE without data: kFound with kOther;
// - raw bytes that are not UTF-8 are dropped;
// - "dword:" takes what strtoul(text, 16) makes of the rest of the line, garbage giving 0;
// - REG_DWORD data other than 4 bytes long (from "hex(4):") is kOther.
// Data of a value past 1 MiB is not kept: such a value is found as kOther.
Lookup FindDefaultValue(std::string_view fileText, std::string_view keyPath);

// The same for an open file, read as a stream: it takes a few MiB of memory whatever the file's
// size, with lines longer than 1 MiB cut to their first MiB. Throws what file's Read throws.
Lookup FindDefaultValue(ReadableFile& file, std::string_view keyPath);

}  // namespace huevane::userreg
