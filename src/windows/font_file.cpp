#include "windows/font_file.h"

#include <cstring>

#include "menus/files.h"
#include "platform/platform.h"
#include "util/bytes.h"
#include "util/diagnostics.h"

namespace {

// Every field of the header up to the cell height; a shorter file has no
// usable header at all.
constexpr size_t minimumheader = 14;

// Expansion stops here: a 16 x 32 table of 256 glyphs is 128 KiB, so data
// that unpack to more than this are not a font but a decompression bomb.
constexpr size_t expandlimit = size_t{64} << 20;

// Wider codes would address a dictionary of more than 16 million entries,
// far beyond what any glyph table needs; such data are taken as corrupt.
constexpr unsigned widestcode = 24;

// Reads codes of a fixed width, most significant bit first.
class CodeReader {
public:
    CodeReader(const std::vector<uint8_t>& bytes, unsigned width)
        : bytes_(bytes), width_(width),
          remaining_(width == 0 ? 0 : (bytes.size() - 1) * 8 / width)
    {
    }

    bool next(uint32_t& code)
    {
        if (remaining_ == 0)
            return false;
        --remaining_;
        while (bits_ < width_) {
            buffer_ = buffer_ << 8 | bytes_[position_++];
            bits_ += 8;
        }
        bits_ -= width_;
        code = static_cast<uint32_t>(buffer_ >> bits_) & ((1u << width_) - 1);
        return true;
    }

private:
    const std::vector<uint8_t>& bytes_;
    unsigned width_;
    size_t remaining_;
    size_t position_ = 1;
    uint64_t buffer_ = 0;
    unsigned bits_ = 0;
};

// A dictionary string is always a run of the output already written: the
// entry defined after each code is the previous string plus the first byte
// of the current one, and the current one follows the previous directly.
// So an entry is just (offset, length) into the output.
struct Run {
    uint32_t offset;
    uint32_t length;
};

// Appends `length` bytes that start at `offset` of the output itself; the
// ranges overlap only for the code being defined in the same step, where the
// byte by byte copy repeats the first byte as the string requires.
void appendrun(std::vector<uint8_t>& out, size_t offset, size_t length)
{
    const size_t end = out.size();
    out.resize(end + length);
    if (offset + length <= end) {
        std::memcpy(out.data() + end, out.data() + offset, length);
        return;
    }
    for (size_t i = 0; i < length; ++i)
        out[end + i] = out[offset + i];
}

}  // namespace

t_Font emptyfont()
{
    return t_Font{};
}

std::vector<uint8_t> lzwexpand(const std::vector<uint8_t>& compressed)
{
    if (compressed.empty() || compressed[0] == 0 || compressed[0] > widestcode)
        return {};
    const unsigned width = compressed[0];
    const uint64_t codespace = uint64_t{1} << width;
    CodeReader reader(compressed, width);
    uint32_t code = 0;
    if (!reader.next(code))
        return {};
    std::vector<uint8_t> out{static_cast<uint8_t>(code & 0xFF)};
    std::vector<Run> dictionary;  // codes 256 and up
    Run previous{0, 1};
    while (reader.next(code)) {
        const uint64_t next = 256 + dictionary.size();
        const Run entry{static_cast<uint32_t>(out.size()),
                        code < 256 ? 1
                        : code < next ? dictionary[code - 256].length
                        : code == next ? previous.length + 1
                                       : 0};
        if (entry.length == 0 || out.size() + entry.length > expandlimit)
            return {};
        if (code < 256)
            out.push_back(static_cast<uint8_t>(code));
        else if (code < next)
            appendrun(out, dictionary[code - 256].offset, entry.length);
        else
            appendrun(out, previous.offset, entry.length);
        // Codes at or beyond 2^width can never be read, so they are not kept.
        if (next < codespace)
            dictionary.push_back(Run{previous.offset, previous.length + 1});
        previous = entry;
    }
    return out;
}

t_Font parsefontfile(const std::vector<uint8_t>& bytes, const std::string& fileName)
{
    t_Font font = emptyfont();
    if (bytes.empty()) {
        diag_line("t_LoadFontResource: Could not load file \u201E" + fileName + "\u201C");
        return font;
    }
    font.Face = fontfacefromname(fileName);
    const size_t header = bytes[0];
    font.HeaderSize = static_cast<int64_t>(header);
    if (bytes.size() < header || bytes.size() < minimumheader) {
        diag_line("t_LoadFontResource: Invalid header size");
        return font;
    }
    font.Identifier.assign(bytes.begin() + 1, bytes.begin() + 5);
    if (font.Identifier != std::vector<uint8_t>{'t', 'k', 'f', 'n'}) {
        diag_line("t_LoadFontResource: Invalid file type");
        return font;
    }
    font.Format = bytes[5];
    font.Size = bytes.size() >= 10 ? int64_t(bigendian(bytes.data() + 6, 4)) : 0;
    font.Start = bytes[10];
    font.End = bytes[11];
    font.Width = bytes[12];
    font.Height = bytes[13];
    font.Reserved = bytes.size() >= 16 ? int64_t(bigendian(bytes.data() + 14, 2)) : 0;
    font.Data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(header), bytes.end());
    if (font.Format == 100 || font.Format == 102) {
        if (!font.Data.empty())
            font.Data = lzwexpand(font.Data);
        font.Format -= 100;
    }
    return font;
}

t_FontFace fontfacefromname(const std::string& fileName)
{
    if (fileName.find("Bold") != std::string::npos)
        return t_FontFace::bold;
    if (fileName.find("Italic") != std::string::npos || fileName.find("Oblique") != std::string::npos)
        return t_FontFace::italic;
    return t_FontFace::regular;
}

t_Font t_LoadFontResource(const std::string& fileName)
{
    const std::string path = platform::resource_directory() + "/" + fileName;
    return parsefontfile(getbinaryfromfile(path), fileName);
}
