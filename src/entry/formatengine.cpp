#include "entry/formatengine.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdlib>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "model/messages.h"
#include "model/strings.h"
#include "symbology/check.h"
#include "symbology/upce.h"

namespace vg {

// ---------------------------------------------------------------------------
// Character classes

namespace {

bool InCodes(unsigned char c, std::initializer_list<int> codes) {
    return std::find(codes.begin(), codes.end(), c) != codes.end();
}

bool Between(unsigned char c, int lo, int hi) { return c >= lo && c <= hi; }

bool DigitIn(unsigned char c, const char* digits) {
    if (c < '0' || c > '9') return false;
    for (const char* p = digits; *p; ++p)
        if (*p == static_cast<char>(c)) return true;
    return false;
}

}  // namespace

bool InCharClass(CharClass cls, unsigned char c) {
    const bool digit = Between(c, '0', '9');
    const bool upper = Between(c, 'A', 'Z');
    const bool lower = Between(c, 'a', 'z');
    switch (cls) {
        case CharClass::Literal: return false;
        case CharClass::Digit: return digit;
        case CharClass::Letter: return upper || lower;
        case CharClass::LetterOrDigit: return upper || lower || digit;
        case CharClass::UpperButS: return upper && c != 'S';
        case CharClass::Code39Set:
            return digit || upper || lower || InCodes(c, {' ', '$', '%', '+', '-', '.', '/'});
        case CharClass::CodabarSet: return digit || InCodes(c, {'$', '+', '-', '.', '/', ':'});
        case CharClass::Code93FreeSet:
            return Between(c, 32, 47) || Between(c, 58, 64) || c == 92 || Between(c, 94, 96) ||
                   Between(c, 123, 126) || digit || lower;
        case CharClass::Code128Set:
            return digit || upper || lower || Between(c, 32, 47) || Between(c, 58, 64) ||
                   Between(c, 91, 96) || Between(c, 123, 126) ||
                   InCodes(c, {140, 141, 160, 176, 185, 186, 188, 189, 191, 207, 210, 212, 246,
                               247, 250, 251}) ||
                   Between(c, 162, 172) || Between(c, 180, 183) || Between(c, 193, 199);
        case CharClass::AiSet:
            return upper || lower ||
                   InCodes(c, {'!', '"', '%', '&', '\'', '*', '+', ',', '-', '.', '/', ':', ';',
                               '<', '=', '>', '?', '_'});
        case CharClass::Digits1To9: return DigitIn(c, "123456789");
        case CharClass::Digits2To9: return DigitIn(c, "23456789");
        case CharClass::Digits1To4: return DigitIn(c, "1234");
        case CharClass::Digits3_5To9: return DigitIn(c, "356789");
        case CharClass::Digits0_3_5To9: return DigitIn(c, "0356789");
        case CharClass::Digits1_3_5To9: return DigitIn(c, "1356789");
        case CharClass::Digits0_2_3_5To9: return DigitIn(c, "02356789");
        case CharClass::Digits2_3_5To9: return DigitIn(c, "2356789");
        case CharClass::Digits0_2_5To9: return DigitIn(c, "0256789");
        case CharClass::Digits0_2_3_6To9: return DigitIn(c, "0236789");
        case CharClass::Digits1235679: return DigitIn(c, "1235679");
        case CharClass::Digits1245679: return DigitIn(c, "1245679");
        case CharClass::Digits0To4_6To9: return DigitIn(c, "012346789");
        case CharClass::Digits0To3_6To8: return DigitIn(c, "0123678");
        case CharClass::Digits0To2_4To9: return DigitIn(c, "012456789");
        case CharClass::Digits2To7_9: return DigitIn(c, "2345679");
        case CharClass::Digits3To7_9: return DigitIn(c, "345679");
    }
    return false;
}

// ---------------------------------------------------------------------------
// The automaton

namespace {

bool SymbolMatches(const FormatSymbol& s, unsigned char c) {
    if (s.cls == CharClass::Literal) return static_cast<unsigned char>(s.literal) == c;
    return InCharClass(s.cls, c);
}

}  // namespace

int RunFormat(const FormatRecord& format, std::string_view text, std::size_t* rejectedAt) {
    int state = 0;
    const int symbols = std::min<int>(format.symbolCount, kMaxFormatSymbols);
    const int rows = std::min<int>(format.stateCount, kMaxFormatStates + 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        int next = 0;
        const int row = state < 0 ? -state : state;
        if (row < rows) {
            for (int s = 0; s < symbols; ++s) {
                if (SymbolMatches(format.symbols[s], c)) {
                    next = format.next[s][row];
                    break;
                }
            }
        }
        if (next == 0 || next == -1) {
            if (rejectedAt) *rejectedAt = i;
            return 0;
        }
        state = next;
    }
    return state;
}

bool IsAcceptingState(const FormatRecord& format, int state) {
    if (state == 0) return false;
    if (state == format.acceptingState) return true;
    if (state > 0) return false;
    const int groups = std::min<int>(format.groupCount, kMaxAcceptGroups);
    for (int g = 0; g < groups; ++g) {
        const AcceptGroup& group = format.groups[g];
        if (group.state != state) continue;
        const int n = std::min<int>(group.count, kMaxGroupMembers);
        for (int m = 0; m < n; ++m)
            if (group.members[m] == format.acceptingState) return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Building a format record from a pattern

namespace {

using ByteSet = std::bitset<256>;

constexpr CharClass kNamedClasses[] = {
    CharClass::Digit,           CharClass::Letter,           CharClass::LetterOrDigit,
    CharClass::UpperButS,       CharClass::Code39Set,        CharClass::CodabarSet,
    CharClass::Code93FreeSet,   CharClass::Code128Set,       CharClass::AiSet,
    CharClass::Digits1To9,      CharClass::Digits2To9,       CharClass::Digits1To4,
    CharClass::Digits3_5To9,    CharClass::Digits0_3_5To9,   CharClass::Digits1_3_5To9,
    CharClass::Digits0_2_3_5To9, CharClass::Digits2_3_5To9,  CharClass::Digits0_2_5To9,
    CharClass::Digits0_2_3_6To9, CharClass::Digits1235679,   CharClass::Digits1245679,
    CharClass::Digits0To4_6To9, CharClass::Digits0To3_6To8,  CharClass::Digits0To2_4To9,
    CharClass::Digits2To7_9,    CharClass::Digits3To7_9,
};

ByteSet ClassSet(CharClass cls) {
    ByteSet set;
    for (int c = 0; c < 256; ++c)
        if (InCharClass(cls, static_cast<unsigned char>(c))) set.set(c);
    return set;
}

ByteSet CharsSet(std::string_view chars) {
    ByteSet set;
    for (char c : chars) set.set(static_cast<unsigned char>(c));
    return set;
}

// Pattern tree.
struct Node {
    enum Kind { Set, Seq, Alt, Repeat } kind = Seq;
    ByteSet set;
    std::vector<Node> kids;
    int min = 1;
    int max = 1;  // -1: unbounded
};

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    bool Parse(Node& root, std::string& error) {
        if (!ParseAlt(root)) {
            error = error_;
            return false;
        }
        SkipSpace();
        if (pos_ != text_.size()) {
            error = "unexpected character at " + std::to_string(pos_);
            return false;
        }
        return true;
    }

private:
    bool Fail(const std::string& why) {
        if (error_.empty()) error_ = why + " at " + std::to_string(pos_);
        return false;
    }
    void SkipSpace() {
        while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    }
    bool Peek(char c) {
        SkipSpace();
        return pos_ < text_.size() && text_[pos_] == c;
    }

    bool ParseAlt(Node& out) {
        Node first;
        if (!ParseSeq(first)) return false;
        if (!Peek('|')) {
            out = std::move(first);
            return true;
        }
        out = Node{};
        out.kind = Node::Alt;
        out.kids.push_back(std::move(first));
        while (Peek('|')) {
            ++pos_;
            Node next;
            if (!ParseSeq(next)) return false;
            out.kids.push_back(std::move(next));
        }
        return true;
    }

    bool ParseSeq(Node& out) {
        out = Node{};
        out.kind = Node::Seq;
        while (true) {
            SkipSpace();
            if (pos_ >= text_.size() || text_[pos_] == '|' || text_[pos_] == ')') break;
            Node item;
            if (!ParseItem(item)) return false;
            out.kids.push_back(std::move(item));
        }
        if (out.kids.empty()) return Fail("empty sequence");
        return true;
    }

    bool ParseItem(Node& out) {
        if (!ParseAtom(out)) return false;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            int min, max;
            if (c == '+') {
                min = 1, max = -1, ++pos_;
            } else if (c == '*') {
                min = 0, max = -1, ++pos_;
            } else if (c == '?') {
                min = 0, max = 1, ++pos_;
            } else if (c == '{') {
                ++pos_;
                if (!ParseNumber(min)) return false;
                max = min;
                if (text_.substr(pos_, 2) == "..") {
                    pos_ += 2;
                    if (!ParseNumber(max)) return false;
                }
                if (pos_ >= text_.size() || text_[pos_] != '}') return Fail("missing }");
                ++pos_;
                if (max < min || max > 255) return Fail("bad repetition");
            } else {
                break;
            }
            Node rep;
            rep.kind = Node::Repeat;
            rep.min = min;
            rep.max = max;
            rep.kids.push_back(std::move(out));
            out = std::move(rep);
        }
        return true;
    }

    bool ParseNumber(int& n) {
        const std::size_t start = pos_;
        n = 0;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9' && n < 1000)
            n = n * 10 + (text_[pos_++] - '0');
        return pos_ > start || Fail("number expected");
    }

    static Node SetNode(const ByteSet& set) {
        Node n;
        n.kind = Node::Set;
        n.set = set;
        return n;
    }

    bool ParseAtom(Node& out) {
        SkipSpace();
        if (pos_ >= text_.size()) return Fail("atom expected");
        const char c = text_[pos_++];
        switch (c) {
            case 'D': out = SetNode(ClassSet(CharClass::Digit)); return true;
            case 'L': out = SetNode(ClassSet(CharClass::Letter)); return true;
            case 'A': out = SetNode(ClassSet(CharClass::LetterOrDigit)); return true;
            case 'U': out = SetNode(CharsSet("ABCDEFGHIJKLMNOPQRSTUVWXYZ")); return true;
            case '(': {
                if (!ParseAlt(out)) return false;
                if (!Peek(')')) return Fail("missing )");
                ++pos_;
                return true;
            }
            case '\'': {
                const std::size_t end = text_.find('\'', pos_);
                if (end == std::string_view::npos || end == pos_) return Fail("bad literal");
                out = Node{};
                out.kind = Node::Seq;
                for (std::size_t i = pos_; i < end; ++i)
                    out.kids.push_back(SetNode(CharsSet(text_.substr(i, 1))));
                pos_ = end + 1;
                return true;
            }
            case '[': {
                ByteSet set;
                while (pos_ < text_.size() && text_[pos_] != ']') {
                    const auto lo = static_cast<unsigned char>(text_[pos_++]);
                    auto hi = lo;
                    if (pos_ + 1 < text_.size() && text_[pos_] == '-' && text_[pos_ + 1] != ']') {
                        hi = static_cast<unsigned char>(text_[pos_ + 1]);
                        pos_ += 2;
                    }
                    if (hi < lo) return Fail("bad range");
                    for (int b = lo; b <= hi; ++b) set.set(b);
                }
                if (pos_ >= text_.size() || set.none()) return Fail("bad set");
                ++pos_;
                out = SetNode(set);
                return true;
            }
            case '<': {
                const std::size_t end = text_.find('>', pos_);
                if (end == std::string_view::npos) return Fail("missing >");
                const std::string_view name = text_.substr(pos_, end - pos_);
                pos_ = end + 1;
                static const std::pair<std::string_view, CharClass> names[] = {
                    {"code39", CharClass::Code39Set},   {"codabar", CharClass::CodabarSet},
                    {"code93", CharClass::Code93FreeSet}, {"code128", CharClass::Code128Set},
                    {"ai", CharClass::AiSet},
                };
                for (const auto& [n, cls] : names) {
                    if (n == name) {
                        out = SetNode(ClassSet(cls));
                        return true;
                    }
                }
                if (name == "hibclink") {
                    out = SetNode(CharsSet("+$-. /%"));
                    return true;
                }
                return Fail("unknown set <" + std::string(name) + ">");
            }
            default: return Fail("unexpected character");
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::string error_;
};

// Nondeterministic automaton built from the tree.
struct Nfa {
    struct Edge {
        int set;  // index into sets
        int to;
    };
    struct State {
        std::vector<int> eps;
        std::vector<Edge> edges;
    };
    std::vector<State> states;
    std::vector<ByteSet> sets;

    int Add() {
        states.emplace_back();
        return static_cast<int>(states.size()) - 1;
    }

    // Appends node after state from; returns the end state. Fails when too large.
    int Build(const Node& node, int from) {
        if (states.size() > 20000) return -1;
        switch (node.kind) {
            case Node::Set: {
                const int to = Add();
                sets.push_back(node.set);
                states[from].edges.push_back({static_cast<int>(sets.size()) - 1, to});
                return to;
            }
            case Node::Seq: {
                int cur = from;
                for (const Node& kid : node.kids)
                    if ((cur = Build(kid, cur)) < 0) return -1;
                return cur;
            }
            case Node::Alt: {
                const int end = Add();
                for (const Node& kid : node.kids) {
                    const int start = Add();
                    states[from].eps.push_back(start);
                    const int e = Build(kid, start);
                    if (e < 0) return -1;
                    states[e].eps.push_back(end);
                }
                return end;
            }
            case Node::Repeat: {
                int cur = from;
                for (int i = 0; i < node.min; ++i)
                    if ((cur = Build(node.kids[0], cur)) < 0) return -1;
                if (node.max < 0) {
                    const int loop = Add();
                    states[cur].eps.push_back(loop);
                    const int e = Build(node.kids[0], loop);
                    if (e < 0) return -1;
                    states[e].eps.push_back(loop);
                    return loop;
                }
                for (int i = node.min; i < node.max; ++i) {
                    const int start = Add();
                    const int join = Add();
                    states[cur].eps.push_back(start);
                    states[cur].eps.push_back(join);
                    const int e = Build(node.kids[0], start);
                    if (e < 0) return -1;
                    states[e].eps.push_back(join);
                    cur = join;
                }
                return cur;
            }
        }
        return -1;
    }

    void Close(std::vector<int>& set) const {
        std::vector<char> seen(states.size(), 0);
        std::vector<int> stack(set);
        for (int s : set) seen[s] = 1;
        while (!stack.empty()) {
            const int s = stack.back();
            stack.pop_back();
            for (int t : states[s].eps) {
                if (!seen[t]) {
                    seen[t] = 1;
                    set.push_back(t);
                    stack.push_back(t);
                }
            }
        }
        std::sort(set.begin(), set.end());
    }
};

// Deterministic automaton over bytes; next -1 is the rejection.
struct Dfa {
    std::vector<std::array<int, 256>> next;
    std::vector<char> accepting;  // state 0 is the start state
};

bool Determinise(const Nfa& nfa, int final, Dfa& dfa, std::string& error) {
    constexpr std::size_t kLimit = 4000;
    std::map<std::pair<std::vector<int>, bool>, int> index;
    std::vector<std::vector<int>> pending;
    std::vector<int> start{0};
    nfa.Close(start);
    index[{start, true}] = 0;
    pending.push_back(start);
    dfa.next.clear();
    dfa.accepting.clear();
    for (std::size_t d = 0; d < pending.size(); ++d) {
        const std::vector<int> set = pending[d];
        std::array<std::vector<int>, 256> moves;
        for (int s : set)
            for (const Nfa::Edge& e : nfa.states[s].edges)
                for (int b = 0; b < 256; ++b)
                    if (nfa.sets[e.set][b]) moves[b].push_back(e.to);
        std::array<int, 256> row;
        for (int b = 0; b < 256; ++b) {
            std::vector<int>& move = moves[b];
            if (move.empty()) {
                row[b] = -1;
                continue;
            }
            std::sort(move.begin(), move.end());
            move.erase(std::unique(move.begin(), move.end()), move.end());
            nfa.Close(move);
            auto [it, inserted] = index.try_emplace({move, false}, static_cast<int>(pending.size()));
            if (inserted) {
                if (pending.size() >= kLimit) {
                    error = "too many states";
                    return false;
                }
                pending.push_back(move);
            }
            row[b] = it->second;
        }
        dfa.next.push_back(row);
        dfa.accepting.push_back(std::binary_search(set.begin(), set.end(), final) ? 1 : 0);
    }
    return true;
}

// Merges equivalent states and renumbers them breadth first from the start.
Dfa Minimise(const Dfa& dfa) {
    const int n = static_cast<int>(dfa.next.size());
    std::vector<int> block(n);
    for (int i = 0; i < n; ++i) block[i] = i == 0 ? 2 : dfa.accepting[i];
    int blocks = 0;
    while (true) {
        std::map<std::vector<int>, int> ids;
        std::vector<int> refined(n);
        for (int i = 0; i < n; ++i) {
            std::vector<int> key;
            key.reserve(257);
            key.push_back(block[i]);
            for (int b = 0; b < 256; ++b) key.push_back(dfa.next[i][b] < 0 ? -1 : block[dfa.next[i][b]]);
            refined[i] = ids.try_emplace(std::move(key), static_cast<int>(ids.size())).first->second;
        }
        block.swap(refined);
        if (static_cast<int>(ids.size()) == blocks) break;
        blocks = static_cast<int>(ids.size());
    }
    // Breadth-first numbering of the blocks.
    std::vector<int> number(blocks, -1), representative;
    number[block[0]] = 0;
    representative.push_back(0);
    for (std::size_t k = 0; k < representative.size(); ++k) {
        for (int b = 0; b < 256; ++b) {
            const int t = dfa.next[representative[k]][b];
            if (t >= 0 && number[block[t]] < 0) {
                number[block[t]] = static_cast<int>(representative.size());
                representative.push_back(t);
            }
        }
    }
    Dfa out;
    for (int rep : representative) {
        std::array<int, 256> row;
        for (int b = 0; b < 256; ++b)
            row[b] = dfa.next[rep][b] < 0 ? -1 : number[block[dfa.next[rep][b]]];
        out.next.push_back(row);
        out.accepting.push_back(dfa.accepting[rep]);
    }
    return out;
}

// Chooses the ordered symbol list: every group of bytes that behave alike
// becomes one literal or one class; a class's other members must be caught by
// earlier symbols.
struct ChosenSymbol {
    FormatSymbol symbol;
    int group;  // byte group whose column it carries; -1: rejected everywhere
    int byte;   // a byte of that group
};

int FirstByte(const ByteSet& set) {
    for (int b = 0; b < 256; ++b)
        if (set[b]) return b;
    return 0;
}

bool ChooseSymbols(const Dfa& dfa, std::vector<ChosenSymbol>& out, std::string& error) {
    const int states = static_cast<int>(dfa.next.size());
    // Byte groups by column.
    std::map<std::vector<int>, int> columns;
    std::array<int, 256> groupOf;
    std::vector<ByteSet> groups;
    for (int b = 0; b < 256; ++b) {
        std::vector<int> column(states);
        bool any = false;
        for (int s = 0; s < states; ++s) {
            column[s] = dfa.next[s][b];
            any = any || column[s] >= 0;
        }
        if (!any) {
            groupOf[b] = -1;
            continue;
        }
        auto [it, inserted] = columns.try_emplace(column, static_cast<int>(groups.size()));
        if (inserted) groups.emplace_back();
        groups[it->second].set(b);
        groupOf[b] = it->second;
    }
    ByteSet rejected;
    for (int b = 0; b < 256; ++b)
        if (groupOf[b] < 0) rejected.set(b);

    struct Choice {
        bool literals = true;
        CharClass cls = CharClass::Literal;
    };
    std::vector<Choice> choice(groups.size());
    ByteSet rejectLiterals;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const ByteSet& set = groups[g];
        std::size_t best = set.count() - 1;  // extra symbols when spelled as literals
        std::size_t bestSize = 0;
        for (CharClass cls : kNamedClasses) {
            const ByteSet cs = ClassSet(cls);
            if ((set & ~cs).any()) continue;
            const std::size_t cost = (cs & ~set & rejected).count();
            if (cost < best || (cost == best && !choice[g].literals && cs.count() < bestSize)) {
                best = cost;
                bestSize = cs.count();
                choice[g] = {false, cls};
            }
        }
        if (!choice[g].literals) rejectLiterals |= ClassSet(choice[g].cls) & ~set & rejected;
    }

    // Literals first: bytes rejected everywhere that a class would catch, then the
    // literal groups; then the classes, each after the classes that catch its
    // other members.
    out.clear();
    for (int b = 0; b < 256; ++b)
        if (rejectLiterals[b]) out.push_back({{CharClass::Literal, static_cast<char>(b)}, -1, b});
    for (std::size_t g = 0; g < groups.size(); ++g) {
        if (!choice[g].literals) continue;
        for (int b = 0; b < 256; ++b)
            if (groups[g][b]) out.push_back({{CharClass::Literal, static_cast<char>(b)}, static_cast<int>(g), b});
    }
    std::vector<char> placed(groups.size(), 0);
    for (std::size_t g = 0; g < groups.size(); ++g) placed[g] = choice[g].literals;
    while (std::find(placed.begin(), placed.end(), 0) != placed.end()) {
        bool progress = false;
        for (std::size_t g = 0; g < groups.size(); ++g) {
            if (placed[g]) continue;
            const ByteSet others = ClassSet(choice[g].cls) & ~groups[g];
            bool ready = true;
            for (std::size_t h = 0; h < groups.size() && ready; ++h)
                if (h != g && !placed[h] && (others & groups[h]).any()) ready = false;
            if (!ready) continue;
            out.push_back({{choice[g].cls, 0}, static_cast<int>(g), FirstByte(groups[g])});
            placed[g] = 1;
            progress = true;
        }
        if (progress) continue;
        // Classes that wait for each other: spell the smallest group as literals.
        // No class placed so far catches its bytes.
        std::size_t smallest = groups.size();
        for (std::size_t g = 0; g < groups.size(); ++g)
            if (!placed[g] && (smallest == groups.size() || groups[g].count() < groups[smallest].count()))
                smallest = g;
        for (int b = 0; b < 256; ++b)
            if (groups[smallest][b])
                out.push_back({{CharClass::Literal, static_cast<char>(b)}, static_cast<int>(smallest), b});
        placed[smallest] = 1;
    }
    if (out.size() > static_cast<std::size_t>(kMaxFormatSymbols)) {
        error = "too many symbols (" + std::to_string(out.size()) + ")";
        return false;
    }
    // Every byte must reach the symbol of its own group first.
    for (int b = 0; b < 256; ++b) {
        int got = -1;
        bool matched = false;
        for (const ChosenSymbol& s : out) {
            if (SymbolMatches(s.symbol, static_cast<unsigned char>(b))) {
                got = s.group;
                matched = true;
                break;
            }
        }
        if ((matched ? got : -1) != groupOf[b]) {
            error = "character classes do not separate byte " + std::to_string(b);
            return false;
        }
    }
    return true;
}

}  // namespace

bool BuildFormat(std::string_view pattern, int maxLength, FormatRecord& out, std::string* error) {
    std::string why;
    auto fail = [&](const std::string& reason) {
        if (error) *error = reason;
        return false;
    };
    if (maxLength < 1 || maxLength > 255) return fail("bad maximum length");
    Node root;
    if (!Parser(pattern).Parse(root, why)) return fail(why);
    Nfa nfa;
    const int start = nfa.Add();
    const int final = nfa.Build(root, start);
    if (final < 0) return fail("pattern too large");
    Dfa dfa;
    if (!Determinise(nfa, final, dfa, why)) return fail(why);
    dfa = Minimise(dfa);
    if (dfa.accepting[0]) return fail("the empty text must not be accepted");
    if (dfa.next.size() > static_cast<std::size_t>(kMaxFormatStates) + 1)
        return fail("too many states (" + std::to_string(dfa.next.size()) + ")");
    std::vector<ChosenSymbol> symbols;
    if (!ChooseSymbols(dfa, symbols, why)) return fail(why);

    // State numbers: row k is state k, or -k when k is a further accepting state.
    const int rows = static_cast<int>(dfa.next.size());
    int accepting = 0;
    for (int k = 1; k < rows && !accepting; ++k)
        if (dfa.accepting[k]) accepting = k;
    if (!accepting) return fail("no accepting state");
    if (accepting != 1 && rows > 1 && dfa.accepting[1]) accepting = 1;
    std::vector<int> number(rows);
    for (int k = 0; k < rows; ++k) number[k] = dfa.accepting[k] && k != accepting ? -k : k;

    auto record = std::make_unique<FormatRecord>();
    record->maxLength = static_cast<std::uint8_t>(maxLength);
    record->symbolCount = static_cast<std::uint8_t>(symbols.size());
    record->stateCount = static_cast<std::uint8_t>(rows);
    record->acceptingState = static_cast<std::int8_t>(accepting);
    for (std::size_t s = 0; s < symbols.size(); ++s) {
        record->symbols[s] = symbols[s].symbol;
        if (symbols[s].group < 0) continue;
        for (int k = 0; k < rows; ++k) {
            const int t = dfa.next[k][symbols[s].byte];
            record->next[s][k] = static_cast<std::int8_t>(t < 0 ? 0 : number[t]);
        }
    }
    for (int k = 0; k < rows; ++k) {
        if (number[k] >= 0) continue;
        if (record->groupCount >= kMaxAcceptGroups) return fail("too many accepting states");
        AcceptGroup& g = record->groups[record->groupCount++];
        g.state = static_cast<std::int8_t>(number[k]);
        g.count = 1;
        g.members[0] = static_cast<std::int8_t>(accepting);
    }
    // The record must step exactly like the automaton it was made from.
    for (int k = 0; k < rows; ++k) {
        for (int b = 0; b < 256; ++b) {
            int got = 0;
            for (int s = 0; s < record->symbolCount; ++s) {
                if (SymbolMatches(record->symbols[s], static_cast<unsigned char>(b))) {
                    got = record->next[s][k];
                    break;
                }
            }
            const int t = dfa.next[k][b];
            if (got != (t < 0 ? 0 : number[t])) return fail("record differs from its automaton");
        }
    }
    out = *record;
    return true;
}

// ---------------------------------------------------------------------------
// Validation

namespace {

const FormatRecord* currentFormat = nullptr;

constexpr int kCaptionEditControl = 61245;
constexpr int kStrOutOfRange = 61223;
constexpr int kStrIncorrectInput = 61260;
constexpr int kStrInvalidUpcE = 61261;
constexpr int kStrFirstMustBe0 = 61262;
constexpr int kStrErrorNumber = 61389;
constexpr int kStrConvertFirst0 = 61423;
constexpr int kStrFirstMustBe1 = 61427;

void ShowFormatMessage(const std::string& text) {
    ShowMessage(LoadString(kCaptionEditControl), text, MsgIcon::Stop);
}

int ErrorNumber(int variation) {
    switch (variation) {
        case 7: return 335;
        case 8: case 18: return 333;
        case 9: case 19: return 334;
        case 60: return 332;
        case 66: return 346;
        case 68: return 345;
        case 88: return 336;
        case 89: return 337;
        case 90: return 341;
        case 91: return 340;
        case 92: return 338;
        case 93: return 339;
        case 94: return 343;
        case 95: return 342;
        case 96: return 344;
        default: return 0;
    }
}

bool AllDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void ShowIncorrectInput(int variation) {
    std::string text = LoadString(kStrIncorrectInput);
    if (const int number = ErrorNumber(variation)) text += LoadString(kStrErrorNumber) + std::to_string(number);
    ShowFormatMessage(text);
}

void ShowOutOfRange(const char* low, const char* high) {
    std::string text = LoadString(kStrOutOfRange);
    for (auto [key, value] : {std::pair{"%1", low}, std::pair{"%2", high}}) {
        const std::size_t at = text.find(key);
        if (at != std::string::npos) text.replace(at, 2, value);
    }
    ShowFormatMessage(text);
}

// Dates inside accepted texts. Reading past the text or a non-digit is an
// invalid date.
class DateReader {
public:
    explicit DateReader(std::string_view text) : text_(text) {}

    bool Number(std::size_t& pos, int digits, int& value) const {
        value = 0;
        for (int i = 0; i < digits; ++i, ++pos) {
            if (pos >= text_.size() || text_[pos] < '0' || text_[pos] > '9') return false;
            value = value * 10 + (text_[pos] - '0');
        }
        return true;
    }

    static int DaysInMonth(int month, int yy) {
        static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        if (month == 2 && yy % 4 == 0) return 29;
        return days[month - 1];
    }

    bool Month(std::size_t& pos, int& month) const {
        return Number(pos, 2, month) && month >= 1 && month <= 12;
    }
    bool Hour(std::size_t& pos) const {
        int hh;
        return Number(pos, 2, hh) && hh <= 24;
    }
    bool YearMonthDay(std::size_t& pos, bool yearFirst) const {
        int yy = 0, mm = 0, dd = 0;
        if (yearFirst && !Number(pos, 2, yy)) return false;
        if (!Month(pos, mm) || !Number(pos, 2, dd)) return false;
        if (!yearFirst && !Number(pos, 2, yy)) return false;
        return dd >= 1 && dd <= DaysInMonth(mm, yy);
    }
    bool Julian(std::size_t& pos) const {
        int yy, jjj;
        if (!Number(pos, 2, yy) || !Number(pos, 3, jjj)) return false;
        return jjj >= 1 && jjj <= (yy % 4 == 0 ? 366 : 365);
    }

    // A date form starting at pos: its leading digit names it; 8 and 9 are
    // quantities followed by another form.
    bool DateForm(std::size_t pos, bool afterQuantity = false) const {
        if (pos >= text_.size()) return false;
        const char form = text_[pos];
        int month;
        switch (form) {
            case '0': case '1': {
                int yy;
                return Month(pos, month) && Number(pos, 2, yy);
            }
            case '2': return YearMonthDay(++pos, false);
            case '3': return YearMonthDay(++pos, true);
            case '4': return YearMonthDay(++pos, true) && Hour(pos);
            case '5': return Julian(++pos);
            case '6': return Julian(++pos) && Hour(pos);
            case '7': return true;
            case '8': return !afterQuantity && DateForm(pos + 3, true);
            case '9': return !afterQuantity && DateForm(pos + 6, true);
            default: return false;
        }
    }

    // A secondary: "$$" and a date form, "$" (with a julian date when digits
    // follow) or a julian date at its start.
    bool Secondary(std::size_t pos) const {
        if (text_.substr(pos, 2) == "$$") return DateForm(pos + 2);
        if (text_.substr(pos, 1) == "$") {
            if (!AllDigits(text_.substr(pos + 1, 5)) || text_.size() < pos + 6) return true;
            ++pos;
            return Julian(pos);
        }
        return Julian(pos);
    }

private:
    std::string_view text_;
};

bool DateValid(int variation, std::string_view text) {
    DateReader reader(text);
    switch (variation) {
        case 9: case 19: return reader.Secondary(1);
        case 7: case 17: {
            const std::size_t slash = text.find('/');
            return slash == std::string_view::npos || reader.Secondary(slash + 1);
        }
        case 68: return reader.DateForm(4);
        default: return true;
    }
}

FormatResult CheckUpcESix(int variation, std::string_view text) {
    if (!AllDigits(text)) {
        ShowIncorrectInput(variation);
        return FormatResult::Rejected;
    }
    if (text.size() < 6) return FormatResult::Incomplete;
    if (text.size() > 6) return FormatResult::TooLong;
    std::string ten;
    if (ExpandUpcE(text, ten)) {
        const std::string upcA = (variation == 101 ? "1" : "0") + ten;
        if (CheckMod10(upcA) != kNoCheck) return FormatResult::Complete;
    }
    ShowFormatMessage(LoadString(kStrInvalidUpcE));
    return FormatResult::Reported;
}

FormatResult CheckUpcEEleven(int variation, std::string_view text) {
    const char system = variation == 102 ? '1' : '0';
    if (!text.empty() && text[0] != system) {
        ShowFormatMessage(LoadString(system == '1' ? kStrFirstMustBe1 : kStrFirstMustBe0));
        return FormatResult::Reported;
    }
    if (!AllDigits(text) || text.size() > 11) {
        ShowIncorrectInput(variation);
        return FormatResult::Rejected;
    }
    if (text.size() < 11) return FormatResult::Incomplete;
    std::string six;
    if (SuppressZeros(text.substr(1), six) == 0) return FormatResult::Complete;
    ShowFormatMessage(LoadString(kStrInvalidUpcE));
    return FormatResult::Reported;
}

}  // namespace

void SelectMainFormat(int variation) { currentFormat = FindFormat(variation, FieldRole::Main); }

const FormatRecord* CurrentFormat() { return currentFormat; }

FormatResult ValidateInput(int variation, FieldRole role, std::string_view text) {
    const bool main = role == FieldRole::Main;
    if (main && variation == 114 && !text.empty() && text[0] != '0') {
        ShowFormatMessage(LoadString(kStrConvertFirst0));
        return FormatResult::Reported;
    }
    if (main && (variation == 74 || variation == 101)) return CheckUpcESix(variation, text);
    if (main && (variation == 75 || variation == 102)) return CheckUpcEEleven(variation, text);

    currentFormat = FindFormat(variation, role);
    if (currentFormat && text.size() > currentFormat->maxLength) return FormatResult::TooLong;
    if (text.empty()) return FormatResult::Incomplete;

    const int state = currentFormat ? RunFormat(*currentFormat, text) : 0;
    if (state == 0) {
        if (variation == 50 && AllDigits(text))
            ShowOutOfRange("1", "276");
        else if ((variation == 49 || variation == 97) && AllDigits(text))
            ShowOutOfRange("1", "131070");
        else
            ShowIncorrectInput(variation);
        return FormatResult::Rejected;
    }
    if (!IsAcceptingState(*currentFormat, state)) return FormatResult::Incomplete;
    if (main && !DateValid(variation, text)) return FormatResult::InvalidDate;
    return FormatResult::Complete;
}

}  // namespace vg
