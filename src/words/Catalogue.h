// One compiled gettext catalogue (.mo file) in memory: its messages by key and the
// plural rule its header names. The same reader serves the Qt, Win32 and web builds,
// none of which has a libintl to lean on.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace words {

// The "Plural-Forms" header's expression of n (C's operators, n, numbers), read once
// and evaluated for each count.
class PluralRule {
public:
    // English's rule, n != 1, with two forms.
    PluralRule();
    // Reads "nplurals=3; plural=(n==1 ? 0 : ...);". Nullopt when it cannot be read.
    static std::optional<PluralRule> parse(std::string_view header);

    // The form for count, clamped to the forms the catalogue has.
    int formFor(long count) const;
    int forms() const { return formCount; }

    struct Node;

private:
    int formCount = 2;
    std::shared_ptr<const Node> expression;
};

class Catalogue {
public:
    // Reads a .mo file's bytes (either byte order). Nullopt when they are not one.
    static std::optional<Catalogue> read(std::string_view bytes);

    // The translation of a key (msgctxt "\x04" msgid for texts with a context), or null
    // when the catalogue has none or it is empty (untranslated).
    const std::string* find(std::string_view key) const;
    // The plural form for count of a key's translations, or null.
    const std::string* findPlural(std::string_view key, long count) const;

    // A header field's value ("Language", "Plural-Forms"), empty when absent.
    std::string header(std::string_view field) const;
    const PluralRule& plural() const { return rule; }

private:
    std::unordered_map<std::string, std::vector<std::string>> messages;
    std::string headerText;
    PluralRule rule;
};

}  // namespace words
