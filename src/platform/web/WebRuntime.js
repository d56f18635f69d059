// The browser side of the web backend, run inside the module before the program starts:
// the page's canvas and its input turned into queued messages, the off-screen drawing
// surfaces, decoded pictures, text measuring, and the HTML dialogs. The C++ side calls
// in through the small functions of WebBridge.cpp.

Module.web = (function () {
    'use strict';

    const fontFamily = '"Liberation Sans", Arial, sans-serif';
    const fontFile = 'fonts/LiberationSans-Regular.woff2';

    const web = {
        canvas: null,
        context: null,
        dpr: 1,
        queue: [],                 // input waiting for the program, oldest first
        pointer: { x: 0, y: 0 },   // canvas pixels, not clamped to it
        pointerClient: { x: 0, y: 0 },
        pointerId: null,           // the pointer holding the left button
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
        const face = new FontFace('Liberation Sans', 'url(' + locateFile(fontFile) + ')');
        face.load().then(function (loaded) {
            document.fonts.add(loaded);
        }).catch(function () {
            // Without the file the text still shows, in the browser's sans-serif.
        }).finally(function () {
            removeRunDependency('bricketing-font');
        });
    });

    web.init = function () {
        const canvas = Module.canvas || document.getElementById('board');
        web.canvas = canvas;
        web.dpr = window.devicePixelRatio || 1;
        canvas.width = Math.round(800 * web.dpr);
        canvas.height = Math.round(600 * web.dpr);
        canvas.style.width = '800px';
        canvas.style.height = '600px';
        canvas.style.touchAction = 'none';
        canvas.tabIndex = 0;
        web.context = canvas.getContext('2d', { alpha: false });
        listen(canvas);
        canvas.focus();
    };

    // ---- Input ----

    function push(message) {
        web.queue.push(message);
    }

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
            target === document.documentElement || target === document || target === window;
    }

    function listen(canvas) {
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
                push({ kind: 'left-down' });
            } else if (event.button === 2) {
                push({ kind: 'right-down' });
            }
            event.preventDefault();
        });
        canvas.addEventListener('pointerup', function (event) {
            track(event);
            if (event.button === 0) {
                push({ kind: 'left-up' });
                web.pointerId = null;
            }
        });
        // A touch the browser takes over (or a pen lifted out of range) ends the press,
        // so a drag is not left hanging.
        canvas.addEventListener('pointercancel', function (event) {
            if (event.pointerId === web.pointerId) {
                push({ kind: 'left-up' });
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
                push({ kind: 'wheel', delta: delta });
            }
        }, { passive: false });
        window.addEventListener('keydown', function (event) {
            if (!forProgram(event) || hold(event)) {
                return;
            }
            push({ kind: 'key', code: event.code || '', key: event.key || '' });
            const shortcut = event.ctrlKey || event.metaKey || event.altKey ||
                /^F\d+$/.test(event.code);
            if (!shortcut) {
                event.preventDefault();  // no scrolling, going back or leaving the canvas
            }
        });
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

    // ---- Drawing ----

    web.colour = function (argb) {
        let css = web.colours.get(argb);
        if (css === undefined) {
            const a = (argb >>> 24) & 255;
            const r = (argb >>> 16) & 255;
            const g = (argb >>> 8) & 255;
            const b = argb & 255;
            css = 'rgba(' + r + ',' + g + ',' + b + ',' + (a / 255) + ')';
            web.colours.set(argb, css);
        }
        return css;
    };

    web.fontOf = function (pixels) {
        return pixels + 'px ' + fontFamily;
    };

    web.makeSurface = function (width, height) {
        const canvas = document.createElement('canvas');
        canvas.width = Math.round(width * web.dpr);
        canvas.height = Math.round(height * web.dpr);
        const context = canvas.getContext('2d', { alpha: false });
        web.surfaces.push({ canvas: canvas, context: context, width: width, height: height });
        return web.surfaces.length - 1;
    };

    // A canvas given a new pixel density keeps its picture, stretched, until it is
    // next drawn.
    function rescale(canvas, width, height) {
        const copy = document.createElement('canvas');
        copy.width = canvas.width;
        copy.height = canvas.height;
        copy.getContext('2d').drawImage(canvas, 0, 0);
        canvas.width = Math.round(width * web.dpr);
        canvas.height = Math.round(height * web.dpr);
        canvas.getContext('2d').drawImage(copy, 0, 0, canvas.width, canvas.height);
    }

    // The browser's zoom or a move to another screen changes the device pixel ratio;
    // every canvas follows it so the text stays sharp.
    web.checkScale = function () {
        const dpr = window.devicePixelRatio || 1;
        if (dpr === web.dpr) {
            return;
        }
        web.dpr = dpr;
        // The stretched picture is soft: the program draws the next frame anew.
        web.pictureLost = true;
        web.surfaces.forEach(function (surface) {
            if (surface) {
                rescale(surface.canvas, surface.width, surface.height);
            }
        });
        if (web.canvas) {
            rescale(web.canvas, 800, 600);
        }
    };

    web.begin = function (id) {
        web.checkScale();
        const context = web.surfaces[id].context;
        context.setTransform(web.dpr, 0, 0, web.dpr, 0, 0);
        context.globalAlpha = 1;
        context.imageSmoothingEnabled = true;
        context.imageSmoothingQuality = 'high';
        context.textBaseline = 'alphabetic';
        context.textAlign = 'left';
        return context;
    };

    web.clear = function (id) {
        const surface = web.surfaces[id];
        const context = web.begin(id);
        context.fillStyle = '#ffffff';
        context.fillRect(0, 0, surface.width, surface.height);
        context.fillStyle = '#000000';
        context.fillRect(0, 0, surface.width, 1);
        context.fillRect(0, surface.height - 1, surface.width, 1);
        context.fillRect(0, 0, 1, surface.height);
        context.fillRect(surface.width - 1, 0, 1, surface.height);
    };

    web.advance = function (pixels, text) {
        const key = pixels + '\u0000' + text;
        let width = web.widths.get(key);
        if (width === undefined) {
            const context = web.context || web.surfaces[1].context;
            context.font = web.fontOf(pixels);
            width = context.measureText(text).width;
            if (web.widths.size > 4000) {
                web.widths.clear();
            }
            web.widths.set(key, width);
        }
        return width;
    };

    web.present = function (id) {
        web.checkScale();
        const surface = web.surfaces[id];
        const context = web.context;
        context.setTransform(1, 0, 0, 1, 0, 0);
        context.drawImage(surface.canvas, 0, 0);
        web.frameCount += 1;
        Module.frameCount = web.frameCount;
        if (web.frameCount === 1 && typeof Module.onFirstFrame === 'function') {
            Module.onFirstFrame();
        }
    };

    // ---- Pictures ----

    function readPicture(path) {
        try {
            const bytes = FS.readFile(path);
            return createImageBitmap(new Blob([bytes], { type: 'image/png' }));
        } catch (e) {
            return Promise.resolve(null);  // missing: the picture is 0 x 0
        }
    }

    function twiceAsLarge(path) {
        const slash = path.lastIndexOf('/');
        return path.substring(0, slash + 1) + '2x/' + path.substring(slash + 1);
    }

    web.cachedImage = function (path) {
        const id = web.imageByPath.get(path);
        return id === undefined ? -1 : id;
    };

    web.loadImage = async function (path) {
        const cached = web.cachedImage(path);
        if (cached >= 0) {
            return cached;
        }
        let bitmap = null;
        let sharp = null;
        try {
            bitmap = await readPicture(path);
            if (bitmap && web.dpr > 1) {
                sharp = await readPicture(twiceAsLarge(path));
            }
        } catch (e) {
            bitmap = null;  // not a picture the browser can read
        }
        let id = 0;
        if (bitmap) {
            web.images.push({ bitmap: bitmap, sharp: sharp, width: bitmap.width,
                              height: bitmap.height });
            id = web.images.length - 1;
        }
        web.imageByPath.set(path, id);
        return id;
    };

    web.drawImage = function (surface, id, dx, dy, dw, dh, sx, sy, sw, sh) {
        const image = web.images[id];
        if (!image || dw === 0 || dh === 0 || sw <= 0 || sh <= 0) {
            return;
        }
        const context = web.surfaces[surface].context;
        let bitmap = image.bitmap;
        let scale = 1;
        if (image.sharp) {
            bitmap = image.sharp;
            scale = image.sharp.width / image.width;
        }
        context.drawImage(bitmap, sx * scale, sy * scale, sw * scale, sh * scale, dx, dy, dw, dh);
    };

    // ---- Dialogs ----

    const kindClasses = ['push-button default-button', 'push-button', 'group-box', 'check-box',
                         'radio-button', 'edit', 'static-text', 'picture'];
    const dialogNames = { 106: 'settings', 108: 'create-question', 109: 'about' };

    function place(element, x, y, width, height) {
        const style = element.style;
        style.position = 'absolute';
        style.left = x + 'px';
        style.top = y + 'px';
        style.width = width + 'px';
        style.height = height + 'px';
        style.boxSizing = 'border-box';
        style.margin = '0';
    }

    function makeShell(caption, closeBox, width, height) {
        const element = document.createElement('dialog');
        element.className = 'bricketing-dialog';
        element.style.padding = '0';
        const bar = document.createElement('div');
        bar.className = 'caption-bar';
        const title = document.createElement('span');
        title.className = 'caption';
        title.textContent = caption;
        bar.appendChild(title);
        const dialog = { element: element, commands: [], controls: new Map(), tabStops: [],
                         defaultId: 1, escapeId: 2 };
        if (closeBox) {
            const close = document.createElement('button');
            close.className = 'close-box';
            close.type = 'button';
            close.tabIndex = -1;
            close.setAttribute('data-close-box', '');
            close.setAttribute('aria-label', 'Close');
            close.textContent = '\u00d7';
            close.addEventListener('click', function () { queueCommand(dialog, 2); });
            bar.appendChild(close);
        }
        const client = document.createElement('div');
        client.className = 'client';
        client.style.position = 'relative';
        client.style.width = width + 'px';
        client.style.height = height + 'px';
        client.style.font = '8pt ' + fontFamily;
        element.appendChild(bar);
        element.appendChild(client);
        dialog.client = client;
        element.addEventListener('cancel', function (event) { event.preventDefault(); });
        element.addEventListener('keydown', function (event) { dialogKey(dialog, event); });
        web.dialogs.push(dialog);
        dialog.handle = web.dialogs.length - 1;
        dialog.serial = ++web.dialogSerial;
        return dialog;
    }

    function moveFocus(dialog, backwards) {
        const stops = dialog.tabStops.filter(function (e) { return !e.disabled; });
        if (stops.length === 0) {
            return;
        }
        const at = stops.indexOf(document.activeElement);
        const next = at < 0 ? (backwards ? stops.length - 1 : 0)
                            : (at + (backwards ? stops.length - 1 : 1)) % stops.length;
        stops[next].focus();
    }

    // Enter presses the focused push button or else the default one; Escape is Cancel;
    // Tab follows the template's tab stops.
    function dialogKey(dialog, event) {
        event.stopPropagation();
        if (hold(event)) {
            return;
        }
        if (event.key === 'Tab') {
            event.preventDefault();
            moveFocus(dialog, event.shiftKey);
        } else if (event.key === 'Enter') {
            if (event.target.tagName !== 'BUTTON') {
                event.preventDefault();
                queueCommand(dialog, dialog.defaultId);
            }
        } else if (event.key === 'Escape') {
            event.preventDefault();
            queueCommand(dialog, dialog.escapeId);
        }
    }

    // ---- Keys typed ahead ----
    //
    // A command (a button, Enter, Escape) is carried out by the program a moment after
    // the browser reports it, and it may move the focus or close the dialog. Keys typed
    // meanwhile are held and replayed once the program has settled, so they land where
    // the command left the focus, as typed-ahead keys do on the desktop.

    function queueCommand(dialog, id) {
        dialog.commands.push(id);
        web.settling = true;
    }

    function hold(event) {
        if (!web.settling) {
            return false;
        }
        event.preventDefault();
        web.held.push({ key: event.key || '', code: event.code || '', shiftKey: event.shiftKey });
        return true;
    }

    function topDialog() {
        for (let at = web.dialogs.length - 1; at > 0; at--) {
            if (web.dialogs[at]) {
                return web.dialogs[at];
            }
        }
        return null;
    }

    function typeInto(input, text) {
        if (input.digitsOnly && /[^0-9]/.test(text)) {
            return;
        }
        input.setRangeText(text, input.selectionStart, input.selectionEnd, 'end');
    }

    function replayInDialog(dialog, typed) {
        const active = document.activeElement;
        const inDialog = active && dialog.element.contains(active);
        const isEdit = inDialog && active.tagName === 'INPUT' && active.type === 'text';
        if (typed.key === 'Tab') {
            moveFocus(dialog, typed.shiftKey);
        } else if (typed.key === 'Enter') {
            const button = inDialog && active.tagName === 'BUTTON' ? active : null;
            if (button) {
                button.click();
            } else {
                queueCommand(dialog, dialog.defaultId);
            }
        } else if (typed.key === 'Escape') {
            queueCommand(dialog, dialog.escapeId);
        } else if (typed.key === ' ' && inDialog && !isEdit) {
            active.click();
        } else if (typed.key === 'Backspace' && isEdit) {
            const start = active.selectionStart;
            const end = active.selectionEnd;
            if (start !== end) {
                active.setRangeText('', start, end, 'end');
            } else if (start > 0) {
                active.setRangeText('', start - 1, start, 'end');
            }
        } else if (typed.key.length === 1 && isEdit) {
            typeInto(active, typed.key);
        }
    }

    // Called by the program each time it has finished with a command.
    web.settled = function () {
        web.settling = false;
        while (web.held.length > 0 && !web.settling) {
            const typed = web.held.shift();
            const dialog = topDialog();
            if (dialog) {
                replayInDialog(dialog, typed);
            } else {
                push({ kind: 'key', code: typed.code, key: typed.key });
            }
        }
    };

    function commandOnClick(dialog, element, id) {
        element.addEventListener('click', function () {
            element.focus();  // a clicked control takes the focus, as on the desktop
            queueCommand(dialog, id);
        });
    }

    function digitsOnly(input) {
        input.setAttribute('inputmode', 'numeric');
        input.addEventListener('beforeinput', function (event) {
            if (typeof event.data === 'string' && /[^0-9]/.test(event.data)) {
                event.preventDefault();
            }
        });
        // Dropped or otherwise inserted text that got past the filter is cut back.
        input.addEventListener('input', function () {
            const digits = input.value.replace(/[^0-9]/g, '');
            if (digits !== input.value) {
                input.value = digits;
            }
        });
    }

    web.dialogCreate = function (number, caption, closeBox, width, height) {
        const dialog = makeShell(caption, closeBox, width, height);
        dialog.element.setAttribute('data-dialog', dialogNames[number] || String(number));
        dialog.element.setAttribute('data-dialog-id', String(number));
        return dialog.handle;
    };

    web.dialogAdd = function (handle, id, kind, caption, x, y, width, height, tabStop,
                              digits, border, group) {
        const dialog = web.dialogs[handle];
        let holder;   // the positioned element
        let control;  // the element carrying the id
        if (kind <= 1) {
            control = holder = document.createElement('button');
            holder.type = 'button';
            holder.textContent = caption;
            if (kind === 0) {
                dialog.defaultId = id;
            }
            commandOnClick(dialog, control, id);
        } else if (kind === 2) {
            control = holder = document.createElement('fieldset');
            const legend = document.createElement('legend');
            legend.textContent = caption;
            holder.appendChild(legend);
            holder.style.pointerEvents = 'none';
        } else if (kind === 3 || kind === 4) {
            holder = document.createElement('label');
            control = document.createElement('input');
            control.type = kind === 3 ? 'checkbox' : 'radio';
            if (kind === 4) {
                control.name = 'group-' + dialog.serial + '-' + group;
            }
            const text = document.createElement('span');
            text.textContent = caption;
            holder.appendChild(control);
            holder.appendChild(text);
            commandOnClick(dialog, control, id);
        } else if (kind === 5) {
            control = holder = document.createElement('input');
            holder.type = 'text';
            holder.autocomplete = 'off';
            holder.spellcheck = false;
            if (!border) {
                holder.style.border = 'none';
            }
            if (digits) {
                holder.digitsOnly = true;
                digitsOnly(holder);
            }
        } else if (kind === 6) {
            control = holder = document.createElement('div');
            holder.textContent = caption;
        } else {
            control = holder = document.createElement('img');
            holder.alt = '';
            holder.src = locateFile('about.png');
        }
        holder.classList.add.apply(holder.classList, kindClasses[kind].split(' '));
        control.setAttribute('data-control-id', String(id));
        place(holder, x, y, width, height);
        control.tabIndex = tabStop ? 0 : -1;
        if (tabStop) {
            dialog.tabStops.push(control);
        }
        dialog.controls.set(id, control);
        // A group box is drawn behind the controls inside its frame.
        if (kind === 2) {
            holder.style.zIndex = '0';
            dialog.client.insertBefore(holder, dialog.client.firstChild);
        } else {
            holder.style.zIndex = '1';
            dialog.client.appendChild(holder);
        }
    };

    function open(dialog, onPointer) {
        (Module.dialogRoot || document.body).appendChild(dialog.element);
        web.modalDepth += 1;
        dialog.element.showModal();
        if (onPointer) {
            // Centred on the pointer, pulled back inside the page's view.
            const box = dialog.element.getBoundingClientRect();
            const left = Math.max(0, Math.min(window.innerWidth - box.width,
                                              web.pointerClient.x - box.width / 2));
            const top = Math.max(0, Math.min(window.innerHeight - box.height,
                                             web.pointerClient.y - box.height / 2));
            dialog.element.style.margin = '0';
            dialog.element.style.left = left + 'px';
            dialog.element.style.top = top + 'px';
        }
    }

    web.dialogShow = function (handle, onPointer) {
        open(web.dialogs[handle], onPointer);
    };

    web.dialogTake = function (handle) {
        const dialog = web.dialogs[handle];
        return dialog.commands.length > 0 ? dialog.commands.shift() : -32768;
    };

    web.dialogClose = function (handle) {
        const dialog = web.dialogs[handle];
        web.dialogs[handle] = null;
        web.modalDepth -= 1;
        dialog.element.close();
        dialog.element.remove();
        if (web.modalDepth === 0 && web.canvas) {
            web.canvas.focus();
        }
    };

    function textOf(control) {
        if (control.tagName === 'INPUT' && control.type === 'text') {
            return control.value;
        }
        if (control.tagName === 'INPUT') {
            return control.parentElement.lastChild.textContent;
        }
        if (control.tagName === 'FIELDSET') {
            return control.firstChild.textContent;
        }
        return control.textContent;
    }

    web.controlText = function (handle, id) {
        const control = web.dialogs[handle].controls.get(id);
        return control ? textOf(control) : '';
    };

    web.setControlText = function (handle, id, text) {
        const control = web.dialogs[handle].controls.get(id);
        if (!control) {
            return;
        }
        if (control.tagName === 'INPUT' && control.type === 'text') {
            control.value = text;
        } else if (control.tagName === 'INPUT') {
            control.parentElement.lastChild.textContent = text;
        } else if (control.tagName === 'FIELDSET') {
            control.firstChild.textContent = text;
        } else if (control.tagName !== 'IMG') {
            control.textContent = text;
        }
    };

    web.isChecked = function (handle, id) {
        const control = web.dialogs[handle].controls.get(id);
        return control && control.tagName === 'INPUT' && control.type !== 'text' &&
            control.checked ? 1 : 0;
    };

    web.setChecked = function (handle, id, checked) {
        const control = web.dialogs[handle].controls.get(id);
        if (control && control.tagName === 'INPUT' && control.type !== 'text') {
            control.checked = !!checked;
        }
    };

    web.focusedControl = function (handle) {
        const dialog = web.dialogs[handle];
        const active = document.activeElement;
        if (!active || !dialog.element.contains(active)) {
            return 0;
        }
        const id = active.getAttribute('data-control-id');
        return id === null ? 0 : parseInt(id, 10);
    };

    web.setFocus = function (handle, id) {
        const control = web.dialogs[handle].controls.get(id);
        if (control) {
            control.focus();
        }
    };

    // A message box: the text, and OK alone or Yes (the default) and No.
    web.messageBox = function (text, caption, yesNo) {
        const dialog = makeShell(caption, false, 0, 0);
        dialog.element.setAttribute('data-dialog', 'message-box');
        const client = dialog.client;
        client.style.width = '';
        client.style.height = '';
        client.style.minWidth = '240px';
        client.style.padding = '16px 16px 12px';
        client.style.boxSizing = 'border-box';
        const message = document.createElement('p');
        message.className = 'message-text';
        message.textContent = text;
        message.style.whiteSpace = 'pre-wrap';
        client.appendChild(message);
        const row = document.createElement('div');
        row.className = 'message-buttons';
        row.style.display = 'flex';
        row.style.justifyContent = 'center';
        row.style.gap = '8px';
        row.style.marginTop = '16px';
        const buttons = yesNo ? [[6, 'Yes'], [7, 'No']] : [[1, 'OK']];
        buttons.forEach(function (entry) {
            const button = document.createElement('button');
            button.type = 'button';
            button.className = 'push-button';
            button.textContent = entry[1];
            button.style.width = '75px';   // 50 x 14 dialog units, as the window system
            button.style.height = '23px';  // sizes a message box's buttons
            button.setAttribute('data-control-id', String(entry[0]));
            commandOnClick(dialog, button, entry[0]);
            dialog.controls.set(entry[0], button);
            dialog.tabStops.push(button);
            row.appendChild(button);
        });
        client.appendChild(row);
        dialog.defaultId = buttons[0][0];
        dialog.escapeId = yesNo ? 7 : 1;
        dialog.controls.get(dialog.defaultId).classList.add('default-button');
        open(dialog, false);
        dialog.controls.get(dialog.defaultId).focus();
        // The program now waits for this box: keys typed ahead are its.
        web.settled();
        return dialog.handle;
    };

    web.openDocument = function (path) {
        window.open(path.replace(/\\/g, '/'), '_blank', 'noopener');
    };

    // ---- Settings in local storage ----

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

    // The frame benchmark: milliseconds of update + draw per frame, measured in the page
    // on an off-screen back buffer while the program itself sleeps between frames.
    // Each entry is the mean of one batch of `batchFrames` frames.
    Module.benchmarkFrames = function (batches, batchFrames) {
        const count = Math.max(1, batches | 0);
        const size = Math.max(1, (batchFrames | 0) || 10);
        const fresh = _malloc(count * 8);
        const long = _malloc(count * 8);
        try {
            if (!_bricketing_benchmark(count, size, fresh, long)) {
                throw new Error('the long working-out could not be set up');
            }
            return {
                freshMs: Array.from(HEAPF64.subarray(fresh >> 3, (fresh >> 3) + count)),
                longMs: Array.from(HEAPF64.subarray(long >> 3, (long >> 3) + count)),
            };
        } finally {
            _free(fresh);
            _free(long);
        }
    };

    web.finished = function (exitCode) {
        if (typeof Module.onFinished === 'function') {
            Module.onFinished(exitCode);
        }
    };

    return web;
})();
