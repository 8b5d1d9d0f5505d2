#include "device/cffrepair.h"

#include <algorithm>

#include "model/regularfile.h"

namespace vg {
namespace {

uint32_t Be(const std::vector<uint8_t>& b, std::size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = v << 8 | b[at + i];
    return v;
}

// One DICT operand: its bytes, and its value when it is an integer.
struct Operand {
    std::vector<uint8_t> bytes;
    bool integer = false;
    int32_t value = 0;
};

struct Entry {
    std::vector<Operand> operands;
    std::vector<uint8_t> op;
};

bool ParseDict(const uint8_t* p, std::size_t size, std::vector<Entry>& out) {
    Entry e;
    std::size_t i = 0;
    while (i < size) {
        const uint8_t b = p[i];
        Operand o;
        std::size_t len = 0;
        if (b <= 21) {
            len = b == 12 ? 2 : 1;
            if (i + len > size) return false;
            e.op.assign(p + i, p + i + len);
            out.push_back(std::move(e));
            e = Entry{};
            i += len;
            continue;
        }
        if (b == 28) {
            len = 3;
            if (i + len > size) return false;
            o.integer = true;
            o.value = static_cast<int16_t>(p[i + 1] << 8 | p[i + 2]);
        } else if (b == 29) {
            len = 5;
            if (i + len > size) return false;
            o.integer = true;
            o.value =
                static_cast<int32_t>(static_cast<uint32_t>(p[i + 1]) << 24 | p[i + 2] << 16 | p[i + 3] << 8 | p[i + 4]);
        } else if (b == 30) {
            len = 1;
            while (i + len < size && (p[i + len] & 0x0F) != 0x0F && (p[i + len] >> 4) != 0x0F) ++len;
            ++len;
            if (i + len > size) return false;
        } else if (b >= 32 && b <= 246) {
            len = 1;
            o.integer = true;
            o.value = b - 139;
        } else if (b >= 247 && b <= 254) {
            len = 2;
            if (i + len > size) return false;
            o.integer = true;
            o.value = b <= 250 ? (b - 247) * 256 + p[i + 1] + 108 : -(b - 251) * 256 - p[i + 1] - 108;
        } else {
            return false;
        }
        o.bytes.assign(p + i, p + i + len);
        e.operands.push_back(std::move(o));
        i += len;
    }
    return e.operands.empty();
}

std::vector<uint8_t> Encode(int32_t v, std::size_t length) {
    if (length == 3) return {28, static_cast<uint8_t>(v >> 8 & 0xFF), static_cast<uint8_t>(v & 0xFF)};
    const uint32_t u = static_cast<uint32_t>(v);
    return {29, static_cast<uint8_t>(u >> 24), static_cast<uint8_t>(u >> 16 & 0xFF),
            static_cast<uint8_t>(u >> 8 & 0xFF), static_cast<uint8_t>(u & 0xFF)};
}

// Widens integer operands until the dictionary has grown by `missing` bytes.
bool Widen(std::vector<Entry>& entries, std::size_t missing) {
    for (Entry& e : entries)
        for (Operand& o : e.operands) {
            if (missing == 0) return true;
            if (!o.integer || o.bytes.size() >= 5) continue;
            const bool shortFits = o.value >= -32768 && o.value <= 32767;
            std::size_t target = 5;
            if (shortFits && o.bytes.size() < 3 && 3 - o.bytes.size() <= missing) target = 3;
            if (target - o.bytes.size() > missing) {
                // 28 -> 29 gives two; a 2-byte operand to 28 gives one.
                if (shortFits && o.bytes.size() == 2 && missing >= 1)
                    target = 3;
                else
                    continue;
            }
            missing -= target - o.bytes.size();
            o.bytes = Encode(o.value, target);
        }
    return missing == 0;
}

}  // namespace

bool RepairCffPrivateDict(std::vector<uint8_t>& font) {
    if (font.size() < 12 || Be(font, 0, 4) != 0x4F54544F) return false;  // "OTTO"
    const uint32_t tables = Be(font, 4, 2);
    std::size_t cff = 0, cffSize = 0;
    for (uint32_t t = 0; t < tables && 12 + 16 * (t + 1) <= font.size(); ++t)
        if (Be(font, 12 + 16 * t, 4) == 0x43464620) {  // "CFF "
            cff = Be(font, 12 + 16 * t + 8, 4);
            cffSize = Be(font, 12 + 16 * t + 12, 4);
        }
    if (cff == 0 || cffSize < 4 || cff + cffSize > font.size()) return false;
    const uint8_t* c = font.data() + cff;
    // Header, Name INDEX, then the Top DICT INDEX's first dictionary.
    auto skipIndex = [&](std::size_t at, std::size_t* first, std::size_t* firstSize) -> std::size_t {
        if (at + 2 > cffSize) return 0;
        const uint32_t count = c[at] << 8 | c[at + 1];
        if (count == 0) return at + 2;
        if (at + 3 > cffSize) return 0;
        const int offSize = c[at + 2];
        if (offSize < 1 || offSize > 4 || at + 3 + (count + 1) * offSize > cffSize) return 0;
        auto offset = [&](uint32_t k) {
            uint32_t v = 0;
            for (int i = 0; i < offSize; ++i) v = v << 8 | c[at + 3 + k * offSize + i];
            return v;
        };
        const std::size_t data = at + 3 + (count + 1) * offSize - 1;
        if (first) {
            *first = data + offset(0);
            *firstSize = offset(1) - offset(0);
        }
        const std::size_t end = data + offset(count);
        return end <= cffSize ? end : 0;
    };
    const std::size_t names = skipIndex(c[2], nullptr, nullptr);
    std::size_t top = 0, topSize = 0;
    if (names == 0 || skipIndex(names, &top, &topSize) == 0 || top + topSize > cffSize) return false;
    std::vector<Entry> topDict;
    if (!ParseDict(c + top, topSize, topDict)) return false;
    std::size_t priv = 0, privSize = 0;
    for (const Entry& e : topDict)
        if (e.op.size() == 1 && e.op[0] == 18 && e.operands.size() == 2 && e.operands[0].integer &&
            e.operands[1].integer && e.operands[0].value >= 0 && e.operands[1].value >= 0) {
            privSize = static_cast<std::size_t>(e.operands[0].value);
            priv = static_cast<std::size_t>(e.operands[1].value);
        }
    if (privSize == 0 || priv + privSize > cffSize) return false;
    std::vector<Entry> privDict;
    if (!ParseDict(c + priv, privSize, privDict)) return false;
    std::size_t removed = 0;
    std::vector<Entry> kept;
    for (Entry& e : privDict) {
        if (e.operands.empty())
            removed += e.op.size();
        else
            kept.push_back(std::move(e));
    }
    if (removed == 0 || !Widen(kept, removed)) return false;
    std::vector<uint8_t> out;
    for (const Entry& e : kept) {
        for (const Operand& o : e.operands) out.insert(out.end(), o.bytes.begin(), o.bytes.end());
        out.insert(out.end(), e.op.begin(), e.op.end());
    }
    if (out.size() != privSize) return false;
    std::copy(out.begin(), out.end(), font.begin() + static_cast<std::ptrdiff_t>(cff + priv));
    return true;
}

std::vector<uint8_t> RepairedCffFont(const std::string& file) {
    RegularFile f;
    if (!f.Open(file)) return {};
    std::vector<uint8_t> head(4);
    if (f.ReadAt(0, head.data(), 4) != 4 || Be(head, 0, 4) != 0x4F54544F || f.Size() > (64u << 20)) return {};
    std::vector<uint8_t> font(static_cast<std::size_t>(f.Size()));
    if (f.ReadAt(0, font.data(), font.size()) != static_cast<long long>(font.size()) || !RepairCffPrivateDict(font))
        return {};
    return font;
}

}  // namespace vg
