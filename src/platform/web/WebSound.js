// The cues through Web Audio. A browser lets a page make sound only after the pupil
// has touched or typed in it (an iPad keeps its audio context suspended until a
// context is resumed inside a tap), so the context is made and resumed in the first
// pointer or key event, and the cues' WAV bytes are decoded then. A cue asked for
// before that plays nothing, as sound off would. The WAV files are fetched beside the
// page once the first frame is up (the program's start names them), so that their
// download does not hold up what that frame needs.

(function (web) {
    'use strict';

    const waves = [];     // each cue's WAV bytes, from the program's files
    const buffers = [];   // each cue decoded, once the context exists
    let context = null;
    let playing = null;

    function decodeAll() {
        waves.forEach(function (bytes, index) {
            if (!bytes || buffers[index]) return;
            context.decodeAudioData(bytes.slice(0)).then(function (buffer) {
                buffers[index] = buffer;
            }, function () { /* an unreadable file: that cue stays silent */ });
        });
    }

    function unlock() {
        const Context = window.AudioContext || window.webkitAudioContext;
        if (!Context) return;
        if (!context) {
            context = new Context();
            decodeAll();
        }
        if (context.state === 'suspended') context.resume();
    }

    function fetchCue(index, file) {
        fetch(locateFile(file)).then(function (response) {
            return response.ok ? response.arrayBuffer() : null;
        }).then(function (bytes) {
            waves[index] = bytes;
            if (context) decodeAll();
        }, function () { /* not there (offline before it was kept): that cue stays silent */ });
    }

    const asked = [];
    web.loadCue = function (index, file) {
        if (web.frameCount > 0) {
            fetchCue(index, file);
        } else {
            asked.push([index, file]);
        }
    };
    web.fetchCuesAsked = function () {
        asked.splice(0).forEach(function (cue) { fetchCue(cue[0], cue[1]); });
    };

    web.playCue = function (index) {
        if (!context || !buffers[index]) return;
        if (playing) {
            try { playing.stop(); } catch (e) { /* already ended */ }
        }
        const source = context.createBufferSource();
        source.buffer = buffers[index];
        source.connect(context.destination);
        source.start();
        playing = source;
        web.cuesPlayed = (web.cuesPlayed || 0) + 1;  // counted for the tests
    };

    ['pointerdown', 'keydown', 'touchend'].forEach(function (type) {
        window.addEventListener(type, unlock, true);
    });
})(Module.web);
