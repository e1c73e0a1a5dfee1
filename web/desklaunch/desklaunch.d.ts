// Types of desklaunch.mjs (and of window.DeskLaunch, which desklaunch.js defines).

export const MIME_TYPE: 'application/corvid-application';
export const TAG: string;

export type ErrorCode =
  | 'no-front-end' // neither the plug-in nor the extension
  | 'blocked'      // the user blocked this site
  | 'refused'      // the administrator's policy does not list this site
  | 'host-missing' // the extension is there, its native messaging host is not installed
  | 'host-exited'  // the host ended while the request waited
  | 'dismissed'    // the user closed the extension's question without answering
  | 'not-started'  // run(): nothing started
  | 'busy'         // pick(): a picker is already open
  | 'host-error'
  | 'extension-error'
  | 'bad-request'
  | 'timeout';

export class DeskLaunchError extends Error {
  constructor(code: ErrorCode, message: string);
  readonly code: ErrorCode;
}

export interface Entry {
  path: string;
  name: string;
  /** A data: URL (extension), the images folder's bitmap (plug-in), or null. */
  icon: string | null;
}

export interface Launcher {
  readonly kind: 'plugin' | 'extension';
  recentApplications(): Promise<Entry[]>;
  /** Rejects when nothing started (extension only: the plug-in tells the page nothing). */
  run(application: string): Promise<void>;
  /** null when the user cancelled (extension only: the plug-in then never answers). */
  pick(): Promise<Entry | null>;
}

export interface ConnectOptions {
  window?: Window;
  object?: HTMLObjectElement;
  /** URL of the plug-in's images folder, ending in "/". */
  images?: string;
  /** Milliseconds to wait for the extension; default 1000. */
  timeout?: number;
}

export function connect(options?: ConnectOptions): Promise<Launcher>;
export function parseCatalogue(text: unknown): { path: string; name: string }[];
export function iconFileUrl(imagesUrl: string, path: string): string;
export function toEntry(value: unknown): Entry | null;

export interface Channel {
  request(method: string, params?: object, timeoutMs?: number): Promise<unknown>;
  close(): void;
}
export function createChannel(win: Window): Channel;

declare global {
  interface Window {
    DeskLaunch: {
      MIME_TYPE: typeof MIME_TYPE;
      TAG: typeof TAG;
      DeskLaunchError: typeof DeskLaunchError;
      connect: typeof connect;
      parseCatalogue: typeof parseCatalogue;
      iconFileUrl: typeof iconFileUrl;
      toEntry: typeof toEntry;
      createChannel: typeof createChannel;
    };
  }
}
