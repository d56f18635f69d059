// The browser frame benchmark: in headless Chromium, the page's program times update +
// draw of the lesson panel (onto an off-screen canvas) for a fresh 9999 ÷ 2 and for
// 9999 ÷ 2 after 4,999 steps scrolled to its end, in batches of frames each ended by a
// pixel read-back; this prints the milliseconds per frame of both and their ratio. A
// first, shorter run warms the page's compiled code up and is not counted. Then the cost
// of one typed key on the page itself (program, drawing, and the browser's style, layout
// and paint), on a fresh 9999 ÷ 2 and after 4,999 steps of it: Chromium's own count of
// main-thread task time, per key, over digits and Backspaces typed in turn.
//
// Usage: node bench.mjs [--site build-web/site] [--batches 100] [--batch-frames 10] [--keys 40] [--steps 4999]

import path from "node:path";
import { launchBrowser, repositoryRoot, serve, waitUntil } from "./harness.mjs";

function option(name, fallback) {
  const at = process.argv.indexOf(name);
  return at > 0 ? process.argv[at + 1] : fallback;
}

function summary(times) {
  const sorted = [...times].sort((a, b) => a - b);
  const at = (share) => sorted[Math.min(sorted.length - 1, Math.floor(share * sorted.length))];
  const mean = times.reduce((sum, t) => sum + t, 0) / times.length;
  return { batches: times.length, mean, median: at(0.5), p95: at(0.95), min: sorted[0] };
}

function line(name, s, per = "frame") {
  return `${name.padEnd(28)} median ${s.median.toFixed(3)} ms  mean ${s.mean.toFixed(3)} ms  ` +
    `p95 ${s.p95.toFixed(3)} ms  min ${s.min.toFixed(3)} ms  per ${per} (${s.batches} ${per === "frame" ? "batches" : "keys"})`;
}

const KEY_SETTINGS = [
  'DISPLAY:LOTSOF // LOTSOF for "lots of" or TIMES for "x"; changes display in working out',
  "AUTOPRODUCT:ON // ON or OFF; if on, calculates products for each multiple automatically",
  "AUTOREMAINDER:ON // ON or OFF; if on, calculates the remainder each time automatically",
  "DIFFICULTY:EXPERT // BEGINNER, NOVICE, INTERMEDIATE, ADVANCED, EXPERT",
].join("\n");

// Main-thread task milliseconds per key, typing a digit and taking it back `keys` times;
// each key waits for its frame and for the browser's next two frames after it.
async function keyCost(page, devtools, keys) {
  const taskMs = async () => (await devtools.send("Performance.getMetrics")).metrics
    .find((metric) => metric.name === "TaskDuration").value * 1000;
  const frames = () => page.evaluate(() => window.bricketingPage.module.frameCount);
  const settle = () => page.evaluate(() => new Promise((done) =>
    requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(done, 30)))));
  const costs = [];
  for (let key = 0; key < keys; key += 1) {
    const before = await frames();
    await settle();
    const start = await taskMs();
    await page.keyboard.press(key % 2 ? "Backspace" : "Digit5");
    await waitUntil(async () => (await frames()) > before, 10000, "the key's frame");
    await settle();
    costs.push((await taskMs()) - start);
  }
  return costs;
}

// 9999 ÷ 2 made through Create Question (F3 put straight into the program's queue, as
// the browser keeps the key itself) and, with `steps`, that many steps of one lot each
// (the product and remainder given by the settings), queued at once.
async function longQuestion(page, steps) {
  await page.evaluate(() => window.bricketingPage.module.web.push({ kind: "key", code: "F3", key: "F3" }));
  await page.waitForSelector('dialog[data-dialog="create-question"][open]', { timeout: 10000 });
  await page.keyboard.type("9999");
  await page.keyboard.press("Enter");
  await page.keyboard.type("2");
  await page.keyboard.press("Enter");
  await page.waitForSelector('dialog[data-dialog="create-question"][open]', { hidden: true, timeout: 10000 });
  // In batches, so the page answers in between.
  const lines = () => page.evaluate(() => document.querySelectorAll("#board-description p").length);
  for (let done = 0; done < steps; done += 100) {
    await page.evaluate((count) => {
      const web = window.bricketingPage.module.web;
      for (let step = 0; step < count; step += 1) {
        web.push({ kind: "key", code: "Digit1", key: "1" });
        web.push({ kind: "key", code: "Enter", key: "Enter" });
      }
    }, Math.min(100, steps - done));
    const due = Math.min(steps, done + 100);
    await waitUntil(async () => (await lines()) > due, 120000, `${due} steps of 9999 ÷ 2`);
  }
  // The practice record keeps a row per step; the keys are timed once those thousands
  // of rows are written, so that what is counted is the keys' own work.
  await page.evaluate(() => window.bricketingPage.module.web.recordWritten?.());
}

async function keyBench(chromium, server, keys, steps) {
  const page = await chromium.browser.newPage();
  await page.goto(server.url, { waitUntil: "domcontentloaded" });
  await page.evaluate((text) => localStorage.setItem("bricketing.settings", text), KEY_SETTINGS);
  await page.reload({ waitUntil: "domcontentloaded" });
  await waitUntil(() => page.evaluate(() => window.bricketingPage?.firstFrameAt ?? null),
    10000, "the program's first frame");
  const devtools = await page.createCDPSession();
  await devtools.send("Performance.enable");
  await longQuestion(page, 0);
  await page.focus("#board");
  const fresh = summary(await keyCost(page, devtools, keys));
  const began = Date.now();
  await longQuestion(page, steps);
  const setUp = (Date.now() - began) / 1000;
  await page.focus("#board");
  const long = summary(await keyCost(page, devtools, keys));
  console.log(`main-thread task time per typed key, ${keys} keys (${steps} steps queued in ${setUp.toFixed(1)} s)`);
  console.log(line("key on a fresh 9999 ÷ 2", fresh, "key"));
  console.log(line(`key after ${steps} steps`, long, "key"));
  await page.close();
  return { fresh, long };
}

async function main() {
  const site = path.resolve(option("--site", path.join(repositoryRoot, "build-web", "site")));
  const batches = Number(option("--batches", "100"));
  const batchFrames = Number(option("--batch-frames", "10"));
  const server = await serve(site);
  const chromium = await launchBrowser();
  try {
    const page = await chromium.browser.newPage();
    await page.goto(server.url, { waitUntil: "domcontentloaded" });
    await waitUntil(() => page.evaluate(() => window.bricketingPage?.firstFrameAt ?? null),
      10000, "the program's first frame");
    const run = (count, size) => page.evaluate(
      (n, m) => window.bricketingPage.module.benchmarkFrames(n, m), count, size);
    await run(Math.max(1, batches / 5), batchFrames);
    const result = await run(batches, batchFrames);
    const fresh = summary(result.freshMs);
    const long = summary(result.longMs);
    console.log(`update + draw per frame, ${batches} batches of ${batchFrames} frames, ` +
      `${await page.evaluate(() => navigator.userAgent.match(/Chrome\/[\d.]+/)?.[0])}`);
    console.log(line("fresh 9999 ÷ 2", fresh));
    console.log(line("9999 ÷ 2 after 4,999 steps", long));
    console.log(`ratio (after 4,999 steps / fresh): median ${(long.median / fresh.median).toFixed(2)}, ` +
      `mean ${(long.mean / fresh.mean).toFixed(2)}`);
    await keyBench(chromium, server, Number(option("--keys", "40")), Number(option("--steps", "4999")));
  } finally {
    await chromium.close();
    await server.stop();
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
