// Every text the program shows or says, looked up in the pupil's language by its
// English source. Sentences are whole messages with named placeholders ("{dividend}"),
// never joined from pieces, so a language can put the numbers where its grammar wants
// them. The keywords below are the ones xgettext is told about (po/ has the command):
//
//   tr("Settings")                                  a plain text
//   trc("button", "OK")                             a text with a context for translators
//   trn("{count} lot of {divisor}", "{count} lots of {divisor}", count)   plural forms
//   fill(pattern, {{"dividend", u"100"}})          placeholders filled in
//
// Until a catalogue is chosen (or when it lacks a text) the English source is used.
// Marks a text for the template where it is kept as data and translated where shown.
#define trNoop(english) english
// The same for a text with a context: gives the catalogue's key, context "\x04" text.
#define trcNoop(context, english) context "\x04" english
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace words {

// One placeholder's name (without braces) and the text that takes its place.
using Placeholder = std::pair<std::string_view, std::u16string>;

std::u16string tr(std::string_view english);
std::u16string trc(std::string_view context, std::string_view english);
std::u16string trn(std::string_view singular, std::string_view plural, long count);

// Replaces every "{name}" in pattern by its value; an unknown name is left as written,
// so a translation's slip shows rather than silently losing a number.
std::u16string fill(std::u16string pattern, std::initializer_list<Placeholder> values);

// The catalogues the program carries, by code ("en", "en_US", "nl", ...), English first.
std::vector<std::string> availableLanguages();
// The language's own name for itself, for the Settings dialog ("Nederlands").
std::u16string languageName(std::string_view code);
// The shipped language that best matches a list of wishes, most wanted first
// ("nl-BE", "de_DE.UTF-8", as the system gives them): the exact code, else its language,
// else the next wish; English when none matches.
std::string bestLanguage(const std::vector<std::string>& preferred);
// Where the compiled catalogues are read from, relative to the working folder unless
// absolute: "Resources/locale" (<code>.mo each) by default.
void setCatalogueFolder(std::string folder);
// Chooses the catalogue used from now on; an empty or unknown code gives English.
// True when that catalogue was found and read.
bool useLanguage(std::string_view code);
std::string currentLanguage();

// UTF-8 to the UTF-16 the platform layer draws, and back.
std::u16string fromUtf8(std::string_view text);
std::string toUtf8(std::u16string_view text);

}  // namespace words

using words::fill;
using words::tr;
using words::trc;
using words::trn;
