// The program's entry point in the browser: the page's canvas and the drawing services
// first, the settings brought back from the browser's storage, then the same program
// as on the desktop. When it ends, the page is told so it can show its end page.
#include <emscripten.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

#include "app/Program.h"
#include "platform/web/WebBridge.h"
#include "platform/web/WebDrawing.h"
#include "platform/web/WebHost.h"
#include "platform/web/WebSettingsStore.h"
#include "platform/web/WebUserFolders.h"

namespace {

// The browser's local storage under the page's settings key.
class LocalStorage : public SettingsStorage {
public:
    std::optional<std::string> read() override {
        std::string text(4096, '\0');
        const int length = web_read_settings(text.data(), static_cast<int>(text.size()));
        if (length < 0 || length >= static_cast<int>(text.size())) {
            return std::nullopt;  // none, or far larger than any settings file
        }
        text.resize(static_cast<std::size_t>(length));
        return text;
    }
    bool write(const std::string& text) override { return web_write_settings(text.c_str()) != 0; }
};

// The page's copy counts as installed: its settings belong to the pupil, not to a
// folder beside the program.
void markInstalled() {
    std::ofstream marker("/Data/installed.txt");
    marker << "web\n";
}

}  // namespace

int main() {
    web_init();
    std::error_code error;
    std::filesystem::current_path("/", error);
    markInstalled();

    WebUserFolders folders;
    installUserFolders(&folders);
    LocalStorage storage;
    WebSettingsStore settings(storage,
                              {folders.settingsFolder() / "settings.txt", "/Data/settings.txt"});
    settings.restore();

    WebDrawingServices drawing;
    installDrawingServices(&drawing);
    WebHost host([&settings] { settings.keepChanges(); });
    const int exitCode = runProgram(host);
    installDrawingServices(nullptr);
    installUserFolders(nullptr);
    web_finished(exitCode);
    return exitCode;
}
