// Stand-in extension: relays the page's requests to the background and the answers back.
'use strict';
(() => {
  const api = globalThis.browser || globalThis.chrome;
  let port = null;
  window.addEventListener('message', (event) => {
    if (event.source !== window || !event.data || event.data.desklaunch !== 'request') {
      return;
    }
    if (!port) {
      port = api.runtime.connect();
      port.onMessage.addListener((answer) => {
        window.postMessage(Object.assign({ desklaunch: 'answer' }, answer), location.origin);
      });
    }
    port.postMessage({ id: event.data.id, method: event.data.method, params: event.data.params || {} });
  });
})();
