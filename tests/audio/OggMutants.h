#pragma once
// Damaged Ogg Vorbis files made from a good one, always the same way: the
// file is cut into its pages, and pages are cut short, dropped, or have
// bytes flipped in their bodies, either behind a broken checksum (the
// page is lost to the decoder) or behind a mended one (damaged packet data
// reaches the decoder), or have their granule positions falsified.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace oggmutants {

using Bytes = std::vector<uint8_t>;

struct SPage
{
    size_t offset;
    size_t header; // bytes up to the body
    size_t size;   // header and body
};

// The pages of an Ogg file, in order, up to the first that is not whole.
inline std::vector<SPage> Pages(const Bytes& b)
{
    std::vector<SPage> pages;
    size_t at = 0;
    while (at + 27 <= b.size() && std::memcmp(&b[at], "OggS", 4) == 0) {
        const size_t segments = b[at + 26];
        size_t body = 0;
        for (size_t i = 0; i < segments && at + 27 + i < b.size(); ++i)
            body += b[at + 27 + i];
        const SPage page{at, 27 + segments, 27 + segments + body};
        if (at + page.size > b.size())
            break;
        pages.push_back(page);
        at += page.size;
    }
    return pages;
}

inline int64_t Granule(const Bytes& b, const SPage& p)
{
    int64_t g = 0;
    std::memcpy(&g, &b[p.offset + 6], 8);
    return g;
}

inline void SetGranule(Bytes& b, const SPage& p, int64_t g)
{
    std::memcpy(&b[p.offset + 6], &g, 8);
}

// The page checksum: CRC-32 with the polynomial 0x04C11DB7, no reflection,
// starting at 0, over the page with its checksum field zero.
inline void MendChecksum(Bytes& b, const SPage& p)
{
    std::memset(&b[p.offset + 22], 0, 4);
    uint32_t crc = 0;
    for (size_t i = 0; i < p.size; ++i) {
        crc ^= static_cast<uint32_t>(b[p.offset + i]) << 24;
        for (int k = 0; k < 8; ++k)
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    for (int k = 0; k < 4; ++k)
        b[p.offset + 22 + k] = static_cast<uint8_t>(crc >> 8 * k);
}

// Flips a few bytes spread over the page's body.
inline void FlipBody(Bytes& b, const SPage& p)
{
    const size_t body = p.size - p.header;
    for (size_t k = 1; k <= 3; ++k)
        b[p.offset + p.header + body * k / 4] ^= 0x5A;
}

struct SMutant
{
    std::string name;
    Bytes bytes;
};

// The mutant set of a good file of at least a dozen pages. The first
// audio page is the first with a granule position above 0.
inline std::vector<SMutant> Make(const Bytes& good)
{
    const std::vector<SPage> pages = Pages(good);
    std::vector<SMutant> out;
    if (pages.size() < 12)
        return out;
    size_t first = 0;
    while (first < pages.size() && Granule(good, pages[first]) <= 0)
        ++first;
    const size_t n = pages.size(), mid = n / 2;
    if (first + 4 >= mid)
        return out;
    auto add = [&out](const std::string& name, Bytes b) { out.push_back({name, std::move(b)}); };
    auto cutInside = [&good](const SPage& p) { return Bytes(good.begin(), good.begin() + p.offset + p.size / 2); };

    add("CutInTheMiddle", cutInside(pages[mid]));
    add("CutAfterTwoAudioPages", cutInside(pages[first + 2]));
    Bytes dropped = good;
    dropped.erase(dropped.begin() + pages[mid].offset, dropped.begin() + pages[mid].offset + pages[mid].size);
    add("PageDropped", dropped);
    for (size_t at : {first, mid, n - 1}) {
        Bytes lost = good; // the checksum no longer matches
        FlipBody(lost, pages[at]);
        Bytes damaged = lost; // the checksum mended: the decoder gets it
        MendChecksum(damaged, pages[at]);
        const std::string where = at == first ? "FirstAudio" : at == mid ? "Middle" : "Last";
        add(where + "PageLost", lost);
        add(where + "PacketsDamaged", damaged);
    }
    Bytes many = good;
    for (size_t at = first; at < n; at += 3) {
        FlipBody(many, pages[at]);
        MendChecksum(many, pages[at]);
    }
    add("EveryThirdPageDamaged", many);
    Bytes capture = good;
    capture[pages[mid].offset + 1] ^= 0x20; // "OgGS": the page is no page
    add("CaptureBroken", capture);
    Bytes far = good, early = good;
    SetGranule(far, pages[mid], Granule(good, pages[mid]) * 5);
    MendChecksum(far, pages[mid]);
    add("GranuleFarAhead", far);
    SetGranule(early, pages[n - 1], Granule(good, pages[n - 2]) + 100);
    MendChecksum(early, pages[n - 1]);
    add("LastGranuleTooEarly", early);
    // Damaged page headers, checksums mended: another stream's serial
    // number, the flag of the stream's end in its middle.
    Bytes serial = good, ended = good;
    serial[pages[mid].offset + 14] ^= 0x01;
    MendChecksum(serial, pages[mid]);
    add("MiddleSerialChanged", serial);
    ended[pages[mid].offset + 5] |= 0x04;
    MendChecksum(ended, pages[mid]);
    add("MiddleEndFlagged", ended);
    // Garbage throughout the first audio page's packets, and no granule
    // position on it.
    Bytes garbage = good, unset = good;
    for (size_t i = pages[first].offset + pages[first].header; i < pages[first].offset + pages[first].size; i += 7)
        garbage[i] ^= 0xA5;
    MendChecksum(garbage, pages[first]);
    add("FirstAudioPageGarbage", garbage);
    SetGranule(unset, pages[first], -1);
    MendChecksum(unset, pages[first]);
    add("FirstAudioGranuleUnset", unset);
    // The page before the last lost, or with a granule position too early.
    Bytes beforeLast = good, beforeLastEarly = good;
    FlipBody(beforeLast, pages[n - 2]);
    add("PageBeforeTheLastLost", beforeLast);
    SetGranule(beforeLastEarly, pages[n - 2], Granule(good, pages[n - 2]) / 3);
    MendChecksum(beforeLastEarly, pages[n - 2]);
    add("PageBeforeTheLastGranuleEarly", beforeLastEarly);
    // Short files: two whole audio pages, the first lost or with a granule
    // position too early.
    const Bytes shortFile(good.begin(), good.begin() + pages[first + 1].offset + pages[first + 1].size);
    Bytes shortLost = shortFile, shortEarly = shortFile;
    FlipBody(shortLost, pages[first]);
    add("ShortFirstAudioPageLost", shortLost);
    SetGranule(shortEarly, pages[first], Granule(good, pages[first]) / 3);
    MendChecksum(shortEarly, pages[first]);
    add("ShortFirstGranuleEarly", shortEarly);
    Bytes setup = good;
    FlipBody(setup, pages[first - 1]);
    MendChecksum(setup, pages[first - 1]);
    add("SetupDamaged", setup);
    return out;
}

} // namespace oggmutants
