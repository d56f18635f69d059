// Where things stand on the working-out, in content pixels: shared by its drawing and
// by the press areas of its icons, which must agree with what is drawn.
#pragma once

namespace BoardLayout {
// Column offsets from the content's left edge.
constexpr float deleteColumn = 3.0f;
constexpr float plusColumn = 15.0f;
constexpr float repeatColumn = 25.0f;
constexpr float multipleColumn = 35.0f;
constexpr float wordingColumn = 140.0f;
constexpr float equalsColumn = 310.0f;
constexpr float amountColumn = 340.0f;
constexpr float minusColumn = 440.0f;

// Icons sit this far below the top of their line.
constexpr float iconOffset = 12.0f;
// The Repeat and Delete press areas are this size whatever their pictures are.
constexpr float iconPressSize = 25.0f;
}  // namespace BoardLayout
