// The settings file kept in the browser's local storage (WebSettingsStore.cpp reads
// and writes it through these).

(function (web) {
    'use strict';

    const settingsKey = 'bricketing.settings';

    web.readSettings = function () {
        try {
            return window.localStorage.getItem(settingsKey);
        } catch (e) {
            return null;  // storage switched off: the program's own defaults
        }
    };

    web.writeSettings = function (text) {
        try {
            window.localStorage.setItem(settingsKey, text);
            return window.localStorage.getItem(settingsKey) === text;
        } catch (e) {
            return false;  // full or switched off: what was stored stays
        }
    };
})(Module.web);
