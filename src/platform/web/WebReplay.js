// Keys typed while the program is still carrying out a command, held and replayed
// where the command left the focus.

(function (web) {
    'use strict';

    // A command (a button, Enter, Escape) is carried out by the program a moment after
    // the browser reports it, and it may move the focus or close the dialog. Keys typed
    // meanwhile are held and replayed once the program has settled, so they land where
    // the command left the focus, as typed-ahead keys do on the desktop.

    web.queueCommand = function (dialog, id) {
        dialog.commands.push(id);
        web.settling = true;
    };

    web.hold = function (event) {
        if (!web.settling) {
            return false;
        }
        event.preventDefault();
        web.held.push({ key: event.key || '', code: event.code || '', shiftKey: event.shiftKey });
        return true;
    };

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
            web.moveFocus(dialog, typed.shiftKey);
        } else if (typed.key === 'Enter') {
            const button = inDialog && active.tagName === 'BUTTON' ? active : null;
            if (button) {
                button.click();
            } else {
                web.queueCommand(dialog, dialog.defaultId);
            }
        } else if (typed.key === 'Escape') {
            web.queueCommand(dialog, dialog.escapeId);
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
                web.push({ kind: 'key', code: typed.code, key: typed.key });
            }
        }
    };
})(Module.web);
