// The web page's first load as a pupil on a cheap tablet meets it: headless Chromium
// with an empty cache, the network throttled to Lighthouse's "slow 4G" (562.5 ms
// round trip, 1.6 Mbit/s down, 750 kbit/s up) and the processor slowed four times, at a
// screen with one or two device pixels per pixel. Measures, for each run, the time to
// the program's first frame on the canvas, the largest contentful paint, and the
// bytes the page downloaded (the body sizes, as an uncompressing server sends them).
// A benchmark, not a test: it prints the figures and the median of the runs.
//
//   node bench/web_first_load.mjs [site folder] [--runs 3] [--density 1|2]
//
// The site folder is build-web/site by default; it needs tests/web's npm packages
// (`npm ci` in tests/web).

import path from "node:path";
import { launchBrowser, repositoryRoot, serve, waitUntil } from "../tests/web/harness.mjs";

const args = process.argv.slice(2);
const option = (name, fallback) => {
  const at = args.indexOf(name);
  return at >= 0 ? args.splice(at, 2)[1] : fallback;
};
const runs = Number(option("--runs", "3"));
const density = Number(option("--density", "1"));
const site = path.resolve(args[0] ?? path.join(repositoryRoot, "build-web", "site"));

const SLOW_4G = {
  offline: false,
  latency: 562.5,
  downloadThroughput: (1.6 * 1024 * 1024 * 0.9) / 8,
  uploadThroughput: (750 * 1024 * 0.9) / 8,
};
const CPU_SLOWDOWN = 4;

async function firstLoad(browser, url) {
  // A context of its own: an empty cache and no service worker from an earlier run.
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 1024, height: 700, deviceScaleFactor: density });
  const devtools = await page.createCDPSession();
  await devtools.send("Network.enable");
  await devtools.send("Network.setCacheDisabled", { cacheDisabled: true });
  await devtools.send("Network.emulateNetworkConditions", SLOW_4G);
  await devtools.send("Emulation.setCPUThrottlingRate", { rate: CPU_SLOWDOWN });
  let bytes = 0;
  const files = [];
  devtools.on("Network.loadingFinished", (event) => {
    bytes += event.encodedDataLength;
  });
  devtools.on("Network.responseReceived", (event) => files.push(event.response.url));
  await page.evaluateOnNewDocument(() => {
    window.largestPaint = 0;
    new PerformanceObserver((list) => {
      for (const entry of list.getEntries()) {
        window.largestPaint = entry.startTime;
      }
    }).observe({ type: "largest-contentful-paint", buffered: true });
  });
  await page.goto(url, { waitUntil: "domcontentloaded" });
  const firstFrame = await waitUntil(
    () => page.evaluate(() => window.bricketingPage?.firstFrameAt ?? null),
    120000, "the first frame");
  // The largest paint is final at the first input; a click away from the program
  // closes it without pressing anything.
  await page.mouse.click(2, 2);
  const largestPaint = await page.evaluate(() => window.largestPaint);
  await context.close();
  return { firstFrame, largestPaint, bytes, requests: files.length };
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const server = await serve(site);
const chromium = await launchBrowser();
try {
  const results = [];
  for (let run = 0; run < runs; run += 1) {
    const result = await firstLoad(chromium.browser, server.url);
    results.push(result);
    console.log(`run ${run + 1}: first frame ${(result.firstFrame / 1000).toFixed(2)} s, ` +
      `largest paint ${(result.largestPaint / 1000).toFixed(2)} s, ` +
      `${(result.bytes / 1000).toFixed(0)} kB in ${result.requests} requests`);
  }
  console.log(`median of ${runs} at ${density}x, slow 4G, processor ${CPU_SLOWDOWN}x slower: ` +
    `first frame ${(median(results.map((r) => r.firstFrame)) / 1000).toFixed(2)} s, ` +
    `largest paint ${(median(results.map((r) => r.largestPaint)) / 1000).toFixed(2)} s, ` +
    `${(median(results.map((r) => r.bytes)) / 1000).toFixed(0)} kB`);
} finally {
  await chromium.close();
  await server.stop();
}
