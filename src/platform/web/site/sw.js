// Service worker of the Bricketing page: keeps every file of the site in one cache, so
// after a single visit the drill starts and runs with no network at all.
//
// The page registers it as "sw.js?version=<build version>" from precache.json, which the
// build writes beside it with the list of every file of the site. Each build is thus a
// new worker with its own cache name, and its cache replaces the old one when it
// activates.

const SITE_VERSION = new URL(self.location.href).searchParams.get("version") || "unversioned";
const CACHE_PREFIX = "bricketing-";
const CACHE_NAME = CACHE_PREFIX + SITE_VERSION;

// Fetches every file of the site afresh (past the browser's HTTP cache, so the cache
// never mixes two builds) and stores them together; one missing file fails the install
// and the previous worker and its cache stay in charge.
async function precacheSite() {
  const list = await fetch("precache.json", { cache: "reload" });
  if (!list.ok) {
    throw new Error("precache.json: " + list.status);
  }
  const { files } = await list.json();
  const cache = await caches.open(CACHE_NAME);
  // "./" is what a visit to the site's folder asks for; the server answers index.html.
  const requests = ["./", "precache.json", ...files].map(
    (file) => new Request(encodeURI(file), { cache: "reload" }),
  );
  await cache.addAll(requests);
}

// Drops the caches of earlier builds once this build's cache is complete.
async function dropOldCaches() {
  const names = await caches.keys();
  await Promise.all(
    names
      .filter((name) => name.startsWith(CACHE_PREFIX) && name !== CACHE_NAME)
      .map((name) => caches.delete(name)),
  );
}

// Answers from the cache first. Anything the list missed is fetched and kept, so it too
// works offline from then on.
async function cachedResponse(request) {
  const cache = await caches.open(CACHE_NAME);
  const cached = await cache.match(request, { ignoreSearch: true });
  if (cached) {
    return cached;
  }
  const response = await fetch(request);
  if (response.ok && response.type === "basic") {
    await cache.put(request, response.clone());
  }
  return response;
}

// The build list is asked of the network first, so a page controlled by this worker
// still learns of a newer build; offline it names the build in the cache.
async function freshOrCachedResponse(request) {
  try {
    const response = await fetch(request);
    if (response.ok && response.type === "basic" && request.url.endsWith("/teacher.txt")) {
      const cache = await caches.open(CACHE_NAME);
      await cache.put(request, response.clone());
    }
    return response;
  } catch (error) {
    const cached = await caches.match(request, { ignoreSearch: true, cacheName: CACHE_NAME });
    if (cached) {
      return cached;
    }
    throw error;
  }
}

self.addEventListener("install", (event) => {
  event.waitUntil(precacheSite().then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(dropOldCaches().then(() => self.clients.claim()));
});

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) {
    return;
  }
  // The build list and the teacher's file are asked of the network first: a teacher's
  // change must reach the pupils, and offline the last copy stands.
  const path = new URL(request.url).pathname;
  const fresh = path.endsWith("/precache.json") || path.endsWith("/teacher.txt");
  event.respondWith(fresh ? freshOrCachedResponse(request) : cachedResponse(request));
});
