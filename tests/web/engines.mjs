// The short flow the page must pass in the other browser engines: WebKit (WebKitGTK's
// WebKitWebDriver, driven by selenium-webdriver) and Firefox ESR (puppeteer-core over
// WebDriver BiDi). In each: the first frame, 100 ÷ 7 worked by keyboard (and the words
// a reader is given for it, and Tab from the canvas to New Question), the settings kept
// over a reload, Help opening, and the program starting again offline after one
// visit. The checks on the picture are the desktop suite's, read from the canvas.
//
// Usage: node engines.mjs [--site DIR] [--shots DIR] [webkit|firefox ...]
// WebKit needs a display (tests/web/run starts one with xvfb-run).

import { spawn, spawnSync } from "node:child_process";
import { existsSync, mkdirSync, mkdtempSync, rmSync, writeFileSync } from "node:fs";
import net from "node:net";
import { tmpdir } from "node:os";
import path from "node:path";
import puppeteer from "puppeteer-core";
import { Builder, By, Capabilities, Key, Origin } from "selenium-webdriver";
import { BUTTONS, BUTTON_SIZE, Checker, expect, repositoryRoot, serve, sleep, waitUntil }
  from "./harness.mjs";

const MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser";
const [TIMES, EXPERT, OK] = [1005, 1010, 1];

const option = (name, fallback) =>
  (process.argv.includes(name) ? process.argv[process.argv.indexOf(name) + 1] : fallback);

// Both engines are asked for British English, whose catalogue writes the remainder as
// "rem.", whatever language the machine has (headless browsers say en-US).
const LANGUAGES = ["en-GB", "en"];

// WebKitGTK takes its language from the process's locale, which must exist to be set;
// the test compiles en_GB.UTF-8 into a folder of its own once, as the machine may have
// no locales but C.
function britishLocale() {
  const folder = path.join(tmpdir(), "bricketing-locale");
  if (!existsSync(path.join(folder, "en_GB.UTF-8"))) {
    mkdirSync(folder, { recursive: true });
    const made = spawnSync("localedef", ["-i", "en_GB", "-f", "UTF-8", path.join(folder, "en_GB.UTF-8")],
      { stdio: "inherit" });
    expect(made.status === 0, `localedef could not make en_GB.UTF-8 (${made.status})`);
  }
  return { ...process.env, LOCPATH: folder, LC_ALL: "en_GB.UTF-8" };
}

// The few things the flow does, over each engine's own driver.
async function startWebKit() {
  const port = await new Promise((resolve) => {
    const probe = net.createServer().listen(0, "127.0.0.1", () => {
      const { port: free } = probe.address();
      probe.close(() => resolve(free));
    });
  });
  const service = spawn("WebKitWebDriver", [`--port=${port}`], { stdio: "ignore", env: britishLocale() });
  const capabilities = new Capabilities().set("browserName", "MiniBrowser")
    .set("webkitgtk:browserOptions", { binary: MINIBROWSER, args: ["--automation"] });
  // The service takes a moment to listen.
  const driver = await waitUntil(() => new Builder().usingServer(`http://127.0.0.1:${port}`)
    .withCapabilities(capabilities).build().catch(() => null), 15000, "WebKitWebDriver");
  await driver.manage().window().setRect({ width: 1280, height: 760 });
  const mouse = (step) => step(driver.actions()).perform();
  return {
    version: (await driver.getCapabilities()).get("browserVersion"),
    goto: (url) => driver.get(url),
    reload: () => driver.navigate().refresh(),
    evaluate: (script, ...args) => driver.executeScript(script, ...args),
    move: (x, y) => mouse((a) => a.move({ x: Math.round(x), y: Math.round(y), origin: Origin.VIEWPORT })),
    press: () => mouse((a) => a.press()),
    release: () => mouse((a) => a.release()),
    keys: (...names) => mouse((a) => a.sendKeys(...names.map((n) => Key[n.toUpperCase()] ?? n))),
    click: (selector) => driver.findElement(By.css(selector)).click(),
    screenshot: async (file) => writeFileSync(file, await driver.takeScreenshot(), "base64"),
    close: () => driver.quit().finally(() => service.kill("SIGTERM")),
  };
}

// Firefox on a loaded machine has once failed to start at all ("Failed to launch the
// browser process: Code: 11"); it is given a second try, on a fresh profile.
async function launchFirefox(tries = 2) {
  const profile = mkdtempSync(path.join(tmpdir(), "bricketing-firefox-"));
  try {
    const browser = await puppeteer.launch({ browser: "firefox", executablePath: "/usr/bin/firefox-esr",
      headless: true, userDataDir: profile, defaultViewport: { width: 1280, height: 720 },
      extraPrefsFirefox: { "intl.accept_languages": LANGUAGES.join(","),
                           "intl.locale.requested": LANGUAGES[0] } });
    return { browser, profile };
  } catch (error) {
    rmSync(profile, { recursive: true, force: true });
    if (tries <= 1) throw error;
    console.log(`   Firefox did not start (${String(error.message).split("\n")[0]}); trying again`);
    return launchFirefox(tries - 1);
  }
}

async function startFirefox() {
  const { browser, profile } = await launchFirefox();
  const page = (await browser.pages())[0];
  // The first tab keeps the headless window's own size, less Firefox's toolbars, whose
  // height varies with the machine's theme and fonts; the flow's pictures assume 1280 x 720.
  await page.setViewport({ width: 1280, height: 720 });
  return {
    version: await browser.version(),
    goto: (url) => page.goto(url),
    reload: () => page.reload(),
    evaluate: (script, ...args) => page.evaluate(script, ...args),
    move: (x, y) => page.mouse.move(x, y),
    press: () => page.mouse.down(),
    release: () => page.mouse.up(),
    keys: async (...names) => {
      for (const name of names) await page.keyboard.press(name);
    },
    click: (selector) => page.click(selector),
    screenshot: (file) => page.screenshot({ path: file }),
    close: () => browser.close().finally(() => rmSync(profile, { recursive: true, force: true })),
  };
}

// The flow, the same for every engine.
async function flow(browser, checker, server, shots) {
  let count = 0;
  const next = (name) => path.join(shots, `${String(++count).padStart(3, "0")}-${name}.png`);
  // The canvas's own pixels until the desktop's checks on them all hold.
  const picture = (name, questions, what, accept = (...all) => all.every((a) => a === true)) =>
    waitUntil(async () => {
      const file = next(name);
      const data = await browser.evaluate(() =>
        document.getElementById("board").toDataURL("image/png").split(",")[1]);
      writeFileSync(file, data, "base64");
      return accept(...(await checker.ask({ path: file, origin: [0, 0] }, questions)));
    }, 10000, `${what} (${shots})`);
  const started = async () => {
    await waitUntil(() => browser.evaluate(() => window.bricketingPage?.firstFrameAt ?? null),
      15000, "the program's first frame");
    await picture("start", [["count", "HEADER_COLOUR", "HEADER_BOX"]], "a question in the header",
      (header) => header > 50);
  };
  // A command button, with the pointer resting on it for a few frames first.
  const pressButton = async (name) => {
    const box = await browser.evaluate(() => {
      const rect = document.getElementById("board").getBoundingClientRect();
      return { left: rect.left, top: rect.top, scale: rect.width / 800 };
    });
    const [x, y] = BUTTONS[name].map((at) => at + BUTTON_SIZE / 2);
    await browser.move(box.left + x * box.scale, box.top + y * box.scale);
    await sleep(150);
    await browser.press();
    await sleep(60);
    await browser.release();
  };
  const dialog = (kind, open = true) => waitUntil(() => browser.evaluate((wanted, shown) =>
    (document.querySelector(`dialog[data-dialog="${wanted}"][open]`) !== null) === shown,
  kind, open), 10000, `the ${kind} dialog to ${open ? "open" : "close"}`);

  await browser.goto(server.url);
  await browser.evaluate(() => localStorage.clear());
  await browser.reload();
  await started();

  await pressButton("Create Question");
  await dialog("create-question");
  await browser.keys(..."100", "Enter", "7", "Enter");
  await dialog("create-question", false);
  await browser.keys(..."10", "Enter", ..."70", "Enter", ..."30", "Enter", "4", "Enter",
    ..."27", "Enter");
  await picture("wrong-product", [["shows_header", "100 ÷ 7"],
    ["entry_row_on", 3, "AMOUNTS_COLUMN", "ENTRY_ERROR_COLOUR"]], "the wrong product 27 in red");
  await browser.keys("2", ..."28", "Enter", "2", "Enter", ..."14", "Enter");
  await picture("answer", [["shows_quotient", "= 14"], ["shows_remainder_part", " rem.2"]],
    'the answer "= 14 rem.2"');
  // A reader's words for the board: its name, the working-out above the line one
  // paragraph a line, and the line itself, the answer, as the canvas's description.
  // Then Tab from the canvas to the first command.
  const reader = await browser.evaluate(() => {
    const board = document.getElementById("board");
    return { name: board.getAttribute("aria-label"),
      lines: [...document.querySelectorAll("#board-description > p")].map((p) => p.textContent),
      line: document.getElementById(board.getAttribute("aria-describedby"))?.textContent,
      languages: navigator.languages };
  });
  expect(reader.name === "100 ÷ 7" && reader.line === "The answer is 14 remainder 2." &&
    ["Start with 100.", "10 lots of 7 is 70; 30 left.", "4 lots of 7 is 28; 2 left."]
      .every((text) => reader.lines.includes(text)) &&
    reader.languages[0] === LANGUAGES[0], `a reader is told ${JSON.stringify(reader)}`);
  await browser.keys("Tab");
  const tabbed = await browser.evaluate(() => document.activeElement.textContent);
  expect(tabbed === "New Question", `Tab from the canvas reaches "${tabbed}"`);
  console.log("   100 ÷ 7 worked by keyboard to = 14 rem.2");

  await pressButton("Settings");
  await dialog("settings");
  for (const id of [TIMES, EXPERT, OK]) await browser.click(`dialog[open] [data-control-id="${id}"]`);
  await dialog("settings", false);
  await browser.reload();
  await started();
  await pressButton("Settings");
  await dialog("settings");
  const kept = await browser.evaluate((ids) => ids.map((id) =>
    document.querySelector(`dialog[open] [data-control-id="${id}"]`).checked), [TIMES, EXPERT]);
  expect(kept.every(Boolean), `after a reload "x" and Expert are ${kept}`);
  await browser.keys("Escape");
  await dialog("settings", false);
  console.log("   settings kept over a reload");

  await pressButton("Help");
  const title = await waitUntil(() => browser.evaluate(() => {
    const help = document.querySelector(".help-panel:not([hidden]) iframe")?.contentDocument;
    return help?.readyState === "complete" && help.title;
  }), 10000, "the help page in its panel");
  expect(title === "Bricketing help", `Help shows "${title}"`);
  await sleep(300); // the page in the panel painted
  await browser.screenshot(next("help"));
  await browser.click("[data-help-close]");
  console.log("   Help opened in its panel");

  await waitUntil(() => browser.evaluate(async () =>
    !!(await navigator.serviceWorker?.getRegistration())?.active &&
    (await caches.keys()).length === 1), 30000, "the service worker to hold the site");
  await server.stop();
  await browser.reload();
  await started();
  await browser.screenshot(next("offline"));
  console.log("   started again with the server stopped");
}

async function main() {
  const site = path.resolve(option("--site", path.join(repositoryRoot, "build-web", "site")));
  const shots = path.resolve(option("--shots", path.join(repositoryRoot, "build-web", "e2e-shots")));
  const chosen = process.argv.slice(2).filter((arg, i, all) =>
    !arg.startsWith("--") && !all[i - 1]?.startsWith("--"));
  const checker = new Checker();
  let failed = 0;
  for (const engine of chosen.length ? chosen : ["webkit", "firefox"]) {
    const server = await serve(site);
    const browser = await (engine === "webkit" ? startWebKit() : startFirefox());
    const folder = path.join(shots, engine);
    rmSync(folder, { recursive: true, force: true });
    mkdirSync(folder, { recursive: true });
    const began = Date.now();
    console.log(`== ${engine} ${browser.version}`);
    try {
      await flow(browser, checker, server, folder);
      console.log(`   passed in ${((Date.now() - began) / 1000).toFixed(1)} s`);
    } catch (error) {
      failed += 1;
      console.log(`   FAILED: ${error instanceof Error ? error.stack : error}`);
    } finally {
      await browser.close();
      await server.stop();
    }
  }
  checker.close();
  process.exit(failed ? 1 : 0);
}

main();
