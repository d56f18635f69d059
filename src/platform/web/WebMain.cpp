// The program's entry point in the browser: the page's canvas, the drawing services, the
// settings store over the browser's storage and the class list first, then the same
// program as on the desktop. When it ends, the page is told so it can show its end page.
#include <emscripten.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "app/Program.h"
#include "platform/web/WebBridge.h"
#include "platform/web/WebClassListStore.h"
#include "platform/web/WebDrawing.h"
#include "platform/web/WebHost.h"
#include "platform/web/WebRecord.h"
#include "platform/web/WebSettingsStore.h"
#include "platform/web/WebSoundPlayer.h"

namespace {

// The browser's local storage under the page's settings key.
class LocalStorage : public SettingsStore {
public:
    std::optional<std::string> read() override {
        std::string text(largestStoredSettings + 1, '\0');
        const int length = web_read_settings(text.data(), static_cast<int>(text.size()));
        if (length < 0 || length >= static_cast<int>(text.size())) {
            return std::nullopt;  // none, or far larger than any settings file
        }
        text.resize(static_cast<std::size_t>(length));
        return text;
    }
    bool write(const std::string& text) override { return web_write_settings(text.c_str()) != 0; }
    std::optional<std::string> readTeacherFile() override { return teacherText; }

    // Fetched once, before the lesson reads it.
    void fetchTeacherFile() {
        std::string text(largestTeacherFile + 1, '\0');
        const int length = web_fetch_teacher_file(text.data(), static_cast<int>(text.size()));
        if (length < 0) {
            return;
        }
        text.resize(std::min(static_cast<std::size_t>(length), largestTeacherFile));
        teacherText = std::move(text);
    }

private:
    std::optional<std::string> teacherText;
};

}  // namespace

int main() {
    web_init();
    std::error_code error;
    std::filesystem::current_path("/", error);

    LocalStorage storage;
    storage.fetchTeacherFile();
    WebSettingsStore settings(storage);
    installSettingsStore(&settings);
    WebClassListStore classList;
    installClassListStore(&classList);

    WebRecord record;
    WebDrawingServices drawing;
    installDrawingServices(&drawing);
    WebSoundPlayer sound;
    installSoundPlayer(&sound);
    WebHost host;
    const int exitCode = runProgram(host);
    installSoundPlayer(nullptr);
    installDrawingServices(nullptr);
    installClassListStore(nullptr);
    installSettingsStore(nullptr);
    web_finished(exitCode);
    return exitCode;
}
