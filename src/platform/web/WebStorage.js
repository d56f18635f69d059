// The settings text kept in the browser's local storage (WebSettingsStore.cpp reads
// and writes it through these).

(function (web) {
    'use strict';

    const settingsKey = 'bricketing.settings';

    // Whether the last confirmed settings were stored; the end page says so if not.
    web.settingsKept = true;

    web.readSettings = function () {
        try {
            return window.localStorage.getItem(settingsKey);
        } catch (e) {
            return null;  // storage switched off: the program's own defaults
        }
    };

    function store(text) {
        try {
            window.localStorage.setItem(settingsKey, text);
            return window.localStorage.getItem(settingsKey) === text;
        } catch (e) {
            return false;  // full or switched off: what was stored stays
        }
    }

    web.writeSettings = function (text) {
        web.settingsKept = store(text);
        return web.settingsKept;
    };
})(Module.web);
