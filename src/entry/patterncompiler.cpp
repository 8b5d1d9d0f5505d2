// The builder that turns a pattern into a format record: a parse tree, its
// automaton, and the automaton packed into the record's symbols and states.
#include "entry/patterncompiler.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace vg {

namespace {

using ByteSet = std::bitset<256>;

constexpr CharClass kNamedClasses[] = {
    CharClass::Digit,          CharClass::Letter,          CharClass::LetterOrDigit,    CharClass::UpperButS,
    CharClass::Code39Set,      CharClass::CodabarSet,      CharClass::Code93FreeSet,    CharClass::Code128Set,
    CharClass::AiSet,          CharClass::Digits1To9,      CharClass::Digits2To9,       CharClass::Digits1To4,
    CharClass::Digits3_5To9,   CharClass::Digits0_3_5To9,  CharClass::Digits1_3_5To9,   CharClass::Digits0_2_3_5To9,
    CharClass::Digits2_3_5To9, CharClass::Digits0_2_5To9,  CharClass::Digits0_2_3_6To9, CharClass::Digits1235679,
    CharClass::Digits1245679,  CharClass::Digits0To4_6To9, CharClass::Digits0To3_6To8,  CharClass::Digits0To2_4To9,
    CharClass::Digits2To7_9,   CharClass::Digits3To7_9,    CharClass::AsciiSet,
};

// The members of every class, worked out once.
const ByteSet& ClassSet(CharClass cls) {
    static const auto sets = [] {
        std::array<ByteSet, static_cast<int>(CharClass::AsciiSet) + 1> all;
        for (std::size_t k = 0; k < all.size(); ++k)
            for (int c = 0; c < 256; ++c)
                if (InCharClass(static_cast<CharClass>(k), static_cast<unsigned char>(c))) all[k].set(c);
        return all;
    }();
    return sets[static_cast<std::size_t>(cls)];
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
    explicit Parser(std::string_view text) : m_text(text) {}

    bool Parse(Node& root, std::string& error) {
        if (!ParseAlt(root)) {
            error = m_error;
            return false;
        }
        SkipSpace();
        if (m_pos != m_text.size()) {
            error = "unexpected character at " + std::to_string(m_pos);
            return false;
        }
        return true;
    }

private:
    bool Fail(const std::string& why) {
        if (m_error.empty()) m_error = why + " at " + std::to_string(m_pos);
        return false;
    }
    void SkipSpace() {
        while (m_pos < m_text.size() && m_text[m_pos] == ' ') ++m_pos;
    }
    bool Peek(char c) {
        SkipSpace();
        return m_pos < m_text.size() && m_text[m_pos] == c;
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
            ++m_pos;
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
            if (m_pos >= m_text.size() || m_text[m_pos] == '|' || m_text[m_pos] == ')') break;
            Node item;
            if (!ParseItem(item)) return false;
            out.kids.push_back(std::move(item));
        }
        if (out.kids.empty()) return Fail("empty sequence");
        return true;
    }

    bool ParseItem(Node& out) {
        if (!ParseAtom(out)) return false;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            int min, max;
            if (c == '+') {
                min = 1, max = -1, ++m_pos;
            } else if (c == '*') {
                min = 0, max = -1, ++m_pos;
            } else if (c == '?') {
                min = 0, max = 1, ++m_pos;
            } else if (c == '{') {
                ++m_pos;
                if (!ParseNumber(min)) return false;
                max = min;
                if (m_text.substr(m_pos, 2) == "..") {
                    m_pos += 2;
                    if (!ParseNumber(max)) return false;
                }
                if (m_pos >= m_text.size() || m_text[m_pos] != '}') return Fail("missing }");
                ++m_pos;
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
        const std::size_t start = m_pos;
        n = 0;
        while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9' && n < 1000)
            n = n * 10 + (m_text[m_pos++] - '0');
        return m_pos > start || Fail("number expected");
    }

    static Node SetNode(const ByteSet& set) {
        Node n;
        n.kind = Node::Set;
        n.set = set;
        return n;
    }

    bool ParseAtom(Node& out) {
        SkipSpace();
        if (m_pos >= m_text.size()) return Fail("atom expected");
        const char c = m_text[m_pos++];
        switch (c) {
        case 'D': out = SetNode(ClassSet(CharClass::Digit)); return true;
        case 'L': out = SetNode(ClassSet(CharClass::Letter)); return true;
        case 'A': out = SetNode(ClassSet(CharClass::LetterOrDigit)); return true;
        case 'U': out = SetNode(CharsSet("ABCDEFGHIJKLMNOPQRSTUVWXYZ")); return true;
        case '(': {
            if (!ParseAlt(out)) return false;
            if (!Peek(')')) return Fail("missing )");
            ++m_pos;
            return true;
        }
        case '\'': {
            const std::size_t end = m_text.find('\'', m_pos);
            if (end == std::string_view::npos || end == m_pos) return Fail("bad literal");
            out = Node{};
            out.kind = Node::Seq;
            for (std::size_t i = m_pos; i < end; ++i) out.kids.push_back(SetNode(CharsSet(m_text.substr(i, 1))));
            m_pos = end + 1;
            return true;
        }
        case '[': {
            ByteSet set;
            while (m_pos < m_text.size() && m_text[m_pos] != ']') {
                const auto lo = static_cast<unsigned char>(m_text[m_pos++]);
                auto hi = lo;
                if (m_pos + 1 < m_text.size() && m_text[m_pos] == '-' && m_text[m_pos + 1] != ']') {
                    hi = static_cast<unsigned char>(m_text[m_pos + 1]);
                    m_pos += 2;
                }
                if (hi < lo) return Fail("bad range");
                for (int b = lo; b <= hi; ++b) set.set(b);
            }
            if (m_pos >= m_text.size() || set.none()) return Fail("bad set");
            ++m_pos;
            out = SetNode(set);
            return true;
        }
        case '<': {
            const std::size_t end = m_text.find('>', m_pos);
            if (end == std::string_view::npos) return Fail("missing >");
            const std::string_view name = m_text.substr(m_pos, end - m_pos);
            m_pos = end + 1;
            static const std::pair<std::string_view, CharClass> names[] = {
                {"code39", CharClass::Code39Set},
                {"codabar", CharClass::CodabarSet},
                {"code93", CharClass::Code93FreeSet},
                {"code128", CharClass::Code128Set},
                {"ai", CharClass::AiSet},
                {"ascii", CharClass::AsciiSet},
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

    std::string_view m_text;
    std::size_t m_pos = 0;
    std::string m_error;
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
    // The smallest byte of each class of bytes every state treats alike, ascending.
    std::vector<int> classBytes;
};

// Splits the bytes into classes that no set of the automaton tells apart;
// returns the smallest byte of each class, ascending.
std::vector<int> ByteClasses(const Nfa& nfa, std::array<int, 256>& classOf) {
    classOf.fill(0);
    int classes = 1;
    std::vector<const ByteSet*> seen;
    for (const ByteSet& set : nfa.sets) {
        if (std::any_of(seen.begin(), seen.end(), [&](const ByteSet* s) { return *s == set; })) continue;
        seen.push_back(&set);
        std::vector<int> split(2 * static_cast<std::size_t>(classes), -1);
        int next = 0;
        for (int b = 0; b < 256; ++b) {
            int& id = split[2 * static_cast<std::size_t>(classOf[b]) + (set[b] ? 1 : 0)];
            if (id < 0) id = next++;
            classOf[b] = id;
        }
        classes = next;
    }
    std::vector<int> first(classes, -1);
    std::vector<int> bytes;
    for (int b = 0; b < 256; ++b)
        if (first[classOf[b]] < 0) bytes.push_back(first[classOf[b]] = b);
    return bytes;
}

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
    // Bytes of one class move alike: one move per class, in byte order.
    std::array<int, 256> classOf;
    dfa.classBytes = ByteClasses(nfa, classOf);
    const std::size_t classes = dfa.classBytes.size();
    for (std::size_t d = 0; d < pending.size(); ++d) {
        const std::vector<int> set = pending[d];
        std::vector<std::vector<int>> moves(classes);
        for (int s : set)
            for (const Nfa::Edge& e : nfa.states[s].edges)
                for (std::size_t k = 0; k < classes; ++k)
                    if (nfa.sets[e.set][dfa.classBytes[k]]) moves[k].push_back(e.to);
        std::vector<int> target(classes);
        for (std::size_t k = 0; k < classes; ++k) {
            std::vector<int>& move = moves[k];
            if (move.empty()) {
                target[k] = -1;
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
            target[k] = it->second;
        }
        std::array<int, 256> row;
        for (int b = 0; b < 256; ++b) row[b] = target[classOf[b]];
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
            key.reserve(dfa.classBytes.size() + 1);
            key.push_back(block[i]);
            for (int b : dfa.classBytes) key.push_back(dfa.next[i][b] < 0 ? -1 : block[dfa.next[i][b]]);
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
        for (int b : dfa.classBytes) {
            const int t = dfa.next[representative[k]][b];
            if (t >= 0 && number[block[t]] < 0) {
                number[block[t]] = static_cast<int>(representative.size());
                representative.push_back(t);
            }
        }
    }
    Dfa out;
    out.classBytes = dfa.classBytes;
    for (int rep : representative) {
        std::array<int, 256> row;
        for (int b = 0; b < 256; ++b) row[b] = dfa.next[rep][b] < 0 ? -1 : number[block[dfa.next[rep][b]]];
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
            const ByteSet& cs = ClassSet(cls);
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
            if (!placed[g] && (smallest == groups.size() || groups[g].count() < groups[smallest].count())) smallest = g;
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

bool BuildFormatRecord(std::string_view pattern, int maxLength, FormatRecord& out, std::string* error, bool verify) {
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
    for (int k = 0; verify && k < rows; ++k) {
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

bool BuildFormat(std::string_view pattern, int maxLength, FormatRecord& out, std::string* error) {
    return BuildFormatRecord(pattern, maxLength, out, error, true);
}

}  // namespace vg
