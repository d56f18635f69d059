// The web page's first load as a pupil on a cheap tablet meets it: headless Chromium
// with an empty cache, the network throttled to Lighthouse's "slow 4G" (562.5 ms
// round trip, 1.6 Mbit/s down, 750 kbit/s up) and the processor slowed four times, at a
// screen with one or two device pixels per pixel. Measures, for each run, the time to
// the program's first frame on the canvas, the largest contentful paint, and the
// bytes the page downloaded. By default the site is served as Python's http.server
// sends it, uncompressed; with --compressed, as a school's server set up as README
// says sends it: gzip for every type but the pictures and the font.
// A benchmark, not a test: it prints the figures and the median of the runs.
//
//   node bench/web_first_load.mjs [site folder] [--runs 3] [--density 1|2] [--compressed]
//                                 [--timeline]
//
// --timeline prints, for each run, when each file was asked for and when it arrived.
//
// The site folder is build-web/site by default; it needs tests/web's npm packages
// (`npm ci` in tests/web).

import { readFile } from "node:fs/promises";
import { createServer } from "node:http";
import path from "node:path";
import { gzipSync } from "node:zlib";
import { launchBrowser, repositoryRoot, serve, waitUntil } from "../tests/web/harness.mjs";

const args = process.argv.slice(2);
const option = (name, fallback) => {
  const at = args.indexOf(name);
  return at >= 0 ? args.splice(at, 2)[1] : fallback;
};
const runs = Number(option("--runs", "3"));
const density = Number(option("--density", "1"));
const compressedAt = args.indexOf("--compressed");
const compressed = compressedAt >= 0 && args.splice(compressedAt, 1).length > 0;
const timelineAt = args.indexOf("--timeline");
const timeline = timelineAt >= 0 && args.splice(timelineAt, 1).length > 0;
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
  if (timeline) {
    const files = await page.evaluate(() => performance.getEntriesByType("resource").map(
      (entry) => `${entry.startTime.toFixed(0).padStart(6)} ${entry.responseEnd.toFixed(0).padStart(6)}` +
        ` ms ${String(entry.transferSize).padStart(7)} B  ${new URL(entry.name).pathname}`));
    console.log(`  asked   came       bytes  file (first frame at ${firstFrame.toFixed(0)} ms)\n  ` +
      files.join("\n  "));
  }
  await context.close();
  return { firstFrame, largestPaint, bytes, requests: files.length };
}

// Media types as a server sends them; the pictures and the font are compressed already.
const TYPES = {
  ".html": "text/html", ".js": "application/javascript", ".css": "text/css",
  ".json": "application/json", ".webmanifest": "application/manifest+json",
  ".wasm": "application/wasm", ".data": "application/octet-stream", ".txt": "text/plain",
  ".png": "image/png", ".svg": "image/svg+xml", ".woff2": "font/woff2", ".wav": "audio/wav",
  ".gz": "application/gzip",
};
const ALREADY_COMPRESSED = new Set([".png", ".woff2", ".gz"]);

// The site with gzip on, as README asks of a school's server.
async function serveCompressed(folder) {
  const gzipped = new Map();
  const server = createServer(async (request, response) => {
    const file = decodeURIComponent(new URL(request.url, "http://host").pathname);
    const where = path.join(folder, file.endsWith("/") ? `${file}index.html` : file);
    if (!where.startsWith(folder)) {
      response.writeHead(403).end();
      return;
    }
    let body;
    try {
      body = await readFile(where);
    } catch {
      response.writeHead(404).end();
      return;
    }
    const extension = path.extname(where);
    const headers = { "Content-Type": TYPES[extension] ?? "application/octet-stream" };
    if (!ALREADY_COMPRESSED.has(extension) &&
        /\bgzip\b/.test(request.headers["accept-encoding"] ?? "")) {
      if (!gzipped.has(where)) {
        gzipped.set(where, gzipSync(body, { level: 6 }));
      }
      body = gzipped.get(where);
      headers["Content-Encoding"] = "gzip";
    }
    response.writeHead(200, headers).end(body);
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    stop: () => new Promise((resolve) => server.close(resolve)),
  };
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const server = compressed ? await serveCompressed(site) : await serve(site);
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
  console.log(`median of ${runs} at ${density}x${compressed ? ", compressed" : ""}, slow 4G, processor ${CPU_SLOWDOWN}x slower: ` +
    `first frame ${(median(results.map((r) => r.firstFrame)) / 1000).toFixed(2)} s, ` +
    `largest paint ${(median(results.map((r) => r.largestPaint)) / 1000).toFixed(2)} s, ` +
    `${(median(results.map((r) => r.bytes)) / 1000).toFixed(0)} kB`);
} finally {
  await chromium.close();
  await server.stop();
}
