#include "util/unicode.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/unistr.h>
#include <unicode/utext.h>

#include <algorithm>
#include <memory>

// Scalars, encoding and validation are hand-written: they run for every
// character printed and must not build ICU objects. Clusters, case mapping
// and normalisation go to ICU. Text that is not valid UTF-8 is cut into
// valid runs, which ICU handles, and single bad bytes, which stand for
// themselves: nothing is dropped or replaced on the way through.

namespace unicode {
namespace {

struct Decoded {
    char32_t code;
    size_t size;  // 0: the byte at the position starts no valid sequence
};

constexpr Decoded badbyte{0xFFFD, 0};

// One UTF-8 sequence at `pos`, strictly: no overlong forms, no surrogates,
// nothing above U+10FFFF, no truncated sequence at the end.
Decoded decodeat(std::string_view text, size_t pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80)
        return {lead, 1};
    size_t size = 0;
    char32_t code = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2, code = lead & 0x1Fu, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        size = 3, code = lead & 0x0Fu, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4, code = lead & 0x07u, smallest = 0x10000;
    } else {
        return badbyte;
    }
    if (text.size() - pos < size)
        return badbyte;
    for (size_t i = 1; i < size; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0u) != 0x80u)
            return badbyte;
        code = (code << 6) | (next & 0x3Fu);
    }
    if (code < smallest || !isscalar(code))
        return badbyte;
    return {code, size};
}

bool isascii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Calls valid(begin, end) for each maximal run of valid UTF-8 and bad(pos)
// for each byte outside such a run, in text order, until one answers false.
// Answers false when stopped early.
template <typename Valid, typename Bad>
bool eachrun(std::string_view text, Valid valid, Bad bad)
{
    size_t runstart = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        const Decoded d = decodeat(text, pos);
        if (d.size != 0) {
            pos += d.size;
            continue;
        }
        if (runstart < pos && !valid(runstart, pos))
            return false;
        if (!bad(pos))
            return false;
        runstart = ++pos;
    }
    return runstart == pos || valid(runstart, pos);
}

icu::BreakIterator* characterbreaks()
{
    // Making an iterator loads rule data; one per thread is made once and
    // reused (an iterator is not safe to share between threads).
    thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> made(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    return iterator.get();
}

// Clusters of a valid UTF-8 run [begin, end) of `text`; see eachcluster.
template <typename Visit>
bool segmentrun(std::string_view text, size_t begin, size_t end, Visit& visit)
{
    icu::BreakIterator* iterator = characterbreaks();
    UErrorCode status = U_ZERO_ERROR;
    UText* utext = iterator == nullptr
                       ? nullptr
                       : utext_openUTF8(nullptr, text.data() + begin,
                                        static_cast<int64_t>(end - begin), &status);
    if (utext != nullptr)
        iterator->setText(utext, status);
    if (utext == nullptr || U_FAILURE(status)) {
        // Without break rules every scalar stands alone.
        if (utext != nullptr)
            utext_close(utext);
        for (size_t pos = begin; pos < end;) {
            const size_t next = pos + decodeat(text, pos).size;
            if (!visit(pos, next))
                return false;
            pos = next;
        }
        return true;
    }
    bool going = true;
    int32_t from = iterator->first();
    for (int32_t to = iterator->next(); going && to != icu::BreakIterator::DONE;
         from = to, to = iterator->next())
        going = visit(begin + static_cast<size_t>(from), begin + static_cast<size_t>(to));
    utext_close(utext);
    return going;
}

// Calls visit(begin, end) with the byte range of each grapheme cluster, in
// order, until it answers false. ASCII needs no rules: every byte is a
// cluster except that "\r\n" is one.
template <typename Visit>
void eachcluster(std::string_view text, Visit visit)
{
    if (isascii(text)) {
        for (size_t pos = 0; pos < text.size();) {
            size_t end = pos + 1;
            if (text[pos] == '\r' && end < text.size() && text[end] == '\n')
                ++end;
            if (!visit(pos, end))
                return;
            pos = end;
        }
        return;
    }
    eachrun(
        text, [&](size_t begin, size_t end) { return segmentrun(text, begin, end, visit); },
        [&](size_t pos) { return visit(pos, pos + 1); });
}

// Applies `convert` to every valid run of `text`; bad bytes pass unchanged.
template <typename Convert>
std::string mapruns(std::string_view text, Convert convert)
{
    std::string result;
    result.reserve(text.size());
    eachrun(
        text,
        [&](size_t begin, size_t end) {
            const std::string_view run = text.substr(begin, end - begin);
            icu::UnicodeString converted = convert(
                icu::UnicodeString::fromUTF8(icu::StringPiece(run.data(), static_cast<int32_t>(run.size()))));
            converted.toUTF8String(result);
            return true;
        },
        [&](size_t pos) {
            result.push_back(text[pos]);
            return true;
        });
    return result;
}

const icu::Normalizer2* nfcnormalizer()
{
    static const icu::Normalizer2* const instance = [] {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2* made = icu::Normalizer2::getNFCInstance(status);
        return U_SUCCESS(status) ? made : nullptr;
    }();
    return instance;
}

// Each cluster of `text` in NFC: two texts compare canonically when their
// lists compare equal.
std::vector<std::string> nfcclusters(std::string_view text)
{
    std::vector<std::string> result;
    eachcluster(text, [&](size_t begin, size_t end) {
        result.push_back(nfc(text.substr(begin, end - begin)));
        return true;
    });
    return result;
}

// A match that starts or ends between "\r" and "\n" splits a cluster.
bool splitspair(std::string_view text, size_t pos)
{
    return pos > 0 && pos < text.size() && text[pos - 1] == '\r' && text[pos] == '\n';
}

int64_t findascii(std::string_view text, std::string_view search)
{
    for (size_t pos = text.find(search); pos != std::string_view::npos;
         pos = text.find(search, pos + 1)) {
        if (splitspair(text, pos) || splitspair(text, pos + search.size()))
            continue;
        int64_t pairs = 0;
        for (size_t i = 0; i + 1 < pos; ++i)
            pairs += text[i] == '\r' && text[i + 1] == '\n';
        return static_cast<int64_t>(pos) - pairs;
    }
    return -1;
}

}  // namespace

std::vector<std::string> clusters(std::string_view text)
{
    std::vector<std::string> result;
    eachcluster(text, [&](size_t begin, size_t end) {
        result.emplace_back(text.substr(begin, end - begin));
        return true;
    });
    return result;
}

int64_t length(std::string_view text)
{
    int64_t count = 0;
    eachcluster(text, [&](size_t, size_t) {
        ++count;
        return true;
    });
    return count;
}

std::string slice(std::string_view text, int64_t first, int64_t count)
{
    int64_t last = 0;  // one past the last wanted cluster
    if (count <= 0 || __builtin_add_overflow(first, count, &last))
        last = count <= 0 ? first : INT64_MAX;
    first = std::max<int64_t>(first, 0);
    if (last <= first)
        return {};
    size_t begin = text.size();
    size_t end = text.size();
    int64_t index = 0;
    eachcluster(text, [&](size_t from, size_t) {
        if (index == first)
            begin = from;
        if (index == last) {
            end = from;
            return false;
        }
        ++index;
        return true;
    });
    return std::string(text.substr(begin, end - begin));
}

std::vector<char32_t> scalars(std::string_view text)
{
    std::vector<char32_t> result;
    result.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const Decoded d = decodeat(text, pos);
        result.push_back(d.code);
        pos += std::max<size_t>(d.size, 1);
    }
    return result;
}

char32_t firstscalar(std::string_view text)
{
    return text.empty() ? 0 : decodeat(text, 0).code;
}

std::string encode(char32_t code)
{
    if (!isscalar(code))
        code = 0;
    std::string out;
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
    return out;
}

bool isscalar(int64_t code)
{
    return (code >= 0 && code < 0xD800) || (code >= 0xE000 && code <= 0x10FFFF);
}

std::string toupper(std::string_view text)
{
    if (isascii(text)) {
        std::string result(text);
        for (char& c : result)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        return result;
    }
    return mapruns(text, [](icu::UnicodeString run) {
        return std::move(run.toUpper(icu::Locale::getRoot()));
    });
}

char32_t lowercase(char32_t code)
{
    if (!isscalar(code))
        return 0;
    if (code < 0x80)
        return code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code;
    icu::UnicodeString single(static_cast<UChar32>(code));
    single.toLower(icu::Locale::getRoot());
    return single.isEmpty() ? 0 : static_cast<char32_t>(single.char32At(0));
}

std::string nfc(std::string_view text)
{
    const icu::Normalizer2* normalizer = nfcnormalizer();
    if (isascii(text) || normalizer == nullptr)
        return std::string(text);
    return mapruns(text, [normalizer](const icu::UnicodeString& run) {
        UErrorCode status = U_ZERO_ERROR;
        icu::UnicodeString composed = normalizer->normalize(run, status);
        return U_SUCCESS(status) ? composed : run;
    });
}

int64_t find(std::string_view text, std::string_view search)
{
    if (search.empty())
        return -1;
    if (isascii(text) && isascii(search))
        return findascii(text, search);
    const std::vector<std::string> haystack = nfcclusters(text);
    const std::vector<std::string> needle = nfcclusters(search);
    const auto found = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end());
    return found == haystack.end() ? -1 : found - haystack.begin();
}

bool contains(std::string_view text, std::string_view search)
{
    return find(text, search) >= 0;
}

std::optional<std::string> decodeutf8(std::string_view bytes)
{
    for (size_t pos = 0; pos < bytes.size();) {
        const size_t size = decodeat(bytes, pos).size;
        if (size == 0)
            return std::nullopt;
        pos += size;
    }
    return std::string(bytes);
}

std::optional<std::string> decodeutf8(const std::vector<uint8_t>& bytes)
{
    return decodeutf8(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace unicode
