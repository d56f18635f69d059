// What a screen reader learns of the picture (WebHost.cpp publishes it): the canvas is
// named by the question and described by the whole working-out, which also stands in
// the page as text, one line of words per paragraph; short notices of each change are
// spoken through a live region. The canvas is an application, so a reader passes the
// digits and Enter typed on it to the program instead of taking them as its own keys.

(function (web) {
    'use strict';

    let description = null;  // the working-out in words
    let notices = null;      // the live region

    function hiddenText(id) {
        const element = document.createElement('div');
        element.id = id;
        element.className = 'visually-hidden';
        return element;
    }

    // Made on first use, after the canvas's other neighbours, where no Tab stop lands.
    function ensureMade() {
        if (description) {
            return;
        }
        const canvas = web.canvas;
        const holder = canvas.parentElement || document.body;
        description = hiddenText('board-description');
        notices = hiddenText('board-announcements');
        notices.setAttribute('role', 'status');
        notices.setAttribute('aria-live', 'polite');
        notices.setAttribute('aria-atomic', 'true');
        holder.appendChild(description);
        holder.appendChild(notices);
        canvas.setAttribute('role', 'application');
        canvas.setAttribute('aria-roledescription', 'working-out board');
        canvas.setAttribute('aria-describedby', description.id);
    }

    function paragraph(text) {
        const line = document.createElement('p');
        line.textContent = text;
        return line;
    }

    // The line being typed (the value) needs no place of its own: it is the
    // description's last line. Only the lines that changed are written again, so a
    // long working-out costs little per key.
    web.publishText = function (name, value, words) {
        ensureMade();
        web.canvas.setAttribute('aria-label', name);
        const lines = words.split('\n');
        const shown = description.children;
        lines.forEach(function (text, at) {
            if (at >= shown.length) {
                description.appendChild(paragraph(text));
            } else if (shown[at].textContent !== text) {
                shown[at].textContent = text;
            }
        });
        while (shown.length > lines.length) {
            description.lastChild.remove();
        }
    };

    // A new node each time, so a notice the same as the last is spoken again.
    web.announce = function (text) {
        ensureMade();
        notices.replaceChildren(paragraph(text));
    };
})(Module.web);
