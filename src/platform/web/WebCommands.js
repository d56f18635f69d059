// The commands' own controls: a real button over each of the six command pictures, in
// command order, and one over the logo for About, so that a pupil who uses no mouse can
// reach every command with Tab and a screen reader names each by its caption. Enter or
// Space on one clicks its picture: the pointer is put on the picture for a frame, then
// pressed and released there, through the same messages a mouse click sends, so the
// program cannot tell the two apart. The mouse and fingers pass through the controls
// to the canvas. Also which keys the page leaves to its controls or to the browser.

(function (web) {
    'use strict';

    // In picture pixels, where the program draws them (the command panel's buttons, then
    // the logo). shortcut: the program's key for the command where the browser leaves
    // it to the page; F1, F3, F5 and F6 the browser keeps, and the controls stand in.
    // typingNext: the command starts a working-out, so the focus goes back to the canvas
    // to type it (the dialogs' commands bring it back as they close).
    const controls = [
        { name: trNoop('New Question'), x: 525, y: 250, width: 75, height: 75, shortcut: 'F2',
          typingNext: true },
        { name: trNoop('Create Question'), x: 603, y: 250, width: 75, height: 75 },
        { name: trNoop('Restart Question'), x: 681, y: 250, width: 75, height: 75, typingNext: true },
        { name: trNoop('Settings'), x: 525, y: 328, width: 75, height: 75, shortcut: 'F4' },
        { name: trNoop('Help'), x: 603, y: 328, width: 75, height: 75 },
        { name: trNoop('Exit'), x: 681, y: 328, width: 75, height: 75, shortcut: 'Escape' },
        { name: trNoop('About'), x: 500, y: 490, width: 200, height: 80 },
    ];

    // Keys the browser keeps for itself (help, find, reload, the address bar, caret
    // browsing, its menu, full screen, developer tools): the program never sees them.
    const browserKeys = new Set(['F1', 'F3', 'F5', 'F6', 'F7', 'F10', 'F11', 'F12']);

    // The program's command keys, which mean the same with the focus on a control.
    const commandKeys = new Set(['Escape', 'F2', 'F4', 'Delete', 'Home', 'Insert']);

    let clicking = null; // the click under way
    let tabbing = false; // the latest key was Tab, or the focus is sent back to type
    const pollMs = 10;

    // Tab moves the focus through the page; the browser's own keys stay the browser's.
    web.leftToPage = function (event) {
        return event.key === 'Tab' || event.code === 'Tab' || browserKeys.has(event.code);
    };

    // A command key typed with the focus on one of the controls is the program's too.
    web.commandKeyOnControl = function (event) {
        return web.modalDepth === 0 && event.target instanceof Element &&
            event.target.classList.contains('bricketing-command') && commandKeys.has(event.key);
    };

    function centreOf(control) {
        return { x: control.x + control.width / 2, y: control.y + control.height / 2 };
    }

    function putPointerOn(point) {
        web.pointerOverride = point;
        web.wake();
        // A dialog that opens on the pointer opens on the picture, as after a click.
        const box = web.canvas.getBoundingClientRect();
        web.pointerClient.x = box.left + point.x * box.width / 800;
        web.pointerClient.y = box.top + point.y * box.height / 600;
    }

    function passes() {
        return Module.loopPasses || 0;
    }

    // One step of the click under way, then again a moment later until it is done.
    function advance() {
        const click = clicking;
        if (click.stage === 'hover' && passes() > click.passes) {
            // A frame has seen the pointer on the picture: press and release there.
            click.release = { kind: 'left-up' };
            web.push({ kind: 'left-down' });
            web.push(click.release);
            click.stage = 'press';
            click.passes = passes();
        } else if (click.stage === 'press' && web.queue.indexOf(click.release) < 0 &&
                   (passes() > click.passes || web.modalDepth > 0)) {
            // The program has taken the release and acted on it (or is in the dialog it
            // opened): the pointer is the mouse's again.
            web.pointerOverride = null;
            web.wake();
            if (click.typingNext && web.modalDepth === 0) {
                focusForTyping();
            }
            clicking = null;
            return;
        }
        setTimeout(advance, pollMs);
    }

    // Clicks a picture the way the mouse does. One click at a time, as with the mouse:
    // a key held down (auto-repeat) does not pile up commands, and a press the mouse
    // holds is left alone.
    web.clickPicture = function (point, typingNext) {
        if (clicking || web.pointerId !== null || web.modalDepth > 0) {
            return;
        }
        clicking = { stage: 'hover', passes: passes(), typingNext: typingNext === true };
        putPointerOn(point);
        setTimeout(advance, pollMs);
    };

    function makeButton(control) {
        const button = document.createElement('button');
        button.type = 'button';
        button.className = 'bricketing-command';
        const name = document.createElement('span');
        name.className = 'visually-hidden';
        web.label(name, 'textContent', control.name);
        button.appendChild(name);
        if (control.shortcut) {
            button.setAttribute('aria-keyshortcuts', control.shortcut);
        }
        const style = button.style;
        style.left = (control.x / 8) + '%';
        style.top = (control.y / 6) + '%';
        style.width = (control.width / 8) + '%';
        style.height = (control.height / 6) + '%';
        // Enter and Space (and a screen reader's activation) click the button.
        button.addEventListener('click', function () {
            web.clickPicture(centreOf(control), control.typingNext);
        });
        return button;
    }

    // The controls lie over the canvas wherever the page places it and whatever size.
    function follow(canvas, panel) {
        const place = function () {
            panel.style.left = canvas.offsetLeft + 'px';
            panel.style.top = canvas.offsetTop + 'px';
            panel.style.width = canvas.offsetWidth + 'px';
            panel.style.height = canvas.offsetHeight + 'px';
        };
        if (typeof ResizeObserver === 'function') {
            const observer = new ResizeObserver(place);
            observer.observe(canvas);
            if (canvas.parentElement) {
                observer.observe(canvas.parentElement);
            }
        }
        window.addEventListener('resize', place);
        place();
    }

    // The canvas shows a ring when the keyboard brings the focus to it (Tab, Shift+Tab,
    // or a command's control sending it back to type); the program's own focusing, at
    // the start and after a dialog, shows none, so a pupil with a mouse sees the
    // picture as ever.
    function focusForTyping() {
        tabbing = true;
        web.canvas.focus({ preventScroll: true });
    }

    function ringWhenTabbedTo(canvas) {
        window.addEventListener('keydown', function (event) {
            tabbing = event.key === 'Tab';
        }, true);
        window.addEventListener('pointerdown', function () { tabbing = false; }, true);
        canvas.addEventListener('focus', function () {
            canvas.classList.toggle('keyboard-focus', tabbing);
        });
        canvas.addEventListener('blur', function () { canvas.classList.remove('keyboard-focus'); });
    }

    // Right after the canvas, so that Tab goes from the canvas to New Question.
    web.makeCommands = function (canvas) {
        ringWhenTabbedTo(canvas);
        const panel = document.createElement('div');
        panel.className = 'bricketing-commands';
        panel.setAttribute('role', 'group');
        web.label(panel, 'aria-label', trNoop('Commands'));
        controls.forEach(function (control) { panel.appendChild(makeButton(control)); });
        canvas.insertAdjacentElement('afterend', panel);
        follow(canvas, panel);
    };
})(Module.web);
