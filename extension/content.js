// Bridges the page and the extension. Takes the desklaunch library's requests from this window
// only (not from frames, not from other windows) and passes on just the method and its
// argument; the background learns the page's origin from the browser, never from the page.
// Each answer goes back to this window only.
(function () {
  'use strict';

  const api = globalThis.browser || globalThis.chrome;
  const TAG = 'desklaunch/1';

  // The page's own origin as the target, so an answer is dropped if the window has meanwhile
  // shown another site. An opaque origin ("null": sandboxed pages, and file pages in some
  // browsers) matches no target origin, so there the answer goes to "*": still to this window
  // only, which is the one that asked.
  function targetOrigin() {
    const origin = window.origin;
    return typeof origin === 'string' && origin !== 'null' ? origin : '*';
  }

  function answer(id, reply) {
    window.postMessage({ tag: TAG, kind: 'answer', id, result: reply.result, error: reply.error }, targetOrigin());
  }

  window.addEventListener('message', (event) => {
    const data = event.data;
    if (event.source !== window || !data || typeof data !== 'object' || data.tag !== TAG ||
        data.kind !== 'request' || typeof data.id !== 'string' || data.id.length > 100) {
      return;
    }
    // The handshake: the extension is here.
    if (data.method === 'ping') {
      answer(data.id, { result: { version: api.runtime.getManifest().version } });
      return;
    }
    const request = { method: String(data.method) };
    if (typeof data.application === 'string') {
      request.application = data.application;
    }
    api.runtime.sendMessage({ desklaunch: request }).then(
      (reply) => answer(data.id, reply || { error: { code: 'extension-error', message: 'No answer from the extension.' } }),
      (error) => answer(data.id, { error: { code: 'extension-error', message: String(error && error.message) } }));
  });
})();
