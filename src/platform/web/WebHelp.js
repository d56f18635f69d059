// The help page, shown in a panel over the program rather than in a new tab: the
// program asks for it from its frame loop, after the tap that chose Help has ended, and
// some engines refuse a new window then. The program goes on running behind the panel,
// so the drill is as the pupil left it when the panel closes. The panel is modal: what
// lies behind it is inert, Tab and Shift+Tab go round its Close button and the help page,
// Escape closes it wherever the focus is, and the focus goes back where it was.

(function (web) {
    'use strict';

    function makePanel() {
        const panel = document.createElement('div');
        panel.className = 'help-panel';
        panel.setAttribute('role', 'dialog');
        panel.setAttribute('aria-modal', 'true');
        panel.setAttribute('aria-labelledby', 'help-panel-title');
        const bar = document.createElement('div');
        bar.className = 'help-bar';
        const title = document.createElement('span');
        title.id = 'help-panel-title';
        title.className = 'help-title';
        web.label(title, 'textContent', trNoop('Help'));
        const close = document.createElement('button');
        close.type = 'button';
        close.className = 'help-close';
        close.setAttribute('data-help-close', '');
        web.label(close, 'textContent', trNoop('Close'));
        close.addEventListener('click', closeHelp);
        bar.appendChild(title);
        bar.appendChild(close);
        const frame = document.createElement('iframe');
        frame.className = 'help-frame';
        web.label(frame, 'title', trNoop('Bricketing help'));
        // Escape closes the panel from the help page too (it is served from this site).
        frame.addEventListener('load', function () {
            try {
                frame.contentWindow.addEventListener('keydown', escapeCloses);
                keepLinksInPage(frame);
            } catch (e) {
                // Another site's page: only the Close button closes the panel.
            }
        });
        // Past either end of the panel the focus comes round to the other end.
        const before = focusGuard(function () { focusLastInFrame(frame); });
        const after = focusGuard(function () { close.focus(); });
        panel.appendChild(before);
        panel.appendChild(bar);
        panel.appendChild(frame);
        panel.appendChild(after);
        panel.hidden = true;
        document.body.appendChild(panel);
        return { panel: panel, frame: frame, close: close };
    }

    function focusGuard(onFocus) {
        const guard = document.createElement('div');
        guard.tabIndex = 0;
        guard.className = 'help-focus-guard';
        guard.addEventListener('focus', onFocus);
        return guard;
    }

    function focusLastInFrame(frame) {
        try {
            const links = frame.contentDocument.querySelectorAll(
                'a[href], button, input, select, textarea, [tabindex]:not([tabindex="-1"])');
            if (links.length > 0) {
                links[links.length - 1].focus();
                return;
            }
        } catch (e) {
            // Another site's page: its frame as a whole takes the focus.
        }
        frame.focus();
    }

    // Escape closes the panel from anywhere while it is open.
    window.addEventListener('keydown', function (event) {
        if (web.helpOpen) {
            escapeCloses(event);
        }
    }, true);

    function escapeCloses(event) {
        if (event.key === 'Escape' || event.key === 'Esc') {
            event.preventDefault();
            closeHelp();
        }
    }

    function closeHelp() {
        if (!web.help || web.help.panel.hidden) {
            return;
        }
        web.help.panel.hidden = true;
        web.helpOpen = false;
        behind().forEach(function (element) { element.inert = false; });
        const back = web.help.returnTo;
        web.help.returnTo = null;
        if (back && back.isConnected && back !== document.body) {
            back.focus({ preventScroll: true });
        } else if (web.canvas && web.modalDepth === 0) {
            web.canvas.focus({ preventScroll: true });
        }
    }

    // The help page in the pupil's language. The translations travel packed
    // (Help/help.<code>.html.gz, which keeps the site within its size budget): the page of
    // the program's language is unpacked and shown in place of the English one, with its
    // pictures and style sheet found beside it in Help/. The service worker has the packed
    // pages offline; a language without one, or a failed fetch, shows the English page.
    function translatedPage(address) {
        const code = web.language || '';
        if (address !== 'Help/help.html' || code === '' || code === 'en') {
            return Promise.resolve(null);
        }
        const translated = 'Help/help.' + code + '.html';
        return web.fetchPacked(translated + '.gz').then(function (html) {
            return { address: translated,
                     html: html.replace(/<head>/i, '<head>\n<base href="Help/">') };
        }, function () { return null; });
    }

    // With the base above, a link within the page ("#keys") would lead the frame to
    // Help/#keys: the unpacked page scrolls to the part it names instead.
    function keepLinksInPage(frame) {
        if (!frame.hasAttribute('srcdoc')) {
            return;
        }
        const page = frame.contentDocument;
        page.addEventListener('click', function (event) {
            const link = event.target.closest && event.target.closest('a[href^="#"]');
            if (link) {
                event.preventDefault();
                const target = page.getElementById(link.getAttribute('href').slice(1));
                if (target) {
                    target.scrollIntoView();
                }
            }
        });
    }

    web.openDocument = function (path) {
        if (!web.help) {
            web.help = makePanel();
        }
        const asked = path.replace(/\\/g, '/');
        const serial = (web.help.serial || 0) + 1;
        web.help.serial = serial;
        translatedPage(asked).then(function (page) {
            // A later request (another language, another page) wins.
            const frame = web.help.frame;
            const address = page ? page.address : asked;
            if (web.help.serial !== serial || frame.getAttribute('data-page') === address) {
                return;
            }
            frame.setAttribute('data-page', address);
            if (page) {
                frame.removeAttribute('src');
                frame.srcdoc = page.html;
            } else {
                frame.removeAttribute('srcdoc');
                frame.setAttribute('src', address);
            }
        });
        if (!web.helpOpen) {
            web.help.returnTo = document.activeElement;
        }
        web.help.panel.hidden = false;
        web.helpOpen = true;
        behind().forEach(function (element) { element.inert = true; });
        web.pointerAway();
        web.placeHelp(web.visibleArea());
        web.help.close.focus({ preventScroll: true });
    };

    // The program, its pad and commands, and the dialogs' holder.
    function behind() {
        return [web.canvas && web.canvas.parentElement, Module.dialogRoot].filter(Boolean);
    }

    // The panel covers what is visible, less a margin.
    web.placeHelp = function (area) {
        if (!web.help) {
            return;
        }
        const inset = Math.min(24, Math.floor(Math.min(area.width, area.height) * 0.03));
        const style = web.help.panel.style;
        style.left = (area.left + inset) + 'px';
        style.top = (area.top + inset) + 'px';
        style.width = (area.width - 2 * inset) + 'px';
        style.height = (area.height - 2 * inset) + 'px';
    };

    web.closeHelp = closeHelp;
})(Module.web);
