// TableImage: the binary form's layout, its hashes, and the checks that send a load back to the text.
#include "glyph/table_image.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <system_error>
#include <utility>
#include <vector>

#include "common/atomic_file_writer.h"
#include "common/file_text.h"

namespace moza::glyph {
namespace {

constexpr char kMagic[8] = {'M', 'o', 'z', 'a', 'T', 'b', 'l', '\n'};
constexpr std::uint32_t kVersion = 1;

/// The file's first bytes. The records and nodes follow as they lie in memory, so a reader whose
/// layout (sizes, offsets, byte order) differs from the writer's refuses the file.
struct Header {
    char magic[8];
    std::uint32_t version;
    std::uint32_t layout;
    std::uint32_t recordCount;
    std::uint32_t nodeCount;
    std::uint32_t edgeCount;
    std::uint32_t unused;
    std::uint64_t textSize;
    std::uint64_t textHash;
    std::uint64_t payloadHash;
};

struct StoredEdge {
    std::uint32_t parent;
    std::int32_t level;
    std::uint32_t child;
};

std::uint32_t layoutCode() {
    const std::uint32_t order = std::endian::native == std::endian::little ? 1u : 2u;
    return static_cast<std::uint32_t>(sizeof(CharRecord) | offsetof(CharRecord, Code) << 8 |
                                      sizeof(GlyphTable::Node) << 16) |
           order << 24;
}

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87u;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Fu;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9u;

std::uint64_t load64(const unsigned char* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

std::uint64_t mixIn(std::uint64_t lane, std::uint64_t word) { return std::rotl(lane + word * kPrime2, 31) * kPrime1; }

std::uint64_t combine(std::uint64_t hash, std::uint64_t part) { return std::rotl(hash ^ part, 29) * kPrime1 + kPrime3; }

__extension__ typedef unsigned __int128 Wide;  // g++ and clang, the compilers the program is built with

/// The 128-bit product of `a` and `b` folded to 64 bits: sixteen bytes mixed by one multiplication.
std::uint64_t foldedProduct(std::uint64_t a, std::uint64_t b) {
    const Wide product = static_cast<Wide>(a) * b;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
}

constexpr std::uint64_t kKeys[8] = {kPrime1,
                                    kPrime2,
                                    kPrime3,
                                    0x27D4EB2F165667C5u,
                                    0x85EBCA77C2B2AE63u,
                                    0x94D049BB133111EBu,
                                    0xBF58476D1CE4E5B9u,
                                    0x2545F4914F6CDD1Du};

/// A 64-bit hash of `size` bytes: four independent lanes over 64-byte stripes, each taking 16
/// bytes a multiplication (about 10 bytes a cycle), then the rest word by word and byte by byte,
/// then a final mix of the bits. Lanes turn before each step, so moving bytes changes the hash.
std::uint64_t hashBytes(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::uint64_t lanes[4] = {kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1};
    std::size_t left = size;
    for (; left >= 64; left -= 64, bytes += 64) {
        for (std::size_t i = 0; i < 4; ++i) {
            lanes[i] = std::rotl(lanes[i], 23) + foldedProduct(load64(bytes + 16 * i) ^ kKeys[2 * i],
                                                               load64(bytes + 16 * i + 8) ^ kKeys[2 * i + 1]);
        }
    }
    std::uint64_t hash =
        std::rotl(lanes[0], 1) + std::rotl(lanes[1], 7) + std::rotl(lanes[2], 12) + std::rotl(lanes[3], 18) + size;
    for (; left >= 8; left -= 8, bytes += 8) hash = std::rotl(hash ^ mixIn(0, load64(bytes)), 27) * kPrime1 + kPrime3;
    for (; left > 0; --left, ++bytes) hash = std::rotl(hash ^ (*bytes * kPrime3), 11) * kPrime1;
    hash ^= hash >> 33;
    hash *= kPrime2;
    hash ^= hash >> 29;
    hash *= kPrime3;
    return hash ^ (hash >> 32);
}

/// The text is hashed in blocks of this size, so a reader needs only one block in memory.
constexpr std::size_t kTextBlock = std::size_t{1} << 16;

std::uint64_t textHash(std::string_view text) {
    std::uint64_t hash = 0;
    for (std::size_t at = 0; at < text.size(); at += kTextBlock) {
        hash = combine(hash, hashBytes(text.data() + at, std::min(kTextBlock, text.size() - at)));
    }
    return hash;
}

/// textHash of the file's bytes, or nothing when it cannot be read whole.
std::optional<std::uint64_t> fileTextHash(const std::filesystem::path& file, std::uint64_t size) {
    std::ifstream in(file, std::ios::binary);
    std::vector<char> block(kTextBlock);
    std::uint64_t hash = 0;
    std::uint64_t read = 0;
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
        hash = combine(hash, hashBytes(block.data(), static_cast<std::size_t>(in.gcount())));
        read += static_cast<std::uint64_t>(in.gcount());
    }
    if (in.bad() || read != size) return std::nullopt;
    return hash;
}

std::uint64_t payloadHash(const std::vector<CharRecord>& records, const std::vector<GlyphTable::Node>& nodes,
                          const std::vector<StoredEdge>& edges) {
    std::uint64_t hash = combine(0, hashBytes(records.data(), records.size() * sizeof(CharRecord)));
    hash = combine(hash, hashBytes(nodes.data(), nodes.size() * sizeof(GlyphTable::Node)));
    return combine(hash, hashBytes(edges.data(), edges.size() * sizeof(StoredEdge)));
}

template <typename T>
bool readArray(std::ifstream& in, std::vector<T>& items, std::size_t count) {
    items.resize(count);
    if (count == 0) return true;  // no bytes to read, and perhaps no buffer to name
    return static_cast<bool>(
        in.read(reinterpret_cast<char*>(items.data()), static_cast<std::streamsize>(count * sizeof(T))));
}

/// Adds 1 to the decimal number that ends `text`, its first digit at `first`.
void addOne(std::string& text, std::size_t first) {
    std::size_t digit = text.size();
    while (digit > first && text[digit - 1] == '9') text[--digit] = '0';
    if (digit == first) {
        text.insert(first, 1, '1');
    } else {
        ++text[digit - 1];
    }
}

/// Reports the status line of every record, as parsing them would: one string, counted up in place.
void reportEveryRecord(int count, const LoadStatusSink& status) {
    std::string line = LoadStatusLine(0);
    const std::size_t firstDigit = line.size() - 1;
    for (int index = 0; index < count; ++index) {
        if (index > 0) addOne(line, firstDigit);
        status(line);
    }
}

}  // namespace

std::string TableImageBytes(const GlyphTable& table, std::string_view text) {
    // Records are copied field by field into zeroed bytes, so the padding between them is stored as 0.
    std::vector<CharRecord> records(table.CharTable().size());
    if (!records.empty()) std::memset(static_cast<void*>(records.data()), 0, records.size() * sizeof(CharRecord));
    for (std::size_t r = 0; r < records.size(); ++r) {
        records[r].Pattern = table.CharTable()[r].Pattern;
        records[r].Code = table.CharTable()[r].Code;
    }
    std::vector<StoredEdge> edges;
    for (const GlyphTable::OtherEdge& edge : table.otherEdges()) edges.push_back({edge.parent, edge.level, edge.child});
    const std::vector<GlyphTable::Node>& nodes = table.nodes();

    Header header{};
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.version = kVersion;
    header.layout = layoutCode();
    header.recordCount = static_cast<std::uint32_t>(records.size());
    header.nodeCount = static_cast<std::uint32_t>(nodes.size());
    header.edgeCount = static_cast<std::uint32_t>(edges.size());
    header.textSize = text.size();
    header.textHash = textHash(text);
    header.payloadHash = payloadHash(records, nodes, edges);
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(reinterpret_cast<const char*>(records.data()), records.size() * sizeof(CharRecord));
    bytes.append(reinterpret_cast<const char*>(nodes.data()), nodes.size() * sizeof(GlyphTable::Node));
    bytes.append(reinterpret_cast<const char*>(edges.data()), edges.size() * sizeof(StoredEdge));
    return bytes;
}

std::filesystem::path TableImagePath(const std::filesystem::path& textFile) {
    return std::filesystem::path(textFile).replace_extension(".bin");
}

std::optional<GlyphTable> ReadTableImage(const std::filesystem::path& imageFile,
                                         const std::filesystem::path& textFile) {
    std::ifstream in(imageFile, std::ios::binary);
    Header header{};
    if (!in.read(reinterpret_cast<char*>(&header), sizeof header)) return std::nullopt;
    if (std::memcmp(header.magic, kMagic, sizeof kMagic) != 0 || header.version != kVersion ||
        header.layout != layoutCode() || header.recordCount > static_cast<std::uint32_t>(kMaxCharCount) ||
        header.nodeCount > 9 * header.recordCount + 1 || header.edgeCount > header.nodeCount) {
        return std::nullopt;
    }
    std::error_code error;
    const std::uintmax_t imageSize = std::filesystem::file_size(imageFile, error);
    const std::uintmax_t expected = sizeof(Header) + header.recordCount * sizeof(CharRecord) +
                                    header.nodeCount * sizeof(GlyphTable::Node) + header.edgeCount * sizeof(StoredEdge);
    if (error || imageSize != expected) return std::nullopt;
    if (!std::filesystem::is_regular_file(textFile, error) ||
        std::filesystem::file_size(textFile, error) != header.textSize) {
        return std::nullopt;
    }
    std::vector<CharRecord> records;
    std::vector<GlyphTable::Node> nodes;
    std::vector<StoredEdge> stored;
    if (!readArray(in, records, header.recordCount) || !readArray(in, nodes, header.nodeCount) ||
        !readArray(in, stored, header.edgeCount) || payloadHash(records, nodes, stored) != header.payloadHash) {
        return std::nullopt;
    }
    if (fileTextHash(textFile, header.textSize) != header.textHash) return std::nullopt;
    std::vector<GlyphTable::OtherEdge> edges;
    for (const StoredEdge& edge : stored) edges.push_back({edge.parent, static_cast<Level>(edge.level), edge.child});
    return GlyphTable::withIndex(std::move(records), std::move(nodes), edges);
}

Result<GlyphTable> LoadShippedCharData(const std::filesystem::path& file, const LoadStatusSink& status) {
    if (std::optional<GlyphTable> table = ReadTableImage(TableImagePath(file), file)) {
        if (status) reportEveryRecord(table->CharCount(), status);
        return std::move(*table);
    }
    return LoadCharData(file, status);
}

Status WriteTableImage(const std::filesystem::path& textFile, const std::filesystem::path& imageFile) {
    Result<std::string> text = ReadWholeFile(textFile, kMaxCharDataBytes);
    if (!text) return text.error();
    Result<std::vector<CharRecord>> records = ParseCharData(text.value(), textFile.string(), {});
    if (!records) return InContext("", records.error(), textFile);
    const std::string bytes = TableImageBytes(GlyphTable(std::move(records).value()), text.value());
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(imageFile);
    if (!writer) return writer.error();
    writer.value().write(bytes);
    return writer.value().commit();
}

}  // namespace moza::glyph
