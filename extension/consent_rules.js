// The extension's decisions, as plain functions: which origin a request comes from, what the
// page may ask, whether the user must be asked, and what the page is told.

export const METHODS = ['status', 'recentApplications', 'runApplication', 'selectApplication'];

// The most a page may pass as a program: the host takes messages of up to 65,536 bytes.
const MAX_APPLICATION = 16384;

const BLOCKED = { code: 'blocked', message: 'You blocked this site from using npDesklaunch.' };
const DISMISSED = {
  code: 'dismissed',
  message: 'The question whether this site may use npDesklaunch was closed without an answer.',
};

// The page's origin as the browser tells it, never as the page says: "scheme://host[:port]" for
// http and https, "file://" for local files; null for anything else (extension pages, data:
// and about: documents, sandboxed pages with an opaque origin) and for any sender that is not
// our own content script in a tab's top frame.
export function originOfSender(sender, ownId) {
  if (!sender || sender.id !== ownId || !sender.tab || sender.frameId !== 0) {
    return null;
  }
  // Chromium gives the frame's origin; Firefox only its URL.
  const text = typeof sender.origin === 'string' ? sender.origin : sender.url;
  if (typeof text !== 'string' || text === 'null') {
    return null;
  }
  let url;
  try {
    url = new URL(text);
  } catch {
    return null;
  }
  if (url.protocol === 'file:') {
    return 'file://';
  }
  if ((url.protocol !== 'https:' && url.protocol !== 'http:') || url.username || url.password) {
    return null;
  }
  return url.origin;
}

// What a page's message asks, with nothing else carried along; null when it asks nothing valid.
export function readRequest(message) {
  if (!message || typeof message !== 'object' || !METHODS.includes(message.method)) {
    return null;
  }
  if (message.method !== 'runApplication') {
    return { method: message.method };
  }
  const application = message.application;
  if (typeof application !== 'string' || application === '' || application.length > MAX_APPLICATION) {
    return null;
  }
  return { method: 'runApplication', application };
}

// The next step before an operation, from the host's answer to hello and what the user said
// before ('allow', 'block' or undefined): { step: 'allow' | 'ask' } or { step: 'fail', error }.
// The administrator's word comes first: a refused origin is never put to the user, and a
// listed one needs no question.
export function consentStep(hello, remembered) {
  if (hello.error) {
    return { step: 'fail', error: pageError(hello.error) };
  }
  const policy = hello.result && hello.result.policy;
  if (policy === 'listed') {
    return { step: 'allow' };
  }
  if (policy !== 'none') {
    return { step: 'fail', error: { code: 'host-error', message: 'The host did not say whether the site is allowed.' } };
  }
  if (remembered === 'allow') {
    return { step: 'allow' };
  }
  if (remembered === 'block') {
    return { step: 'fail', error: BLOCKED };
  }
  return { step: 'ask' };
}

// The user's answer in the consent window ('allow', 'block', or null for a window closed
// without one): what to remember and whether this request goes on. A closed window refuses
// this time and remembers nothing, so the next request asks again.
export function promptOutcome(answer) {
  if (answer === 'allow') {
    return { remember: 'allow', error: null };
  }
  if (answer === 'block') {
    return { remember: 'block', error: BLOCKED };
  }
  return { remember: null, error: DISMISSED };
}

// A failure the page is told: the host's JSON-RPC errors and the port's own failures, by code.
export function pageError(error) {
  const codes = {
    '-32000': 'refused',
    '-32001': 'not-started',
    '-32002': 'busy',
    'host-missing': 'host-missing',
    'host-exited': 'host-exited',
  };
  const key = String(error && error.code);
  const code = Object.hasOwn(codes, key) ? codes[key] : 'host-error';
  const detail = error && typeof error.message === 'string' ? error.message : '';
  const texts = {
    refused: 'The administrator\'s policy does not allow this site to use npDesklaunch.',
    'host-missing': `The npDesklaunch host is not installed or could not start (${detail}).`,
    'host-exited': `The npDesklaunch host ended (${detail}).`,
    'not-started': 'Nothing started: there is no such program, or the administrator\'s policy does not allow it.',
    busy: 'A window to pick a program is already open.',
  };
  return { code, message: texts[code] || detail || 'The npDesklaunch host failed.' };
}

// The answer to the page: the host's result cut down to what the page library reads.
export function pageResult(method, result) {
  const entry = (e) => ({ path: e.path, name: e.name, icon: e.icon });
  switch (method) {
    case 'recentApplications':
      return { entries: Array.isArray(result && result.entries) ? result.entries.map(entry) : [] };
    case 'runApplication':
      return { started: true };
    case 'selectApplication':
      return { entry: result && result.entry ? entry(result.entry) : null };
    default:
      return {};
  }
}

// Remembered answers live in storage.local, one key per origin so that answers for two sites
// never overwrite each other.
const SITE_PREFIX = 'site:';

export function siteKey(origin) {
  return SITE_PREFIX + origin;
}

export function sitesFromStorage(items) {
  const sites = { allowed: [], blocked: [] };
  for (const [key, value] of Object.entries(items || {})) {
    if (key.startsWith(SITE_PREFIX) && (value === 'allow' || value === 'block')) {
      sites[value === 'allow' ? 'allowed' : 'blocked'].push(key.slice(SITE_PREFIX.length));
    }
  }
  sites.allowed.sort();
  sites.blocked.sort();
  return sites;
}
