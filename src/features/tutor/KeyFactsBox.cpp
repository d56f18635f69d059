#include "features/tutor/KeyFactsBox.h"

#include <string>

#include "features/tutor/TutorWords.h"
#include "platform/KeyCodes.h"

namespace {

int digitOf(int key) {
    if (key >= KeyCode::Digit0 && key <= KeyCode::Digit0 + 9) {
        return key - KeyCode::Digit0;
    }
    if (key >= KeyCode::Numpad0 && key <= KeyCode::Numpad0 + 9) {
        return key - KeyCode::Numpad0;
    }
    return -1;
}

long long parsed(const std::u16string& digits) {
    long long value = 0;
    for (char16_t digit : digits) {
        value = value * 10 + (digit - u'0');
    }
    return value;
}

}  // namespace

void KeyFactsBox::setUp(int dividend, int newDivisor) {
    std::vector<int> wanted = tutor::keyFactLots(dividend, newDivisor);
    if (newDivisor == divisor && wanted == lots) {
        return;
    }
    divisor = newDivisor;
    lots = std::move(wanted);
    current = 0;
    typed.clear();
    wrong = false;
}

long long KeyFactsBox::valueOf(std::size_t fact) const {
    return static_cast<long long>(lots.at(fact)) * divisor;
}

KeyFactsBox::Outcome KeyFactsBox::key(int key) {
    if (wrong) {
        // As on the board, the key after a wrong entry only clears it.
        wrong = false;
        typed.clear();
        return Outcome::Cleared;
    }
    if (key == KeyCode::Backspace) {
        if (!typed.empty()) {
            typed.pop_back();
        }
        return Outcome::Typed;
    }
    if (key == KeyCode::Enter) {
        if (typed.empty() || complete()) {
            return Outcome::Typed;
        }
        if (parsed(typed) != valueOf(current)) {
            wrong = true;
            return Outcome::Wrong;
        }
        ++current;
        typed.clear();
        return Outcome::Right;
    }
    // As on the board, no more digits than the right value has.
    const std::size_t longest = std::to_string(valueOf(current)).size();
    const int digit = digitOf(key);
    if (digit >= 0 && typed.size() < longest && !(typed.empty() && digit == 0)) {
        typed += static_cast<char16_t>(u'0' + digit);
    }
    return Outcome::Typed;
}
