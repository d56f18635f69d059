// The help page, shown in a panel over the program rather than in a new tab: the
// program asks for it from its frame loop, after the tap that chose Help has ended, and
// some engines refuse a new window then. The program goes on running behind the panel,
// so the drill is as the pupil left it when the panel closes.

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
            } catch (e) {
                // Another site's page: only the Close button closes the panel.
            }
        });
        panel.addEventListener('keydown', escapeCloses);
        panel.appendChild(bar);
        panel.appendChild(frame);
        panel.hidden = true;
        document.body.appendChild(panel);
        return { panel: panel, frame: frame, close: close };
    }

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
        if (web.canvas && web.modalDepth === 0) {
            web.canvas.focus({ preventScroll: true });
        }
    }

    web.openDocument = function (path) {
        if (!web.help) {
            web.help = makePanel();
        }
        const address = path.replace(/\\/g, '/');
        if (web.help.frame.getAttribute('src') !== address) {
            web.help.frame.setAttribute('src', address);
        }
        web.help.panel.hidden = false;
        web.helpOpen = true;
        web.pointerAway();
        web.placeHelp(web.visibleArea());
        web.help.close.focus({ preventScroll: true });
    };

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
