// Made by build.mjs from desklaunch.mjs: edit that file, then run "node build.mjs".
(function (global) {
  'use strict';

  // DeskLaunch: one way for a page to reach npDesklaunch, through the NPAPI plug-in where the
  // browser loads it, else through the browser extension and its native messaging host.
  // desklaunch.js, the classic-script build, is made from this file by build.mjs.

  const MIME_TYPE = 'application/corvid-application';

  // Every message between the page and the extension's content script carries this tag.
  const TAG = 'desklaunch/1';

  // How long connect() waits for the extension's content script to answer.
  const EXTENSION_TIMEOUT_MS = 1000;

  class DeskLaunchError extends Error {
    constructor(code, message) {
      super(message);
      this.name = 'DeskLaunchError';
      this.code = code;
    }
  }

  // The plug-in's catalogue text is a run of entries "path*name#". Paths hold no "*", so an
  // entry's path ends at its first "*". A name may hold "#" (it is not escaped), so the "#" that
  // ends an entry is the one followed by the end of the text or by the next entry's path
  // ("X:\...*" or "\...*"). One pass over the text, whatever it holds.
  function parseCatalogue(text) {
    const entries = [];
    if (typeof text !== 'string') {
      return entries;
    }
    const lastStar = text.lastIndexOf('*');
    let start = 0;
    while (start < text.length) {
      const star = text.indexOf('*', start);
      if (star < 0) {
        break;
      }
      const end = entryEnd(text, star + 1, lastStar);
      if (end < 0) {
        break;
      }
      const path = text.slice(start, star);
      if (path !== '') {
        entries.push({ path, name: text.slice(star + 1, end) });
      }
      start = end + 1;
    }
    return entries;
  }

  function entryEnd(text, from, lastStar) {
    let last = -1;
    for (let i = text.indexOf('#', from); i >= 0; i = text.indexOf('#', i + 1)) {
      const prefix = pathPrefixLength(text, i + 1);
      if (i === text.length - 1 || (prefix > 0 && lastStar >= i + 1 + prefix)) {
        return i;
      }
      last = i;
    }
    return last;
  }

  function pathPrefixLength(text, at) {
    if (/^[A-Za-z]:\\/.test(text.slice(at, at + 3))) {
      return 3;
    }
    return text[at] === '\\' ? 1 : 0;
  }

  // The plug-in stores each icon in its images folder as <file name without its last
  // extension>.bmp.
  function iconFileUrl(imagesUrl, path) {
    const fileName = path.slice(path.lastIndexOf('\\') + 1);
    const dot = fileName.lastIndexOf('.');
    const stem = dot >= 0 ? fileName.slice(0, dot) : fileName;
    return imagesUrl + encodeURIComponent(stem) + '.bmp';
  }

  // An entry as the extension passes it on: two strings, and an icon only as a bitmap data URL.
  function toEntry(value) {
    if (!value || typeof value !== 'object' || typeof value.path !== 'string' ||
        typeof value.name !== 'string' || value.path === '') {
      return null;
    }
    const icon = typeof value.icon === 'string' && value.icon.startsWith('data:image/bmp;base64,')
      ? value.icon : null;
    return { path: value.path, name: value.name, icon };
  }

  function pluginLauncher(object, imagesUrl) {
    const withIcon = (entry) => ({ ...entry, icon: iconFileUrl(imagesUrl, entry.path) });
    // The plug-in throws when the administrator's policy does not list the page's site.
    const call = (method, ...args) => {
      try {
        return object[method](...args);
      } catch (error) {
        throw new DeskLaunchError('refused', `npDesklaunch refused ${method}: the administrator's ` +
          'policy may not list this site');
      }
    };
    return {
      kind: 'plugin',
      // Synchronous underneath: the plug-in stores every icon before it answers.
      async recentApplications() {
        return parseCatalogue(call('RecentlyApplications')).map(withIcon);
      },
      // The plug-in tells the page nothing: it shows the user its own message when nothing starts.
      async run(application) {
        call('RunAppointedApplication', String(application));
      },
      // The plug-in never calls back when the user cancels, so then this never settles.
      pick() {
        return new Promise((resolve) => {
          call('SelectApplications', (reply) => {
            const [entry] = parseCatalogue(reply);
            resolve(entry ? withIcon(entry) : null);
          });
        });
      },
    };
  }

  // The page's own <object> of the plug-in's type, else one added where the browser lists the
  // type; either counts only when it has the plug-in's methods.
  function findPlugin(doc, nav, given) {
    const own = given || doc.querySelector(`object[type="${MIME_TYPE}"]`);
    if (own) {
      return typeof own.RecentlyApplications === 'function' ? own : null;
    }
    if (!nav || !nav.mimeTypes || !nav.mimeTypes[MIME_TYPE]) {
      return null;
    }
    const added = doc.createElement('object');
    added.type = MIME_TYPE;
    added.width = 1;
    added.height = 1;
    added.style.position = 'absolute';
    (doc.body || doc.documentElement).appendChild(added);
    if (typeof added.RecentlyApplications === 'function') {
      return added;
    }
    added.remove();
    return null;
  }

  function randomId() {
    const bytes = new Uint8Array(8);
    globalThis.crypto.getRandomValues(bytes);
    return Array.from(bytes, (b) => b.toString(16).padStart(2, '0')).join('');
  }

  // Requests to the extension's content script in this window, answers matched by id. Only
  // messages from this same window count: another frame cannot answer for the extension.
  function createChannel(win) {
    const pending = new Map();
    const prefix = randomId();
    let next = 0;
    const listener = (event) => {
      const data = event.data;
      if (event.source !== win || !data || typeof data !== 'object' || data.tag !== TAG ||
          data.kind !== 'answer' || !pending.has(data.id)) {
        return;
      }
      const waiting = pending.get(data.id);
      pending.delete(data.id);
      win.clearTimeout(waiting.timer);
      if (data.error) {
        waiting.reject(new DeskLaunchError(String(data.error.code), String(data.error.message)));
      } else {
        waiting.resolve(data.result);
      }
    };
    win.addEventListener('message', listener);
    // An opaque origin ("null") matches no target origin; the message still goes to this window only.
    const targetOrigin = win.origin && win.origin !== 'null' ? win.origin : '*';
    return {
      request(method, params = {}, timeoutMs = 0) {
        const id = `${prefix}-${++next}`;
        return new Promise((resolve, reject) => {
          const waiting = { resolve, reject, timer: undefined };
          if (timeoutMs > 0) {
            waiting.timer = win.setTimeout(() => {
              pending.delete(id);
              reject(new DeskLaunchError('timeout', `no answer to ${method} in ${timeoutMs} ms`));
            }, timeoutMs);
          }
          pending.set(id, waiting);
          win.postMessage({ ...params, tag: TAG, kind: 'request', id, method }, targetOrigin);
        });
      },
      close() {
        win.removeEventListener('message', listener);
      },
    };
  }

  function extensionLauncher(channel) {
    return {
      kind: 'extension',
      async recentApplications() {
        const result = await channel.request('recentApplications');
        const entries = result && Array.isArray(result.entries) ? result.entries : [];
        return entries.map(toEntry).filter(Boolean);
      },
      // Rejects with code 'not-started' when nothing started.
      async run(application) {
        await channel.request('runApplication', { application: String(application) });
      },
      async pick() {
        const result = await channel.request('selectApplication');
        return result && result.entry ? toEntry(result.entry) : null;
      },
    };
  }

  // Finds a front end: the plug-in, else the extension. Rejects with a DeskLaunchError whose code
  // says why there is none: 'no-front-end', 'blocked' (the user blocked this site), 'refused' (the
  // administrator's policy does not list it), 'host-missing' (the extension is there, its host
  // is not installed).
  //   options.window   the window (default: the global one)
  //   options.object   the plug-in's <object> (default: the page's own one of its type, if any)
  //   options.images   URL of the plug-in's images folder (default: the object's data-images
  //                    attribute, else "images/")
  //   options.timeout  ms to wait for the extension (default 1000)
  async function connect(options = {}) {
    const win = options.window || globalThis.window;
    const plugin = findPlugin(win.document, win.navigator, options.object);
    if (plugin) {
      const images = options.images || plugin.getAttribute('data-images') || 'images/';
      return pluginLauncher(plugin, images);
    }
    const channel = createChannel(win);
    try {
      await channel.request('ping', {}, options.timeout || EXTENSION_TIMEOUT_MS);
      await channel.request('status');
    } catch (error) {
      channel.close();
      if (error.code === 'timeout') {
        throw new DeskLaunchError('no-front-end',
          'Neither the npDesklaunch plug-in nor the npDesklaunch browser extension is installed or enabled.');
      }
      throw error;
    }
    return extensionLauncher(channel);
  }

  global.DeskLaunch = { MIME_TYPE, TAG, DeskLaunchError, parseCatalogue, iconFileUrl, toEntry, createChannel, connect };
})(typeof window !== 'undefined' ? window : globalThis);
