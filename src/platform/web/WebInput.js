// The page's input turned into queued messages for the program (WebHost.cpp takes them
// each frame; WebKeys.cpp reads the keys): the pointer on the canvas, the wheel and the
// keyboard. Keys typed into the page's own controls stay theirs.

(function (web) {
    'use strict';

    web.push = function (message) {
        web.queue.push(message);
    };

    function track(event) {
        const rect = web.canvas.getBoundingClientRect();
        const scaleX = rect.width > 0 ? 800 / rect.width : 1;
        const scaleY = rect.height > 0 ? 600 / rect.height : 1;
        web.pointer.x = (event.clientX - rect.left) * scaleX;
        web.pointer.y = (event.clientY - rect.top) * scaleY;
        web.pointerClient.x = event.clientX;
        web.pointerClient.y = event.clientY;
    }

    // Keys typed into the page's own controls are theirs, not the program's.
    function forProgram(event) {
        if (web.modalDepth > 0) {
            return false;
        }
        const target = event.target;
        return target === web.canvas || target === document.body ||
            target === document.documentElement || target === document || target === window ||
            web.commandKeyOnControl(event);
    }

    web.listen = function (canvas) {
        window.addEventListener('pointermove', function (event) {
            track(event);
            if (event.target === canvas) {
                canvas.style.cursor = '';  // the arrow comes back as the pointer moves
            }
        }, true);
        canvas.addEventListener('pointerdown', function (event) {
            track(event);
            canvas.focus();
            if (event.button === 0) {
                // Every left press is held until its release, as the program asks.
                web.pointerId = event.pointerId;
                try { canvas.setPointerCapture(event.pointerId); } catch (e) { /* gone */ }
                web.push({ kind: 'left-down' });
            } else if (event.button === 2) {
                web.push({ kind: 'right-down' });
            }
            event.preventDefault();
        });
        canvas.addEventListener('pointerup', function (event) {
            track(event);
            if (event.button === 0) {
                web.push({ kind: 'left-up' });
                web.pointerId = null;
            }
        });
        // A touch the browser takes over (or a pen lifted out of range) ends the press,
        // so a drag is not left hanging.
        canvas.addEventListener('pointercancel', function (event) {
            if (event.pointerId === web.pointerId) {
                web.push({ kind: 'left-up' });
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
        window.addEventListener('keydown', function (event) {
            if (!forProgram(event) || web.leftToPage(event) || web.hold(event)) {
                return;
            }
            web.push({ kind: 'key', code: event.code || '', key: event.key || '' });
            const shortcut = event.ctrlKey || event.metaKey || event.altKey ||
                /^F\d+$/.test(event.code);
            if (!shortcut) {
                event.preventDefault();  // no scrolling, going back or leaving the canvas
            }
        });
    };

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
