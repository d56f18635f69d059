// Where the program's picture and the number pad stand on the page: the picture at the
// largest size that fits the page's window (the layout viewport, which a pinch or a soft
// keyboard leaves as it is, so a pinch enlarges the picture and a keyboard covers the
// pad, not the picture), always 800 : 600, with the pad beside it in landscape and below
// it in portrait. Zoomed in (the browser's zoom, which shrinks the window in CSS pixels),
// the picture keeps the size it had in CSS pixels at 100 %, so it is seen larger, and
// the page scrolls round it. Dialogs and the help panel keep to what is visible. The canvas's backing store follows its size on
// the screen times the pixel ratio, so every picture pixel is drawn sharp; the drawing
// surfaces follow it through web.checkScale.

(function (web) {
    'use strict';

    const margin = 8;          // around everything, CSS pixels
    const gap = 8;             // between the picture and the pad, and between keys
    const toggleHeight = 44;   // the pad's show/hide button
    const smallestKey = 44;
    const largestKey = 72;

    // The part of the page the pupil sees, in the layout viewport's coordinates (those
    // of position: fixed).
    web.visibleArea = function () {
        const view = window.visualViewport;
        if (view) {
            return { left: view.offsetLeft, top: view.offsetTop, width: view.width,
                     height: view.height };
        }
        return { left: 0, top: 0, width: window.innerWidth, height: window.innerHeight };
    };

    // The page's window in CSS pixels, as position: fixed sees it.
    function windowArea() {
        return { left: 0, top: 0, width: window.innerWidth, height: window.innerHeight };
    }

    // How far the browser is zoomed in: its pixel ratio over the smallest this tab has
    // had (kept over a reload, as browsers keep a site's zoom), never taken as below 1,
    // and only with a mouse (a finger zooms by pinching, which leaves the ratio alone).
    const ratioKey = 'bricketing.unzoomedRatio';
    web.pageZoom = function () {
        const ratio = window.devicePixelRatio || 1;
        let unzoomed = ratio;
        try {
            unzoomed = Math.min(ratio, Number(window.sessionStorage.getItem(ratioKey)) || ratio);
            window.sessionStorage.setItem(ratioKey, String(Math.max(1, unzoomed)));
        } catch (e) {
            // No storage: a zoom chosen before this visit is not seen.
        }
        unzoomed = Math.max(1, unzoomed);
        if (matches('(any-pointer: coarse)') || ratio < unzoomed * 1.2) {
            return 1;
        }
        return ratio / unzoomed;
    };

    // A soft keyboard that shrinks the window (some browsers do) has opened for an edit:
    // the picture stays as it is and the dialog moves into what is left.
    function keyboardOpened(area) {
        const active = document.activeElement;
        const last = web.fittedArea;
        return last !== undefined && active && active.tagName === 'INPUT' &&
            active.type === 'text' && area.width === last.width && area.height < last.height;
    }

    function matches(query) {
        return typeof window.matchMedia === 'function' && window.matchMedia(query).matches;
    }

    // The device's main pointer is a finger (a tablet, a phone).
    web.fingerFirst = function () {
        return matches('(pointer: coarse)');
    };

    // A finger is, or has been, in use: the dialogs grow to a finger's size.
    web.coarsePointer = function () {
        return web.touchUsed === true || web.fingerFirst();
    };

    // With a mouse the picture is never drawn larger than the desktop window's 800 x 600
    // (it only shrinks to fit); on a touch screen it grows to fill the screen.
    function largestScale() {
        return matches('(any-pointer: coarse)') ? 4 : 1;
    }

    // Device pixels per CSS pixel as the picture is seen: a pinch-zoom magnifies it
    // further, and the backing store follows so the zoomed picture stays sharp.
    web.screenRatio = function () {
        const zoom = window.visualViewport ? window.visualViewport.scale || 1 : 1;
        return (window.devicePixelRatio || 1) * zoom;
    };

    function clamp(value, low, high) {
        return Math.max(low, Math.min(high, value));
    }

    // The pad's key size and outer size, its toggle included; a hidden pad leaves its
    // toggle alone.
    function padArea(shown, key) {
        if (!shown) {
            return { key: key, width: web.padToggleWidth(), height: toggleHeight };
        }
        const padWidth = web.padColumns * key + (web.padColumns - 1) * gap;
        const padHeight = web.padRows * key + (web.padRows - 1) * gap;
        return { key: key, width: Math.max(padWidth, web.padToggleWidth()),
                 height: toggleHeight + gap + padHeight };
    }

    // Beside the picture: the keys as large as the height allows.
    function besideLayout(area, shown) {
        const height = area.height - 2 * margin;
        const rows = web.padRows;
        const key = clamp(Math.floor((height - toggleHeight - rows * gap) / rows), smallestKey,
                          largestKey);
        const pad = padArea(shown, key);
        return { pad: pad, beside: true, room: { width: area.width - 2 * margin - pad.width - gap,
                                                 height: height } };
    }

    // Below the picture: the keys take what the picture, fitted to the width, leaves.
    function belowLayout(area, shown) {
        const width = area.width - 2 * margin;
        const pictureHeight = width * 0.75;
        const rows = web.padRows;
        const columns = web.padColumns;
        const left = area.height - 2 * margin - pictureHeight - gap - toggleHeight - rows * gap;
        const key = clamp(Math.floor(Math.min(left / rows, (width - (columns - 1) * gap) / columns)),
                          smallestKey, largestKey);
        const pad = padArea(shown, key);
        return { pad: pad, beside: false,
                 room: { width: width, height: area.height - 2 * margin - pad.height - gap } };
    }

    // The whole arrangement for a visible area: the picture's CSS size and place, the
    // pad's place and key size, in the visible area's coordinates.
    web.arrange = function (area, padShown) {
        const layout = area.width >= area.height ? besideLayout(area, padShown)
                                                 : belowLayout(area, padShown);
        const scale = clamp(Math.min(layout.room.width / 800, layout.room.height / 600), 0.2,
                            largestScale());
        // A width divisible by 4 keeps the height exactly three quarters of it.
        const width = Math.max(4, Math.floor(800 * scale / 4) * 4);
        const height = width * 3 / 4;
        const pad = layout.pad;
        const total = layout.beside
            ? { width: width + gap + pad.width, height: Math.max(height, pad.height) }
            : { width: Math.max(width, pad.width), height: height + gap + pad.height };
        const left = Math.max(margin, Math.floor((area.width - total.width) / 2));
        const top = Math.max(margin, Math.floor((area.height - total.height) / 2));
        const picture = layout.beside
            ? { left: left, top: top + Math.floor((total.height - height) / 2), width: width,
                height: height }
            : { left: left + Math.floor((total.width - width) / 2), top: top, width: width,
                height: height };
        const padBox = layout.beside
            ? { left: left + width + gap, top: top + Math.floor((total.height - pad.height) / 2) }
            : { left: left + Math.floor((total.width - pad.width) / 2), top: top + height + gap };
        return { picture: picture, beside: layout.beside,
                 pad: { left: padBox.left, top: padBox.top, width: pad.width,
                        height: pad.height, key: pad.key } };
    };

    // The strip at the foot of the window taken by the practice record's control and the
    // source note (both fixed there): the picture and the pad are fitted above it, so a
    // finger on the pad's last row never lands on them.
    function footRoom() {
        let top = window.innerHeight;
        document.querySelectorAll('.record-control, .source-note').forEach(function (element) {
            if (element.getClientRects().length > 0) {
                top = Math.min(top, element.getBoundingClientRect().top);
            }
        });
        return Math.max(0, window.innerHeight - top);
    }

    function place(element, box) {
        element.style.left = box.left + 'px';
        element.style.top = box.top + 'px';
        if (box.width !== undefined) {
            element.style.width = box.width + 'px';
            element.style.height = box.height + 'px';
        }
    }

    // Lays the page out for what is visible now. The drawing ratio it asks for is taken
    // up by web.checkScale, which redraws the surfaces at it.
    web.fit = function () {
        const canvas = web.canvas;
        if (!canvas) {
            return;
        }
        const area = windowArea();
        if (keyboardOpened(area)) {
            web.placeHelp(web.visibleArea());
            web.placeOpenDialogs();
            return;
        }
        web.fittedArea = area;
        const zoom = web.pageZoom();
        const unzoomed = { left: 0, top: 0, width: Math.round(area.width * zoom),
                           height: Math.round(area.height * zoom) };
        document.documentElement.classList.toggle('zoomed', zoom > 1);
        const holder = canvas.parentElement;
        if (holder) {
            place(holder, unzoomed);
        }
        // Zoomed in, the page scrolls round the picture and the foot with it.
        const foot = zoom > 1 ? 0 : footRoom();
        const arrangement = web.arrange({ left: 0, top: 0, width: unzoomed.width,
                                          height: Math.max(0, unzoomed.height - foot) },
                                        web.padShown());
        web.arrangement = arrangement;
        canvas.style.position = 'absolute';
        place(canvas, arrangement.picture);
        web.placePad(arrangement);
        web.placeHelp(web.visibleArea());
        web.placeOpenDialogs();
        const ratio = web.screenRatio();
        web.fittedRatio = ratio;
        // A pinch's sharper picture stops at a backing store 4,096 pixels wide.
        web.wantedDpr = Math.max(1, Math.min(4096, Math.round(arrangement.picture.width * ratio))) / 800;
    };

    // Many resize events come at once while a device turns or a keyboard slides in.
    let fitQueued = false;
    function fitSoon() {
        if (fitQueued) {
            return;
        }
        fitQueued = true;
        window.requestAnimationFrame(function () {
            fitQueued = false;
            web.fit();
            web.checkScale();
        });
    }

    web.startLayout = function (canvas) {
        web.fit();
        web.dpr = web.wantedDpr;
        canvas.width = Math.round(800 * web.dpr);
        canvas.height = Math.round(600 * web.dpr);
        window.addEventListener('resize', fitSoon);
        window.addEventListener('orientationchange', fitSoon);
        if (window.visualViewport) {
            window.visualViewport.addEventListener('resize', fitSoon);
            window.visualViewport.addEventListener('scroll', fitSoon);
        }
        ['(pointer: coarse)', '(any-pointer: coarse)'].forEach(function (query) {
            if (typeof window.matchMedia === 'function') {
                const list = window.matchMedia(query);
                if (typeof list.addEventListener === 'function') {
                    list.addEventListener('change', fitSoon);
                }
            }
        });
    };

    web.fitSoon = fitSoon;
})(Module.web);
