// The command panel's buttons: where they are, which picture strip each draws from,
// how the pointer's hover and a press-and-release over one button become a command.
#include "menu/MenuPanel.h"

#include "text/Stringify.h"
#include "words/Words.h"

namespace {

struct ButtonDefinition {
    const char* label;
    Point position;
    const char* imagePath;
};

// In command order: index i is MenuCommand i.
constexpr ButtonDefinition buttonDefinitions[] = {
    {trNoop("New Question"), {525.0f, 250.0f}, "Resources/btnNewQuestion.png"},
    {trNoop("Create Question"), {603.0f, 250.0f}, "Resources/btnCreateQuestion.png"},
    {trNoop("Restart Question"), {681.0f, 250.0f}, "Resources/btnRestartQuestion.png"},
    {trNoop("Settings"), {525.0f, 328.0f}, "Resources/btnSettings.png"},
    {trNoop("Help"), {603.0f, 328.0f}, "Resources/btnHelp.png"},
    {trNoop("Exit"), {681.0f, 328.0f}, "Resources/btnExit.png"},
};

// Every strip holds its Normal, Hover and Pressed frames at this fixed pitch,
// whatever size the buttons are drawn at.
constexpr float framePitch = 75.0f;
constexpr float labelFontSize = 20.0f;
constexpr Colour labelColour = 0xFF320000;
// Below the block of buttons; the label is centred on x = 650.
constexpr Rectangle labelBox{525.0f, 410.0f, 250.0f, 50.0f};

bool isButtonIndex(const MenuPanel& panel, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < panel.buttons.size();
}

bool insideButton(const MenuPanel& panel, std::size_t index, Point point) {
    return pointInRectangle(point, panel.positions[index], panel.buttonWidth, panel.buttonHeight);
}

}  // namespace

MenuPanel::MenuPanel(float buttonWidth, float buttonHeight)
    : labelFont(makeFont(labelFontSize)), buttonWidth(buttonWidth), buttonHeight(buttonHeight) {
    for (const ButtonDefinition& definition : buttonDefinitions) {
        buttons.push_back({definition.label, Normal});
        positions.push_back(definition.position);
        images.push_back(loadImage(definition.imagePath));
    }
}

MenuPanel::~MenuPanel() = default;

void MenuPanel::updateHover(Point point) {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const int index = static_cast<int>(i);
        if (!insideButton(*this, i, point)) {
            // Leaving a button drops its press too, so coming back cannot fire it.
            buttons[i].state = Normal;
            if (index == hovered) {
                hovered = -1;
            }
            continue;
        }
        if (index == hovered) {
            continue;  // a Pressed button stays Pressed while the pointer is on it
        }
        if (!isButtonIndex(*this, hovered)) {
            hovered = index;
            buttons[i].state = Hover;
        } else if (buttons[hovered].state != Pressed) {
            buttons[hovered].state = Normal;
            hovered = index;
            buttons[i].state = Hover;
        }
        // Otherwise the pressed button keeps the hover and this one is left alone.
    }
}

void MenuPanel::press(Point point) {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        buttons[i].state = insideButton(*this, i, point) ? Pressed : Normal;
    }
}

bool MenuPanel::release(Point point) {
    if (!isButtonIndex(*this, hovered)) {
        return false;
    }
    MenuButton& button = buttons[hovered];
    if (!insideButton(*this, static_cast<std::size_t>(hovered), point)) {
        button.state = Normal;
        hovered = -1;
        return false;
    }
    // Only a button pressed while it held the hover fires; one merely hovered again
    // after the pointer left it does not.
    if (button.state != Pressed) {
        return false;
    }
    button.state = Normal;
    return true;
}

void MenuPanel::draw(BackBuffer& backBuffer) {
    auto graphics = backBuffer.beginDrawing();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (!images[i]) {
            continue;
        }
        const Rectangle destination{positions[i].x, positions[i].y, buttonWidth, buttonHeight};
        const Rectangle frame{static_cast<float>(buttons[i].state) * framePitch, 0.0f, buttonWidth,
                              buttonHeight};
        graphics->drawImagePart(*images[i], destination, frame);
    }
    if (isButtonIndex(*this, hovered) && labelFont) {
        graphics->drawTextInBox(tr(buttons[hovered].label), *labelFont, labelColour, labelBox,
                                TextAlign::Centre);
    }
}
