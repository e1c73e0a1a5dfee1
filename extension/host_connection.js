// One port to the native messaging host, opened on first need. Each request gets its own
// JSON-RPC id and its answer is found by that id, so answers may come in any order. When the
// port goes, every request still waiting fails with the browser's reason, and the next request
// opens a new port.
export class HostConnection {
  // connect() opens a port (runtime.connectNative); lastError() is runtime.lastError, which
  // Chromium sets while a port's onDisconnect runs (Firefox puts the reason on port.error).
  constructor(connect, lastError) {
    this.connect = connect;
    this.lastError = lastError;
    this.link = null;
    this.nextId = 1;
  }

  // Resolves with { result } or { error: { code, message } }; never rejects. A port that closes
  // before any answer gives 'host-missing' (not installed, not allowed, or ended at start),
  // one that answered before gives 'host-exited'.
  call(method, params) {
    const link = this.open();
    const id = this.nextId++;
    return new Promise((resolve) => {
      link.pending.set(id, resolve);
      try {
        link.port.postMessage({ jsonrpc: '2.0', id, method, params });
      } catch (error) {
        link.pending.delete(id);
        resolve({ error: { code: link.answered ? 'host-exited' : 'host-missing', message: String(error.message) } });
      }
    });
  }

  open() {
    if (this.link) {
      return this.link;
    }
    const link = { port: this.connect(), pending: new Map(), answered: false };
    link.port.onMessage.addListener((message) => {
      link.answered = true;
      const resolve = message && typeof message === 'object' ? link.pending.get(message.id) : undefined;
      if (!resolve) {
        return;
      }
      link.pending.delete(message.id);
      resolve(message.error ? { error: message.error } : { result: message.result });
    });
    link.port.onDisconnect.addListener((port) => {
      if (this.link === link) {
        this.link = null;
      }
      const error = (port && port.error) || this.lastError();
      const message = (error && error.message) || 'the port closed';
      const code = link.answered ? 'host-exited' : 'host-missing';
      for (const resolve of link.pending.values()) {
        resolve({ error: { code, message } });
      }
      link.pending.clear();
    });
    this.link = link;
    return link;
  }
}
