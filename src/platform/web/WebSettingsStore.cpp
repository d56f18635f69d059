// The settings file mirrored into the browser's storage.
#include "platform/web/WebSettingsStore.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

WebSettingsStore::WebSettingsStore(SettingsStorage& storage,
                                   std::vector<std::filesystem::path> files)
    : storage(storage), files(std::move(files)) {
    for (const auto& path : this->files) {
        lastSeen.push_back(fileText(path));
    }
}

std::optional<std::string> WebSettingsStore::fileText(const std::filesystem::path& path) const {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WebSettingsStore::restore() {
    // The folders are made in any case, so the program can write its file there.
    for (const auto& path : files) {
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
    }
    const std::optional<std::string> stored = storage.read();
    if (!stored) {
        return;
    }
    for (std::size_t at = 0; at < files.size(); ++at) {
        std::ofstream out(files[at], std::ios::binary | std::ios::trunc);
        out << *stored;
        out.close();
        lastSeen[at] = fileText(files[at]);
    }
}

bool WebSettingsStore::keepChanges() {
    for (std::size_t at = 0; at < files.size(); ++at) {
        const std::optional<std::string> now = fileText(files[at]);
        if (!now || now == lastSeen[at]) {
            continue;
        }
        if (!storage.write(*now)) {
            // Looked at again after the next Settings, in case storage has room then.
            return false;
        }
        lastSeen[at] = now;
        return true;
    }
    return true;
}
