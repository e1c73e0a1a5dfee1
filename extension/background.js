// The extension's background: takes the requests the content script passes on, learns the
// page's origin from the browser, asks the administrator's policy (through the host's hello)
// and the user as a browser asks for a permission, then asks the host.
import {
  consentStep, originOfSender, pageError, pageResult, promptOutcome, readRequest, siteKey,
} from './consent_rules.js';
import { HostConnection } from './host_connection.js';

const api = globalThis.browser || globalThis.chrome;
const HOST_NAME = 'com.corvid.desklaunch';
const CONSENT_PAGE = api.runtime.getURL('consent.html');

const host = new HostConnection(() => api.runtime.connectNative(HOST_NAME), () => api.runtime.lastError);

// One question per origin at a time: requests that arrive while it is open wait for its answer,
// which is stored before the question counts as done.
const questions = new Map(); // origin -> Promise of promptOutcome()
const openWindows = new Map(); // nonce -> { windowId, resolve }

function askUser(origin) {
  let question = questions.get(origin);
  if (!question) {
    question = openQuestion(origin)
      .then(async (answer) => {
        const outcome = promptOutcome(answer);
        if (outcome.remember) {
          await api.storage.local.set({ [siteKey(origin)]: outcome.remember });
        }
        return outcome;
      })
      .finally(() => questions.delete(origin));
    questions.set(origin, question);
  }
  return question;
}

async function openQuestion(origin) {
  const nonce = crypto.randomUUID();
  const answer = new Promise((resolve) => openWindows.set(nonce, { windowId: null, resolve }));
  const url = `${CONSENT_PAGE}?${new URLSearchParams({ origin, nonce })}`;
  try {
    const created = await api.windows.create({ url, type: 'popup', width: 480, height: 320, focused: true });
    const waiting = openWindows.get(nonce);
    if (waiting) {
      waiting.windowId = created.id;
    }
  } catch (error) {
    console.error('npDesklaunch: could not open the question window:', error);
    settle(nonce, null);
  }
  return answer;
}

function settle(nonce, answer) {
  const waiting = openWindows.get(nonce);
  if (waiting) {
    openWindows.delete(nonce);
    waiting.resolve(answer);
  }
}

// A window closed without an answer counts as no answer.
api.windows.onRemoved.addListener((windowId) => {
  for (const [nonce, waiting] of openWindows) {
    if (waiting.windowId === windowId) {
      settle(nonce, null);
    }
  }
});

async function remembered(origin) {
  const key = siteKey(origin);
  const items = await api.storage.local.get(key);
  return items[key];
}

// May the origin go on? null when it may, else the error for the page.
async function consent(origin, ask) {
  const hello = await host.call('hello', { origin });
  const step = consentStep(hello, await remembered(origin));
  if (step.step === 'allow') {
    return null;
  }
  if (step.step === 'fail') {
    return step.error;
  }
  if (!ask) {
    return null; // status: the site has yet to be asked; the first operation asks
  }
  return (await askUser(origin)).error;
}

async function serve(message, sender) {
  const origin = originOfSender(sender, api.runtime.id);
  if (!origin) {
    return { error: { code: 'bad-request', message: 'npDesklaunch serves http, https and file pages only.' } };
  }
  const request = readRequest(message);
  if (!request) {
    return { error: { code: 'bad-request', message: 'The request is not one npDesklaunch knows.' } };
  }
  const refusal = await consent(origin, request.method !== 'status');
  if (refusal) {
    return { error: refusal };
  }
  if (request.method === 'status') {
    return { result: {} };
  }
  const params = { origin };
  if (request.application !== undefined) {
    params.application = request.application;
  }
  const answer = await host.call(request.method, params);
  if (answer.error) {
    return { error: pageError(answer.error) };
  }
  return { result: pageResult(request.method, answer.result) };
}

api.runtime.onMessage.addListener((message, sender, sendResponse) => {
  if (message && message.desklaunch) {
    serve(message.desklaunch, sender).then(sendResponse, (error) => {
      sendResponse({ error: { code: 'extension-error', message: String(error && error.message) } });
    });
    return true;
  }
  // The answer from our own question window, which only the extension can open.
  if (message && message.consent && typeof sender.url === 'string' &&
      sender.url.startsWith(CONSENT_PAGE + '?')) {
    const { nonce, answer } = message.consent;
    settle(nonce, answer === 'allow' || answer === 'block' ? answer : null);
  }
  return false;
});
