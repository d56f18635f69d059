// What the web suite and the frame benchmark share: the site served on 127.0.0.1 by
// Python's http.server, headless Chromium with a fresh profile, the screenshot checker
// (checks.py, the desktop suite's own checks) and the program's page as a pupil meets
// it, with every look saved as a numbered screenshot.

import { spawn } from "node:child_process";
import { mkdirSync, mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import path from "node:path";
import { createInterface } from "node:readline";
import { fileURLToPath } from "node:url";
import { AxePuppeteer } from "@axe-core/puppeteer";
import puppeteer from "puppeteer-core";

const here = path.dirname(fileURLToPath(import.meta.url));
export const repositoryRoot = path.resolve(here, "..", "..");

export const CHROMIUM = process.env.BRICKETING_CHROMIUM || "/usr/bin/chromium";
const POLL_MS = 50;

export class Failure extends Error {}

export function expect(condition, message) {
  if (!condition) {
    throw new Failure(message);
  }
}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Polls condition() until it gives something true and returns that; fails after
// timeoutMs, saying what was awaited (`what` may be a function that tells it then).
export async function waitUntil(condition, timeoutMs, what) {
  const deadline = Date.now() + timeoutMs;
  for (;;) {
    const result = await condition();
    if (result) {
      return result;
    }
    if (Date.now() >= deadline) {
      const awaited = typeof what === "function" ? await what() : what;
      throw new Failure(`timed out after ${timeoutMs / 1000} s waiting for ${awaited}`);
    }
    await sleep(POLL_MS);
  }
}

// Python's http.server on 127.0.0.1, serving one folder on the given port (a free one
// by default); stop() ends it.
export async function serve(folder, port = 0) {
  const server = spawn(
    "python3",
    ["-u", "-m", "http.server", "--bind", "127.0.0.1", "--directory", folder, String(port)],
    { stdio: ["ignore", "pipe", "pipe"] },
  );
  const served = await new Promise((resolve, reject) => {
    const lines = createInterface({ input: server.stdout });
    lines.on("line", (line) => {
      const found = /port (\d+)/.exec(line);
      if (found) {
        resolve(Number(found[1]));
      }
    });
    server.on("exit", (code) => reject(new Error(`http.server ended with ${code}`)));
    setTimeout(() => reject(new Error("http.server did not start in 10 s")), 10000);
  });
  // The request log, as path and status: what a visit downloaded.
  const requests = [];
  createInterface({ input: server.stderr }).on("line", (line) => {
    const found = /"GET (\S+) HTTP\/[\d.]+" (\d+)/.exec(line);
    if (found) {
      requests.push({ path: found[1], status: Number(found[2]) });
    }
  });
  const stopped = new Promise((resolve) => server.on("exit", resolve));
  return {
    url: `http://127.0.0.1:${served}/`,
    port: served,
    requests,
    async stop() {
      if (server.exitCode === null && server.signalCode === null) {
        server.kill("SIGTERM");
      }
      await stopped;
    },
  };
}

// Headless Chromium with a profile of its own, removed again by close().
export async function launchBrowser() {
  const profile = mkdtempSync(path.join(tmpdir(), "bricketing-web-profile-"));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    args: [
      "--headless=new",
      "--no-sandbox",
      "--disable-gpu",
      "--disable-quic",
      "--no-first-run",
      "--disable-background-networking",
      "--disable-component-update",
      "--disable-sync",
      `--user-data-dir=${profile}`,
    ],
    defaultViewport: { width: 1280, height: 720, deviceScaleFactor: 1 },
    protocolTimeout: 30000,
  });
  return {
    browser,
    async close() {
      await browser.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// The long-running checks.py, asked one question list per screenshot.
export class Checker {
  constructor() {
    this.process = spawn("python3", ["-B", path.join(here, "checks.py")], {
      stdio: ["pipe", "pipe", "inherit"],
    });
    this.pending = [];
    createInterface({ input: this.process.stdout }).on("line", (line) => {
      const waiting = this.pending.shift();
      if (waiting) {
        waiting(JSON.parse(line));
      }
    });
  }

  async ask(shot, questions) {
    const reply = await new Promise((resolve) => {
      this.pending.push(resolve);
      this.process.stdin.write(
        JSON.stringify({ shot: shot.path, origin: shot.origin, ask: questions }) + "\n",
      );
    });
    if (reply.error) {
      throw new Error(`checks.py failed on ${shot.path}:\n${reply.error}`);
    }
    return reply.answers;
  }

  close() {
    this.process.stdin.end();
  }
}

// The buttons' top-left corners and size, as the desktop suite has them.
export const BUTTON_SIZE = 75;
export const BUTTONS = {
  "New Question": [525, 250],
  "Create Question": [603, 250],
  "Restart Question": [681, 250],
  Settings: [525, 328],
  Help: [603, 328],
  Exit: [681, 328],
};
export const AWAY_FROM_BUTTONS = [240, 500];

// The page with the program in it, as the pupil meets it.
export class Lesson {
  constructor(page, checker, shots, stages = { count: 0 }) {
    this.page = page;
    this.checker = checker;
    this.shots = shots;
    this.stages = stages;
    this.started = Date.now();
    mkdirSync(shots, { recursive: true });
  }

  // Where the canvas's top-left corner is in the page, in CSS pixels.
  async origin() {
    return this.page.evaluate(() => {
      const box = document.getElementById("board").getBoundingClientRect();
      return [Math.round(box.left), Math.round(box.top)];
    });
  }

  stagePath(name) {
    this.stages.count += 1;
    const file = `${String(this.stages.count).padStart(3, "0")}-${name}.png`;
    console.log(`${((Date.now() - this.started) / 1000).toFixed(1).padStart(6)} s  ${file}`);
    return path.join(this.shots, file);
  }

  // With `pictureShots` set (a scaled picture), the checks read the canvas's own
  // pixels instead of the page's; they need one canvas pixel per picture pixel.
  async screenshot(file) {
    if (this.pictureShots) {
      const data = await this.page.evaluate(() =>
        document.getElementById("board").toDataURL("image/png").split(",")[1]);
      writeFileSync(file, Buffer.from(data, "base64"));
      return { path: file, origin: [0, 0] };
    }
    await this.page.screenshot({ path: file, type: "png" });
    return { path: file, origin: await this.origin() };
  }

  // The whole visible page as the pupil sees it, saved as the next stage.
  async lookAtPage(name) {
    const file = this.stagePath(name);
    await this.page.screenshot({ path: file, type: "png" });
    return file;
  }

  // The canvas's place and size on the page and the pixels of its backing store.
  async canvasBox() {
    return this.page.evaluate(() => {
      const board = document.getElementById("board");
      const box = board.getBoundingClientRect();
      return { left: box.left, top: box.top, width: box.width, height: box.height,
        right: box.right, bottom: box.bottom, backing: [board.width, board.height] };
    });
  }

  // A tap at a point of the picture (picture pixels), by touch alone.
  async tap(x, y) {
    const box = await this.canvasBox();
    await this.page.touchscreen.tap(box.left + (x * box.width) / 800,
      box.top + (y * box.height) / 600);
  }

  async tapButton(name) {
    const [left, top] = BUTTONS[name];
    await this.tap(left + BUTTON_SIZE / 2, top + BUTTON_SIZE / 2);
  }

  // Taps number pad keys: digits, "Enter", "Backspace", "direction".
  async tapPad(...names) {
    for (const name of names) {
      const code = /^[0-9]$/.test(name) ? `Digit${name}` : name === "direction" ? "Space" : name;
      const key = await this.page.$(`.pad-key[data-pad-key="${code}"]`);
      expect(key !== null, `the number pad has no key ${name}`);
      await key.tap();
      await sleep(30);
    }
  }

  async tapControl(kind, id) {
    const control = await this.page.$(
      `dialog.bricketing-dialog[data-dialog="${kind}"][open] [data-control-id="${id}"]`,
    );
    expect(control !== null, `the ${kind} dialog has no control ${id}`);
    await control.tap();
  }

  // Waits for the help panel and the page in it; gives the page's title and address.
  async waitForHelp() {
    await this.page.waitForSelector(".help-panel:not([hidden])", { timeout: 10000 });
    return waitUntil(() => this.page.evaluate(() => {
      const frame = document.querySelector(".help-panel:not([hidden]) iframe");
      const help = frame?.contentDocument;
      return help && help.readyState === "complete" && help.title
        ? { title: help.title, url: frame.contentWindow.location.href } : null;
    }), 10000, "the help page in its panel");
  }

  // A screenshot saved as the next stage.
  async look(name) {
    return this.screenshot(this.stagePath(name));
  }

  // Screenshots, saved as the next stage, until the checks on one satisfy `accept`
  // (given the answers); that one stays on disk (or the last, when the wait failed).
  async waitForLook(name, questions, accept, what, timeoutMs = 10000) {
    const file = this.stagePath(name);
    let latest = null;
    await waitUntil(
      async () => {
        const shot = await this.screenshot(file);
        const answers = await this.checker.ask(shot, questions);
        latest = { shot, answers };
        return accept(...answers);
      },
      timeoutMs,
      `${what} (see ${file})`,
    );
    return latest;
  }

  async ask(shot, questions) {
    return this.checker.ask(shot, questions);
  }

  // Pointer, in canvas pixels.
  async moveTo(x, y) {
    const [left, top] = await this.origin();
    await this.page.mouse.move(left + x, top + y);
  }

  // Puts the pointer on a button and waits for its caption (in the page's language),
  // which also proves a frame has seen the pointer there (a press is only taken by a
  // button already under it).
  async hoverButton(name, caption = name) {
    const [left, top] = BUTTONS[name];
    await this.moveTo(left + BUTTON_SIZE / 2, top + BUTTON_SIZE / 2);
    return this.waitForLook(
      "hover-" + name.toLowerCase().replace(/ /g, "-"),
      [["shows_caption", caption]],
      (shown) => shown,
      `the caption "${caption}"`,
    );
  }

  async pressButton(name, caption = name) {
    await this.hoverButton(name, caption);
    await this.page.mouse.down();
    await sleep(60);
    await this.page.mouse.up();
  }

  // Presses a command button and waits for the dialog it opens.
  async openDialog(button, kind, caption = button) {
    await this.pressButton(button, caption);
    return this.waitForDialog(kind);
  }

  async waitForDialog(kind) {
    const selector = `dialog.bricketing-dialog[data-dialog="${kind}"][open]`;
    await this.page.waitForSelector(selector, { timeout: 10000 });
    return selector;
  }

  async waitUntilClosed(kind) {
    await this.page.waitForSelector(`dialog.bricketing-dialog[data-dialog="${kind}"][open]`, {
      hidden: true,
      timeout: 10000,
    });
  }

  async dialogShown(kind) {
    return (await this.page.$(`dialog.bricketing-dialog[data-dialog="${kind}"][open]`)) !== null;
  }

  // The caption and message of the open message box.
  async messageBox() {
    const selector = await this.waitForDialog("message-box");
    return this.page.$eval(selector, (box) => ({
      caption: box.querySelector(".caption")?.textContent ?? "",
      text: box.querySelector(".message-text")?.textContent ?? "",
      buttons: [...box.querySelectorAll("button[data-control-id]")].map((button) => ({
        id: button.dataset.controlId,
        text: button.textContent,
        isDefault: button.classList.contains("default-button"),
      })),
    }));
  }

  // Clicks a dialog control with the mouse, in the middle of the element that bears
  // the control id (for a radio button or check box, its box).
  async clickControl(kind, id) {
    const control = await this.page.$(
      `dialog.bricketing-dialog[data-dialog="${kind}"][open] [data-control-id="${id}"]`,
    );
    expect(control !== null, `the ${kind} dialog has no control ${id}`);
    await control.click();
  }

  async controlState(kind, id) {
    return this.page.$eval(
      `dialog.bricketing-dialog[data-dialog="${kind}"][open] [data-control-id="${id}"]`,
      (control) => ({ checked: control.checked, value: control.value, disabled: control.disabled,
        focused: control === document.activeElement }),
    );
  }

  // Keyboard: names as puppeteer's (Digit4, Enter, Escape...); single characters are
  // typed as their keys.
  async keys(...names) {
    for (const name of names) {
      await this.page.keyboard.press(/^[0-9]$/.test(name) ? `Digit${name}` : name);
      await sleep(30);
    }
  }

  async enterNumber(number) {
    await this.keys(...String(number), "Enter");
  }

  // axe-core on the whole page as it is now: every finding is printed, and a critical
  // or serious one fails.
  async expectNoGraveAxeFindings(where) {
    const { violations } = await new AxePuppeteer(this.page).analyze();
    for (const v of violations) {
      console.log(`  axe, ${where}: ${v.impact} ${v.id} at ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
    }
    const grave = violations.filter((v) => v.impact === "critical" || v.impact === "serious");
    expect(grave.length === 0,
      `axe-core finds ${grave.map((v) => `${v.impact} "${v.help}"`).join(", ")} ${where}`);
  }

  // Chromium's accessibility tree, as a screen reader is given it.
  async readerView() {
    this.devtools ??= await this.page.createCDPSession();
    const { nodes } = await this.devtools.send("Accessibility.getFullAXTree");
    return new ReaderView(nodes);
  }

  // Passes of the frame loop: they go on at rest, when no frame is presented.
  async loopPasses() {
    return this.page.evaluate(() => window.bricketingPage?.module?.loopPasses ?? 0);
  }
}

// The accessibility tree's nodes that a reader is not told to skip, found by role and
// name, with the text of everything below a node.
export class ReaderView {
  constructor(nodes) {
    this.byId = new Map(nodes.map((node) => [node.nodeId, node]));
    this.nodes = nodes.filter((node) => !node.ignored);
  }

  // name: the exact name, a pattern it matches, or null for any.
  find(role, name = null) {
    const named = (text) => name === null || (name instanceof RegExp ? name.test(text) : text === name);
    return this.nodes.find((node) => node.role?.value === role && named(node.name?.value ?? "")) ?? null;
  }

  textUnder(node) {
    const texts = [];
    const visit = (id) => {
      const child = this.byId.get(id);
      if (child?.role?.value === "StaticText" && !child.ignored) {
        texts.push(child.name?.value ?? "");
      }
      (child?.childIds ?? []).forEach(visit);
    };
    (node?.childIds ?? []).forEach(visit);
    return texts.join(" ");
  }
}
