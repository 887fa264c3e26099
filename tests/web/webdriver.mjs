// WebKit, the engine of Safari on iPads and iPhones, for check.mjs: Debian's
// WebKitGTK MiniBrowser driven through WebKitWebDriver (webkit2gtk-driver)
// behind the part of puppeteer's API that the check uses. Each page is a
// browser of its own with a driver of its own. Its device pixel ratio is the
// display's scale (GDK_SCALE), fixed when the browser starts, so a page is
// started when its viewport is set. WebKitGTK without a touch screen sends
// no touch events, so taps are not checked here. Requests are read from the page's resource timing and
// console messages from a hook set once the page has loaded, since
// WebDriver reports neither.

import {execFileSync, spawn} from 'node:child_process';

const MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const KEYS = {Enter: '\uE007', Escape: '\uE00C', Tab: '\uE004', Space: ' '};
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// A WebKitWebDriver for a page: it drives one browser at a time.
const drivers = [];
async function startDriver(ratio) {
    const port = 4470 + drivers.length;
    drivers.push(spawn('/usr/bin/WebKitWebDriver', [`--port=${port}`],
        {env: {...process.env, GDK_SCALE: String(ratio)}, stdio: 'ignore'}));
    await sleep(1000);
    return `http://127.0.0.1:${port}`;
}

async function call(base, method, path, body) {
    const response = await fetch(base + path, {method, headers: {'Content-Type': 'application/json'},
        body: body === undefined ? undefined : JSON.stringify(body)});
    const {value} = await response.json();
    if (!response.ok) {
        throw new Error(`WebDriver ${method} ${path}: ${value && value.message}`);
    }
    return value;
}

class Page {
    handlers = {console: [], pageerror: [], request: []};
    seen = new Set();
    mouse = {click: (x, y) => this.pointer('mouse', x, y)};
    touchscreen = {tap: (x, y) => this.pointer('touch', x, y)};
    keyboard = {press: (key) => this.actions([{type: 'key', id: 'keys', actions: [
        {type: 'keyDown', value: KEYS[key] || key}, {type: 'keyUp', value: KEYS[key] || key}]}])};

    on(event, handler) {
        this.handlers[event].push(handler);
    }
    session(method, path, body) {
        return call(this.base, method, `/session/${this.id}${path}`, body);
    }
    async setViewport({width, height, deviceScaleFactor = 1}) {
        if (!this.id) {
            this.base = await startDriver(deviceScaleFactor);
            this.id = (await call(this.base, 'POST', '/session', {capabilities: {alwaysMatch: {
                'webkitgtk:browserOptions': {binary: MINIBROWSER, args: ['--automation']}}}})).sessionId;
        }
        // The window's size less its toolbar and edges is the viewport.
        // The page takes the new size a moment after the window.
        let inner = [];
        for (let attempt = 0; attempt < 5; ++attempt) {
            inner = await this.evaluate(() => [innerWidth, innerHeight]);
            if (inner[0] === width && inner[1] === height) {
                return;
            }
            const rect = await this.session('GET', '/window/rect');
            await this.session('POST', '/window/rect',
                {width: rect.width + width - inner[0], height: rect.height + height - inner[1]});
            await sleep(500);
        }
        throw new Error(`the viewport stays ${inner.join('x')}, not ${width}x${height}`);
    }
    async goto(url) {
        await this.session('POST', '/url', {url});
        await this.hookConsole();
    }
    async reload() {
        await this.session('POST', '/refresh', {});
        await this.hookConsole();
    }
    async hookConsole() {
        await this.evaluate(() => {
            window.checkConsole = [];
            for (const type of ['error', 'warn']) {
                const write = console[type].bind(console);
                console[type] = (...args) => {
                    window.checkConsole.push([type, args.map(String).join(' ')]);
                    write(...args);
                };
            }
            window.addEventListener('error', (event) => window.checkConsole.push(['page', event.message]));
        });
    }
    // Hands what the page logged and asked for since the last time to the
    // handlers set with on().
    async report() {
        const {logged, asked} = await this.evaluate(() => ({
            logged: (window.checkConsole || []).splice(0),
            asked: [location.href, ...performance.getEntriesByType('resource').map((entry) => entry.name)],
        }));
        for (const [type, text] of logged) {
            const target = type === 'page' ? 'pageerror' : 'console';
            this.handlers[target].forEach((handler) => handler(target === 'console'
                ? {type: () => (type === 'warn' ? 'warning' : type), text: () => text} : text));
        }
        for (const url of asked.filter((url) => !this.seen.has(url))) {
            this.seen.add(url);
            this.handlers.request.forEach((handler) => handler({url: () => url}));
        }
    }
    async evaluate(fn, ...args) {
        const result = await this.session('POST', '/execute/async', {args, script: `
            const done = arguments[arguments.length - 1];
            Promise.resolve().then(() => (${fn})(...Array.from(arguments).slice(0, -1)))
                .then((value) => done({value}), (error) => done({error: String(error)}));`});
        if (result.error) {
            throw new Error(result.error);
        }
        return result.value;
    }
    async screenshot() {
        await this.report();
        return Buffer.from(await this.session('GET', '/screenshot'), 'base64');
    }
    actions(actions) {
        return this.session('POST', '/actions', {actions});
    }
    pointer(pointerType, x, y) {
        return this.actions([{type: 'pointer', id: pointerType, parameters: {pointerType}, actions: [
            {type: 'pointerMove', origin: 'viewport', x: Math.round(x), y: Math.round(y)},
            {type: 'pointerDown', button: 0}, {type: 'pointerUp', button: 0}]}]);
    }
    // A click on an element that loads the page again, which
    // waitForNavigation waits for: one command at a time, as WebDriver asks.
    click(selector) {
        this.clicking = (async () => {
            await this.evaluate(() => { window.checkBeforeClick = true; });
            const element = await this.session('POST', '/element', {using: 'css selector', value: selector});
            await this.session('POST', `/element/${Object.values(element)[0]}/click`, {});
        })();
        return this.clicking;
    }
    async waitForNavigation() {
        await sleep(0); // the click, called with it, has begun
        await this.clicking;
        for (;;) {
            const loaded = await this.evaluate(() => document.readyState === 'complete'
                && !window.checkBeforeClick).catch(() => false);
            if (loaded) {
                return this.hookConsole();
            }
            await sleep(200);
        }
    }
    async close() {
        await this.report();
        await this.session('DELETE', '');
    }
}

export async function launchWebKit() {
    const pages = [];
    return {
        version: async () => `WebKitGTK ${execFileSync('dpkg-query',
            ['-W', '-f', '${Version}', 'webkit2gtk-driver'])} MiniBrowser`,
        createBrowserContext: async () => ({
            newPage: async () => {
                const page = new Page();
                pages.push(page);
                return page;
            },
            cookies: async () => (await Promise.all(pages.filter((page) => page.id).map((page) =>
                page.session('GET', '/cookie').catch(() => [])))).flat(),
        }),
        close: async () => {
            drivers.forEach((driver) => driver.kill());
        },
    };
}
