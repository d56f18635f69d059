// The .mo file reader and the plural rule's evaluator.
#include "words/Catalogue.h"

#include <cstdint>

namespace words {

// A node of the plural expression: a number, n, or an operator over one to three nodes.
struct PluralRule::Node {
    enum Kind { Number, N, Not, Binary, Choice } kind = Number;
    long value = 0;
    std::string op;
    std::shared_ptr<const Node> a, b, c;

    long evaluate(long n) const {
        switch (kind) {
            case Number:
                return value;
            case N:
                return n;
            case Not:
                return a->evaluate(n) == 0 ? 1 : 0;
            case Choice:
                return a->evaluate(n) != 0 ? b->evaluate(n) : c->evaluate(n);
            case Binary:
                break;
        }
        const long x = a->evaluate(n);
        if (op == "&&") {
            return x != 0 && b->evaluate(n) != 0 ? 1 : 0;
        }
        if (op == "||") {
            return x != 0 || b->evaluate(n) != 0 ? 1 : 0;
        }
        const long y = b->evaluate(n);
        if (op == "==")
            return x == y;
        if (op == "!=")
            return x != y;
        if (op == "<")
            return x < y;
        if (op == ">")
            return x > y;
        if (op == "<=")
            return x <= y;
        if (op == ">=")
            return x >= y;
        if (op == "+")
            return x + y;
        if (op == "-")
            return x - y;
        if (op == "*")
            return x * y;
        if (op == "/")
            return y == 0 ? 0 : x / y;
        if (op == "%")
            return y == 0 ? 0 : x % y;
        return 0;
    }
};

namespace {

using NodePtr = std::shared_ptr<const PluralRule::Node>;

// Recursive descent over C's precedence: ?: below ||, &&, equality, comparison, sums,
// products and the unary !. A malformed expression gives null.
class ExpressionReader {
public:
    explicit ExpressionReader(std::string_view text) : text(text) {}

    NodePtr whole() {
        NodePtr node = choice();
        skipSpace();
        return at == text.size() || text[at] == ';' ? node : nullptr;
    }

private:
    std::string_view text;
    std::size_t at = 0;

    void skipSpace() {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\n')) {
            ++at;
        }
    }

    bool take(std::string_view token) {
        skipSpace();
        if (text.substr(at, token.size()) != token) {
            return false;
        }
        // "<" must not swallow the start of "<=", nor "!" the start of "!=".
        if (token.size() == 1 && at + 1 < text.size() && text[at + 1] == '=' &&
            (token == "<" || token == ">" || token == "!" || token == "=")) {
            return false;
        }
        at += token.size();
        return true;
    }

    static NodePtr binary(std::string op, NodePtr a, NodePtr b) {
        if (!a || !b) {
            return nullptr;
        }
        auto node = std::make_shared<PluralRule::Node>();
        node->kind = PluralRule::Node::Binary;
        node->op = std::move(op);
        node->a = std::move(a);
        node->b = std::move(b);
        return node;
    }

    NodePtr choice() {
        NodePtr condition = level(0);
        if (!condition || !take("?")) {
            return condition;
        }
        NodePtr yes = choice();
        if (!take(":")) {
            return nullptr;
        }
        NodePtr no = choice();
        if (!yes || !no) {
            return nullptr;
        }
        auto node = std::make_shared<PluralRule::Node>();
        node->kind = PluralRule::Node::Choice;
        node->a = condition;
        node->b = yes;
        node->c = no;
        return node;
    }

    // Binary operators, loosest first; each level is left-associative.
    NodePtr level(std::size_t depth) {
        static const std::vector<std::vector<std::string_view>> levels = {
            {"||"}, {"&&"}, {"==", "!="}, {"<=", ">=", "<", ">"}, {"+", "-"}, {"*", "/", "%"}};
        if (depth == levels.size()) {
            return unary();
        }
        NodePtr left = level(depth + 1);
        for (bool more = true; left && more;) {
            more = false;
            for (std::string_view op : levels[depth]) {
                if (take(op)) {
                    left = binary(std::string(op), left, level(depth + 1));
                    more = true;
                    break;
                }
            }
        }
        return left;
    }

    NodePtr unary() {
        if (take("!")) {
            NodePtr inner = unary();
            if (!inner) {
                return nullptr;
            }
            auto node = std::make_shared<PluralRule::Node>();
            node->kind = PluralRule::Node::Not;
            node->a = inner;
            return node;
        }
        if (take("(")) {
            NodePtr inner = choice();
            return take(")") ? inner : nullptr;
        }
        skipSpace();
        auto node = std::make_shared<PluralRule::Node>();
        if (at < text.size() && text[at] == 'n') {
            ++at;
            node->kind = PluralRule::Node::N;
            return node;
        }
        if (at >= text.size() || text[at] < '0' || text[at] > '9') {
            return nullptr;
        }
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            node->value = std::min(node->value * 10 + (text[at++] - '0'), 1'000'000'000L);
        }
        return node;
    }
};

std::uint32_t wordAt(std::string_view bytes, std::size_t offset, bool swapped) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
        value |= static_cast<std::uint32_t>(byte) << (8 * (swapped ? 3 - i : i));
    }
    return value;
}

std::vector<std::string> splitAtNul(std::string_view text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\0', start)) != std::string_view::npos;
         start = end + 1) {
        parts.emplace_back(text.substr(start, end - start));
    }
    parts.emplace_back(text.substr(start));
    return parts;
}

}  // namespace

PluralRule::PluralRule() : expression(ExpressionReader("n != 1").whole()) {}

std::optional<PluralRule> PluralRule::parse(std::string_view header) {
    const std::size_t formsAt = header.find("nplurals=");
    const std::size_t ruleAt = header.find("plural=", formsAt == header.npos ? 0 : formsAt + 9);
    if (formsAt == header.npos || ruleAt == header.npos) {
        return std::nullopt;
    }
    PluralRule rule;
    rule.formCount = 0;
    for (std::size_t i = formsAt + 9; i < header.size() && header[i] >= '0' && header[i] <= '9';
         ++i) {
        rule.formCount = rule.formCount * 10 + (header[i] - '0');
    }
    const std::size_t end = header.find_first_of(";\n", ruleAt);
    rule.expression =
        ExpressionReader(
            header.substr(ruleAt + 7, end == header.npos ? header.npos : end - ruleAt - 7))
            .whole();
    if (!rule.expression || rule.formCount < 1 || rule.formCount > 10) {
        return std::nullopt;
    }
    return rule;
}

int PluralRule::formFor(long count) const {
    const long form = expression->evaluate(count);
    return form < 0 || form >= formCount ? 0 : static_cast<int>(form);
}

std::optional<Catalogue> Catalogue::read(std::string_view bytes) {
    if (bytes.size() < 28) {
        return std::nullopt;
    }
    const std::uint32_t magic = wordAt(bytes, 0, false);
    if (magic != 0x950412deu && magic != 0xde120495u) {
        return std::nullopt;
    }
    const bool swapped = magic == 0xde120495u;
    const std::uint32_t count = wordAt(bytes, 8, swapped);
    const std::uint32_t originals = wordAt(bytes, 12, swapped);
    const std::uint32_t translations = wordAt(bytes, 16, swapped);
    // Every table entry and every string must lie inside the file.
    const auto fits = [&](std::uint64_t offset, std::uint64_t length) {
        return offset <= bytes.size() && length <= bytes.size() - offset;
    };
    if (!fits(originals, std::uint64_t{count} * 8) ||
        !fits(translations, std::uint64_t{count} * 8)) {
        return std::nullopt;
    }
    Catalogue catalogue;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t keyLength = wordAt(bytes, originals + 8 * i, swapped);
        const std::uint32_t keyOffset = wordAt(bytes, originals + 8 * i + 4, swapped);
        const std::uint32_t valueLength = wordAt(bytes, translations + 8 * i, swapped);
        const std::uint32_t valueOffset = wordAt(bytes, translations + 8 * i + 4, swapped);
        if (!fits(keyOffset, keyLength) || !fits(valueOffset, valueLength)) {
            return std::nullopt;
        }
        // A plural entry's key is "singular\0plural"; it is found by the singular.
        const std::string_view key = bytes.substr(keyOffset, keyLength);
        const std::string_view value = bytes.substr(valueOffset, valueLength);
        if (key.empty()) {
            catalogue.headerText = std::string(value);
            continue;
        }
        catalogue.messages[std::string(key.substr(0, key.find('\0')))] = splitAtNul(value);
    }
    if (const std::string forms = catalogue.header("Plural-Forms"); !forms.empty()) {
        const std::optional<PluralRule> rule = PluralRule::parse(forms);
        if (!rule) {
            return std::nullopt;
        }
        catalogue.rule = *rule;
    }
    return catalogue;
}

const std::string* Catalogue::find(std::string_view key) const {
    const auto found = messages.find(std::string(key));
    if (found == messages.end() || found->second.front().empty()) {
        return nullptr;
    }
    return &found->second.front();
}

const std::string* Catalogue::findPlural(std::string_view key, long count) const {
    const auto found = messages.find(std::string(key));
    if (found == messages.end()) {
        return nullptr;
    }
    const auto form = static_cast<std::size_t>(rule.formFor(count));
    if (form >= found->second.size() || found->second[form].empty()) {
        return nullptr;
    }
    return &found->second[form];
}

std::string Catalogue::header(std::string_view field) const {
    const std::string prefix = std::string(field) + ": ";
    for (std::size_t start = 0; start < headerText.size();) {
        std::size_t end = headerText.find('\n', start);
        if (end == std::string::npos) {
            end = headerText.size();
        }
        const std::string_view line = std::string_view(headerText).substr(start, end - start);
        if (line.substr(0, prefix.size()) == prefix) {
            return std::string(line.substr(prefix.size()));
        }
        start = end + 1;
    }
    return {};
}

}  // namespace words
