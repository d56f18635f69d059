// The colours of the lesson: the working-out board's inks on its paper, and the
// question and answer the lesson panel draws on the white window. The standard palette
// is the one the program has always had; the high-contrast one gives every ink at
// least 4.5 : 1 against what it is drawn on, for pupils who see less contrast.
#pragma once

#include "platform/Geometry.h"

struct BoardPalette {
    // On the board's paper.
    Colour ink = 0;         // the lines in progress and the signs
    Colour reject = 0;      // a multiple refused as too big
    Colour spent = 0;       // finished lines
    Colour multiple = 0;    // the multiples and the answer's total
    Colour remainder = 0;   // what remains at the end
    Colour entry = 0;       // the number being typed
    Colour entryWrong = 0;  // a wrong entry
    // On the window's white.
    Colour header = 0;           // the question
    Colour quotient = 0;         // "= 14"
    Colour answerRemainder = 0;  // " rem.2"
};

// What each palette is drawn on.
inline constexpr Colour boardPaper = 0xFFEEE2B7;
inline constexpr Colour windowWhite = 0xFFFFFFFF;

inline constexpr BoardPalette standardPalette{0xFF1E1E1E, 0xFFFA3232, 0xFFB4B4B4, 0xFF963296,
                                              0xFF329632, 0xFF1E1E64, 0xFFFA1E1E, 0xFF6464FF,
                                              0xFF963296, 0xFF329632};

// Darker inks of the same hues, so a pupil still tells them apart by colour.
inline constexpr BoardPalette highContrastPalette{0xFF000000, 0xFFA80000, 0xFF4E4E4E, 0xFF701870,
                                                  0xFF125E12, 0xFF00004A, 0xFFA80000, 0xFF2828C8,
                                                  0xFF701870, 0xFF1A6E1A};
