// The page's input turned into queued messages for the program (WebHost.cpp takes them
// each frame; WebKeys.cpp reads the keys): the pointer on the canvas, the wheel and the
// keyboard. Keys typed into the page's own controls stay theirs.

(function (web) {
    'use strict';

    // The number each kind of message crosses to the program as (web_take_input); the
    // same numbers as WebInputKind in WebInputKind.h, which must change with these.
    web.inputKinds = Object.freeze({
        'key': 1,
        'left-down': 2,
        'left-up': 3,
        'right-down': 4,
        'wheel': 5,
    });

    web.push = function (message) {
        web.queue.push(message);
        web.wake();
    };

    // The passes the frame loop has made; each follows a frame's hover update.
    function passes() {
        return Module.loopPasses || 0;
    }

    // The next input the program may take now. A finger's press waits until the loop
    // has made a frame with the pointer at the touch, as a mouse's hover always comes
    // first; what came after it waits behind it.
    web.takeInput = function () {
        const next = web.queue[0];
        if (!next || (next.notBefore || 0) > passes()) {
            return null;
        }
        web.queue.shift();
        if (next.kind === 'left-up' && next.finger) {
            // Once the program has handled the release and drawn a frame, the lifted
            // finger leaves nothing under it: no button stays hovered.
            web.awayAfterPass = passes() + 1;
        }
        return next;
    };

    // The pointer off the picture, over nothing of the program's.
    web.pointerAway = function () {
        web.pointer.x = -10000;
        web.pointer.y = -10000;
        web.wake();
    };

    // Called by the frame loop at each pass, before it sleeps.
    web.loopPass = function () {
        Module.loopPasses = passes() + 1;
        if (web.awayAfterPass !== null && web.awayAfterPass !== undefined &&
            passes() >= web.awayAfterPass) {
            web.awayAfterPass = null;
            web.pointerAway();
        }
        web.checkScale();
    };

    // A key from the page's own keys (the number pad, a soft keyboard's text) goes where
    // a typed key would: held while a command is being carried out, else queued.
    web.sendKey = function (code, key) {
        if (web.settling) {
            web.held.push({ key: key, code: code, shiftKey: false });
        } else {
            web.push({ kind: 'key', code: code, key: key });
        }
    };

    function track(event) {
        const rect = web.canvas.getBoundingClientRect();
        const scaleX = rect.width > 0 ? 800 / rect.width : 1;
        const scaleY = rect.height > 0 ? 600 / rect.height : 1;
        web.pointer.x = (event.clientX - rect.left) * scaleX;
        web.pointer.y = (event.clientY - rect.top) * scaleY;
        web.pointerClient.x = event.clientX;
        web.pointerClient.y = event.clientY;
        web.wake();
    }

    // Keys typed into the page's own controls are theirs, not the program's.
    function forProgram(event) {
        if (web.modalDepth > 0 || web.helpOpen) {
            return false;
        }
        const target = event.target;
        return target === web.canvas || target === document.body ||
            target === document.documentElement || target === document || target === window ||
            web.commandKeyOnControl(event);
    }

    function isFinger(event) {
        return event.pointerType === 'touch' || event.pointerType === 'pen';
    }

    // A keyboard that has only text to give (a soft keyboard composing, 229) says so in
    // its key name; its digits come as input text instead.
    function composing(event) {
        return event.keyCode === 229 || event.key === 'Unidentified' || event.key === 'Process';
    }

    function listenToPointer(canvas) {
        window.addEventListener('pointermove', function (event) {
            track(event);
            if (web.helpOpen) {
                web.pointerAway();  // the help panel covers the picture
                return;
            }
            if (event.target === canvas) {
                canvas.style.cursor = '';  // the arrow comes back as the pointer moves
            }
        }, true);
        window.addEventListener('pointerdown', function (event) {
            if (isFinger(event)) {
                web.touchUsed = true;
            }
        }, true);
        canvas.addEventListener('pointerdown', function (event) {
            track(event);
            web.awayAfterPass = null;
            canvas.focus({ preventScroll: true });
            if (event.button === 0) {
                // Every left press is held until its release, as the program asks.
                web.pointerId = event.pointerId;
                try { canvas.setPointerCapture(event.pointerId); } catch (e) { /* gone */ }
                web.push({ kind: 'left-down', notBefore: isFinger(event) ? passes() + 1 : 0 });
            } else if (event.button === 2) {
                web.push({ kind: 'right-down' });
            }
            event.preventDefault();
        });
        canvas.addEventListener('pointerup', function (event) {
            track(event);
            if (event.button === 0) {
                web.push({ kind: 'left-up', finger: isFinger(event) });
                web.pointerId = null;
            }
        });
        // A touch the browser takes over (or a pen lifted out of range) ends the press,
        // so a drag is not left hanging.
        canvas.addEventListener('pointercancel', function (event) {
            if (event.pointerId === web.pointerId) {
                web.push({ kind: 'left-up', finger: isFinger(event) });
                web.pointerId = null;
            }
        });
        canvas.addEventListener('contextmenu', function (event) {
            event.preventDefault();
        });
        canvas.addEventListener('wheel', function (event) {
            event.preventDefault();
            track(event);
            // One notch is 120, positive when turned away from the user.
            let delta = typeof event.wheelDeltaY === 'number' && event.wheelDeltaY !== 0
                ? event.wheelDeltaY
                : -event.deltaY * (event.deltaMode === 1 ? 40 : event.deltaMode === 2 ? 120 : 1.2);
            delta = Math.round(delta);
            if (delta !== 0) {
                web.push({ kind: 'wheel', delta: delta });
            }
        }, { passive: false });
    }

    function listenToKeys() {
        window.addEventListener('keydown', function (event) {
            if (!forProgram(event) || web.leftToPage(event) || composing(event) ||
                web.hold(event)) {
                return;
            }
            web.noteKeyboard();
            web.push({ kind: 'key', code: event.code || '', key: event.key || '' });
            const shortcut = event.ctrlKey || event.metaKey || event.altKey ||
                /^F\d+$/.test(event.code);
            if (!shortcut) {
                event.preventDefault();  // no scrolling, going back or leaving the canvas
            }
        });
        // Text a soft keyboard inserts: its digits and spaces are the keys they name.
        window.addEventListener('beforeinput', function (event) {
            if (!forProgram(event) || typeof event.data !== 'string') {
                return;
            }
            event.preventDefault();
            Array.from(event.data).forEach(function (character) {
                if (/^[0-9]$/.test(character)) {
                    web.sendKey('', character);
                } else if (character === ' ') {
                    web.sendKey('', ' ');
                }
            });
        }, true);
    }

    web.listen = function (canvas) {
        listenToPointer(canvas);
        listenToKeys();
    };

    // ---- The resting wait: a promise the page's events resolve, with no timer ----

    let endWait = null;
    let woken = false;  // the page was shown again or its size or zoom changed
    web.pointerRead = null;  // where the program last read the pointer

    // While a command's own control clicks its picture, the pointer is there.
    function pointerNow() {
        return web.pointerOverride || web.pointer;
    }

    web.readPointer = function () {
        const pointer = pointerNow();
        web.pointerRead = { x: pointer.x, y: pointer.y };
        return web.pointerRead;
    };

    function overPicture(point) {
        return point.x >= 0 && point.y >= 0 && point.x < 800 && point.y < 600;
    }

    // Input waits, or the picture may have to change: the pointer moved over the
    // picture or left it since the program read it (moves elsewhere on the page do
    // not count), or the page came back or was rescaled.
    function somethingNew() {
        const read = web.pointerRead;
        const pointer = pointerNow();
        const moved = !read || read.x !== pointer.x || read.y !== pointer.y;
        return web.queue.length > 0 || woken || web.pictureLost === true ||
            (moved && (!read || overPicture(read) || overPicture(pointer)));
    }

    web.wake = function () {
        if (endWait && somethingNew()) {
            const resolve = endWait;
            endWait = null;
            resolve();
        }
    };

    web.waitForMessage = function () {
        woken = false;
        if (somethingNew()) {
            return Promise.resolve();
        }
        return new Promise(function (resolve) {
            endWait = resolve;
        });
    };

    function wakeForPage() {
        if (document.visibilityState !== 'hidden') {
            woken = true;
            web.wake();
        }
    }
    // Another screen or the zoom changes the pixel density, which not every browser
    // tells with a resize; a media query on the density now does.
    function watchDensity() {
        if (typeof window.matchMedia !== 'function') {
            return;
        }
        const density = window.matchMedia('(resolution: ' + (window.devicePixelRatio || 1) +
            'dppx)');
        if (typeof density.addEventListener !== 'function') {
            return;
        }
        density.addEventListener('change', function changed() {
            density.removeEventListener('change', changed);
            wakeForPage();
            watchDensity();
        });
    }

    if (typeof document !== 'undefined') {
        watchDensity();
        document.addEventListener('visibilitychange', wakeForPage);
        window.addEventListener('resize', wakeForPage);
        window.addEventListener('pageshow', wakeForPage);
    }

    web.capture = function (on) {
        if (web.pointerId === null) {
            return;
        }
        try {
            if (on) {
                web.canvas.setPointerCapture(web.pointerId);
            } else {
                web.canvas.releasePointerCapture(web.pointerId);
            }
        } catch (e) {
            // The pointer has already gone up or away.
        }
    };
})(Module.web);
