// The program's modal dialogs and message boxes as native <dialog> elements laid out
// from their templates (WebDialogs.cpp builds them, WebDialogLayout.cpp places them);
// their keys follow the desktop's: Enter, Escape, Tab.

(function (web) {
    'use strict';

    const kindClasses = ['push-button default-button', 'push-button', 'group-box', 'check-box',
                         'radio-button', 'edit', 'static-text', 'picture', 'drop-down-list'];
    // 110, "Who is practising?", is made at run time from the class list: a push button
    // per name, each a tab stop, so Tab reaches every name and Enter or a tap picks one.
    // It is a child's first sight of the program, often on a touch screen: it is shown
    // at a finger's size whatever the pointer.
    const dialogNames = { 106: 'settings', 108: 'create-question', 109: 'about',
                          110: 'pupil-picker' };
    const fingerSized = [110];

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
                         ordered: [], defaultId: 1, escapeId: 2 };
        if (closeBox) {
            const close = document.createElement('button');
            close.className = 'close-box';
            close.type = 'button';
            close.tabIndex = -1;
            close.setAttribute('data-close-box', '');
            close.setAttribute('aria-label', tr('Close'));
            close.textContent = '\u00d7';
            close.addEventListener('click', function () { web.queueCommand(dialog, 2); });
            bar.appendChild(close);
        }
        const client = document.createElement('div');
        client.className = 'client';
        client.style.position = 'relative';
        client.style.width = width + 'px';
        client.style.height = height + 'px';
        client.style.font = '8pt ' + web.fontFamily;
        element.appendChild(bar);
        element.appendChild(client);
        dialog.client = client;
        element.addEventListener('cancel', function (event) { event.preventDefault(); });
        element.addEventListener('keydown', function (event) { dialogKey(dialog, event); });
        web.dialogs.push(dialog);
        dialog.handle = web.dialogs.length - 1;
        dialog.serial = ++web.dialogSerial;
        // Screen readers name the dialog by its caption, as the title bar shows it.
        title.id = 'bricketing-dialog-caption-' + dialog.serial;
        element.setAttribute('aria-labelledby', title.id);
        return dialog;
    }

    // Each radio group is one stop, at its checked button (or its first), as the
    // desktop's dialogs have it; the arrows move within the group.
    function groupStop(dialog, radio) {
        const group = dialog.ordered.filter(function (c) { return c.name === radio.name; });
        return group.find(function (c) { return c.checked; }) || group[0];
    }

    function tabStopsOf(dialog) {
        return dialog.ordered.filter(function (control) {
            if (control.disabled) {
                return false;
            }
            if (control.type === 'radio') {
                return groupStop(dialog, control) === control;
            }
            return dialog.tabStops.indexOf(control) >= 0;
        });
    }

    web.moveFocus = function (dialog, backwards) {
        const stops = tabStopsOf(dialog);
        if (stops.length === 0) {
            return;
        }
        const active = document.activeElement;
        const current = active && active.type === 'radio' ? groupStop(dialog, active) : active;
        const at = stops.indexOf(current);
        const next = at < 0 ? (backwards ? stops.length - 1 : 0)
                            : (at + (backwards ? stops.length - 1 : 1)) % stops.length;
        stops[next].focus();
    };

    const arrowSteps = { ArrowDown: 1, ArrowRight: 1, ArrowUp: -1, ArrowLeft: -1 };

    // An arrow on a radio button chooses the next of its group (round), as a click would.
    function arrowInGroup(dialog, radio, step) {
        const group = dialog.ordered.filter(function (c) {
            return c.name === radio.name && !c.disabled;
        });
        const next = group[(group.indexOf(radio) + step + group.length) % group.length];
        next.focus();
        next.click();
    }

    // Enter presses the focused push button or else the default one; Escape is Cancel;
    // Tab follows the template's tab stops.
    function dialogKey(dialog, event) {
        event.stopPropagation();
        if (web.hold(event)) {
            return;
        }
        if (event.key === 'Tab') {
            event.preventDefault();
            web.moveFocus(dialog, event.shiftKey);
        } else if (event.key === 'Enter') {
            if (event.target.tagName !== 'BUTTON') {
                event.preventDefault();
                web.queueCommand(dialog, dialog.defaultId);
            }
        } else if (event.key === 'Escape') {
            event.preventDefault();
            web.queueCommand(dialog, dialog.escapeId);
        } else if (arrowSteps[event.key] && event.target.type === 'radio') {
            event.preventDefault();
            arrowInGroup(dialog, event.target, arrowSteps[event.key]);
        }
    }

    function commandOnClick(dialog, element, id) {
        element.addEventListener('click', function () {
            element.focus();  // a clicked control takes the focus, as on the desktop
            web.queueCommand(dialog, id);
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
        dialog.fingerSized = fingerSized.indexOf(number) >= 0;
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
        } else if (kind === 8) {
            control = holder = document.createElement('select');
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
        if (kind !== 2) {
            dialog.ordered.push(control);
        }
        // A group box is drawn behind the controls inside its frame.
        if (kind === 2) {
            holder.style.zIndex = '0';
            dialog.client.insertBefore(holder, dialog.client.firstChild);
        } else {
            holder.style.zIndex = '1';
            dialog.client.appendChild(holder);
        }
    };

    // On a touch screen (and the picker everywhere) a dialog grows until its push
    // buttons (23 px in the template) are a finger's 44 px high, as far as the visible area allows; the template's
    // layout inside it stays as it is.
    const fingerScale = 44 / 23;

    // Scales the dialog to the pointer in use and centres it on what is visible, or on
    // the pointer pulled back inside the visible area.
    function placeDialog(dialog) {
        const element = dialog.element;
        const style = element.style;
        style.transform = '';
        style.margin = '0';
        style.maxWidth = 'none';
        style.maxHeight = 'none';
        style.right = 'auto';
        style.bottom = 'auto';
        const box = element.getBoundingClientRect();
        if (box.width === 0 || box.height === 0) {
            return;
        }
        const area = web.visibleArea();
        const room = Math.min((area.width - 16) / box.width, (area.height - 16) / box.height);
        const wanted = web.coarsePointer() || dialog.fingerSized ? fingerScale : 1;
        const scale = Math.max(0.4, Math.min(wanted, room));
        const width = box.width * scale;
        const height = box.height * scale;
        const centreX = dialog.onPointer ? web.pointerClient.x : area.left + area.width / 2;
        const centreY = dialog.onPointer ? web.pointerClient.y : area.top + area.height / 2;
        const edge = Math.min(8, (area.width - width) / 2, (area.height - height) / 2);
        const left = Math.max(area.left + edge, Math.min(area.left + area.width - width - edge,
                                                         centreX - width / 2));
        const top = Math.max(area.top + edge, Math.min(area.top + area.height - height - edge,
                                                       centreY - height / 2));
        style.left = Math.round(left) + 'px';
        style.top = Math.round(top) + 'px';
        if (scale !== 1) {
            style.transformOrigin = '0 0';
            style.transform = 'scale(' + scale + ')';
        }
        dialog.scale = scale;
    }

    // In the picker a long name is set smaller, a pixel at a time, until it fits its
    // button on two lines.
    function fitCaptions(dialog) {
        if (!dialog.fingerSized) {
            return;
        }
        dialog.tabStops.forEach(function (button) {
            let size = parseFloat(window.getComputedStyle(button).fontSize);
            while (size > 8 && (button.scrollHeight > button.clientHeight + 1 ||
                                button.scrollWidth > button.clientWidth + 1)) {
                size -= 1;
                button.style.fontSize = size + 'px';
            }
        });
    }

    // The focus goes into the dialog as it opens (showModal takes it to the control
    // marked autofocus), but the dialog stays out of the accessibility tree
    // (aria-hidden) a moment longer, so a reader hears the page behind go before the
    // dialog comes: the page becomes inert at once and leaves the tree, and Orca (in
    // Firefox) moves its focus to what is left. Were the dialog in the tree by then, Orca
    // would move it quietly to where the caret is, the first field, and take the focus
    // event that follows for no change, never saying the dialog's name. Orca may be a
    // while with the page's going on a busy machine: the dialog comes after two frames
    // (the browser tells a frame's changes together) and at least hiddenMs.
    const hiddenMs = 400;

    function open(dialog, onPointer, first) {
        (Module.dialogRoot || document.body).appendChild(dialog.element);
        web.modalDepth += 1;
        dialog.onPointer = onPointer;
        const landing = first || tabStopsOf(dialog)[0];
        if (landing) {
            landing.autofocus = true;
        }
        dialog.element.setAttribute('aria-hidden', 'true');
        dialog.element.showModal();
        if (landing && document.activeElement !== landing) {
            landing.focus();
        }
        fitCaptions(dialog);
        placeDialog(dialog);
        const hiddenFrom = performance.now();
        requestAnimationFrame(function () {
            requestAnimationFrame(function () {
                setTimeout(function () {
                    dialog.element.removeAttribute('aria-hidden');
                }, Math.max(0, hiddenMs - (performance.now() - hiddenFrom)));
            });
        });
    }

    // After a turn of the device or a soft keyboard's coming and going, the open
    // dialogs are centred again on what is visible.
    web.placeOpenDialogs = function () {
        web.dialogs.forEach(function (dialog) {
            if (dialog && dialog.element.open) {
                dialog.onPointer = false;
                placeDialog(dialog);
            }
        });
    };

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

    // The name a screen reader gives a control whose caption does not say what it is:
    // the text alternative of a picture, the label of an edit.
    web.setControlName = function (handle, id, name) {
        const control = web.dialogs[handle].controls.get(id);
        if (!control) {
            return;
        }
        if (control.tagName === 'IMG') {
            control.alt = name;
        } else {
            control.setAttribute('aria-label', name);
        }
    };

    // A disabled control is greyed out with its caption, and Tab passes it by.
    web.setEnabled = function (handle, id, enabled) {
        const control = web.dialogs[handle].controls.get(id);
        if (!control || !('disabled' in control)) {
            return;
        }
        control.disabled = !enabled;
        const holder = control.tagName === 'INPUT' && control.type !== 'text'
            ? control.parentElement : control;
        holder.classList.toggle('disabled', !enabled);
    };

    function listOf(handle, id) {
        const control = web.dialogs[handle].controls.get(id);
        return control && control.tagName === 'SELECT' ? control : null;
    }

    web.clearList = function (handle, id) {
        const list = listOf(handle, id);
        if (list) {
            list.replaceChildren();
        }
    };

    web.addListItem = function (handle, id, text) {
        const list = listOf(handle, id);
        if (list) {
            const option = document.createElement('option');
            option.textContent = text;
            list.appendChild(option);
            list.selectedIndex = -1;
        }
    };

    web.selectListItem = function (handle, id, index) {
        const list = listOf(handle, id);
        if (list) {
            list.selectedIndex = index;
        }
    };

    web.selectedListItem = function (handle, id) {
        const list = listOf(handle, id);
        return list ? list.selectedIndex : -1;
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
        // Read out with its caption when it opens, as a reader does for the desktop's.
        message.id = 'bricketing-message-' + dialog.serial;
        dialog.element.setAttribute('role', 'alertdialog');
        dialog.element.setAttribute('aria-describedby', message.id);
        message.style.whiteSpace = 'pre-wrap';
        client.appendChild(message);
        const row = document.createElement('div');
        row.className = 'message-buttons';
        row.style.display = 'flex';
        row.style.justifyContent = 'center';
        row.style.gap = '8px';
        row.style.marginTop = '16px';
        const buttons = yesNo ? [[6, trc('button', 'Yes')], [7, trc('button', 'No')]]
                               : [[1, trc('button', 'OK')]];
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
            dialog.ordered.push(button);
            row.appendChild(button);
        });
        client.appendChild(row);
        dialog.defaultId = buttons[0][0];
        dialog.escapeId = yesNo ? 7 : 1;
        dialog.controls.get(dialog.defaultId).classList.add('default-button');
        open(dialog, false, dialog.controls.get(dialog.defaultId));
        // The program now waits for this box: keys typed ahead are its.
        web.settled();
        return dialog.handle;
    };
})(Module.web);
