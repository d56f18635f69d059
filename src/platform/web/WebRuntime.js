// The browser side of the web backend, run inside the module before the program starts.
// This file holds the shared state (Module.web) and the start-up; the other Web*.js
// files beside it, loaded after it in this order, add one role each: input
// (WebInput.js), drawing (WebDrawing.js), pictures (WebPictures.js), the HTML dialogs
// (WebDialogs.js), keys typed ahead (WebReplay.js), the settings' storage
// (WebStorage.js), the frame benchmark (WebBench.js), the picture's fit to the screen
// (WebLayout.js), the on-screen number pad (WebPad.js), the help panel (WebHelp.js),
// the commands' own controls (WebCommands.js), what a screen reader reads
// (WebAccessibleText.js), the sound cues (WebSound.js) and the class list and the
// pupil (WebClassList.js). The C++ side calls in through the small functions of
// WebBridge.cpp.

// Marks a text of the page for the catalogue's template where it is kept as data; it is
// looked up where it is shown. tr() looks a text up in the pupil's language.
function trNoop(english) { return english; }
function tr(english) { return Module.web.tr(english); }
// A catalogue keys a text with a context as "context\x04text"; a text it does not
// translate (English, or before the program starts) comes back as that key, and is
// shown without its context.
function trc(context, english) {
    const key = context + String.fromCharCode(4) + english;
    const shown = Module.web.tr(key);
    return shown === key ? english : shown;
}

Module.web = (function () {
    'use strict';

    const fontFile = 'fonts/LiberationSans-Regular.woff2';
    const fontWaitMs = 5000;

    const web = {
        fontFamily: '"Liberation Sans", Arial, sans-serif',
        canvas: null,
        context: null,
        dpr: 1,
        queue: [],                 // input waiting for the program, oldest first
        pointer: { x: 0, y: 0 },   // canvas pixels, not clamped to it
        pointerClient: { x: 0, y: 0 },
        pointerId: null,           // the pointer holding the left button
        touchUsed: false,          // a finger or a pen has pressed somewhere on the page
        keyboardUsed: false,       // a key has been typed for the program
        surfaces: [null],
        images: [null],
        imageByPath: new Map(),
        widths: new Map(),
        colours: new Map(),
        dialogs: [null],
        modalDepth: 0,
        frameCount: 0,
        dialogSerial: 0,
        settling: false,           // a command is queued that the program has not finished
        held: [],                  // keys typed meanwhile, oldest first
    };

    // UTF-16 text between the program's memory and JS strings.
    // The page's own words in the pupil's language, from the program's catalogue: every
    // text given to web.label is shown looked up, and shown again when the program
    // changes the language (web.relabel). English until the program has started.
    const labels = [];
    web.tr = function (english) {
        if (typeof Module._bricketing_translate !== 'function' || !web.started) {
            return english;
        }
        const size = lengthBytesUTF8(english) + 1;
        const copy = _malloc(size);
        stringToUTF8(english, copy, size);
        const shown = UTF8ToString(Module._bricketing_translate(copy));
        _free(copy);
        return shown;
    };
    web.label = function (element, attribute, english) {
        labels.push({ element: element, attribute: attribute, english: english });
        const shown = web.tr(english);
        if (attribute === 'textContent' || attribute === 'title') {
            element[attribute] = shown;
        } else {
            element.setAttribute(attribute, shown);
        }
    };
    web.relabel = function (code) {
        web.started = true;
        web.language = code;
        document.documentElement.lang = code.replace('_', '-');
        labels.splice(0).forEach(function (entry) {
            web.label(entry.element, entry.attribute, entry.english);
        });
    };

    web.utf16 = function (pointer, length) {
        let text = '';
        const start = pointer >> 1;
        for (let at = 0; at < length; at += 4096) {
            const end = start + Math.min(length, at + 4096);
            text += String.fromCharCode.apply(null, HEAPU16.subarray(start + at, end));
        }
        return text;
    };

    web.putUtf16 = function (text, pointer, capacity) {
        const start = pointer >> 1;
        const count = Math.min(text.length, capacity);
        for (let at = 0; at < count; at++) {
            HEAPU16[start + at] = text.charCodeAt(at);
        }
        return text.length;
    };

    // ---- Start-up: the font first, so the first frame already has it ----

    Module.preRun = [].concat(Module.preRun || [], function () {
        if (typeof FontFace !== 'function' || typeof document === 'undefined') {
            return;
        }
        addRunDependency('bricketing-font');
        // A page whose style sheet declares the face (as the site's does, with the file
        // preloaded beside the program) has it loaded through that rule, so the file is
        // downloaded once; elsewhere the face is made here from the file.
        const declared = Array.from(document.fonts).some(function (face) {
            return face.family.replace(/["']/g, '') === 'Liberation Sans';
        });
        const loading = declared ? document.fonts.load('40px "Liberation Sans"')
            : new FontFace('Liberation Sans', 'url(' + locateFile(fontFile) + ')').load()
                .then(function (loaded) { document.fonts.add(loaded); });
        // A font that never comes still lets the program start, in the browser's
        // sans-serif, after a few seconds.
        const timeout = new Promise(function (resolve) { setTimeout(resolve, fontWaitMs); });
        Promise.race([loading, timeout]).catch(function () {
            // Without the file the text still shows, in the browser's sans-serif.
        }).finally(function () {
            removeRunDependency('bricketing-font');
        });
    });

    // The teacher's file is asked for as the module is made, so that its round trip runs
    // beside the program's own download rather than after it: the program reads it
    // before its first frame (web_await_teacher_file takes this answer).
    web.teacherFileAsked = typeof fetch === 'function' && typeof document !== 'undefined'
        ? fetch('teacher.txt', { cache: 'no-cache' }).catch(function () { return null; })
        : null;

    web.init = function () {
        const canvas = Module.canvas || document.getElementById('board');
        web.canvas = canvas;
        // A finger's drag is the program's; two fingers pinch the page larger.
        canvas.style.touchAction = 'pinch-zoom';
        canvas.tabIndex = 0;
        web.makePad(canvas.parentElement || document.body);
        web.startLayout(canvas);
        web.context = canvas.getContext('2d', { alpha: false });
        web.listen(canvas);
        web.makeCommands(canvas);
        web.makeReaderText(canvas);
        web.readClassList();  // looked for now, waited for after the first frame
        canvas.focus();
    };

    web.finished = function (exitCode) {
        if (typeof Module.onFinished === 'function') {
            Module.onFinished(exitCode, web.settingsKept);
        }
    };

    return web;
})();
