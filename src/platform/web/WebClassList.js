// The class list and the pupil on a shared device (WebClassListStore.cpp reads and
// tells through these). A teacher's list is entered in the page's teacher view and kept
// in local storage; without one, a class.txt that the school's server puts beside the
// site is fetched (a 404 means there is none). The look starts with the program, so the
// program rarely waits for it; it gives up after a few seconds, as if there were none,
// rather than keep a class from starting.

(function (web) {
    'use strict';

    const classKey = 'bricketing.class';
    const classFile = 'class.txt';
    const fetchLimitMs = 5000;

    let looking = null;

    // The teacher's own list on this device, or null.
    web.storedClassList = function () {
        try {
            const text = window.localStorage.getItem(classKey);
            return text !== null && text.trim() !== '' ? text : null;
        } catch (e) {
            return null;  // storage switched off
        }
    };

    // The site's class.txt, or null when there is none or it does not come in time.
    async function siteClassList() {
        if (typeof fetch !== 'function') {
            return null;
        }
        const controller = typeof AbortController === 'function' ? new AbortController() : null;
        const timer = setTimeout(function () { if (controller) controller.abort(); }, fetchLimitMs);
        try {
            const response = await fetch(locateFile(classFile),
                                         { cache: 'no-cache', signal: controller && controller.signal });
            return response.ok ? await response.text() : null;
        } catch (e) {
            return null;  // offline with nothing cached, or too slow
        } finally {
            clearTimeout(timer);
        }
    }

    async function look() {
        const stored = web.storedClassList();
        const text = stored !== null ? stored : await siteClassList();
        web.classListText = text;
        return text;
    }

    // One look per start: the program and the end page share its answer.
    web.readClassList = function () {
        if (!looking) {
            looking = look();
        }
        return looking;
    };

    // The pupil who picked their name, and the name their settings are kept under.
    web.pupil = '';
    web.pupilFile = '';
    web.setPupil = function (name, fileName) {
        web.pupil = name;
        web.pupilFile = fileName;
    };
})(Module.web);
