// The key-facts box: 1, 2, 5, 10 and 100 lots of the divisor (and 1000 when the
// dividend holds that many), shown beside the board or filled in by the pupil before
// the first step. A fact typed in is checked as the board checks a line: a wrong one
// turns red, the next key clears it, and it is typed again.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class KeyFactsBox {
public:
    // The facts for a question. The same divisor and facts keep what was filled in.
    void setUp(int dividend, int divisor);

    enum class Outcome { Typed, Right, Wrong, Cleared };
    // A key while filling in (the board's key numbering); never called once complete.
    Outcome key(int key);

    bool complete() const { return current >= lots.size(); }
    long long valueOf(std::size_t fact) const;

    int divisor = 1;
    std::vector<int> lots;
    std::size_t current = 0;  // the fact being filled in; lots.size() once all are
    std::u16string typed;     // the digits typed for it
    bool wrong = false;       // the typed value was checked and is wrong
};
