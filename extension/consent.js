// The question the background opens for one origin. The answer goes back with the nonce the
// background put in this page's address; closing the window answers nothing.
(function () {
  'use strict';

  const api = globalThis.browser || globalThis.chrome;
  const query = new URLSearchParams(location.search);
  const nonce = query.get('nonce');
  document.getElementById('origin').textContent = query.get('origin') || '';

  function send(answer) {
    api.runtime.sendMessage({ consent: { nonce, answer } }).finally(() => window.close());
  }

  const buttons = { allow: document.getElementById('allow'), block: document.getElementById('block') };
  for (const [answer, button] of Object.entries(buttons)) {
    button.addEventListener('click', () => send(answer));
  }
  // The buttons wait a moment, so that a click or key press meant for the page does not answer.
  setTimeout(() => Object.values(buttons).forEach((button) => { button.disabled = false; }), 700);
})();
