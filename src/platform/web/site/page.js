// Starts the program in the page and looks after what lies around it: the program's
// downloads start at once and its first frame waits for the font, the end view replaces
// the canvas once the program has ended, and a service worker keeps the whole site for
// use without a network and says when a new version is ready.
"use strict";

(function () {
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
  const state = {
    module: null, firstFrameAt: null, exitCode: null, problem: null, updateReady: false,
  };
  window.bricketingPage = state;

  board.addEventListener("contextmenu", (event) => event.preventDefault());

  function showProblem(text) {
    firstFrameDrawn();  // nothing more will come: the worker need not wait
    state.problem = text;
    loading.hidden = false;
    loading.textContent = text;
    loading.classList.add("problem");
  }

  // Marks a text for the catalogue's template; the program's catalogue shows it.
  const trNoop = (english) => english;

  // The page's own words, in the pupil's language once the program has chosen it.
  function labelPage(web) {
    web.label(board, "aria-label", trNoop("Bricketing working-out board"));
    web.label(document.getElementById("finished-title"), "textContent",
              trNoop("Finished for today"));
    web.label(document.getElementById("finished-note"), "textContent",
              trNoop("Well done. Your settings are kept for next time."));
    web.label(startAgain, "textContent", trNoop("Start again"));
    // The footer's three parts, each a whole message, so no language joins pieces.
    const footer = [["free-software", trNoop("Bricketing is free software.")],
      ["source-link", trNoop("Its source code")],
      ["program-licence", trNoop("The program: GPL 3 or later")],
      ["art-licence", trNoop("Pictures and help: CC BY-SA 4.0")]];
    for (const [id, english] of footer) {
      web.label(document.getElementById(id), "textContent", english);
    }
  }

  // The pictures at twice their size are plain files beside the page, fetched only for
  // a screen with more than one device pixel per pixel, and put where the program looks
  // for them (Resources/2x/ in its file system) before it starts. Their download starts
  // with the page's, beside the program's own: the module runs its start-up hooks only
  // once its code has arrived. A picture that does not come is drawn at its own size.
  async function fetchSharpPictures() {
    if ((window.devicePixelRatio || 1) <= 1) {
      return [];
    }
    try {
      // The page's preload links name them (the build writes them), so no list need be
      // fetched first; decodeURI turns "Delete%20icon_25.png" back into a file name.
      const sharp = [...document.querySelectorAll('link[rel="preload"][href^="Resources/2x/"]')]
        .map((link) => decodeURI(link.getAttribute("href")));
      const pictures = await Promise.all(sharp.map(async (file) => {
        const response = await fetch(file);
        return response.ok ? [file, new Uint8Array(await response.arrayBuffer())] : null;
      }));
      return pictures.filter(Boolean);
    } catch (error) {
      return [];  // drawn at their own size; nothing else changes
    }
  }
  const sharpPicturesFetched = fetchSharpPictures();

  async function sharpPictures(module) {
    const pictures = await sharpPicturesFetched;
    if (pictures.length > 0) {
      module.FS_createPath("/", "Resources/2x", true, true);
    }
    for (const [file, bytes] of pictures) {
      module.FS_createDataFile("/Resources/2x", file.slice("Resources/2x/".length), bytes,
        true, false, false);
    }
  }

  // settingsKept is false when the browser refused the last settings confirmed.
  function showFinished(exitCode, settingsKept) {
    state.exitCode = exitCode;
    if (settingsKept === false) {
      const note = trNoop("Well done. Your new settings could not be kept: this browser would " +
                          "not store them, so next time starts with the settings you had before.");
      const web = state.module && state.module.web;
      document.getElementById("finished-note").textContent = web ? web.tr(note) : note;
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
    try {
      // The module fetches its code and data at once, while the font (preloaded by the
      // page) comes in beside them; the program's start waits for the font and for the
      // sharp pictures of a screen that needs them.
      state.module = await window.createBricketing({
        preRun: [
          (module) => {
            module.addRunDependency("page-sharp-pictures");
            sharpPictures(module).then(() => module.removeRunDependency("page-sharp-pictures"));
          },
        ],
        canvas: board,
        dialogRoot: document.getElementById("dialogs"),
        onFirstFrame: () => {
          state.firstFrameAt = performance.now();
          loading.hidden = true;
          firstFrameDrawn();
        },
        onFinished: showFinished,
      });
      labelPage(state.module.web);
    } catch (error) {
      showProblem("The program could not start in this browser: " + error);
    }
  }

  // Said once a new build's worker has taken over from the one that served this page:
  // this page goes on with the version it started with, the next start has the new one.
  function showUpdateReady() {
    const note = document.getElementById("update-ready");
    if (note) {
      note.hidden = false;
    }
    state.updateReady = true;
  }

  // The service worker is registered under the build's version, so a new build is a
  // new worker script: it caches the new files and drops this copy's old ones. Offline,
  // the list comes from the cache and names the version already installed.
  async function keepSiteOffline() {
    if (!("serviceWorker" in navigator) || !window.isSecureContext) {
      return;
    }
    try {
      const servedByWorker = navigator.serviceWorker.controller !== null;
      const response = await fetch("precache.json", { cache: "no-cache" });
      const { version } = await response.json();
      await navigator.serviceWorker.register(
        "sw.js?version=" + encodeURIComponent(version));
      if (servedByWorker) {
        navigator.serviceWorker.addEventListener("controllerchange", showUpdateReady);
      }
    } catch (error) {
      // Without the worker the page still works; it just needs the network next time.
    }
  }

  // The worker's first install downloads the whole site again for the cache: it waits
  // until the program's first frame is on the screen (and the page has loaded), so that
  // on a slow connection it does not share the bandwidth with what that frame needs.
  let firstFrameDrawn;
  const drawn = new Promise((resolve) => { firstFrameDrawn = resolve; });
  const loaded = new Promise((resolve) => window.addEventListener("load", resolve));
  Promise.all([drawn, loaded]).then(keepSiteOffline);
  startProgram();
})();
