// Where the working-out of a question stands. The numbers matter: states 3 and above
// are the subtraction steps, 0 to 2 the closing sum.
#pragma once

enum BoardState : int {
    Finished = 0,     // answer accepted, or the question took one step
    EnterAnswer = 1,  // everything subtracted; the pupil types the quotient
    AnswerWrong = 2,
    EnterMultiple = 3,   // how many lots of the divisor to take away next
    EnterProduct = 4,    // currentMultiple x divisor
    EnterRemainder = 5,  // remaining - currentProduct
    MultipleTooBig = 6,
    ProductWrong = 7,
    RemainderWrong = 8,
};
