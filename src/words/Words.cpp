// The lookups: the chosen compiled catalogue (Resources/locale/<code>.mo) or, for
// English and for any text a catalogue lacks, the English source itself.
#include "words/Words.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "text/Utf8.h"
#include "words/Catalogue.h"

namespace words {

std::u16string fromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (lead >= 0x80 && lead < 0xC0) {
            out += u'\uFFFD';  // a stray continuation byte
            ++i;
            continue;
        }
        if (i + static_cast<std::size_t>(length) > text.size()) {
            out += u'\uFFFD';
            break;
        }
        char32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (int k = 1; k < length; ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (code >> 10));
            out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
        i += static_cast<std::size_t>(length);
    }
    return out;
}

std::string toUtf8(std::u16string_view text) {
    return text::utf8From(text);
}

namespace {

std::string catalogueFolder = "Resources/locale";
std::string chosenCode = "en";
std::optional<Catalogue> chosen;

std::optional<Catalogue> load(std::string_view code) {
    std::ifstream in(catalogueFolder + "/" + std::string(code) + ".mo", std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return Catalogue::read(bytes);
}

bool isCodeCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

// "nl-BE", "nl_BE.UTF-8" and "de_DE@euro" as the catalogues name them: "nl_BE", "de_DE".
std::string normalised(std::string_view code) {
    std::string out;
    for (const char c : code.substr(0, code.find_first_of(".@"))) {
        out += c == '-' ? '_' : c;
    }
    const std::size_t split = out.find('_');
    for (std::size_t i = 0; i < out.size(); ++i) {
        const char c = out[i];
        const bool region = split != std::string::npos && i > split;
        out[i] = static_cast<char>(region ? (c >= 'a' && c <= 'z' ? c - 32 : c)
                                          : (c >= 'A' && c <= 'Z' ? c + 32 : c));
    }
    return out;
}

std::u16string lookedUp(const std::string* translation, std::string_view english) {
    return fromUtf8(translation != nullptr ? std::string_view(*translation) : english);
}

}  // namespace

void setCatalogueFolder(std::string folder) {
    catalogueFolder = std::move(folder);
}

std::vector<std::string> availableLanguages() {
    std::vector<std::string> codes;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(catalogueFolder, error), end;
         !error && entry != end; entry.increment(error)) {
        const std::filesystem::path& path = entry->path();
        const std::string stem = path.stem().string();
        if (path.extension() == ".mo" && !stem.empty() &&
            std::all_of(stem.begin(), stem.end(), isCodeCharacter)) {
            codes.push_back(stem);
        }
    }
    std::sort(codes.begin(), codes.end());
    codes.insert(codes.begin(), "en");
    return codes;
}

std::u16string languageName(std::string_view code) {
    // Translators: your language's name in your language ("Nederlands", "English (US)").
    const std::string_view key = trcNoop("language name", "English");
    const std::optional<Catalogue> catalogue = code == "en" ? std::nullopt : load(code);
    return lookedUp(catalogue ? catalogue->find(key) : nullptr, "English");
}

std::string bestLanguage(const std::vector<std::string>& preferred) {
    const std::vector<std::string> shipped = availableLanguages();
    const auto has = [&](const std::string& code) {
        return std::find(shipped.begin(), shipped.end(), code) != shipped.end();
    };
    for (const std::string& wanted : preferred) {
        const std::string code = normalised(wanted);
        const std::string language = code.substr(0, code.find('_'));
        if (has(code)) {
            return code;
        }
        if (has(language)) {
            return language;
        }
    }
    return "en";
}

bool useLanguage(std::string_view code) {
    const std::string wanted = normalised(code);
    chosen.reset();
    chosenCode = "en";
    if (wanted.empty() || wanted == "en") {
        return true;
    }
    if (std::any_of(wanted.begin(), wanted.end(), [](char c) { return !isCodeCharacter(c); })) {
        return false;
    }
    chosen = load(wanted);
    if (chosen) {
        chosenCode = wanted;
    }
    return chosen.has_value();
}

std::string currentLanguage() {
    return chosenCode;
}

std::u16string tr(std::string_view english) {
    return lookedUp(chosen ? chosen->find(english) : nullptr, english);
}

std::u16string trc(std::string_view context, std::string_view english) {
    if (!chosen) {
        return fromUtf8(english);
    }
    const std::string key = std::string(context) + '\x04' + std::string(english);
    return lookedUp(chosen->find(key), english);
}

std::u16string trn(std::string_view singular, std::string_view plural, long count) {
    const std::string* translation = chosen ? chosen->findPlural(singular, count) : nullptr;
    return lookedUp(translation, count == 1 ? singular : plural);
}

std::u16string fill(std::u16string pattern, std::initializer_list<Placeholder> values) {
    std::u16string out;
    std::size_t at = 0;
    while (at < pattern.size()) {
        const std::size_t open = pattern.find(u'{', at);
        const std::size_t close =
            open == std::u16string::npos ? open : pattern.find(u'}', open + 1);
        if (close == std::u16string::npos) {
            out.append(pattern, at);
            break;
        }
        out.append(pattern, at, open - at);
        const std::string name =
            toUtf8(std::u16string_view(pattern).substr(open + 1, close - open - 1));
        const Placeholder* match = nullptr;
        for (const Placeholder& value : values) {
            if (value.first == name) {
                match = &value;
            }
        }
        if (match != nullptr) {
            out += match->second;
        } else {
            out.append(pattern, open, close - open + 1);
        }
        at = close + 1;
    }
    return out;
}

}  // namespace words
