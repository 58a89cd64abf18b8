#pragma once

// Small PE images built in memory, with a version resource, for tests that need an executable
// with a known file version (or a damaged one) without shipping any binary.
#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/pe_version.h"

namespace huevane::test {

enum class PeFormat { kPe32, kPe32Plus };

// Damage done to an otherwise valid image; every one makes the version unreadable.
enum class PeDefect {
    kNone,
    kNoDosSignature,                    // "MZ" changed
    kNewHeaderOffsetPastEnd,            // e_lfanew points past the end of the file
    kNoPeSignature,                     // "PE\0\0" changed
    kUnknownOptionalHeaderMagic,        // neither PE32 nor PE32+
    kNoResourceDirectory,               // resource data directory empty, no .rsrc section
    kNoVersionResource,                 // resources, but none of type RT_VERSION
    kResourceDirectoryOutsideSections,  // resource RVA that no section maps
    kVersionDataPastSection,            // version data entry's size runs past its section
    kWrongFixedInfoSignature,           // VS_FIXEDFILEINFO without 0xFEEF04BD
    kTruncated,                         // file ends inside VS_FIXEDFILEINFO
};

struct PeOptions {
    pe::FileVersion version;
    PeFormat format = PeFormat::kPe32;
    // A named resource type and an RT_ICON ahead of RT_VERSION, as real executables have.
    bool withOtherResources = false;
    PeDefect defect = PeDefect::kNone;
};

// File offsets of the parts of a built image, for tests that damage one field themselves.
struct PeLayout {
    std::size_t peSignature = 0;
    std::size_t optionalHeader = 0;
    std::size_t resourceDataDirectory = 0;  // its RVA, then its size
    std::size_t sectionTable = 0;
    std::size_t resourceSectionHeader = 0;
    std::size_t resourceRoot = 0;      // the root resource directory
    std::size_t versionTypeEntry = 0;  // the root's RT_VERSION entry
    std::size_t versionNameEntry = 0;  // the first entry of RT_VERSION's directory
    std::size_t versionLanguageEntry = 0;
    std::size_t versionDataEntry = 0;  // IMAGE_RESOURCE_DATA_ENTRY: RVA, size, code page
    std::size_t versionInfo = 0;       // VS_VERSIONINFO
    std::size_t fixedFileInfo = 0;     // VS_FIXEDFILEINFO
    std::size_t versionInfoEnd = 0;    // one past the version resource's last byte
    std::uint32_t resourceSectionRva = 0;
};

struct PeImage {
    std::string bytes;
    PeLayout layout;
};

// A minimal but loadable 32-bit (or 64-bit) executable image whose version resource holds
// options.version, damaged as options.defect says.
PeImage BuildPe(const PeOptions& options);

// A valid 32-bit executable image with the given file version.
std::string BuildPeWithVersion(pe::FileVersion version);

// A 32-bit executable image with the given file version and damage.
std::string BuildPeWithDefect(pe::FileVersion version, PeDefect defect);

// Little-endian stores into an image; the bytes must already exist.
void PutU16(std::string& image, std::size_t offset, std::uint16_t value);
void PutU32(std::string& image, std::size_t offset, std::uint32_t value);

}  // namespace huevane::test
