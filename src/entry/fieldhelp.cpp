#include "entry/fieldhelp.h"

#include <cctype>
#include <vector>

#include "entry/formatengine.h"

namespace vg {
namespace {

struct Noun {
    const char* key;  // pattern letter or <name>
    const char* one;
    const char* many;
    const char* chinese;
};
constexpr Noun kNouns[] = {
    {"D", "digit", "digits", "数字"},
    {"L", "letter", "letters", "字母"},
    {"A", "letter or digit", "letters or digits", "字母或数字"},
    {"U", "capital letter", "capital letters", "大写字母"},
    {"code39", "Code 39 character", "Code 39 characters", "Code 39 字符"},
    {"codabar", "Codabar character", "Codabar characters", "Codabar 字符"},
    {"code93", "Code 93 character", "Code 93 characters", "Code 93 字符"},
    {"code128", "Code 128 character", "Code 128 characters", "Code 128 字符"},
    {"ai", "application identifier character", "application identifier characters", "应用标识符字符"},
    {"hibclink", "link character", "link characters", "校验字符"},
};

const Noun* FindNoun(std::string_view key) {
    for (const Noun& n : kNouns)
        if (key == n.key) return &n;
    return nullptr;
}

// A recursive reader of the pattern language of the format table.
class Describer {
public:
    Describer(std::string_view p, bool english, int deepest) : p_(p), en_(english), deepest_(deepest) {}

    std::string Alternatives() {
        std::vector<std::string> parts{Sequence()};
        while (Skip('|')) parts.push_back(Sequence());
        return Join(parts, en_ ? " or " : " 或 ");
    }

private:
    std::string Sequence() {
        std::vector<std::string> items;
        for (;;) {
            SkipSpace();
            if (pos_ >= p_.size() || p_[pos_] == '|' || p_[pos_] == ')') break;
            const std::size_t before = pos_;
            items.push_back(Item());
            if (pos_ == before) ++pos_;  // a character the language does not know
        }
        return Join(items, en_ ? ", " : "，");
    }

    // One atom with its repetition.
    std::string Item() {
        const char c = p_[pos_];
        const Noun* noun = nullptr;
        std::string text;  // a literal, a set or a group
        if (c == '\'') {
            const std::size_t end = p_.find('\'', pos_ + 1);
            text = "\u201C" + std::string(p_.substr(pos_ + 1, end - pos_ - 1)) + "\u201D";
            pos_ = end == std::string_view::npos ? p_.size() : end + 1;
        } else if (c == '[') {
            const std::size_t end = p_.find(']', pos_ + 1);
            const std::string set(p_.substr(pos_ + 1, end - pos_ - 1));
            text = en_ ? "one of " + set : set + " 中的一个";
            pos_ = end == std::string_view::npos ? p_.size() : end + 1;
        } else if (c == '<') {
            const std::size_t end = p_.find('>', pos_ + 1);
            noun = FindNoun(p_.substr(pos_ + 1, end - pos_ - 1));
            pos_ = end == std::string_view::npos ? p_.size() : end + 1;
        } else if (c == '(') {
            ++pos_;
            ++depth_;
            const std::string inner = Alternatives();
            text = depth_ > deepest_ ? "(\u2026)" : "(" + inner + ")";
            --depth_;
            Skip(')');
        } else {
            noun = FindNoun(std::string_view(&p_[pos_], 1));
            ++pos_;
        }
        if (!noun && text.empty()) return std::string();
        return Repeated(noun, text);
    }

    std::string Repeated(const Noun* noun, const std::string& text) {
        const std::string many = noun ? (en_ ? noun->many : noun->chinese) : text;
        const std::string one = noun ? (en_ ? noun->one : noun->chinese) : text;
        const char* unit = noun && noun->key[0] == 'D' ? " 位" : " 个";
        if (pos_ < p_.size() && p_[pos_] == '{') {
            const std::size_t end = p_.find('}', pos_);
            std::string range(p_.substr(pos_ + 1, end - pos_ - 1));
            pos_ = end == std::string_view::npos ? p_.size() : end + 1;
            if (const std::size_t dots = range.find(".."); dots != std::string::npos)
                range = range.substr(0, dots) + "\u2013" + range.substr(dots + 2);
            if (range == "1") return one;
            if (!en_) return range + unit + many;
            return range + " " + (noun ? many : "\u00D7 " + text);
        }
        const char q = pos_ < p_.size() ? p_[pos_] : 0;
        if (q == '+' || q == '*' || q == '?') ++pos_;
        switch (q) {
        case '+': return en_ ? (noun ? many : "one or more " + text) : "一个或多个" + many;
        case '*': return en_ ? "any " + many : "任意个" + many;
        case '?': return en_ ? "optional " + one : "可选" + one;
        default: return one;
        }
    }

    void SkipSpace() {
        while (pos_ < p_.size() && std::isspace(static_cast<unsigned char>(p_[pos_]))) ++pos_;
    }
    bool Skip(char c) {
        SkipSpace();
        if (pos_ < p_.size() && p_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    static std::string Join(const std::vector<std::string>& parts, const char* separator) {
        std::string out;
        for (const std::string& s : parts) {
            if (s.empty()) continue;
            if (!out.empty()) out += separator;
            out += s;
        }
        return out;
    }

    std::string_view p_;
    bool en_;
    int deepest_;  // groups nested deeper are shown as "(...)"
    int depth_ = 0;
    std::size_t pos_ = 0;
};

const char* RoleName(FieldRole role, bool english) {
    switch (role) {
    case FieldRole::Main: return english ? "Data" : "数据";
    case FieldRole::AddOn: return english ? "Add-on" : "附加码";
    case FieldRole::Fact: return english ? "FACT data identifier" : "FACT 数据标识符";
    case FieldRole::CouponUpc: return english ? "UPC part" : "UPC 部分";
    case FieldRole::Coupon128: return english ? "UCC/EAN-128 part" : "UCC/EAN-128 部分";
    }
    return "";
}

}  // namespace

std::string DescribePattern(std::string_view pattern, bool english) {
    // Nested groups are left out until the words fit a tool tip.
    constexpr std::size_t kLongest = 160;
    std::string words;
    for (int deepest = 8; deepest >= 0; --deepest) {
        words = Describer(pattern, english, deepest).Alternatives();
        if (words.size() <= kLongest) break;
    }
    return words;
}

FieldHelp HelpFor(int variation, FieldRole role, bool english) {
    FieldHelp help;
    help.name = RoleName(role, english);
    std::string pattern;
    int maxLength = 0;
    if (!FindFormatPattern(variation, role, pattern, maxLength)) {
        help.tip = help.name;
        return help;
    }
    const std::string words = DescribePattern(pattern, english);
    const std::string length = std::to_string(maxLength);
    help.tip = english ? help.name + ": " + words + ".\nUp to " + length + " characters."
                       : help.name + "：" + words + "。\n最多 " + length + " 个字符。";
    return help;
}

}  // namespace vg
