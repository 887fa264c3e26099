// Starts ぽこもじ on its page: checks that the browser can run it, loads the
// program's module with a progress bar over the program's face, hands Qt the
// element to draw in, and shows the card that says the program has ended when
// it ends. Registers the service worker that keeps the program's files for
// starts without a network. Stores nothing and asks no other site for
// anything.
'use strict';

(() => {
    // The size of pokomoji.wasm, written in by tools/web_build.sh, for the
    // progress bar where a server sends the module compressed.
    const moduleBytes = Number('@POKOMOJI_WASM_BYTES@');
    const cards = ['loading', 'unsupported', 'ended'];
    const element = (id) => document.getElementById(id);

    function showCard(shown, reason) {
        for (const card of cards) {
            element(card).hidden = card !== shown;
        }
        if (reason) {
            element(reason).hidden = false;
        }
        const button = element(shown).querySelector('button');
        if (button) {
            button.focus();
        }
    }

    // What the browser lacks to run the program: WebAssembly, or WebGL,
    // through which Qt draws its windows. Null if nothing.
    function missingFeature() {
        if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
            return 'no-wasm';
        }
        const canvas = document.createElement('canvas');
        const gl = canvas.getContext('webgl2') || canvas.getContext('webgl');
        if (!gl) {
            return 'no-webgl';
        }
        const lose = gl.getExtension('WEBGL_lose_context');
        if (lose) {
            lose.loseContext(); // the program makes its own
        }
        return null;
    }

    function setProgress(fraction) {
        element('progress').value = Math.max(0, Math.min(1, fraction));
    }

    // The module compiled while it arrives, the bar counting its bytes.
    async function compileModule() {
        const response = await fetch('pokomoji.wasm');
        if (!response.ok || !response.body) {
            throw new Error(`pokomoji.wasm: ${response.status}`);
        }
        const total = moduleBytes > 0 ? moduleBytes : Number(response.headers.get('Content-Length'));
        let loaded = 0;
        const counted = response.body.pipeThrough(new TransformStream({
            transform(chunk, controller) {
                loaded += chunk.byteLength;
                if (total > 0) {
                    setProgress(0.9 * loaded / total);
                }
                controller.enqueue(chunk);
            },
        }));
        const wasm = new Response(counted, {headers: {'Content-Type': 'application/wasm'}});
        const module = typeof WebAssembly.compileStreaming === 'function'
            ? await WebAssembly.compileStreaming(wasm)
            : await WebAssembly.compile(await wasm.arrayBuffer());
        setProgress(0.95);
        performance.mark('pokomoji-compiled'); // for tools/web_bench.sh
        return module;
    }

    function loadScript(src) {
        return new Promise((resolve, reject) => {
            const script = document.createElement('script');
            script.src = src;
            script.onload = resolve;
            script.onerror = () => reject(new Error(`${src} did not load`));
            document.head.appendChild(script);
        });
    }

    function ended() {
        element('program').hidden = true;
        showCard('ended');
    }

    function failed(error) {
        console.error('pokomoji:', error);
        element('program').hidden = true;
        showCard('unsupported', 'no-start');
    }

    async function start() {
        const missing = missingFeature();
        if (missing) {
            showCard('unsupported', missing);
            return;
        }
        const [module] = await Promise.all([compileModule(), loadScript('pokomoji.js')]);
        const container = element('program');
        await window.createQtAppInstance({
            qtContainerElements: [container],
            instantiateWasm(imports, receive) {
                WebAssembly.instantiate(module, imports)
                    .then((instance) => receive(instance, module), failed);
                return {};
            },
            print: (text) => console.log(text),
            printErr: (text) => console.warn(text),
            onAbort: failed,
            // Called by the program when it ends (app/web/ending.cpp).
            pokomojiEnded: ended,
        });
        setProgress(1);
        performance.mark('pokomoji-started'); // the program's main has shown its window
        // The program's windows are drawn at the next frame; the card goes
        // after it, so the face gives way to the menu and not to white.
        requestAnimationFrame(() => requestAnimationFrame(() => {
            element('loading').hidden = true;
            performance.mark('pokomoji-painted');
            const canvas = container.querySelector('canvas');
            if (canvas) {
                canvas.focus();
            }
        }));
    }

    // Keeps the program's own files for starts without a network, where the
    // browser allows service workers (HTTPS, or this computer).
    function keepForOffline() {
        if ('serviceWorker' in navigator && window.isSecureContext) {
            navigator.serviceWorker.register('sw.js', {scope: './'}).catch((error) => {
                console.warn('pokomoji: no offline copy:', error.message);
            });
        }
    }

    document.addEventListener('DOMContentLoaded', () => {
        for (const id of ['again', 'retry']) {
            element(id).addEventListener('click', () => window.location.reload());
        }
        // A long press or a second finger opens no menu of the browser's.
        document.addEventListener('contextmenu', (event) => event.preventDefault());
        keepForOffline();
        start().catch(failed);
    });
})();
