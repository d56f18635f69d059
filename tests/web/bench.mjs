// The browser frame benchmark: in headless Chromium, the page's program times update +
// draw of the lesson panel (onto an off-screen canvas) for a fresh 9999 ÷ 2 and for
// 9999 ÷ 2 after 4,999 steps scrolled to its end, in batches of frames each ended by a
// pixel read-back; this prints the milliseconds per frame of both and their ratio. A
// first, shorter run warms the page's compiled code up and is not counted.
//
// Usage: node bench.mjs [--site build-web/site] [--batches 100] [--batch-frames 10]

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

function line(name, s) {
  return `${name.padEnd(28)} median ${s.median.toFixed(3)} ms  mean ${s.mean.toFixed(3)} ms  ` +
    `p95 ${s.p95.toFixed(3)} ms  min ${s.min.toFixed(3)} ms  per frame (${s.batches} batches)`;
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
  } finally {
    await chromium.close();
    await server.stop();
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
