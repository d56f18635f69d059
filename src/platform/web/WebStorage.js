// The settings text kept in the browser's local storage (WebSettingsStore.cpp reads
// and writes it through these). A pupil who picked their name from a class list has
// their own key, "bricketing.settings." and their name as a file name; until they have
// saved settings of their own they start from the device's shared ones, which the
// teacher may have prepared.

(function (web) {
    'use strict';

    const settingsKey = 'bricketing.settings';

    // Whether the last confirmed settings were stored; the end page says so if not.
    web.settingsKept = true;

    function pupilKey() {
        return web.pupilFile ? settingsKey + '.' + web.pupilFile : settingsKey;
    }

    web.readSettings = function () {
        try {
            const own = window.localStorage.getItem(pupilKey());
            return own !== null ? own : window.localStorage.getItem(settingsKey);
        } catch (e) {
            return null;  // storage switched off: the program's own defaults
        }
    };

    function store(text) {
        try {
            const key = pupilKey();
            window.localStorage.setItem(key, text);
            return window.localStorage.getItem(key) === text;
        } catch (e) {
            return false;  // full or switched off: what was stored stays
        }
    }

    web.writeSettings = function (text) {
        web.settingsKept = store(text);
        return web.settingsKept;
    };
})(Module.web);
