// The web backend's own behaviour in headless Chromium, against the built site: the
// dialogs' keyboard rules (tab order, Enter, Escape, digits only), keys typed ahead of a
// command, the message boxes' default and escape buttons, the text measure the
// working-out's columns depend on, the canvas following the pixel ratio, the right
// button's missing context menu and the frame benchmark's hook. Uses the test driver
// tests/web installs (npm ci there first).
//
// Usage: node tests/webunit/backend-checks.mjs [site folder, default build-web/site]

import { createReadStream, existsSync, statSync } from "node:fs";
import http from "node:http";
import path from "node:path";
import { fileURLToPath } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, "..", "..");
const { default: puppeteer } = await import(
  path.join(root, "tests/web/node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js"));

const site = path.resolve(process.argv[2] || path.join(root, "build-web/site"));
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const types = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm",
                ".json": "application/json", ".css": "text/css", ".png": "image/png",
                ".woff2": "font/woff2", ".webmanifest": "application/manifest+json" };

// A plain static server on a free port of 127.0.0.1.
function serve(folder) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, "http://x").pathname);
    const file = path.join(folder, name.endsWith("/") ? name + "index.html" : name);
    if (!file.startsWith(folder) || !existsSync(file) || !statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream" });
    createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

const failures = [];
function check(condition, what) {
  console.log(`  ${condition ? "ok  " : "FAIL"} ${what}`);
  if (!condition) {
    failures.push(what);
  }
}

const server = await serve(site);
const url = `http://127.0.0.1:${server.address().port}/index.html`;
const browser = await puppeteer.launch({
  executablePath: process.env.BRICKETING_CHROMIUM || "/usr/bin/chromium",
  headless: "new",
  args: ["--no-sandbox", "--disable-gpu"],
});

try {
  const page = await browser.newPage();
  page.on("pageerror", (error) => failures.push("page error: " + error.message));
  await page.setViewport({ width: 1280, height: 720, deviceScaleFactor: 1 });
  await page.goto(url);
  await page.evaluate(() => localStorage.clear());
  await page.reload();
  // A loop at rest waits for the next event, so the first pass or two is all there is.
  await page.waitForFunction(() => window.bricketingPage?.module?.loopPasses > 0, { timeout: 10000 });
  const board = await page.$eval("#board", (e) => {
    const r = e.getBoundingClientRect();
    return { x: r.left, y: r.top };
  });
  const press = async (x, y) => {
    await page.mouse.move(board.x + x, board.y + y);
    await sleep(150);
    await page.mouse.down();
    await sleep(60);
    await page.mouse.up();
  };
  const focused = () => page.evaluate(() => document.activeElement.getAttribute("data-control-id"));
  const open = (kind) => page.waitForSelector(`dialog[data-dialog="${kind}"]`, { timeout: 5000 });
  const closed = () => page.waitForSelector("dialog", { hidden: true, timeout: 5000 });
  const tabOrder = async (steps, shift = false) => {
    const order = [await focused()];
    for (let step = 0; step < steps; step++) {
      if (shift) await page.keyboard.down("Shift");
      await page.keyboard.press("Tab");
      if (shift) await page.keyboard.up("Shift");
      order.push(await focused());
    }
    return order.join(" ");
  };
  const createQuestion = [640, 286];
  const settings = [562, 364];
  const logo = [620, 540];

  console.log("== text measure");
  const advance = await page.evaluate(() => window.bricketingPage.module.web.advance(40, "0000"));
  // Four of Arial's digit advances (1139/2048 em) at 40 pixels: 88.96.
  check(Math.abs(advance - 88.96) < 0.5, `"0000" at 30 points advances ${advance} px (88.96 on the desktop)`);

  console.log("== Create Question");
  await press(...createQuestion);
  await open("create-question");
  check((await tabOrder(4)) === "1015 1016 1 2 1015", "Tab runs dividend, divisor, OK, Cancel and round");
  check((await tabOrder(2, true)) === "1015 2 1", "Shift+Tab runs the other way");
  await page.focus('[data-control-id="1015"]');
  await page.keyboard.type("1a2-3 4");
  check((await page.$eval('[data-control-id="1015"]', (e) => e.value)) === "1234",
    "the dividend takes digits only");
  await page.keyboard.press("Escape");
  await closed();
  check(true, "Escape cancels Create Question");

  console.log("== keys typed ahead");
  await press(...createQuestion);
  await open("create-question");
  await page.evaluate(() => {
    window.seen = [];
    new MutationObserver((changes) => {
      for (const change of changes) {
        for (const added of change.addedNodes) {
          if (added.tagName === "DIALOG") window.seen.push("open " + added.dataset.dialog);
        }
        for (const removed of change.removedNodes) {
          if (removed.tagName !== "DIALOG") continue;
          const values = [...removed.querySelectorAll('input[type="text"]')].map((e) => e.value);
          window.seen.push(`close ${removed.dataset.dialog} ${values.join(" ")}`.trim());
        }
      }
    }).observe(document.getElementById("dialogs"), { childList: true });
  });
  for (const key of ["1", "2", "3", "4", "5", "Enter", "Enter", "1", "0", "0", "Enter", "7", "Enter"]) {
    await page.keyboard.press(key.length === 1 ? "Digit" + key : key);
  }
  await closed();
  await sleep(300);
  const seen = (await page.evaluate(() => window.seen)).join(", ");
  check(seen === "open message-box, close message-box, close create-question 100 7",
    `typed without waiting, each key lands where the last command left the focus (${seen})`);

  console.log("== Settings");
  await press(...settings);
  await open("settings");
  // Every control that takes the focus, in the template's order: the buttons, check boxes
  // and the language list, and each radio group once, at its chosen button; the group
  // boxes and texts are passed over. The template has eight such controls and three
  // radio groups (display, difficulty, key facts).
  const settingsStops = await page.evaluate(() => {
    const stops = [];
    const groups = new Set();
    for (const c of document.querySelectorAll("dialog[open] [data-control-id]")) {
      if (c.matches("button, select, input[type=checkbox]")) {
        stops.push(c.dataset.controlId);
      } else if (c.matches("input[type=radio]") && !groups.has(c.name)) {
        groups.add(c.name);
        const chosen = document.querySelector(`dialog[open] input[name="${c.name}"]:checked`);
        stops.push((chosen ?? c).dataset.controlId);
      }
    }
    return stops;
  });
  const settingsRound = [...settingsStops, settingsStops[0]].join(" ");
  check(settingsStops.length === 11 && settingsRound.startsWith("1 2 1002 1003 ") &&
        settingsRound.endsWith(" 1021 1023 1027 1028 1030 1") &&
        (await tabOrder(settingsStops.length)) === settingsRound,
    `Tab runs OK, Cancel, the check boxes, each radio group once and the language list (${settingsRound})`);
  check((await tabOrder(2, true)) === "1 1030 1028", "Shift+Tab runs the other way from OK");
  await page.click('[data-control-id="1010"]');
  await page.focus('[data-control-id="2"]');
  await page.keyboard.press("Enter");
  await closed();
  check((await page.evaluate(() => localStorage.getItem("bricketing.settings"))) === null,
    "Enter on the focused Cancel closes Settings and stores nothing");
  await press(...settings);
  await open("settings");
  await page.click('[data-control-id="1005"]');
  await page.click('[data-control-id="1003"]');
  await page.focus('[data-control-id="1003"]');
  await page.keyboard.press("Enter");
  await closed();
  const stored = await page.evaluate(() => localStorage.getItem("bricketing.settings")) || "";
  check(stored.split("\n").length === 4 && stored.startsWith("DISPLAY:TIMES") &&
        stored.includes("AUTOREMAINDER:ON"), "Enter on a check box is OK: the four lines are stored");

  console.log("== About and the exit prompt");
  await press(...logo);
  await open("about");
  await page.keyboard.press("Escape");
  await sleep(200);
  check((await page.$('dialog[data-dialog="about"]')) !== null, "Escape leaves About open");
  await page.keyboard.press("Enter");
  await closed();
  check(true, "Enter presses About's OK");
  await page.mouse.move(board.x + 250, board.y + 300);
  await page.keyboard.press("Escape");
  await open("message-box");
  check((await focused()) === "6", "the exit prompt's Yes has the focus");
  const passes = () => page.evaluate(() => window.bricketingPage.module.loopPasses ?? 0);
  const passesBefore = await passes();
  await sleep(300);
  check((await passes()) === passesBefore, "no frame is made while the prompt is open");
  await page.keyboard.press("Escape");
  await closed();
  await sleep(300);
  check((await passes()) > passesBefore, "Escape answers No and the frames go on");

  console.log("== canvas");
  const menuShown = await page.$eval("#board", (canvas) =>
    canvas.dispatchEvent(new MouseEvent("contextmenu", { bubbles: true, cancelable: true, button: 2 })));
  check(!menuShown, "the canvas has no context menu");
  await page.setViewport({ width: 1280, height: 720, deviceScaleFactor: 2 });
  // The emulated density change sends no event; a real browser sends a resize.
  await page.evaluate(() => window.dispatchEvent(new Event("resize")));
  await sleep(300);
  const size = await page.$eval("#board", (e) => [e.width, e.height, e.style.width].join(" "));
  check(size === "1600 1200 800px", `at two device pixels per pixel the canvas is ${size}`);

  console.log("== keyboards without physical keys");
  await page.evaluate(() => {
    const web = window.bricketingPage.module.web;
    window.pushed = [];
    const push = web.push;
    web.push = (message) => { window.pushed.push(message); push(message); };
    document.getElementById("board").focus();
  });
  const devtools = await page.createCDPSession();
  const sendKey = (fields) => devtools.send("Input.dispatchKeyEvent", { type: "keyDown", ...fields });
  await sendKey({ key: "5", code: "", text: "5", windowsVirtualKeyCode: 53 });
  await sendKey({ key: "Unidentified", code: "", windowsVirtualKeyCode: 229 });
  await page.$eval("#board", (canvas) => canvas.dispatchEvent(new InputEvent("beforeinput",
    { data: "4 x", inputType: "insertText", bubbles: true, cancelable: true })));
  const pushed = await page.evaluate(() => window.pushed.map((m) => `${m.kind}:${m.code}:${m.key}`));
  check(pushed.join(" ") === "key::5 key::4 key:: ",
    `a key without a code goes on by its name, a composing key waits for its text, ` +
    `inserted text gives its digits and spaces (${pushed.join(" ")})`);

  console.log("== frame benchmark hook");
  const bench = await page.evaluate(() => window.bricketingPage.module.benchmarkFrames(3, 5));
  check(bench.freshMs.length === 3 && bench.longMs.length === 3 &&
        [...bench.freshMs, ...bench.longMs].every((ms) => ms >= 0 && ms < 1000),
    `benchmarkFrames gives a time per batch (${bench.freshMs.join(", ")} / ${bench.longMs.join(", ")})`);
} catch (error) {
  failures.push(String(error));
} finally {
  await browser.close();
  server.close();
}

if (failures.length > 0) {
  console.log(`${failures.length} backend check(s) failed:\n  ${failures.join("\n  ")}`);
  process.exit(1);
}
console.log("all backend checks passed");
