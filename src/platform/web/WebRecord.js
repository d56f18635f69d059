// The practice record in the browser (WebRecordStore.cpp calls these): each row the
// program appends is one IndexedDB record, added in its own transaction, so a closed tab
// or a crash never leaves half a row; a copy of every file is kept in memory for the
// program's reads. The program starts once the stored rows are read. The page asks for
// persistent storage, since a browser may otherwise clear a site's storage it has not
// seen for a while (WebKit: seven days) - hence Download.
//
// Also the "Practice record" control: it opens the teacher's report (report/report.html
// and report.js, the desktop's page) in a panel over the program, with Download (the
// record's files, the bytes the desktop writes for the same practice) and Delete.

(function (web) {
    'use strict';

    const databaseName = 'bricketing-record';
    const storeName = 'rows';
    const files = new Map(); // "pupil/questions.csv" -> text
    const sizes = new Map(); // the same -> its size in UTF-8 bytes
    let database = null;
    let texts = { lang: 'en', texts: {} };

    const encoder = typeof TextEncoder === 'function' ? new TextEncoder() : null;
    const utf8Length = (text) => (encoder ? encoder.encode(text).length : text.length);

    function T(english) {
        return (texts.texts && texts.texts[english]) || english;
    }

    function request(made) {
        return new Promise(function (resolve, reject) {
            made.onsuccess = function () { resolve(made.result); };
            made.onerror = function () { reject(made.error); };
        });
    }

    function open() {
        return new Promise(function (resolve, reject) {
            const opening = indexedDB.open(databaseName, 1);
            opening.onupgradeneeded = function () {
                const store = opening.result.createObjectStore(storeName, { autoIncrement: true });
                store.createIndex('file', 'file');
            };
            opening.onsuccess = function () { resolve(opening.result); };
            opening.onerror = function () { reject(opening.error); };
        });
    }

    function remember(file, text) {
        files.set(file, text);
        sizes.set(file, utf8Length(text));
    }

    async function load() {
        try {
            database = await open();
            const rows = await request(database.transaction(storeName).objectStore(storeName)
                .getAll());
            const texts = new Map();
            for (const row of rows) {
                texts.set(row.file, (texts.get(row.file) || '') + row.bytes);
            }
            texts.forEach(function (text, file) { remember(file, text); });
        } catch (error) {
            database = null; // storage switched off: the record is not kept
        }
        if (navigator.storage && navigator.storage.persist) {
            navigator.storage.persist().catch(function () {});
        }
    }

    Module.preRun = [].concat(Module.preRun || [], function () {
        if (typeof indexedDB === 'undefined') {
            return;
        }
        addRunDependency('bricketing-record');
        load().finally(function () { removeRunDependency('bricketing-record'); });
    });

    // Rows of a file moved to another name (or deleted with to null), in one transaction.
    function moveRows(from, to) {
        if (!database) {
            return Promise.resolve();
        }
        const transaction = database.transaction(storeName, 'readwrite');
        const index = transaction.objectStore(storeName).index('file');
        return new Promise(function (resolve) {
            const walking = index.openCursor(IDBKeyRange.only(from));
            walking.onsuccess = function () {
                const cursor = walking.result;
                if (!cursor) {
                    return;
                }
                if (to === null) {
                    cursor.delete();
                } else {
                    cursor.update({ file: to, bytes: cursor.value.bytes });
                }
                cursor.continue();
            };
            transaction.oncomplete = resolve;
            transaction.onerror = resolve;
            transaction.onabort = resolve;
        });
    }

    // Writes wait in one queue, so that a move never overtakes the rows before it.
    let writing = Promise.resolve();
    function queue(step) {
        writing = writing.then(step, step);
        return writing;
    }

    web.recordAppend = function (file, bytes) {
        if (!database) {
            return false;
        }
        remember(file, (files.get(file) || '') + bytes);
        queue(function () {
            return new Promise(function (resolve) {
                const transaction = database.transaction(storeName, 'readwrite');
                transaction.objectStore(storeName).add({ file: file, bytes: bytes });
                transaction.oncomplete = resolve;
                transaction.onerror = transaction.onabort = function () {
                    console.error('Bricketing: the practice record could not keep a row');
                    resolve();
                };
            });
        });
        return true;
    };

    web.recordSize = function (file) {
        return sizes.get(file) || 0;
    };

    web.recordRead = function (file) {
        return files.has(file) ? files.get(file) : null;
    };

    web.recordTail = function (file, count) {
        const text = files.get(file) || '';
        const end = encoder ? encoder.encode(text.slice(-count)) : null;
        if (!end) {
            return text.slice(-count);
        }
        return new TextDecoder('utf-8', { ignoreBOM: true })
            .decode(end.slice(Math.max(0, end.length - count)));
    };

    web.recordRotate = function (file, older) {
        remember(older, files.get(file) || '');
        files.delete(file);
        sizes.delete(file);
        queue(function () { return moveRows(older, null).then(function () {
            return moveRows(file, older);
        }); });
        return true;
    };

    web.recordRemove = function (pupil) {
        for (const file of Array.from(files.keys())) {
            if (file.startsWith(pupil + '/')) {
                files.delete(file);
                sizes.delete(file);
                queue(function () { return moveRows(file, null); });
            }
        }
        return true;
    };

    // The report's texts from the program's words lookup (WebRecord.cpp, at start-up).
    web.recordTexts = function (json) {
        try {
            texts = JSON.parse(json);
        } catch (error) {
            // The English sources stay.
        }
    };

    // Finished once every row asked for is in the database (tests wait on it).
    web.recordWritten = function () {
        return writing;
    };

    // ---- The report panel ----

    // The report's files are kept compressed on the site; a server that sends them
    // unpacked is fine too.
    async function fetchPacked(path) {
        const response = await fetch(path);
        if (!response.ok) {
            throw new Error(path + ': ' + response.status);
        }
        const bytes = new Uint8Array(await response.arrayBuffer());
        if (bytes[0] !== 0x1f || bytes[1] !== 0x8b) {
            return new TextDecoder().decode(bytes);
        }
        const unpacked = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip'));
        return new Response(unpacked).text();
    }
    web.fetchPacked = fetchPacked;  // the translated help pages travel packed too

    let template = null;

    function script(text) {
        return '<script>\n' + text + '\n</' + 'script>';
    }

    function json(value) {
        return JSON.stringify(value).replace(/</g, '\\u003c').replace(/>/g, '\\u003e')
            .replace(/&/g, '\\u0026');
    }

    function recordFiles() {
        return Array.from(files.entries()).filter(function (entry) { return entry[1] !== ''; })
            .sort(function (a, b) { return a[0] < b[0] ? -1 : 1; })
            .map(function (entry) { return { name: entry[0], text: entry[1] }; });
    }

    async function reportPage() {
        if (!template) {
            const parts = await Promise.all([fetchPacked('report/report.html.gz'),
                fetchPacked('report/report.js.gz'),
                // Without Chart.js the report shows its tables alone.
                fetchPacked('report/chart.min.js.gz').catch(function () { return ''; })]);
            template = { html: parts[0], script: parts[1], chart: parts[2] };
        }
        return template.html
            .replace('<!--@CHART@-->', function () {
                return template.chart ? script(template.chart) : '';
            })
            .replace('<!--@DATA@-->', function () {
                return '<script type="application/json" id="record-files">' + json(recordFiles()) +
                    '</' + 'script>\n<script type="application/json" id="report-texts">' +
                    json(texts) + '</' + 'script>';
            })
            .replace('<!--@REPORT@-->', function () { return script(template.script); });
    }

    function download(name, text) {
        const link = document.createElement('a');
        link.href = URL.createObjectURL(new Blob([text], { type: 'text/csv;charset=utf-8' }));
        link.download = name;
        document.body.appendChild(link);
        link.click();
        link.remove();
        setTimeout(function () { URL.revokeObjectURL(link.href); }, 60000);
    }

    function button(text, onClick) {
        const made = document.createElement('button');
        made.type = 'button';
        made.textContent = text;
        made.addEventListener('click', onClick);
        return made;
    }

    function makePanel() {
        const panel = document.createElement('div');
        panel.className = 'record-panel';
        panel.setAttribute('role', 'dialog');
        panel.setAttribute('aria-modal', 'true');
        panel.setAttribute('aria-labelledby', 'record-panel-title');
        const bar = document.createElement('div');
        bar.className = 'help-bar';
        const title = document.createElement('span');
        title.id = 'record-panel-title';
        title.className = 'help-title';
        const downloadButton = button('', function () {
            for (const file of recordFiles()) {
                download(file.name.replace(/^.*\//, ''), file.text);
            }
        });
        downloadButton.className = 'help-close';
        downloadButton.setAttribute('data-record-download', '');
        const deleteButton = button('', async function () {
            if (!window.confirm(T('Delete the practice record kept in this browser? This cannot be undone.'))) {
                return;
            }
            web.recordRemove('this device');
            await writing;
            show();
        });
        deleteButton.className = 'help-close';
        deleteButton.setAttribute('data-record-delete', '');
        const close = button('', closePanel);
        close.className = 'help-close';
        close.setAttribute('data-record-close', '');
        bar.append(title, downloadButton, deleteButton, close);
        const frame = document.createElement('iframe');
        frame.className = 'help-frame';
        panel.addEventListener('keydown', function (event) {
            if (event.key === 'Escape') {
                event.preventDefault();
                closePanel();
            }
        });
        panel.append(bar, frame);
        panel.hidden = true;
        document.body.appendChild(panel);
        return { panel: panel, title: title, frame: frame, close: close,
                 downloadButton: downloadButton, deleteButton: deleteButton };
    }

    let parts = null; // the panel's elements, made when first opened

    async function show() {
        parts.title.textContent = T('Practice record');
        parts.frame.title = T('Practice record');
        parts.downloadButton.textContent = T('Download');
        parts.deleteButton.textContent = T('Delete');
        parts.close.textContent = T('Close');
        parts.downloadButton.disabled = recordFiles().length === 0;
        try {
            parts.frame.srcdoc = await reportPage();
        } catch (error) {
            parts.frame.srcdoc = '<p>' + T('The report could not be loaded.') + '</p>';
        }
    }

    function openPanel() {
        parts = parts || makePanel();
        parts.panel.hidden = false;
        web.helpOpen = true; // the program's keys stay out of the panel, as with Help
        web.pointerAway();
        show();
        parts.close.focus({ preventScroll: true });
    }

    function closePanel() {
        parts.panel.hidden = true;
        web.helpOpen = false;
        if (web.canvas && web.modalDepth === 0) {
            web.canvas.focus({ preventScroll: true });
        }
    }

    // The control itself, beside the page's other controls, made once the page is there.
    web.makeRecordControl = function () {
        if (web.record) {
            return;
        }
        // Labelled through the page's words, so it follows the program's language.
        const control = button('', openPanel);
        web.label(control, 'textContent', 'Practice record');
        control.className = 'record-control';
        control.id = 'practice-record';
        web.record = { button: control };
        (document.getElementById('program') || document.body).appendChild(control);
        // The picture and the pad make room for it at the window's foot.
        if (web.canvas && web.fit) {
            web.fit();
        }
    };
})(Module.web);
