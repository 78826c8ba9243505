// Fetches and compiles the WebAssembly module at the address the page posts, and posts the module
// back, or why it could not.
"use strict";

onmessage = (event) => {
    const xhr = new XMLHttpRequest();
    xhr.open("GET", event.data);
    xhr.responseType = "arraybuffer";
    xhr.onload = () =>
        WebAssembly.compile(xhr.response).then(
            (module) => postMessage(module),
            (error) => postMessage(String(error)),
        );
    xhr.onerror = () => postMessage("could not fetch " + event.data);
    xhr.send();
};
