// Starts the program in the page and looks after what lies around it: the font is
// loaded before the first frame, the end view replaces the canvas once the program has
// ended, and a service worker keeps the whole site for use without a network.
"use strict";

(function () {
  const FONT = '40px "Liberation Sans"';
  const FONT_WAIT_MS = 5000;

  const board = document.getElementById("board");
  const loading = document.getElementById("loading");
  const finished = document.getElementById("finished");
  const startAgain = document.getElementById("start-again");
  const classroom = window.bricketingClassroom.setUp({
    finished,
    startAgain,
    note: document.getElementById("finished-note"),
  });

  // What tests and the frame benchmark read: the module once it runs, when its first
  // frame was on the canvas and how the program ended.
  const state = { module: null, firstFrameAt: null, exitCode: null, problem: null };
  window.bricketingPage = state;

  board.addEventListener("contextmenu", (event) => event.preventDefault());

  function showProblem(text) {
    state.problem = text;
    loading.hidden = false;
    loading.textContent = text;
    loading.classList.add("problem");
  }

  // The text of the first frame is measured and drawn in this font, so it must be in
  // before the program starts; a font that never comes still lets the program start.
  async function fontLoaded() {
    const timeout = new Promise((resolve) => setTimeout(resolve, FONT_WAIT_MS));
    try {
      await Promise.race([document.fonts.load(FONT), timeout]);
    } catch (error) {
      // The program falls back to the sans-serif family; nothing to do here.
    }
  }

  // settingsKept is false when the browser refused the last settings confirmed.
  function showFinished(exitCode, settingsKept) {
    state.exitCode = exitCode;
    if (settingsKept === false) {
      document.getElementById("finished-note").textContent =
        "Well done. Your new settings could not be kept: this browser would not store " +
        "them, so next time starts with the settings you had before.";
    }
    // With a class list the way on is "Next pupil": the next start asks who it is.
    classroom.ended(state.module?.web, settingsKept);
    document.body.classList.add("ended");
    document.getElementById("program").hidden = true;
    finished.hidden = false;
    startAgain.focus();
  }

  startAgain.addEventListener("click", () => window.location.reload());

  async function startProgram() {
    if (typeof window.createBricketing !== "function") {
      showProblem("The program did not load. Check the connection and reload the page.");
      return;
    }
    await fontLoaded();
    try {
      state.module = await window.createBricketing({
        canvas: board,
        dialogRoot: document.getElementById("dialogs"),
        onFirstFrame: () => {
          state.firstFrameAt = performance.now();
          loading.hidden = true;
        },
        onFinished: showFinished,
      });
    } catch (error) {
      showProblem("The program could not start in this browser: " + error);
    }
  }

  // The service worker is registered under the build's version, so a new build is a
  // new worker script: it caches the new files and drops the old ones. Offline, the
  // list comes from the cache and names the version already installed.
  async function keepSiteOffline() {
    if (!("serviceWorker" in navigator) || !window.isSecureContext) {
      return;
    }
    try {
      const response = await fetch("precache.json", { cache: "no-cache" });
      const { version } = await response.json();
      await navigator.serviceWorker.register("sw.js?version=" + encodeURIComponent(version));
    } catch (error) {
      // Without the worker the page still works; it just needs the network next time.
    }
  }

  startProgram();
  window.addEventListener("load", keepSiteOffline);
})();
