// The main window and the host services in the browser.
#include "platform/web/WebHost.h"

#include <cstdlib>

#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "platform/web/WebBridge.h"
#include "platform/web/WebDialogs.h"
#include "platform/web/WebDrawing.h"
#include "platform/web/WebInputKind.h"
#include "platform/web/WebKeys.h"

namespace {
Message messageOf(MessageKind kind) {
    Message message;
    message.kind = kind;
    return message;
}

// One input taken from the page, as a message; false when none is waiting.
bool takeInput(Message& message) {
    int wheelDelta = 0;
    char code[64] = {};
    char key[64] = {};
    switch (static_cast<WebInputKind>(
        web_take_input(&wheelDelta, code, sizeof code, key, sizeof key))) {
        case WebInputKind::None:
            return false;
        case WebInputKind::Key: {
            const int virtualKey = virtualKeyOf(code, key);
            message = messageOf(virtualKey == 0 ? MessageKind::Other : MessageKind::KeyDown);
            message.keyCode = static_cast<std::uint32_t>(virtualKey);
            return true;
        }
        case WebInputKind::LeftDown:
            message = messageOf(MessageKind::LeftButtonDown);
            return true;
        case WebInputKind::LeftUp:
            message = messageOf(MessageKind::LeftButtonUp);
            return true;
        case WebInputKind::RightDown:
            message = messageOf(MessageKind::RightButtonDown);
            return true;
        case WebInputKind::Wheel:
            message = messageOf(MessageKind::MouseWheel);
            message.wheelDelta = wheelDelta;
            return true;
        default:
            message = messageOf(MessageKind::Other);
            return true;
    }
}
}  // namespace

// The page already holds the canvas; the window's title and place are the page's.
void WebHost::createMainWindow(const WindowDescription&, MessageHandler& handler) {
    handler.handleMessage(messageOf(MessageKind::Create));
}

void WebHost::destroyMainWindow() {
    if (windowDestroyed) {
        return;
    }
    windowDestroyed = true;
    post(messageOf(MessageKind::Destroy));
}

std::unique_ptr<BackBuffer> WebHost::createBackBuffer(int width, int height) {
    return std::make_unique<WebBackBuffer>(width, height);
}

void WebHost::present(BackBuffer& buffer) {
    if (!windowDestroyed) {
        web_present(static_cast<WebBackBuffer&>(buffer).surface);
    }
}

// A change of the screen's pixel density gives the canvas a new, stretched picture;
// the next frame is drawn anew at the new density even when nothing else changed.
bool WebHost::windowPictureLost() {
    return web_take_picture_lost() != 0;
}

void WebHost::collectInput() {
    Message message;
    while (takeInput(message)) {
        // Once the window has gone, its input goes with it.
        if (!windowDestroyed) {
            queue.push_back(message);
        }
    }
}

void WebHost::post(const Message& message) {
    collectInput();
    queue.push_back(message);
}

bool WebHost::peekMessage(Message& message) {
    if (queue.empty()) {
        collectInput();
    }
    if (queue.empty()) {
        return false;
    }
    message = queue.front();
    queue.pop_front();
    return true;
}

void WebHost::postQuit(int exitCode) {
    Message quit = messageOf(MessageKind::Quit);
    quit.exitCode = exitCode;
    post(quit);
}

PixelPoint WebHost::cursorPosition() {
    double x = 0.0;
    double y = 0.0;
    web_pointer(&x, &y);
    return {static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y))};
}

void WebHost::captureMouse() {
    web_capture(1);
}

void WebHost::releaseMouse() {
    web_capture(0);
}

bool WebHost::performanceFrequency(std::int64_t& countsPerSecond) {
    countsPerSecond = 1000000;  // the counter is in microseconds
    return true;
}

std::int64_t WebHost::performanceCounter() {
    return static_cast<std::int64_t>(std::llround(emscripten_get_now() * 1000.0));
}

// Yields to the browser, which draws the presented frame and delivers input meanwhile.
void WebHost::sleepMilliseconds(int milliseconds) {
    web_loop_pass();
    emscripten_sleep(static_cast<unsigned>(std::max(0, milliseconds)));
}

// Yields to the browser until one of the page's events resolves the wait; no timer
// runs meanwhile.
void WebHost::waitForMessage() {
    web_wait_for_message();
}

MessageBoxAnswer WebHost::messageBox(MessageBoxOwner, const std::u16string& text,
                                     const std::u16string& caption, MessageBoxButtons buttons) {
    return runWebMessageBox(text, caption, buttons);
}

void WebHost::runDialog(DialogId dialog, DialogProcedure& procedure) {
    runWebDialog(dialog, procedure);
}

// The board's name and the line being typed on the canvas, the working-out above that
// line in the page for a reader. Only what changed crosses into the page: of the
// working-out, the lines from the first that differs from those already published, and
// those are looked for only when the lines are another copy, after a step; so a digit
// typed on a long working-out costs what it costs on a fresh one.
void WebHost::publishAccessibleText(const AccessibleText& text) {
    if (windowDestroyed) {
        return;
    }
    int fromLine = -1;
    std::u16string_view changed;
    if (text.lines != publishedLines) {
        const std::u16string none;
        const std::u16string& lines = text.linesText();
        const std::u16string& before = publishedLines ? *publishedLines : none;
        const auto differs =
            std::mismatch(lines.begin(), lines.end(), before.begin(), before.end());
        if (differs.first != lines.end() || differs.second != before.end()) {
            const auto same = static_cast<std::size_t>(differs.first - lines.begin());
            const std::u16string_view head = lines;
            // The line the first difference is in; npos + 1 is 0.
            const std::size_t lineStart =
                same == 0 ? 0 : head.substr(0, same).find_last_of(u'\n') + 1;
            fromLine = static_cast<int>(std::count(head.begin(), head.begin() + lineStart, u'\n'));
            changed = head.substr(lineStart);
            // The page keeps no empty paragraph for the break that ends the last line.
            if (!changed.empty() && changed.back() == u'\n') {
                changed.remove_suffix(1);
            }
        }
        publishedLines = text.lines;
    }
    web_publish_accessible_text(text.name.data(), static_cast<int>(text.name.size()),
                                text.value.data(), static_cast<int>(text.value.size()), fromLine,
                                changed.data(), static_cast<int>(changed.size()));
}

// Spoken once by the page's live region.
void WebHost::announce(const std::u16string& text) {
    if (!windowDestroyed) {
        web_announce(text.data(), static_cast<int>(text.size()));
    }
}

// The browser's languages, navigator.languages, most wanted first.
std::vector<std::string> WebHost::preferredLanguages() {
    std::vector<std::string> languages;
    char* joined = web_preferred_languages();
    const std::string all = joined != nullptr ? joined : "";
    std::free(joined);
    std::string name;
    for (const char c : all) {
        if (c == ',') {
            languages.push_back(name);
            name.clear();
        } else {
            name += c;
        }
    }
    if (!name.empty()) {
        languages.push_back(name);
    }
    return languages;
}

void WebHost::languageChanged(const std::string& code) {
    web_language_changed(code.c_str());
}

void WebHost::openDocument(const std::string& relativePath) {
    web_open_document(relativePath.c_str());
}

bool WebHost::prefersHighContrast() {
    return web_prefers_high_contrast() != 0;
}
