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
    Describer(std::string_view p, bool english, int deepest) : m_p(p), m_en(english), m_deepest(deepest) {}

    std::string Alternatives() {
        std::vector<std::string> parts{Sequence()};
        while (Skip('|')) parts.push_back(Sequence());
        return Join(parts, m_en ? " or " : " 或 ");
    }

private:
    std::string Sequence() {
        std::vector<std::string> items;
        for (;;) {
            SkipSpace();
            if (m_pos >= m_p.size() || m_p[m_pos] == '|' || m_p[m_pos] == ')') break;
            const std::size_t before = m_pos;
            items.push_back(Item());
            if (m_pos == before) ++m_pos;  // a character the language does not know
        }
        return Join(items, m_en ? ", " : "，");
    }

    // One atom with its repetition.
    std::string Item() {
        const char c = m_p[m_pos];
        const Noun* noun = nullptr;
        std::string text;  // a literal, a set or a group
        if (c == '\'') {
            const std::size_t end = m_p.find('\'', m_pos + 1);
            text = "\u201C" + std::string(m_p.substr(m_pos + 1, end - m_pos - 1)) + "\u201D";
            m_pos = end == std::string_view::npos ? m_p.size() : end + 1;
        } else if (c == '[') {
            const std::size_t end = m_p.find(']', m_pos + 1);
            const std::string set(m_p.substr(m_pos + 1, end - m_pos - 1));
            text = m_en ? "one of " + set : set + " 中的一个";
            m_pos = end == std::string_view::npos ? m_p.size() : end + 1;
        } else if (c == '<') {
            const std::size_t end = m_p.find('>', m_pos + 1);
            noun = FindNoun(m_p.substr(m_pos + 1, end - m_pos - 1));
            m_pos = end == std::string_view::npos ? m_p.size() : end + 1;
        } else if (c == '(') {
            ++m_pos;
            ++m_depth;
            const std::string inner = Alternatives();
            text = m_depth > m_deepest ? "(\u2026)" : "(" + inner + ")";
            --m_depth;
            Skip(')');
        } else {
            noun = FindNoun(std::string_view(&m_p[m_pos], 1));
            ++m_pos;
        }
        if (!noun && text.empty()) return std::string();
        return Repeated(noun, text);
    }

    std::string Repeated(const Noun* noun, const std::string& text) {
        const std::string many = noun ? (m_en ? noun->many : noun->chinese) : text;
        const std::string one = noun ? (m_en ? noun->one : noun->chinese) : text;
        const char* unit = noun && noun->key[0] == 'D' ? " 位" : " 个";
        if (m_pos < m_p.size() && m_p[m_pos] == '{') {
            const std::size_t end = m_p.find('}', m_pos);
            std::string range(m_p.substr(m_pos + 1, end - m_pos - 1));
            m_pos = end == std::string_view::npos ? m_p.size() : end + 1;
            if (const std::size_t dots = range.find(".."); dots != std::string::npos)
                range = range.substr(0, dots) + "\u2013" + range.substr(dots + 2);
            if (range == "1") return one;
            if (!m_en) return range + unit + many;
            return range + " " + (noun ? many : "\u00D7 " + text);
        }
        const char q = m_pos < m_p.size() ? m_p[m_pos] : 0;
        if (q == '+' || q == '*' || q == '?') ++m_pos;
        switch (q) {
        case '+': return m_en ? (noun ? many : "one or more " + text) : "一个或多个" + many;
        case '*': return m_en ? "any " + many : "任意个" + many;
        case '?': return m_en ? "optional " + one : "可选" + one;
        default: return one;
        }
    }

    void SkipSpace() {
        while (m_pos < m_p.size() && std::isspace(static_cast<unsigned char>(m_p[m_pos]))) ++m_pos;
    }
    bool Skip(char c) {
        SkipSpace();
        if (m_pos < m_p.size() && m_p[m_pos] == c) {
            ++m_pos;
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

    std::string_view m_p;
    bool m_en;
    int m_deepest;  // groups nested deeper are shown as "(...)"
    int m_depth = 0;
    std::size_t m_pos = 0;
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
