#include "tests/pe_builder.h"

#include <stdexcept>
#include <string_view>
#include <vector>

namespace huevane::test {
namespace {

// Headers: a bare DOS header (no stub) followed at once by the NT headers.
constexpr std::size_t kNewHeaderOffsetField = 0x3C;
constexpr std::size_t kNtHeaders = 0x40;
constexpr std::size_t kCoffHeader = kNtHeaders + 4;
constexpr std::size_t kOptionalHeader = kCoffHeader + 20;
constexpr std::size_t kPe32OptionalHeaderSize = 224;
constexpr std::size_t kPe32PlusOptionalHeaderSize = 240;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::uint32_t kDataDirectoryCount = 16;
constexpr std::size_t kDataDirectorySize = 8;
constexpr std::size_t kResourceDirectoryIndex = 2;

constexpr std::uint32_t kFileAlignment = 0x200;
constexpr std::uint32_t kSectionAlignment = 0x1000;
constexpr std::uint32_t kSizeOfHeaders = 0x200;
constexpr std::uint32_t kTextRva = 0x1000;
constexpr std::uint32_t kTextFileOffset = 0x200;
constexpr std::uint32_t kResourceRva = 0x2000;
constexpr std::uint32_t kResourceFileOffset = 0x400;

constexpr std::uint16_t kVersionType = 16;  // RT_VERSION
constexpr std::uint16_t kIconType = 3;      // RT_ICON
constexpr std::uint16_t kFirstResourceId = 1;
constexpr std::uint16_t kUsEnglish = 0x0409;

constexpr std::size_t kResourceDirectorySize = 16;
constexpr std::size_t kResourceEntrySize = 8;
constexpr std::size_t kResourceDataEntrySize = 16;
constexpr std::uint32_t kSubdirectoryFlag = 0x80000000;
constexpr std::uint32_t kNameIsStringFlag = 0x80000000;

constexpr std::size_t kVersionInfoHeaderSize = 40;  // lengths, type, key, padding
constexpr std::size_t kFixedFileInfoSize = 52;

std::uint32_t AlignUp(std::size_t value, std::uint32_t alignment) {
    return static_cast<std::uint32_t>((value + alignment - 1) / alignment * alignment);
}

void PutU64(std::string& image, std::size_t offset, std::uint64_t value) {
    PutU32(image, offset, static_cast<std::uint32_t>(value));
    PutU32(image, offset + 4, static_cast<std::uint32_t>(value >> 32U));
}

void PutText(std::string& image, std::size_t offset, std::string_view text) {
    image.replace(offset, text.size(), text);
}

std::uint32_t HighLow(std::uint16_t high, std::uint16_t low) {
    return (std::uint32_t{high} << 16U) | low;
}

// VS_VERSIONINFO with VS_FIXEDFILEINFO and no children. The product version is the file
// version's halves swapped, so a reader that takes one for the other shows.
std::string VersionInfo(pe::FileVersion v) {
    constexpr std::u16string_view kKey = u"VS_VERSION_INFO";
    std::string block(kVersionInfoHeaderSize + kFixedFileInfoSize, '\0');
    PutU16(block, 0, static_cast<std::uint16_t>(block.size()));
    PutU16(block, 2, kFixedFileInfoSize);
    PutU16(block, 4, 0);  // binary value
    for (std::size_t i = 0; i < kKey.size(); ++i) {
        PutU16(block, 6 + 2 * i, kKey[i]);
    }
    const std::size_t fixed = kVersionInfoHeaderSize;
    PutU32(block, fixed + 0, 0xFEEF04BD);                 // dwSignature
    PutU32(block, fixed + 4, 0x00010000);                 // dwStrucVersion
    PutU32(block, fixed + 8, HighLow(v.major, v.minor));  // dwFileVersionMS
    PutU32(block, fixed + 12, HighLow(v.build, v.revision));
    PutU32(block, fixed + 16, HighLow(v.build, v.revision));  // dwProductVersionMS
    PutU32(block, fixed + 20, HighLow(v.major, v.minor));
    PutU32(block, fixed + 24, 0x3F);     // dwFileFlagsMask
    PutU32(block, fixed + 32, 0x40004);  // dwFileOS: VOS_NT_WINDOWS32
    PutU32(block, fixed + 36, 1);        // dwFileType: VFT_APP
    return block;
}

struct ResourceType {
    std::u16string name;  // empty: identified by id
    std::uint16_t id = 0;
    std::string data;
};

// Where the pieces of the RT_VERSION resource went, relative to the section's start.
struct ResourceSection {
    std::string bytes;
    std::size_t versionTypeEntry = 0;
    std::size_t versionNameEntry = 0;
    std::size_t versionLanguageEntry = 0;
    std::size_t versionDataEntry = 0;
    std::size_t versionData = 0;
};

void PutDirectory(std::string& bytes, std::size_t offset, std::uint16_t named, std::uint16_t ids) {
    PutU16(bytes, offset + 12, named);
    PutU16(bytes, offset + 14, ids);
}

void PutEntry(std::string& bytes, std::size_t offset, std::uint32_t name, std::uint32_t target) {
    PutU32(bytes, offset, name);
    PutU32(bytes, offset + 4, target);
}

std::uint32_t Offset32(std::size_t offset) {
    return static_cast<std::uint32_t>(offset);
}

// The root directory, then for each type its name and language directories (one entry each)
// and data entry, then the type names, then the data. Types must come named first, then by id.
ResourceSection BuildResourceSection(const std::vector<ResourceType>& types) {
    constexpr std::size_t kLevelSize = kResourceDirectorySize + kResourceEntrySize;
    constexpr std::size_t kPerType = 2 * kLevelSize + kResourceDataEntrySize;
    const std::size_t rootSize = kResourceDirectorySize + types.size() * kResourceEntrySize;
    std::size_t strings = rootSize + types.size() * kPerType;
    std::size_t data = strings;
    for (const ResourceType& type : types) {
        data += type.name.empty() ? 0 : 2 + 2 * type.name.size();
    }
    std::vector<std::size_t> dataOffsets;
    for (const ResourceType& type : types) {
        data = AlignUp(data, 8);
        dataOffsets.push_back(data);
        data += type.data.size();
    }

    ResourceSection section;
    section.bytes.assign(data, '\0');
    std::string& bytes = section.bytes;
    std::uint16_t namedCount = 0;
    for (const ResourceType& type : types) {
        namedCount = static_cast<std::uint16_t>(namedCount + (type.name.empty() ? 0 : 1));
    }
    PutDirectory(bytes, 0, namedCount, static_cast<std::uint16_t>(types.size() - namedCount));
    for (std::size_t i = 0; i < types.size(); ++i) {
        const ResourceType& type = types[i];
        const std::size_t nameDirectory = rootSize + i * kPerType;
        const std::size_t languageDirectory = nameDirectory + kLevelSize;
        const std::size_t dataEntry = languageDirectory + kLevelSize;
        std::uint32_t typeName = type.id;
        if (!type.name.empty()) {
            typeName = kNameIsStringFlag | Offset32(strings);
            PutU16(bytes, strings, static_cast<std::uint16_t>(type.name.size()));
            for (const char16_t c : type.name) {
                strings += 2;
                PutU16(bytes, strings, c);
            }
            strings += 2;
        }
        const std::size_t typeEntry = kResourceDirectorySize + i * kResourceEntrySize;
        PutEntry(bytes, typeEntry, typeName, kSubdirectoryFlag | Offset32(nameDirectory));
        PutDirectory(bytes, nameDirectory, 0, 1);
        PutEntry(bytes, nameDirectory + kResourceDirectorySize, kFirstResourceId,
                 kSubdirectoryFlag | Offset32(languageDirectory));
        PutDirectory(bytes, languageDirectory, 0, 1);
        PutEntry(bytes, languageDirectory + kResourceDirectorySize, kUsEnglish,
                 Offset32(dataEntry));
        PutU32(bytes, dataEntry, kResourceRva + Offset32(dataOffsets[i]));
        PutU32(bytes, dataEntry + 4, Offset32(type.data.size()));
        PutText(bytes, dataOffsets[i], type.data);
        if (type.name.empty() && type.id == kVersionType) {
            section.versionTypeEntry = typeEntry;
            section.versionNameEntry = nameDirectory + kResourceDirectorySize;
            section.versionLanguageEntry = languageDirectory + kResourceDirectorySize;
            section.versionDataEntry = dataEntry;
            section.versionData = dataOffsets[i];
        }
    }
    return section;
}

// RT_VERSION goes last, so its data ends the section.
std::vector<ResourceType> ResourceTypes(const PeOptions& options) {
    std::vector<ResourceType> types;
    if (options.withOtherResources || options.defect == PeDefect::kNoVersionResource) {
        types.push_back({u"SKIN", 0, std::string(24, '\x5A')});
        types.push_back({u"", kIconType, std::string(40, '\x11')});
    }
    if (options.defect != PeDefect::kNoVersionResource) {
        types.push_back({u"", kVersionType, VersionInfo(options.version)});
    }
    return types;
}

void PutSectionHeader(std::string& image, std::size_t offset, std::string_view name,
                      std::uint32_t virtualSize, std::uint32_t rva, std::uint32_t fileOffset,
                      std::uint32_t characteristics) {
    PutText(image, offset, name);
    PutU32(image, offset + 8, virtualSize);
    PutU32(image, offset + 12, rva);
    PutU32(image, offset + 16, AlignUp(virtualSize, kFileAlignment));
    PutU32(image, offset + 20, fileOffset);
    PutU32(image, offset + 36, characteristics);
}

// The fields that differ between PE32 and PE32+.
void PutFormatFields(std::string& image, PeFormat format) {
    constexpr std::size_t o = kOptionalHeader;
    if (format == PeFormat::kPe32) {
        PutU16(image, kCoffHeader, 0x14C);       // Machine: i386
        PutU16(image, kCoffHeader + 18, 0x102);  // executable, 32-bit machine
        PutU16(image, o, 0x10B);
        PutU32(image, o + 24, kResourceRva);  // BaseOfData
        PutU32(image, o + 28, 0x400000);      // ImageBase
        PutU16(image, o + 48, 4);             // subsystem version 4.0
        PutU32(image, o + 72, 0x100000);      // stack reserve, commit, heap reserve, commit
        PutU32(image, o + 76, 0x1000);
        PutU32(image, o + 80, 0x100000);
        PutU32(image, o + 84, 0x1000);
        PutU32(image, o + 92, kDataDirectoryCount);
    } else {
        PutU16(image, kCoffHeader, 0x8664);     // Machine: x64
        PutU16(image, kCoffHeader + 18, 0x22);  // executable, large address aware
        PutU16(image, o, 0x20B);
        PutU64(image, o + 24, 0x140000000);  // ImageBase
        PutU16(image, o + 48, 5);            // subsystem version 5.2
        PutU16(image, o + 50, 2);
        PutU64(image, o + 72, 0x100000);
        PutU64(image, o + 80, 0x1000);
        PutU64(image, o + 88, 0x100000);
        PutU64(image, o + 96, 0x1000);
        PutU32(image, o + 108, kDataDirectoryCount);
    }
}

PeImage BuildValidPe(const PeOptions& options) {
    const bool withResources = options.defect != PeDefect::kNoResourceDirectory;
    const ResourceSection resources =
        withResources ? BuildResourceSection(ResourceTypes(options)) : ResourceSection{};
    const std::uint32_t resourceRawSize = AlignUp(resources.bytes.size(), kFileAlignment);
    const std::size_t optionalHeaderSize =
        options.format == PeFormat::kPe32 ? kPe32OptionalHeaderSize : kPe32PlusOptionalHeaderSize;
    const std::size_t sectionTable = kOptionalHeader + optionalHeaderSize;
    const std::size_t dataDirectories =
        sectionTable - std::size_t{kDataDirectoryCount} * kDataDirectorySize;

    PeImage pe;
    std::string& image = pe.bytes;
    image.assign(kResourceFileOffset + resourceRawSize, '\0');
    PutText(image, 0, "MZ");
    PutU32(image, kNewHeaderOffsetField, kNtHeaders);
    PutText(image, kNtHeaders, std::string_view("PE\0\0", 4));
    PutU16(image, kCoffHeader + 2, withResources ? 2 : 1);  // NumberOfSections
    PutU16(image, kCoffHeader + 16, static_cast<std::uint16_t>(optionalHeaderSize));
    PutFormatFields(image, options.format);
    constexpr std::size_t o = kOptionalHeader;
    image[o + 2] = 2;                       // linker version
    PutU32(image, o + 4, kFileAlignment);   // SizeOfCode
    PutU32(image, o + 8, resourceRawSize);  // SizeOfInitializedData
    PutU32(image, o + 16, kTextRva);        // AddressOfEntryPoint
    PutU32(image, o + 20, kTextRva);        // BaseOfCode
    PutU32(image, o + 32, kSectionAlignment);
    PutU32(image, o + 36, kFileAlignment);
    PutU16(image, o + 40, 4);  // operating system version 4.0
    PutU32(image, o + 56, kResourceRva + AlignUp(resources.bytes.size(), kSectionAlignment));
    PutU32(image, o + 60, kSizeOfHeaders);
    PutU16(image, o + 68, 2);  // Subsystem: Windows GUI

    PutSectionHeader(image, sectionTable, ".text", 1, kTextRva, kTextFileOffset, 0x60000020);
    image[kTextFileOffset] = '\xC3';  // ret
    if (withResources) {
        const std::size_t resourceEntry =
            dataDirectories + kResourceDirectoryIndex * kDataDirectorySize;
        PutU32(image, resourceEntry, kResourceRva);
        PutU32(image, resourceEntry + 4, Offset32(resources.bytes.size()));
        PutSectionHeader(image, sectionTable + kSectionHeaderSize, ".rsrc",
                         Offset32(resources.bytes.size()), kResourceRva, kResourceFileOffset,
                         0x40000040);
        PutText(image, kResourceFileOffset, resources.bytes);
    }

    PeLayout& layout = pe.layout;
    layout.peSignature = kNtHeaders;
    layout.optionalHeader = kOptionalHeader;
    layout.resourceDataDirectory = dataDirectories + kResourceDirectoryIndex * kDataDirectorySize;
    layout.sectionTable = sectionTable;
    layout.resourceSectionHeader = sectionTable + kSectionHeaderSize;
    layout.resourceSectionRva = kResourceRva;
    layout.resourceRoot = kResourceFileOffset;
    if (resources.versionDataEntry != 0) {
        layout.versionTypeEntry = kResourceFileOffset + resources.versionTypeEntry;
        layout.versionNameEntry = kResourceFileOffset + resources.versionNameEntry;
        layout.versionLanguageEntry = kResourceFileOffset + resources.versionLanguageEntry;
        layout.versionDataEntry = kResourceFileOffset + resources.versionDataEntry;
        layout.versionInfo = kResourceFileOffset + resources.versionData;
        layout.fixedFileInfo = layout.versionInfo + kVersionInfoHeaderSize;
        layout.versionInfoEnd = layout.fixedFileInfo + kFixedFileInfoSize;
    }
    return pe;
}

void Damage(PeImage& pe, PeDefect defect) {
    std::string& image = pe.bytes;
    const PeLayout& layout = pe.layout;
    switch (defect) {
        case PeDefect::kNone:
        case PeDefect::kNoResourceDirectory:
        case PeDefect::kNoVersionResource:
            break;  // built that way
        case PeDefect::kNoDosSignature:
            PutText(image, 0, "MM");
            break;
        case PeDefect::kNewHeaderOffsetPastEnd:
            PutU32(image, kNewHeaderOffsetField, Offset32(image.size()));
            break;
        case PeDefect::kNoPeSignature:
            PutText(image, layout.peSignature, std::string_view("PE\0\1", 4));
            break;
        case PeDefect::kUnknownOptionalHeaderMagic:
            PutU16(image, layout.optionalHeader, 0x107);  // ROM image
            break;
        case PeDefect::kResourceDirectoryOutsideSections:
            PutU32(image, layout.resourceDataDirectory, 0x8000);
            break;
        case PeDefect::kVersionDataPastSection:
            // The version data ends the section: one byte more runs past its VirtualSize.
            PutU32(image, layout.versionDataEntry + 4,
                   Offset32(layout.versionInfoEnd - layout.versionInfo + 1));
            break;
        case PeDefect::kWrongFixedInfoSignature:
            PutU32(image, layout.fixedFileInfo, 0xFEEF04BC);
            break;
        case PeDefect::kTruncated:
            image.resize(layout.fixedFileInfo + 10);
            break;
    }
}

}  // namespace

void PutU16(std::string& image, std::size_t offset, std::uint16_t value) {
    if (offset > image.size() || image.size() - offset < 2) {
        throw std::out_of_range("PutU16 past the end of the image");
    }
    image[offset] = static_cast<char>(value & 0xFFU);
    image[offset + 1] = static_cast<char>(value >> 8U);
}

void PutU32(std::string& image, std::size_t offset, std::uint32_t value) {
    PutU16(image, offset, static_cast<std::uint16_t>(value & 0xFFFFU));
    PutU16(image, offset + 2, static_cast<std::uint16_t>(value >> 16U));
}

PeImage BuildPe(const PeOptions& options) {
    PeImage pe = BuildValidPe(options);
    Damage(pe, options.defect);
    return pe;
}

std::string BuildPeWithVersion(pe::FileVersion version) {
    PeOptions options;
    options.version = version;
    return BuildPe(options).bytes;
}

std::string BuildPeWithDefect(pe::FileVersion version, PeDefect defect) {
    PeOptions options;
    options.version = version;
    options.defect = defect;
    return BuildPe(options).bytes;
}

}  // namespace huevane::test
