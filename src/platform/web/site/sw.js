// Service worker of the Bricketing page: keeps every file of the site in one cache, so
// after a single visit the drill starts and runs with no network at all.
//
// The page registers it as "sw.js?version=<build version>" from precache.json, which the
// build writes beside it with the list of every file of the site. Each build is thus a
// new worker with its own cache name, and its cache replaces the old one when it
// activates. A new build takes over at once but changes nothing on a page already
// running; the page says that a new version is ready, and the next start uses it.

const SITE_VERSION = new URL(self.location.href).searchParams.get("version") || "unversioned";
// The storage is the site's, shared by every copy of the page on it (a school may
// publish two versions in two folders): the cache's name carries this copy's folder, so
// each copy finds and drops only its own.
const CACHE_PREFIX = "bricketing " + self.registration.scope + " ";
const CACHE_NAME = CACHE_PREFIX + SITE_VERSION;

// Stores every file of the site together; one missing file fails the install and the
// previous worker and its cache stay in charge. "no-cache" asks the server whether
// each copy the browser already holds (from the visit that registered this worker) is
// still current: an unchanged file is not downloaded again, and the cache never mixes
// two builds.
async function precacheSite() {
  const list = await fetch("precache.json", { cache: "no-cache" });
  if (!list.ok) {
    throw new Error("precache.json: " + list.status);
  }
  const { files } = await list.clone().json();
  const cache = await caches.open(CACHE_NAME);
  await cache.put("precache.json", list);
  // "./" is what a visit to the site's folder asks for; the server answers index.html.
  const requests = ["./", ...files].map(
    (file) => new Request(encodeURI(file), { cache: "no-cache" }),
  );
  await cache.addAll(requests);
}

// Drops this copy's caches of earlier builds once this build's cache is complete; the
// caches of other copies on the same site, and of anything else, stay.
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

// The build list and the school's class list are asked of the network first, so a page
// controlled by this worker still learns of a newer build or a changed class; offline it
// names the build in the cache and has the class list last seen (a class list the
// server no longer has is dropped).
async function freshOrCachedResponse(request, keep) {
  try {
    const response = await fetch(request);
    if (keep) {
      const cache = await caches.open(CACHE_NAME);
      if (response.ok && response.type === "basic") {
        await cache.put(request, response.clone());
      } else if (response.status === 404) {
        await cache.delete(request, { ignoreSearch: true });
      }
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
  // The build list and the school's class list and teacher's file are asked of the
  // network first: a teacher's change must reach the pupils, and offline the last copy
  // stands.
  const { pathname } = new URL(request.url);
  const isBuildList = pathname.endsWith("/precache.json");
  const isTeachers = pathname.endsWith("/class.txt") || pathname.endsWith("/teacher.txt");
  event.respondWith(isBuildList || isTeachers ? freshOrCachedResponse(request, isTeachers)
    : cachedResponse(request));
});
