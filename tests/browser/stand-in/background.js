// Stand-in extension: one host per page connection; the page's origin as the browser tells it.
'use strict';
const api = globalThis.browser || globalThis.chrome;

api.runtime.onConnect.addListener((page) => {
  const origin = page.sender.origin || new URL(page.sender.url).origin;
  let host = null;
  const waiting = new Set();
  page.onMessage.addListener((request) => {
    if (!host) {
      host = api.runtime.connectNative('com.corvid.desklaunch');
      host.onMessage.addListener((answer) => {
        waiting.delete(answer.id);
        page.postMessage(answer);
      });
      host.onDisconnect.addListener(() => {
        for (const id of waiting) {
          page.postMessage({ id, error: { code: 'host-missing', message: 'the host ended' } });
        }
        waiting.clear();
        host = null;
      });
    }
    waiting.add(request.id);
    host.postMessage({ jsonrpc: '2.0', id: request.id, method: request.method,
      params: Object.assign({}, request.params, { origin }) });
  });
  page.onDisconnect.addListener(() => host && host.disconnect());
});
