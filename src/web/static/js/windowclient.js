// The browser's end of one window of the host: operations go out one at a time, and each comes
// back as an outcome; a pending dialog is shown and answered until the operation ends.
import { post, get, ApiError } from './api.js';
import { showDialog, toast, notice } from './dialogs.js';
import { watchProgress } from './progress.js';

// Operations under way in the page; the page's body carries the count (data-busy) for anyone
// who waits for the page to settle.
let busy = 0;
function track(delta) {
  busy += delta;
  document.body.dataset.busy = String(busy);
}

export class WindowClient {
  // `onOutcome(outcome, request)` hears every outcome (view parts, journal), dialogs included,
  // with the request it belongs to (null for a load).
  constructor(id, onOutcome) {
    this.id = id;
    this.onOutcome = onOutcome;
    this.queue = Promise.resolve();
  }

  get path() {
    return `/api/windows/${this.id}`;
  }

  // Runs operation `body` ({op: ...}) after those sent before it; resolves with the final
  // outcome (its "result"), or null when the window is gone.
  run(body) {
    return this.#enqueue(() => this.#perform(() => post(`${this.path}/op`, body), body));
  }

  // The window in full (after a reload), with its pending dialog answered as usual.
  load() {
    return this.#enqueue(() => this.#perform(() => get(this.path), null));
  }

  #enqueue(work) {
    track(1);
    const next = this.queue.then(work);
    this.queue = next.catch(() => null).finally(() => track(-1));
    return next;
  }

  close() {
    return post(`${this.path}/close`).catch(() => null);
  }

  // Sends a request of the window; long work shows its progress meanwhile.
  async #send(send) {
    const stop = watchProgress(this.path);
    try {
      return await send();
    } finally {
      stop();
    }
  }

  async #perform(send, request) {
    let outcome;
    try {
      outcome = await this.#send(send);
    } catch (e) {
      return this.#failed(e);
    }
    for (;;) {
      this.#deliver(outcome, request);
      if (!outcome.dialog) break;
      const shown = await showDialog(outcome.dialog, (answer) => this.#exchange(answer, request));
      if (shown.outcome) {
        outcome = shown.outcome;
        continue;
      }
      try {
        outcome = await this.#send(() => post(`${this.path}/answer`, shown.answer));
      } catch (e) {
        return this.#failed(e);
      }
    }
    if (outcome.result && outcome.result.error) await notice('操作未完成', outcome.result.error);
    if (outcome.openError) await notice('打开单据失败', outcome.openError);
    return outcome;
  }

  async #exchange(answer, request) {
    const outcome = await post(`${this.path}/answer`, answer);
    this.#deliver(outcome, request);
    return outcome;
  }

  #deliver(outcome, request) {
    for (const n of outcome.notices || []) toast(n.title, n.text);
    this.onOutcome(outcome, request);
  }

  async #failed(e) {
    if (e instanceof ApiError && (e.status === 404 || e.status === 401)) {
      this.onOutcome({ gone: true, error: e.message }, null);
      return null;
    }
    // A request the server could not take: the window is as it was, and says so.
    if (e instanceof ApiError && e.body && e.body.view) this.#deliver(e.body, null);
    await notice('操作未完成', e.message);
    return null;
  }
}
