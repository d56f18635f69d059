// A class sharing one device, on the end page: the teacher view, where a teacher enters
// the class list once (kept in this browser's local storage, read by the program at its
// next start), and the way on to the next pupil. page.js calls in through
// window.bricketingClassroom.
"use strict";

(function () {
  // Every text of the teacher view and of the end page's class parts, in one place for
  // translators. "{name}" and "{count}" are filled in; the rest stands as it is.
  const WORDS = {
    openTeacherView: "Class list (for teachers)",
    title: "Class list",
    about:
      "Write each pupil's name on a line of its own. With a class list, Bricketing " +
      "asks who is practising each time it starts, and keeps each pupil's settings " +
      "apart on this device. Nothing is sent anywhere.",
    namesLabel: "Pupils' names, one a line",
    fromServer: "These names come from the school's class.txt. Saving keeps them on this device instead.",
    save: "Save",
    cancel: "Cancel",
    savedSome: "Class list saved: {count} names.",
    savedOne: "Class list saved: 1 name.",
    cleared: "Class list cleared on this device.",
    nextPupil: "Next pupil",
    startAgain: "Start again",
    wellDonePupil: "Well done, {name}. Your settings are kept for next time.",
  };

  const CLASS_KEY = "bricketing.class";

  function fill(pattern, values) {
    return pattern.replace(/\{(\w+)\}/g, (whole, key) => (key in values ? String(values[key]) : whole));
  }

  // The names as the program reads them, enough to tell whether the list has any and how
  // many: blank lines and "#" notes are the teacher's own, a name given twice counts once.
  function namesIn(text) {
    const names = new Set();
    for (const line of (text || "").replace(/^\uFEFF/, "").split("\n")) {
      const name = line.trim();
      if (name !== "" && !name.startsWith("#")) {
        names.add(name);
      }
    }
    return names.size;
  }

  function storedList() {
    try {
      return window.localStorage.getItem(CLASS_KEY);
    } catch (error) {
      return null;
    }
  }

  // True when the text was stored (an empty one removes the key, so a class.txt on the
  // server applies again).
  function storeList(text) {
    try {
      if (namesIn(text) === 0) {
        window.localStorage.removeItem(CLASS_KEY);
        return window.localStorage.getItem(CLASS_KEY) === null;
      }
      window.localStorage.setItem(CLASS_KEY, text);
      return window.localStorage.getItem(CLASS_KEY) === text;
    } catch (error) {
      return false;
    }
  }

  // The school's class.txt beside the site, or null (a 404, or no network).
  async function serverList() {
    try {
      const response = await fetch("class.txt", { cache: "no-cache" });
      return response.ok ? await response.text() : null;
    } catch (error) {
      return null;
    }
  }

  function element(tag, properties = {}) {
    const made = document.createElement(tag);
    Object.assign(made, properties);
    return made;
  }

  // The teacher view: a modal dialog that keeps the focus inside (Tab wraps from the last
  // control to the first), closes on Escape and Cancel, and gives the focus back to the
  // button that opened it.
  function makeTeacherView(onSaved) {
    const dialog = element("dialog", { id: "class-list", className: "teacher-view" });
    dialog.setAttribute("aria-labelledby", "class-list-title");
    dialog.setAttribute("aria-describedby", "class-list-about");
    const title = element("h2", { id: "class-list-title", textContent: WORDS.title });
    const about = element("p", { id: "class-list-about", textContent: WORDS.about });
    const label = element("label", { htmlFor: "class-list-names", textContent: WORDS.namesLabel });
    const names = element("textarea", { id: "class-list-names", rows: 10, spellcheck: false });
    names.setAttribute("autocomplete", "off");
    const source = element("p", { id: "class-list-source", className: "class-list-source" });
    const buttons = element("div", { className: "teacher-buttons" });
    const save = element("button", { type: "button", id: "class-list-save", className: "start-again",
      textContent: WORDS.save });
    const cancel = element("button", { type: "button", id: "class-list-cancel", className: "quiet-button",
      textContent: WORDS.cancel });
    buttons.append(save, cancel);
    dialog.append(title, about, label, names, source, buttons);
    document.body.appendChild(dialog);

    let opener = null;
    const focusable = [names, save, cancel];
    dialog.addEventListener("keydown", (event) => {
      if (event.key !== "Tab") {
        return;
      }
      const at = focusable.indexOf(document.activeElement);
      const next = event.shiftKey ? (at <= 0 ? focusable.length - 1 : at - 1)
        : (at + 1) % focusable.length;
      event.preventDefault();
      focusable[next].focus();
    });
    dialog.addEventListener("close", () => opener?.focus());
    cancel.addEventListener("click", () => dialog.close());
    save.addEventListener("click", () => {
      if (storeList(names.value)) {
        dialog.close();
        onSaved(names.value);
      }
    });

    return {
      open(from, serverText) {
        opener = from;
        const own = storedList();
        names.value = own ?? serverText ?? "";
        source.textContent = own === null && namesIn(serverText) > 0 ? WORDS.fromServer : "";
        source.hidden = source.textContent === "";
        dialog.showModal();
        names.focus();
      },
    };
  }

  // Sets up the end page's class parts: the teacher view's button under "Start again",
  // and a status line that tells the teacher what was saved.
  function setUp({ finished, startAgain, note }) {
    const status = element("p", { id: "class-list-status", className: "class-list-status" });
    status.setAttribute("role", "status");
    const open = element("button", { type: "button", id: "class-list-open", className: "quiet-button",
      textContent: WORDS.openTeacherView });
    finished.append(status, open);
    let serverText = null;
    let pupil = "";

    function showWayOn(text) {
      startAgain.textContent = namesIn(text) > 0 ? WORDS.nextPupil : WORDS.startAgain;
    }

    const view = makeTeacherView((saved) => {
      const count = namesIn(saved);
      status.textContent = count === 0 ? WORDS.cleared
        : fill(count === 1 ? WORDS.savedOne : WORDS.savedSome, { count });
      showWayOn(saved.trim() === "" ? serverText : saved);
    });
    open.addEventListener("click", async () => {
      if (serverText === null && storedList() === null) {
        serverText = await serverList();
      }
      view.open(open, serverText);
    });

    return {
      // The program has ended: `web` is its runtime, which knows the class list it read
      // and the pupil who picked their name.
      ended(web, settingsKept) {
        serverText = web && web.storedClassList && web.storedClassList() === null
          ? web.classListText ?? null : null;
        pupil = web?.pupil ?? "";
        showWayOn(storedList() ?? serverText);
        if (pupil !== "" && settingsKept !== false) {
          note.textContent = fill(WORDS.wellDonePupil, { name: pupil });
        }
      },
    };
  }

  window.bricketingClassroom = { setUp, WORDS };
})();
