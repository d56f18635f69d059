// The tutor's sentences. A hint never holds the number asked for: it gives a key fact
// (1, 2, 5, 10, 100 or 1000 lots) and the one move from there to the entry.
#include "features/tutor/TutorWords.h"

#include <array>
#include <cstdint>
#include <cstdlib>

#include "text/Stringify.h"
#include "words/Words.h"

namespace tutor {

namespace {

std::u16string number(long long value) {
    return stringify(value);
}

long long product(long long lots, int divisor) {
    return lots * divisor;
}

// The place of a number's leading digit: 1, 10, 100, ...
int placeOf(int value) {
    int place = 1;
    while (value / place >= 10) {
        place *= 10;
    }
    return place;
}

bool isKeyFact(int lots) {
    return lots == 1 || lots == 2 || lots == 5 || lots == 10 || lots == 100 || lots == 1000;
}

// "10 lots of 7 is 70, so 20 lots is double that": from a key fact, one move.
std::u16string productHint(int lots, int divisor) {
    if (lots <= 1) {
        return fill(tr("1 lot of {divisor} is just {divisor}."), {{"divisor", number(divisor)}});
    }
    // The key fact the hint starts from, and the sentence for the one move from there.
    const int place = placeOf(lots);
    const int digit = lots / place;
    int base = 1;
    int times = 0;
    std::u16string pattern;
    if (lots % 2 == 0 && isKeyFact(lots / 2)) {
        base = lots / 2;
        pattern =
            trn("{half} lot of {divisor} is {product}, so {count} lots is double that.",
                "{half} lots of {divisor} is {product}, so {count} lots is double that.", base);
    } else if (lots % place == 0 && digit == 5) {
        base = place * 10;
        pattern = tr("{base} lots of {divisor} is {product}, so {count} lots is half of that.");
    } else if (lots % place == 0 && place >= 10) {
        base = digit == 1 ? place / 10 : place;
        times = digit == 1 ? 10 : digit;
        pattern =
            trn("{base} lot of {divisor} is {product}, so {count} lots is {times} times "
                "that.",
                "{base} lots of {divisor} is {product}, so {count} lots is {times} times "
                "that.",
                base);
    } else {
        for (int key : {1000, 100, 10, 5, 2}) {
            if (key < lots) {
                base = key;
                break;
            }
        }
        pattern =
            trn("{base} lots of {divisor} is {product}; add {rest} more lot of {divisor} to "
                "that.",
                "{base} lots of {divisor} is {product}; add {rest} more lots of {divisor} to "
                "that.",
                lots - base);
    }
    // Each sentence takes the values it names.
    return fill(pattern, {{"half", number(base)},
                          {"base", number(base)},
                          {"divisor", number(divisor)},
                          {"product", number(product(base, divisor))},
                          {"count", number(lots)},
                          {"times", number(times)},
                          {"rest", number(lots - base)}});
}

// The biggest key fact that fits into what is left.
std::u16string multipleHint(const EntryChecked& entry) {
    int lots = 1;
    for (int key : {1000, 100, 10, 5, 2}) {
        if (product(key, entry.divisor) <= entry.left) {
            lots = key;
            break;
        }
    }
    return fill(
        trn("{count} lot of {divisor} is {product}, which fits into the {left} left.",
            "{count} lots of {divisor} is {product}, which fits into the {left} left.", lots),
        {{"count", number(lots)},
         {"divisor", number(entry.divisor)},
         {"product", number(product(lots, entry.divisor))},
         {"left", number(entry.left)}});
}

// Take the product away in two parts: its leading place first.
std::u16string remainderHint(const EntryChecked& entry) {
    const int taken = entry.multiple * entry.divisor;
    const int part = taken / placeOf(taken) * placeOf(taken);
    if (taken <= 0 || part == taken) {
        return fill(tr("Count on from {product} to {left}: how far is it?"),
                    {{"product", number(taken)}, {"left", number(entry.left)}});
    }
    return fill(tr("{left} take away {part} is {middle}; now take away the other {rest}."),
                {{"left", number(entry.left)},
                 {"part", number(part)},
                 {"middle", number(entry.left - part)},
                 {"rest", number(taken - part)}});
}

std::u16string totalHint(const std::vector<int>& chunks) {
    if (chunks.size() < 2) {
        return tr("Add up the lots you took away, from the top.");
    }
    if (chunks.size() == 2) {
        return fill(tr("Start from {first} and count on {second}."),
                    {{"first", number(chunks[0])}, {"second", number(chunks[1])}});
    }
    return fill(tr("{first} and {second} make {sum}; now add the other lots to that."),
                {{"first", number(chunks[0])},
                 {"second", number(chunks[1])},
                 {"sum", number(static_cast<long long>(chunks[0]) + chunks[1])}});
}

}  // namespace

int fewestSteps(int quotient) {
    int steps = 0;
    for (int rest = std::abs(quotient); rest > 0; rest /= 10) {
        steps += rest % 10 != 0 ? 1 : 0;
    }
    return steps;
}

int leadingChunk(int quotient) {
    if (quotient <= 0) {
        return 1;
    }
    const int place = placeOf(quotient);
    return quotient / place * place;
}

std::vector<int> keyFactLots(int dividend, int divisor) {
    std::vector<int> lots{1, 2, 5, 10, 100};
    if (static_cast<std::int64_t>(dividend) >= static_cast<std::int64_t>(divisor) * 1000) {
        lots.push_back(1000);
    }
    return lots;
}

int valueToShow(const EntryChecked& entry) {
    if (entry.kind == LineKind::Multiple) {
        return leadingChunk(entry.divisor > 0 ? entry.left / entry.divisor : 1);
    }
    return entry.expected.value_or(0);
}

std::u16string slipWords(const EntryChecked& entry, SlipKind kind) {
    const std::u16string divisor = number(entry.divisor);
    switch (kind) {
        case SlipKind::MoreThanLeft:
            return fill(trn("{count} lot of {divisor} is more than the {left} left.",
                            "{count} lots of {divisor} is more than the {left} left.", entry.typed),
                        {{"count", number(entry.typed)},
                         {"divisor", divisor},
                         {"left", number(entry.left)}});
        case SlipKind::TenTimesTooBig:
            return tr("That is ten times too big: count the zeros again.");
        case SlipKind::TenTimesTooSmall:
            return tr("That is ten times too small: count the zeros again.");
        case SlipKind::OneLotTooMany:
            return fill(tr("That is one lot of {divisor} too many."), {{"divisor", divisor}});
        case SlipKind::OneLotTooFew:
            return fill(tr("That is one lot of {divisor} too few."), {{"divisor", divisor}});
        case SlipKind::SubtractionSlip:
            return fill(tr("A subtraction slip: take {product} away from {left} again."),
                        {{"product", number(product(entry.multiple, entry.divisor))},
                         {"left", number(entry.left)}});
        case SlipKind::AdditionSlip:
            return tr("An addition slip: add up the lots you took away again.");
        case SlipKind::NotQuite:
        case SlipKind::None:
            break;
    }
    if (entry.kind == LineKind::Product) {
        return keyFactWrong(entry.multiple, entry.divisor);
    }
    return tr("Not quite. Have another go.");
}

std::u16string hintWords(const EntryChecked& entry, const std::vector<int>& chunks) {
    switch (entry.kind) {
        case LineKind::Multiple:
            return multipleHint(entry);
        case LineKind::Product:
            return productHint(entry.multiple, entry.divisor);
        case LineKind::Remainder:
            return remainderHint(entry);
        case LineKind::Total:
            return totalHint(chunks);
    }
    return tr("Not quite. Have another go.");
}

std::u16string shownValueWords(const EntryChecked& entry) {
    const int value = valueToShow(entry);
    switch (entry.kind) {
        case LineKind::Multiple:
            return fill(trn("{count} lot of {divisor} is {product}, which fits into {left}. "
                            "Type {count}.",
                            "{count} lots of {divisor} is {product}, which fits into {left}. "
                            "Type {count}.",
                            value),
                        {{"count", number(value)},
                         {"divisor", number(entry.divisor)},
                         {"product", number(product(value, entry.divisor))},
                         {"left", number(entry.left)}});
        case LineKind::Product:
            return fill(
                trn("{count} lot of {divisor} is {product}. Type {product}.",
                    "{count} lots of {divisor} is {product}. Type {product}.", entry.multiple),
                {{"count", number(entry.multiple)},
                 {"divisor", number(entry.divisor)},
                 {"product", number(value)}});
        case LineKind::Remainder:
            return fill(tr("{left} take away {product} leaves {value}. Type {value}."),
                        {{"left", number(entry.left)},
                         {"product", number(product(entry.multiple, entry.divisor))},
                         {"value", number(value)}});
        case LineKind::Total:
            return fill(tr("The lots you took away add up to {value}. Type {value}."),
                        {{"value", number(value)}});
    }
    return {};
}

std::u16string wordsForTry(int tryNumber, const EntryChecked& entry,
                           const std::vector<int>& chunks) {
    if (tryNumber <= 1) {
        return slipWords(entry, classifySlip(entry));
    }
    if (tryNumber == 2) {
        return hintWords(entry, chunks);
    }
    return shownValueWords(entry);
}

std::u16string praiseWords(int turn, bool slipsPutRight) {
    // Effort and care, the things a pupil can choose to do again.
    const std::array<std::u16string, 3> afterSlips{
        tr("You spotted your slips and put them right. Well done for keeping going."),
        tr("Well done for sticking with it!"),
        tr("Good effort: every slip you fixed was practice."),
    };
    const std::array<std::u16string, 3> cleanRun{
        tr("Careful work, step by step. Well done."),
        tr("Well done: you checked each line as you went."),
        tr("Good, steady working."),
    };
    const auto& choice = slipsPutRight ? afterSlips : cleanRun;
    return choice[static_cast<std::size_t>(std::abs(turn)) % choice.size()];
}

std::optional<std::u16string> biggerChunkWords(const AnswerReached& answer) {
    const auto steps = static_cast<int>(answer.chunks.size());
    if (steps <= fewestSteps(answer.answer) + 2 || answer.divisor <= 0) {
        return std::nullopt;
    }
    // The first step that took less than the biggest place-value chunk that fitted.
    long long left = answer.dividend;
    for (std::size_t i = 0; i < answer.chunks.size(); ++i) {
        const int best = leadingChunk(static_cast<int>(left / answer.divisor));
        if (answer.chunks[i] < best) {
            if (i == 0) {
                return fill(trn("Next time try {count} lot of {divisor} first.",
                                "Next time try {count} lots of {divisor} first.", best),
                            {{"count", number(best)}, {"divisor", number(answer.divisor)}});
            }
            return fill(trn("Next time try {count} lot of {divisor} when {left} is left.",
                            "Next time try {count} lots of {divisor} when {left} is left.", best),
                        {{"count", number(best)},
                         {"divisor", number(answer.divisor)},
                         {"left", number(left)}});
        }
        left -= static_cast<long long>(answer.chunks[i]) * answer.divisor;
    }
    return std::nullopt;
}

std::u16string checkWords(const AnswerReached& answer) {
    if (answer.remainder > 0) {
        return fill(tr("Check: {answer} \u00D7 {divisor} + {remainder} = {dividend}."),
                    {{"answer", number(answer.answer)},
                     {"divisor", number(answer.divisor)},
                     {"remainder", number(answer.remainder)},
                     {"dividend", number(answer.dividend)}});
    }
    return fill(tr("Check: {answer} \u00D7 {divisor} = {dividend}."),
                {{"answer", number(answer.answer)},
                 {"divisor", number(answer.divisor)},
                 {"dividend", number(answer.dividend)}});
}

std::u16string keyFactQuestion(int lots, int divisor, bool first) {
    const std::u16string pattern =
        first
            ? trn("Fill in the key facts first. What is {count} lot of {divisor}?",
                  "Fill in the key facts first. What are {count} lots of {divisor}?", lots)
            : trn("What is {count} lot of {divisor}?", "What are {count} lots of {divisor}?", lots);
    return fill(pattern, {{"count", number(lots)}, {"divisor", number(divisor)}});
}

std::u16string keyFactWrong(int lots, int divisor) {
    return fill(trn("Not quite. What is {count} lot of {divisor}?",
                    "Not quite. What are {count} lots of {divisor}?", lots),
                {{"count", number(lots)}, {"divisor", number(divisor)}});
}

std::u16string keyFactsDone(int dividend, int divisor) {
    return fill(tr("Key facts done. Now take lots of {divisor} away from {dividend}."),
                {{"divisor", number(divisor)}, {"dividend", number(dividend)}});
}

}  // namespace tutor
