// Stand-in page library: DeskLaunch.connect() and the three calls, errors with a code.
'use strict';
const DeskLaunch = (() => {
  const codes = { '-32000': 'refused' };
  let nextId = 1;
  const waiting = new Map();
  window.addEventListener('message', (event) => {
    const answer = event.data;
    if (event.source !== window || !answer || answer.desklaunch !== 'answer' || !waiting.has(answer.id)) {
      return;
    }
    const { resolve, reject } = waiting.get(answer.id);
    waiting.delete(answer.id);
    if (answer.error) {
      const error = new Error(answer.error.message);
      error.code = codes[answer.error.code] || answer.error.code;
      reject(error);
    } else {
      resolve(answer.result);
    }
  });
  function call(method, params, ms) {
    const id = nextId++;
    return new Promise((resolve, reject) => {
      waiting.set(id, { resolve, reject });
      window.postMessage({ desklaunch: 'request', id, method, params }, location.origin);
      if (ms) {
        setTimeout(() => {
          if (waiting.delete(id)) {
            const error = new Error('no extension answers');
            error.code = 'no-front-end';
            reject(error);
          }
        }, ms);
      }
    });
  }
  return {
    async connect() {
      await call('hello', {}, 30000);
      return {
        recentApplications: async () => (await call('recentApplications')).entries,
        run: (application) => call('runApplication', { application }),
        pick: async () => (await call('selectApplication')).entry || null,
      };
    },
  };
})();
