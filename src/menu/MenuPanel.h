// The block of six picture buttons through which every command is given. It turns a
// press and release over the same button into a command index; the shell acts on it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Drawing.h"
#include "platform/Geometry.h"

enum ButtonState : int { Normal = 0, Hover = 1, Pressed = 2 };

enum MenuCommand : int {
    NewQuestion = 0,
    CreateQuestion = 1,
    RestartQuestion = 2,
    Settings = 3,
    Help = 4,
    Exit = 5,
};

struct MenuButton {
    std::string label;
    ButtonState state = Normal;
};

class MenuPanel {
public:
    MenuPanel(float buttonWidth, float buttonHeight);
    ~MenuPanel();
    MenuPanel(const MenuPanel&) = delete;
    MenuPanel& operator=(const MenuPanel&) = delete;

    void updateHover(Point point);
    void press(Point point);
    // True when the hovered button was activated; the caller then takes hovered as
    // the command and sets it back to -1.
    bool release(Point point);
    void draw(BackBuffer& backBuffer);

    std::unique_ptr<Font> labelFont;
    int hovered = -1;  // index of the button under the pointer; -1 for none
    float buttonWidth;
    float buttonHeight;
    std::vector<MenuButton> buttons;
    std::vector<Point> positions;                // top-left of each button
    std::vector<std::unique_ptr<Image>> images;  // three-frame strip of each button
};
