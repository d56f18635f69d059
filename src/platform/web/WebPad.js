// The on-screen number pad for a pupil without a keyboard: real buttons beside or below
// the picture (WebLayout.js places them), each sending the Windows key code of its
// keyboard key into the same queue as the keyboard, so the program cannot tell them
// apart. It shows when the main pointer is a finger or no key has been typed yet (on
// this browser, ever), and the pupil can show or hide it; that choice and the typed key
// are kept in the browser's storage beside the settings, not in the settings file.

(function (web) {
    'use strict';

    const choiceKey = 'bricketing.numberPad';
    const keyboardKey = 'bricketing.keyboardUsed';
    const toggleWidth = 132;
    const feedbackMs = 140;

    // In the order of a phone's keypad, four to a row: the digits, with the keys that
    // act on the board in the fourth column (Delete, Insert and Home press the board's
    // delete, repeat and up icons where the program places them, as those keys do, so
    // a finger never has to hit an icon a few pixels wide). Each with the code and key
    // name a keyboard's key sends, the name a screen reader says, what the key shows
    // and a class of its own.
    const padKeys = [
        ['Digit1', '1'], ['Digit2', '2'], ['Digit3', '3'],
        ['Backspace', 'Backspace', 'Backspace', '\u232b'],
        ['Digit4', '4'], ['Digit5', '5'], ['Digit6', '6'],
        ['Delete', 'Delete', 'Delete', '\u2326', 'board'],
        ['Digit7', '7'], ['Digit8', '8'], ['Digit9', '9'],
        ['Insert', 'Insert', 'Repeat', '\u21bb', 'board'],
        ['Space', ' ', 'Switch direction', '\u21c4', 'direction'],
        ['Digit0', '0'],
        ['Home', 'Home', 'Up', '\u2191', 'board'],
        ['Enter', 'Enter', 'Enter', '\u23ce'],
    ];

    web.padColumns = 4;
    web.padRows = padKeys.length / web.padColumns;

    function stored(key) {
        try {
            return window.localStorage.getItem(key);
        } catch (e) {
            return null;  // storage switched off: the pad follows the device
        }
    }

    function store(key, value) {
        try {
            window.localStorage.setItem(key, value);
        } catch (e) {
            // Not kept: it holds for this visit only.
        }
    }

    web.padShown = function () {
        const choice = web.padChoice !== undefined ? web.padChoice : stored(choiceKey);
        if (choice === 'shown' || choice === 'hidden') {
            return choice === 'shown';
        }
        return web.fingerFirst() || !(web.keyboardUsed || stored(keyboardKey) === 'yes');
    };

    web.padToggleWidth = function () {
        return toggleWidth;
    };

    function flash(button) {
        button.classList.add('pressed');
        clearTimeout(button.flashTimer);
        button.flashTimer = setTimeout(function () {
            button.classList.remove('pressed');
        }, feedbackMs);
    }

    function makeKey(entry) {
        const button = document.createElement('button');
        button.type = 'button';
        button.className = 'pad-key' + (entry[4] ? ' pad-key-' + entry[4] : '');
        button.setAttribute('data-pad-key', entry[0]);
        button.setAttribute('aria-label', entry[2] || entry[1]);
        button.textContent = entry[3] || entry[1];
        if (entry[2]) {
            button.title = entry[2];
        }
        button.addEventListener('pointerdown', function () { flash(button); });
        button.addEventListener('click', function (event) {
            flash(button);
            web.sendKey(entry[0], entry[1]);
            // A tapped key leaves the keyboard's focus on the picture, so typed keys
            // still reach the program; a key chosen from the keyboard keeps it.
            if (event.detail > 0 && web.canvas) {
                web.canvas.focus({ preventScroll: true });
            }
        });
        return button;
    }

    web.makePad = function (holder) {
        const area = document.createElement('div');
        area.className = 'pad-area';
        const toggle = document.createElement('button');
        toggle.type = 'button';
        toggle.className = 'pad-toggle';
        toggle.textContent = 'Number pad';
        toggle.setAttribute('aria-controls', 'number-pad');
        toggle.addEventListener('click', function () {
            web.padChoice = web.padShown() ? 'hidden' : 'shown';
            store(choiceKey, web.padChoice);
            web.fit();
            web.checkScale();
        });
        const pad = document.createElement('div');
        pad.id = 'number-pad';
        pad.className = 'number-pad';
        pad.setAttribute('role', 'group');
        pad.setAttribute('aria-label', 'Number pad');
        padKeys.forEach(function (entry) { pad.appendChild(makeKey(entry)); });
        area.appendChild(toggle);
        area.appendChild(pad);
        holder.appendChild(area);
        web.padElements = { area: area, toggle: toggle, pad: pad };
    };

    // Puts the pad where the layout says, with keys of its size.
    web.placePad = function (arrangement) {
        const elements = web.padElements;
        if (!elements) {
            return;
        }
        const shown = web.padShown();
        const box = arrangement.pad;
        const style = elements.area.style;
        style.left = box.left + 'px';
        style.top = box.top + 'px';
        style.width = box.width + 'px';
        style.setProperty('--pad-key', box.key + 'px');
        elements.area.classList.toggle('beside', arrangement.beside);
        elements.pad.hidden = !shown;
        elements.toggle.setAttribute('aria-pressed', shown ? 'true' : 'false');
    };

    // The first key typed for the program hides the pad the device did not ask for.
    web.noteKeyboard = function () {
        if (web.keyboardUsed) {
            return;
        }
        const before = web.padShown();
        web.keyboardUsed = true;
        store(keyboardKey, 'yes');  // kept, so a keyboard's pupil is not offered the pad again
        if (web.padShown() !== before) {
            web.fitSoon();
        }
    };
})(Module.web);
