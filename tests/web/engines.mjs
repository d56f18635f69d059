// The short flow the page must pass in the other browser engines: WebKit (WebKitGTK's
// WebKitWebDriver, driven by selenium-webdriver) and Firefox ESR (puppeteer-core over
// WebDriver BiDi). In each: the first frame, 100 ÷ 7 worked by keyboard, the settings
// kept over a reload, Help opening, and the program starting again offline after one
// visit. The checks on the picture are the desktop suite's, read from the canvas.
//
// Usage: node engines.mjs [--site DIR] [--shots DIR] [webkit|firefox ...]
// WebKit needs a display (tests/web/run starts one with xvfb-run).

import { spawn } from "node:child_process";
import { mkdirSync, mkdtempSync, rmSync, writeFileSync } from "node:fs";
import net from "node:net";
import { tmpdir } from "node:os";
import path from "node:path";
import puppeteer from "puppeteer-core";
import { Builder, By, Capabilities, Key, Origin } from "selenium-webdriver";
import { BUTTONS, BUTTON_SIZE, Checker, expect, repositoryRoot, serve, sleep, waitUntil }
  from "./harness.mjs";

const MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser";
const FIREFOX = process.env.BRICKETING_FIREFOX || "/usr/bin/firefox-esr";
const SETTINGS_KEY = "bricketing.settings";
const TIMES = 1005;
const EXPERT = 1010;
const OK = 1;

function option(name, fallback) {
  const at = process.argv.indexOf(name);
  return at > 0 ? process.argv[at + 1] : fallback;
}

async function freePort() {
  const server = net.createServer();
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  const { port } = server.address();
  await new Promise((resolve) => server.close(resolve));
  return port;
}

// WebKitGTK's MiniBrowser under WebKitWebDriver, as one small driver.
async function startWebKit() {
  const port = await freePort();
  const service = spawn("WebKitWebDriver", [`--port=${port}`], { stdio: "ignore" });
  await waitUntil(() => new Promise((resolve) => {
    const socket = net.connect(port, "127.0.0.1", () => { socket.end(); resolve(true); });
    socket.on("error", () => resolve(false));
  }), 10000, "WebKitWebDriver to listen");
  const capabilities = new Capabilities();
  capabilities.set("browserName", "MiniBrowser");
  capabilities.set("webkitgtk:browserOptions", { binary: MINIBROWSER, args: ["--automation"] });
  const driver = await new Builder().usingServer(`http://127.0.0.1:${port}`)
    .withCapabilities(capabilities).build();
  await driver.manage().window().setRect({ width: 1280, height: 760 });
  const keyNames = { Enter: Key.ENTER, Escape: Key.ESCAPE };
  return {
    name: "webkit",
    version: (await driver.getCapabilities()).get("browserVersion"),
    goto: (url) => driver.get(url),
    reload: () => driver.navigate().refresh(),
    evaluate: (script, ...args) => driver.executeScript(script, ...args),
    move: (x, y) => driver.actions().move({ x: Math.round(x), y: Math.round(y),
      origin: Origin.VIEWPORT }).perform(),
    press: () => driver.actions().press().perform(),
    release: () => driver.actions().release().perform(),
    keys: (...names) => driver.actions()
      .sendKeys(...names.map((name) => keyNames[name] ?? name)).perform(),
    click: (selector) => driver.findElement(By.css(selector)).click(),
    screenshot: async (file) => writeFileSync(file, Buffer.from(await driver.takeScreenshot(), "base64")),
    async close() {
      await driver.quit().catch(() => {});
      service.kill("SIGTERM");
    },
  };
}

// Firefox ESR over WebDriver BiDi, with a profile of its own.
async function startFirefox() {
  const profile = mkdtempSync(path.join(tmpdir(), "bricketing-firefox-"));
  const browser = await puppeteer.launch({
    browser: "firefox", executablePath: FIREFOX, headless: true, userDataDir: profile,
    defaultViewport: { width: 1280, height: 720 }, protocolTimeout: 30000,
  });
  const page = (await browser.pages())[0] ?? await browser.newPage();
  return {
    name: "firefox",
    version: await browser.version(),
    goto: (url) => page.goto(url, { waitUntil: "domcontentloaded" }),
    reload: () => page.reload({ waitUntil: "domcontentloaded" }),
    evaluate: (script, ...args) => page.evaluate(script, ...args),
    move: (x, y) => page.mouse.move(x, y),
    press: () => page.mouse.down(),
    release: () => page.mouse.up(),
    async keys(...names) {
      for (const name of names) {
        if (name.length > 1) {
          await page.keyboard.press(name);
        } else {
          await page.keyboard.type(name);
        }
      }
    },
    click: (selector) => page.click(selector),
    screenshot: (file) => page.screenshot({ path: file }),
    async close() {
      await browser.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// The flow, the same for every engine.
class Flow {
  constructor(browser, checker, shots) {
    Object.assign(this, { browser, checker, shots, count: 0 });
    rmSync(shots, { recursive: true, force: true });
    mkdirSync(shots, { recursive: true });
  }

  next(name) {
    this.count += 1;
    return path.join(this.shots, `${String(this.count).padStart(3, "0")}-${name}.png`);
  }

  // The canvas's own pixels, checked as the desktop's picture.
  async picture(name, questions) {
    const file = this.next(name);
    const data = await this.browser.evaluate(() =>
      document.getElementById("board").toDataURL("image/png").split(",")[1]);
    writeFileSync(file, Buffer.from(data, "base64"));
    return this.checker.ask({ path: file, origin: [0, 0] }, questions);
  }

  async waitForPicture(name, questions, accept, what) {
    return waitUntil(async () => accept(...(await this.picture(name, questions))), 10000,
      `${what} (${this.shots})`);
  }

  async firstFrame() {
    await waitUntil(() => this.browser.evaluate(() =>
      window.bricketingPage?.firstFrameAt ?? null), 15000, "the program's first frame");
    return this.waitForPicture("start", [["count", "HEADER_COLOUR", "HEADER_BOX"]],
      (header) => header > 50, "a question in the header");
  }

  // A command button pressed with the pointer, which rests on it for a few frames first.
  async pressButton(name) {
    const [left, top] = BUTTONS[name];
    const box = await this.browser.evaluate(() => {
      const rect = document.getElementById("board").getBoundingClientRect();
      return { left: rect.left, top: rect.top, scale: rect.width / 800 };
    });
    await this.browser.move(box.left + (left + BUTTON_SIZE / 2) * box.scale,
      box.top + (top + BUTTON_SIZE / 2) * box.scale);
    await sleep(150);
    await this.browser.press();
    await sleep(60);
    await this.browser.release();
  }

  async waitForDialog(kind, open = true) {
    await waitUntil(() => this.browser.evaluate((wanted, shown) =>
      (document.querySelector(`dialog[data-dialog="${wanted}"][open]`) !== null) === shown,
    kind, open), 10000, `the ${kind} dialog to ${open ? "open" : "close"}`);
  }

  async workByKeyboard() {
    await this.pressButton("Create Question");
    await this.waitForDialog("create-question");
    await this.browser.keys("1", "0", "0", "Enter", "7", "Enter");
    await this.waitForDialog("create-question", false);
    await this.waitForPicture("question", [["shows_header", "100 ÷ 7"]], (shown) => shown,
      'the header "100 ÷ 7"');
    await this.browser.keys("1", "0", "Enter", "7", "0", "Enter", "3", "0", "Enter", "4",
      "Enter", "2", "7", "Enter");
    await this.waitForPicture("wrong-product", [["entry_error_pixels"]], (error) => error > 40,
      "the wrong product 27 in the error colour");
    await this.browser.keys("2", "2", "8", "Enter", "2", "Enter", "1", "4", "Enter");
    await this.waitForPicture("answer", [["shows_quotient", "= 14"],
      ["shows_remainder_part", " rem.2"]], (quotient, remainder) => quotient && remainder,
    'the answer "= 14 rem.2"');
  }

  async settingsOverReload() {
    await this.pressButton("Settings");
    await this.waitForDialog("settings");
    await this.browser.click(`dialog[open] [data-control-id="${TIMES}"]`);
    await this.browser.click(`dialog[open] [data-control-id="${EXPERT}"]`);
    await this.browser.click(`dialog[open] [data-control-id="${OK}"]`);
    await this.waitForDialog("settings", false);
    const stored = await this.browser.evaluate((key) => localStorage.getItem(key), SETTINGS_KEY);
    expect(/DISPLAY:TIMES/.test(stored) && /DIFFICULTY:EXPERT/.test(stored),
      `local storage holds ${JSON.stringify(stored)}`);
    await this.browser.reload();
    await this.firstFrame();
    await this.pressButton("Settings");
    await this.waitForDialog("settings");
    const kept = await this.browser.evaluate((times, expert) => [times, expert].map((id) =>
      document.querySelector(`dialog[open] [data-control-id="${id}"]`).checked), TIMES, EXPERT);
    await this.browser.screenshot(this.next("settings-reloaded"));
    expect(kept[0] && kept[1], `after a reload "x" and Expert are ${kept}`);
    await this.browser.keys("Escape");
    await this.waitForDialog("settings", false);
  }

  async help() {
    await this.pressButton("Help");
    const title = await waitUntil(() => this.browser.evaluate(() => {
      const frame = document.querySelector(".help-panel:not([hidden]) iframe");
      return frame?.contentDocument?.readyState === "complete" && frame.contentDocument.title;
    }), 10000, "the help page in its panel");
    await sleep(300);  // the page in the panel painted
    await this.browser.screenshot(this.next("help"));
    expect(title === "Bricketing help", `Help shows "${title}"`);
    await this.browser.click("[data-help-close]");
  }

  // The service worker has the site after one visit: without the server the page loads
  // and the program draws its first frame.
  async offline(server) {
    await waitUntil(() => this.browser.evaluate(async () => {
      const registration = await navigator.serviceWorker?.getRegistration();
      const names = await caches.keys();
      return !!registration?.active && names.length === 1;
    }), 15000, "the service worker to hold the site");
    await server.stop();
    await this.browser.reload();
    await this.firstFrame();
    await this.browser.screenshot(this.next("offline"));
  }
}

async function runEngine(name, site, shots, checker) {
  const server = await serve(site);
  const browser = await (name === "webkit" ? startWebKit() : startFirefox());
  const began = Date.now();
  try {
    console.log(`== ${name} ${browser.version}`);
    const flow = new Flow(browser, checker, path.join(shots, name));
    await browser.goto(server.url);
    await browser.evaluate(() => localStorage.clear());
    await browser.reload();
    await flow.firstFrame();
    console.log("   first frame");
    await flow.workByKeyboard();
    console.log("   100 ÷ 7 worked by keyboard to = 14 rem.2");
    await flow.settingsOverReload();
    console.log("   settings kept over a reload");
    await flow.help();
    console.log("   Help opened in its panel");
    await flow.offline(server);
    console.log("   started again with the server stopped");
    console.log(`   passed in ${((Date.now() - began) / 1000).toFixed(1)} s`);
    return true;
  } catch (error) {
    console.log(`   FAILED: ${error instanceof Error ? error.stack : error}`);
    return false;
  } finally {
    await browser.close();
    await server.stop();
  }
}

async function main() {
  const site = path.resolve(option("--site", path.join(repositoryRoot, "build-web", "site")));
  const shots = path.resolve(option("--shots", path.join(repositoryRoot, "build-web", "e2e-shots")));
  const chosen = process.argv.slice(2).filter((arg, i, all) =>
    !arg.startsWith("--") && !all[i - 1]?.startsWith("--"));
  const engines = chosen.length ? chosen : ["webkit", "firefox"];
  const checker = new Checker();
  let failed = 0;
  for (const engine of engines) {
    if (!(await runEngine(engine, site, shots, checker))) {
      failed += 1;
    }
  }
  checker.close();
  console.log(`${engines.length - failed} of ${engines.length} engines passed the flow`);
  process.exit(failed ? 1 : 0);
}

main();
