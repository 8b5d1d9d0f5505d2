#include <algorithm>
#include <atomic>
#include <iterator>

#include "model/strings.h"

namespace vg {
namespace {

struct EnglishText {
    const char* stored;
    const char* english;
};

constexpr EnglishText kEnglish[] = {
#include "englishtexts.inc"
};

std::atomic<bool> english{false};

const EnglishText* FindExact(std::string_view stored) {
    for (const EnglishText& e : kEnglish)
        if (stored == e.stored) return &e;
    return nullptr;
}

// Stored texts longest first, so that a phrase wins over the words inside it.
const std::vector<const EnglishText*>& ByLength() {
    static const std::vector<const EnglishText*> sorted = [] {
        std::vector<const EnglishText*> v;
        for (const EnglishText& e : kEnglish) v.push_back(&e);
        std::stable_sort(v.begin(), v.end(), [](const EnglishText* a, const EnglishText* b) {
            return std::string_view(a->stored).size() > std::string_view(b->stored).size();
        });
        return v;
    }();
    return sorted;
}

bool HasUpperHalf(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

}  // namespace

void SetEnglishTexts(bool on) { english = on; }
bool EnglishTexts() { return english; }

std::string UiTextExact(std::string_view stored) {
    if (!english || !HasUpperHalf(stored)) return std::string(stored);
    const EnglishText* e = FindExact(stored);
    return e ? e->english : std::string(stored);
}

std::string UiText(std::string_view stored) {
    if (!english || !HasUpperHalf(stored)) return std::string(stored);
    if (const EnglishText* e = FindExact(stored)) return e->english;
    std::string text(stored);
    for (const EnglishText* e : ByLength()) {
        const std::string_view from = e->stored;
        // Texts of plain ASCII are never replaced inside others.
        if (!HasUpperHalf(from)) continue;
        for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
            text.replace(at, from.size(), e->english);
            at += std::string_view(e->english).size();
        }
    }
    return text;
}

std::vector<std::pair<std::string_view, std::string_view>> EnglishTextTable() {
    std::vector<std::pair<std::string_view, std::string_view>> table;
    for (const EnglishText& e : kEnglish) table.emplace_back(e.stored, e.english);
    return table;
}

}  // namespace vg
