// The service worker of ぽこもじ's page: keeps a copy of the program's own
// files, so that a page opened once starts again without a network. It
// answers only for those files, from its copy first; everything else goes to
// the network untouched. tools/web_build.sh writes in the version with the
// files' checksum, and the list of files.
'use strict';

const cacheName = 'pokomoji-@POKOMOJI_VERSION@';
const files = [@POKOMOJI_FILES@];

// The folder the worker serves, and the file names it answers for.
const scope = new URL('./', self.location).href;
const kept = new Set(files.map((file) => new URL(file, scope).href));
kept.add(scope); // the folder itself is its index.html

self.addEventListener('install', (event) => {
    event.waitUntil(
        caches.open(cacheName)
            .then((cache) => cache.addAll(files))
            .then(() => self.skipWaiting()));
});

// A new version's copy replaces the old one's.
self.addEventListener('activate', (event) => {
    event.waitUntil(
        caches.keys()
            .then((names) => Promise.all(names
                .filter((name) => name.startsWith('pokomoji-') && name !== cacheName)
                .map((name) => caches.delete(name))))
            .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
    const request = event.request;
    const url = new URL(request.url);
    url.search = '';
    url.hash = '';
    if (request.method !== 'GET' || !kept.has(url.href)) {
        return;
    }
    const name = url.href === scope ? 'index.html' : url.href;
    event.respondWith(
        caches.open(cacheName)
            .then((cache) => cache.match(name))
            .then((copy) => copy || fetch(request)));
});
