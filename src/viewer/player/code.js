// Ruffle's code (14 MB) is fetched and compiled in a worker as soon as the page opens, while the
// page loads Ruffle's script, which would fetch it only after that and its own checks, through the
// page's thread. The page's address names the build Ruffle takes ("?code=<file>"). When Ruffle then
// fetches that file, it gets an empty answer, and when it instantiates it, the module compiled here.
// A module that could not be compiled here leaves Ruffle to fetch and compile it as it would have.
// ruffleCodeReady settles once the module compiled here is there or could not be compiled; at once
// when the page compiles none itself.
"use strict";

const ruffleCodeReady = (() => {
    const name = new URLSearchParams(location.search).get("code");
    if (!name) return Promise.resolve();
    const address = new URL(name, location.href).href;
    const compiled = new Promise((resolve, reject) => {
        const worker = new Worker("compile.js");
        worker.onmessage = (event) => {
            worker.terminate();
            if (event.data instanceof WebAssembly.Module) resolve(event.data);
            else reject(new Error(String(event.data)));
        };
        worker.onerror = () => {
            worker.terminate();
            reject(new Error("the worker failed"));
        };
        worker.postMessage(address);
    });
    compiled.catch(() => {});

    let fetched = false;
    let instantiated = false;
    const pageFetch = window.fetch;
    window.fetch = function (input, init) {
        const url = new URL(String(input instanceof Request ? input.url : input), document.baseURI).href;
        if (fetched || url !== address) return pageFetch(input, init);
        fetched = true;
        return Promise.resolve(new Response(new ArrayBuffer(0), { headers: { "Content-Type": "application/wasm" } }));
    };
    const instantiateStreaming = WebAssembly.instantiateStreaming;
    WebAssembly.instantiateStreaming = function (source, imports) {
        if (!fetched || instantiated) return instantiateStreaming.call(WebAssembly, source, imports);
        instantiated = true;
        return compiled.then(
            (module) => WebAssembly.instantiate(module, imports).then((instance) => ({ module, instance })),
            () => instantiateStreaming.call(WebAssembly, pageFetch(address), imports),
        );
    };
    return compiled.then(
        () => {},
        () => {},
    );
})();
