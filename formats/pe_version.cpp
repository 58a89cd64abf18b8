#include "formats/pe_version.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/byte_order.h"

namespace huevane::pe {
namespace {

// Offsets are kept in 64 bits: every field read from the image is at most 32 bits wide, so a sum
// of a few of them cannot wrap, and a 32-bit size_t never truncates one before it is checked.
using Offset = std::uint64_t;

// DOS header.
constexpr std::uint16_t kDosMagic = 0x5A4D;  // "MZ"
constexpr Offset kDosNewHeaderOffsetField = 0x3C;

// PE signature and COFF file header, which follows it.
constexpr std::uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr Offset kPeSignatureSize = 4;
constexpr Offset kCoffNumberOfSectionsField = 2;
constexpr Offset kCoffSizeOfOptionalHeaderField = 16;
constexpr Offset kCoffHeaderSize = 20;

// Optional header.
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr Offset kPe32NumberOfRvaAndSizesField = 92;
constexpr Offset kPe32PlusNumberOfRvaAndSizesField = 108;
constexpr Offset kNumberOfRvaAndSizesSize = 4;
constexpr Offset kDataDirectorySize = 8;
constexpr Offset kDataDirectorySizeField = 4;
constexpr std::uint32_t kResourceDirectoryIndex = 2;

// Section header.
constexpr Offset kSectionHeaderSize = 40;
constexpr Offset kSectionVirtualSizeField = 8;
constexpr Offset kSectionVirtualAddressField = 12;
constexpr Offset kSectionSizeOfRawDataField = 16;
constexpr Offset kSectionPointerToRawDataField = 20;

// Resource tree: a directory header, then its named entries, then its id entries.
constexpr Offset kResourceDirectoryHeaderSize = 16;
constexpr Offset kResourceNamedEntryCountField = 12;
constexpr Offset kResourceIdEntryCountField = 14;
constexpr Offset kResourceEntrySize = 8;
constexpr Offset kResourceEntryTargetField = 4;
constexpr std::uint32_t kResourceTargetIsDirectory = 0x80000000;
constexpr std::uint32_t kResourceTargetOffsetMask = 0x7FFFFFFF;
constexpr Offset kResourceDataEntrySize = 16;
constexpr Offset kResourceDataSizeField = 4;
constexpr std::uint32_t kVersionResourceType = 16;  // RT_VERSION
// Real directories hold at most a few hundred entries; more means the counts are garbage.
constexpr std::uint32_t kMaxResourceEntries = 4096;

// VS_VERSIONINFO: wLength, wValueLength, wType, the key, padding to 32 bits, VS_FIXEDFILEINFO.
constexpr Offset kVersionValueLengthField = 2;
constexpr Offset kVersionTypeField = 4;
constexpr Offset kVersionKeyField = 6;
constexpr std::array<char16_t, 16> kVersionKey = {u"VS_VERSION_INFO"};  // with its terminator
constexpr std::uint16_t kBinaryValue = 0;
constexpr Offset kFixedInfoSignatureField = 0;
constexpr Offset kFixedInfoFileVersionMsField = 8;
constexpr Offset kFixedInfoFileVersionLsField = 12;
constexpr Offset kFixedInfoSize = 52;
constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BD;

constexpr Offset AlignTo32Bits(Offset offset) {
    return (offset + 3) & ~Offset{3};
}

constexpr Offset kFixedInfoOffset =
    AlignTo32Bits(kVersionKeyField + kVersionKey.size() * sizeof(char16_t));

// Little-endian reads that fail, rather than overrun, outside the file. The file is read a block
// at a time, keeping only the last block: the walk reads a few hundred bytes of headers and
// resources, wherever they lie in a file of any size.
class ImageReader {
public:
    explicit ImageReader(ReadableFile& file) : file_(file), size_(file.Size()) {}

    bool Holds(Offset offset, Offset size) const noexcept {
        return offset <= size_ && size <= size_ - offset;
    }

    std::optional<std::uint16_t> U16(Offset offset) const {
        return ReadLittleEndian<std::uint16_t>(offset);
    }

    std::optional<std::uint32_t> U32(Offset offset) const {
        return ReadLittleEndian<std::uint32_t>(offset);
    }

private:
    static constexpr Offset kBlockSize = 4096;

    template <typename T>
    std::optional<T> ReadLittleEndian(Offset offset) const {
        if (!Holds(offset, sizeof(T))) {
            return std::nullopt;
        }
        std::array<char, sizeof(T)> bytes{};
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const std::optional<char> byte = Byte(offset + i);
            if (!byte) {
                return std::nullopt;  // the file is shorter than it said
            }
            bytes[i] = *byte;
        }
        return NumberFromBytes<T>(std::string_view(bytes.data(), bytes.size()));
    }

    std::optional<char> Byte(Offset offset) const {
        const Offset start = offset - offset % kBlockSize;
        if (!block_ || start != blockStart_) {
            block_.reset();
            std::array<char, kBlockSize> bytes{};
            file_.Seek(start);
            std::size_t got = 0;
            while (got < bytes.size()) {
                const std::size_t n = file_.Read(std::span(bytes).subspan(got));
                if (n == 0) {
                    break;
                }
                got += n;
            }
            blockStart_ = start;
            blockLength_ = got;
            block_ = bytes;
        }
        if (offset - start >= blockLength_) {
            return std::nullopt;
        }
        return (*block_)[static_cast<std::size_t>(offset - start)];
    }

    ReadableFile& file_;
    Offset size_;
    mutable std::optional<std::array<char, kBlockSize>> block_;
    mutable Offset blockStart_ = 0;
    mutable std::size_t blockLength_ = 0;
};

// A data directory, or the place of a resource's data.
struct RvaRange {
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
};

// Where the section table starts and how many headers it holds.
struct SectionTable {
    Offset offset = 0;
    std::uint16_t count = 0;
};

struct Headers {
    SectionTable sections;
    RvaRange resources;
};

std::optional<Offset> NtHeadersOffset(const ImageReader& image) {
    const auto magic = image.U16(0);
    const auto newHeader = image.U32(kDosNewHeaderOffsetField);
    if (!magic || *magic != kDosMagic || !newHeader) {
        return std::nullopt;
    }
    const auto signature = image.U32(*newHeader);
    if (!signature || *signature != kPeSignature) {
        return std::nullopt;
    }
    return *newHeader;
}

std::optional<Offset> NumberOfRvaAndSizesField(std::uint16_t magic) {
    switch (magic) {
        case kPe32Magic:
            return kPe32NumberOfRvaAndSizesField;
        case kPe32PlusMagic:
            return kPe32PlusNumberOfRvaAndSizesField;
        default:
            return std::nullopt;
    }
}

// The resource entry of the optional header's data directories; it must lie inside the optional
// header as the COFF header sizes it.
std::optional<RvaRange> ResourceDirectory(const ImageReader& image, Offset optionalHeader,
                                          std::uint16_t optionalHeaderSize) {
    const auto magic = image.U16(optionalHeader);
    if (!magic) {
        return std::nullopt;
    }
    const auto countField = NumberOfRvaAndSizesField(*magic);
    if (!countField) {
        return std::nullopt;
    }
    const auto count = image.U32(optionalHeader + *countField);
    const Offset entry =
        *countField + kNumberOfRvaAndSizesSize + kResourceDirectoryIndex * kDataDirectorySize;
    if (!count || *count <= kResourceDirectoryIndex ||
        entry + kDataDirectorySize > optionalHeaderSize) {
        return std::nullopt;
    }
    const auto rva = image.U32(optionalHeader + entry);
    const auto size = image.U32(optionalHeader + entry + kDataDirectorySizeField);
    if (!rva || !size) {
        return std::nullopt;
    }
    return RvaRange{*rva, *size};
}

std::optional<Headers> ReadHeaders(const ImageReader& image) {
    const auto ntHeaders = NtHeadersOffset(image);
    if (!ntHeaders) {
        return std::nullopt;
    }
    const Offset coffHeader = *ntHeaders + kPeSignatureSize;
    const auto sectionCount = image.U16(coffHeader + kCoffNumberOfSectionsField);
    const auto optionalHeaderSize = image.U16(coffHeader + kCoffSizeOfOptionalHeaderField);
    if (!sectionCount || !optionalHeaderSize) {
        return std::nullopt;
    }
    const Offset optionalHeader = coffHeader + kCoffHeaderSize;
    const auto resources = ResourceDirectory(image, optionalHeader, *optionalHeaderSize);
    if (!resources) {
        return std::nullopt;
    }
    const SectionTable sections{optionalHeader + *optionalHeaderSize, *sectionCount};
    if (!image.Holds(sections.offset, sections.count * kSectionHeaderSize)) {
        return std::nullopt;
    }
    return Headers{sections, *resources};
}

// Maps RVAs to file offsets through the section table. Only bytes the file itself holds count:
// the part of a section the loader fills with zeros (VirtualSize past SizeOfRawData) does not.
class AddressMap {
public:
    AddressMap(const ImageReader& image, SectionTable sections) noexcept
        : image_(image), sections_(sections) {}

    // The file offset of [rva, rva + size), which must lie in one section's file data.
    std::optional<Offset> FileOffset(Offset rva, Offset size) const {
        for (std::uint16_t i = 0; i < sections_.count; ++i) {
            const Offset header = sections_.offset + i * kSectionHeaderSize;
            const auto virtualSize = image_.U32(header + kSectionVirtualSizeField);
            const auto virtualAddress = image_.U32(header + kSectionVirtualAddressField);
            const auto rawSize = image_.U32(header + kSectionSizeOfRawDataField);
            const auto rawPointer = image_.U32(header + kSectionPointerToRawDataField);
            if (!virtualSize || !virtualAddress || !rawSize || !rawPointer) {
                return std::nullopt;
            }
            // A VirtualSize of zero means the section is exactly its raw data.
            const Offset mappedSize =
                *virtualSize == 0 ? *rawSize : std::min<Offset>(*virtualSize, *rawSize);
            if (rva >= *virtualAddress && rva - *virtualAddress < mappedSize) {
                const Offset within = rva - *virtualAddress;
                if (size > mappedSize - within || !image_.Holds(*rawPointer + within, size)) {
                    return std::nullopt;
                }
                return *rawPointer + within;
            }
        }
        return std::nullopt;
    }

private:
    const ImageReader& image_;
    SectionTable sections_;
};

struct ResourceEntry {
    std::uint32_t name = 0;
    std::uint32_t target = 0;
};

// The resource tree, which lies in the file as one block: the resource directory's RVA range,
// mapped once. Every node must lie inside it.
class ResourceTree {
public:
    ResourceTree(const ImageReader& image, Offset fileOffset, Offset size) noexcept
        : image_(image), fileOffset_(fileOffset), size_(size) {}

    // The file offset of a node of the given size at offset from the tree's root.
    std::optional<Offset> Node(Offset offset, Offset size) const noexcept {
        if (offset > size_ || size > size_ - offset) {
            return std::nullopt;
        }
        return fileOffset_ + offset;
    }

    // The directory's entries in file order: named ones first, then those with ids.
    std::optional<std::uint32_t> EntryCount(Offset directory) const {
        const auto header = Node(directory, kResourceDirectoryHeaderSize);
        if (!header) {
            return std::nullopt;
        }
        const auto named = image_.U16(*header + kResourceNamedEntryCountField);
        const auto ids = image_.U16(*header + kResourceIdEntryCountField);
        if (!named || !ids) {
            return std::nullopt;
        }
        const std::uint32_t count = std::uint32_t{*named} + *ids;
        if (count > kMaxResourceEntries) {
            return std::nullopt;
        }
        return count;
    }

    std::optional<ResourceEntry> Entry(Offset directory, std::uint32_t index) const {
        const Offset at = directory + kResourceDirectoryHeaderSize + index * kResourceEntrySize;
        const auto entry = Node(at, kResourceEntrySize);
        if (!entry) {
            return std::nullopt;
        }
        const auto name = image_.U32(*entry);
        const auto target = image_.U32(*entry + kResourceEntryTargetField);
        if (!name || !target) {
            return std::nullopt;
        }
        return ResourceEntry{*name, *target};
    }

private:
    const ImageReader& image_;
    Offset fileOffset_;
    Offset size_;
};

std::optional<Offset> Subdirectory(ResourceEntry entry) {
    if ((entry.target & kResourceTargetIsDirectory) == 0) {
        return std::nullopt;
    }
    return entry.target & kResourceTargetOffsetMask;
}

std::optional<Offset> DataEntry(ResourceEntry entry) {
    if ((entry.target & kResourceTargetIsDirectory) != 0) {
        return std::nullopt;
    }
    return entry.target;
}

// The subdirectory of the RT_VERSION entry of the root directory.
std::optional<Offset> VersionTypeDirectory(const ResourceTree& tree) {
    const auto count = tree.EntryCount(0);
    if (!count) {
        return std::nullopt;
    }
    for (std::uint32_t i = 0; i < *count; ++i) {
        const auto entry = tree.Entry(0, i);
        if (!entry) {
            return std::nullopt;
        }
        // A named type has its top bit set, so it never equals the id.
        if (entry->name == kVersionResourceType) {
            return Subdirectory(*entry);
        }
    }
    return std::nullopt;
}

std::optional<ResourceEntry> FirstEntry(const ResourceTree& tree, Offset directory) {
    const auto count = tree.EntryCount(directory);
    if (!count || *count == 0) {
        return std::nullopt;
    }
    return tree.Entry(directory, 0);
}

// The version resource's data as an RVA range: type, then its first name, then its first
// language. The walk has exactly these three levels, so a tree that points back into itself
// cannot make it loop.
std::optional<RvaRange> VersionResourceData(const ResourceTree& tree, const ImageReader& image) {
    const auto typeDirectory = VersionTypeDirectory(tree);
    if (!typeDirectory) {
        return std::nullopt;
    }
    const auto nameEntry = FirstEntry(tree, *typeDirectory);
    const auto nameDirectory = nameEntry ? Subdirectory(*nameEntry) : std::nullopt;
    if (!nameDirectory) {
        return std::nullopt;
    }
    const auto languageEntry = FirstEntry(tree, *nameDirectory);
    const auto dataEntryOffset = languageEntry ? DataEntry(*languageEntry) : std::nullopt;
    if (!dataEntryOffset) {
        return std::nullopt;
    }
    const auto dataEntry = tree.Node(*dataEntryOffset, kResourceDataEntrySize);
    if (!dataEntry) {
        return std::nullopt;
    }
    const auto rva = image.U32(*dataEntry);
    const auto size = image.U32(*dataEntry + kResourceDataSizeField);
    if (!rva || !size) {
        return std::nullopt;
    }
    return RvaRange{*rva, *size};
}

bool HasVersionKey(const ImageReader& image, Offset versionInfo) {
    for (std::size_t i = 0; i < kVersionKey.size(); ++i) {
        const auto unit = image.U16(versionInfo + kVersionKeyField + i * sizeof(char16_t));
        if (!unit || *unit != kVersionKey[i]) {
            return false;
        }
    }
    return true;
}

// The VS_VERSIONINFO block at versionInfo, of size bytes in the file.
std::optional<FileVersion> ParseVersionInfo(const ImageReader& image, Offset versionInfo,
                                            Offset size) {
    const auto length = image.U16(versionInfo);
    const auto valueLength = image.U16(versionInfo + kVersionValueLengthField);
    const auto type = image.U16(versionInfo + kVersionTypeField);
    if (!length || !valueLength || !type || *length > size || *type != kBinaryValue ||
        *valueLength < kFixedInfoSize || kFixedInfoOffset + *valueLength > *length ||
        !HasVersionKey(image, versionInfo)) {
        return std::nullopt;
    }
    const Offset fixedInfo = versionInfo + kFixedInfoOffset;
    const auto signature = image.U32(fixedInfo + kFixedInfoSignatureField);
    const auto mostSignificant = image.U32(fixedInfo + kFixedInfoFileVersionMsField);
    const auto leastSignificant = image.U32(fixedInfo + kFixedInfoFileVersionLsField);
    if (!signature || *signature != kFixedInfoSignature || !mostSignificant || !leastSignificant) {
        return std::nullopt;
    }
    return FileVersion{static_cast<std::uint16_t>(*mostSignificant >> 16U),
                       static_cast<std::uint16_t>(*mostSignificant & 0xFFFFU),
                       static_cast<std::uint16_t>(*leastSignificant >> 16U),
                       static_cast<std::uint16_t>(*leastSignificant & 0xFFFFU)};
}

}  // namespace

std::optional<FileVersion> ReadFileVersion(ReadableFile& file) {
    const ImageReader reader(file);
    const auto headers = ReadHeaders(reader);
    if (!headers) {
        return std::nullopt;
    }
    const AddressMap map(reader, headers->sections);
    const auto treeOffset = map.FileOffset(headers->resources.rva, headers->resources.size);
    if (!treeOffset) {
        return std::nullopt;
    }
    const ResourceTree tree(reader, *treeOffset, headers->resources.size);
    const auto data = VersionResourceData(tree, reader);
    if (!data) {
        return std::nullopt;
    }
    const auto versionInfo = map.FileOffset(data->rva, data->size);
    if (!versionInfo) {
        return std::nullopt;
    }
    return ParseVersionInfo(reader, *versionInfo, data->size);
}

}  // namespace huevane::pe
