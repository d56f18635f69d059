// What a screen reader learns of the picture (WebHost.cpp publishes it). The canvas is an
// application named by the question, so a reader enters focus mode on it and passes the
// digits and Enter typed there to the program instead of taking them as its own keys.
// The line being typed is the canvas's one child (fallback content, never drawn) and its
// description: with a child a reader takes the canvas for a widget with content, not for
// a button with nothing inside. The working-out above that line stands in the page as
// text, one paragraph per line, for reading it through. Short notices of each change are
// spoken through a live region once the focus has settled, so that a reader announcing
// where the focus went does not drown them.

(function (web) {
    'use strict';

    // The words a reader says that the program does not give: kept here in one place.
    const words = {
        boardRole: 'working-out board',
        workingOut: 'Working-out',
    };
    const settleMs = 400;  // the focus has stayed put this long

    let line = null;         // the line being typed, inside the canvas
    let description = null;  // the working-out above it
    let notices = null;      // the live region
    let pending = null;      // the notice waiting for the focus to settle
    let focusMovedAt = 0;
    let timer = null;
    let spokenQuestion = false;

    function hiddenText(id) {
        const element = document.createElement('div');
        element.id = id;
        element.className = 'visually-hidden';
        return element;
    }

    function paragraph(text) {
        const element = document.createElement('p');
        element.textContent = text;
        return element;
    }

    // Made with the canvas, before anything is said, so a reader knows the live region
    // when its first notice comes.
    web.makeReaderText = function (canvas) {
        const holder = canvas.parentElement || document.body;
        line = paragraph('');
        line.id = 'board-line';
        canvas.replaceChildren(line);
        description = hiddenText('board-description');
        description.setAttribute('role', 'region');
        description.setAttribute('aria-label', words.workingOut);
        notices = hiddenText('board-announcements');
        notices.setAttribute('role', 'status');
        notices.setAttribute('aria-live', 'polite');
        notices.setAttribute('aria-atomic', 'true');
        holder.appendChild(description);
        holder.appendChild(notices);
        canvas.setAttribute('role', 'application');
        canvas.setAttribute('aria-roledescription', words.boardRole);
        canvas.setAttribute('aria-describedby', line.id);
        document.addEventListener('focusin', function () {
            focusMovedAt = performance.now();
        }, true);
    };

    // Name and line whole (they are short); of the working-out, the lines from `from` on
    // are replaced by `lines` (none changed when from is -1).
    web.publishText = function (name, value, from, lines) {
        const canvas = web.canvas;
        if (canvas.getAttribute('aria-label') !== name) {
            canvas.setAttribute('aria-label', name);
        }
        if (line.textContent !== value) {
            line.textContent = value;
        }
        if (from >= 0) {
            while (description.children.length > from) {
                description.lastChild.remove();
            }
            if (lines !== '') {
                const added = document.createDocumentFragment();
                lines.split('\n').forEach(function (text) { added.appendChild(paragraph(text)); });
                description.appendChild(added);
            }
        }
        // The question is said once at the start, when the reader is in the page.
        if (!spokenQuestion) {
            spokenQuestion = true;
            web.announce(name + '. ' + value);
        }
    };

    // The live region has to be outside what a modal makes inert, and the reader done
    // with saying where the focus went.
    function speakWhenSettled() {
        timer = null;
        const quiet = performance.now() - focusMovedAt;
        if (quiet < settleMs || web.modalDepth > 0 || web.helpOpen) {
            timer = setTimeout(speakWhenSettled, Math.max(50, settleMs - quiet));
            return;
        }
        // A new node each time, so a notice the same as the last is spoken again.
        notices.replaceChildren(paragraph(pending));
        pending = null;
    }

    // The latest notice says where the pupil is; one it replaced is out of date.
    web.announce = function (text) {
        pending = text;
        if (timer === null) {
            timer = setTimeout(speakWhenSettled, 0);
        }
    };
})(Module.web);
