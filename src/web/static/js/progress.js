// Progress of long work on the host (a save or a source selection of thousands of rows): once
// an operation has run for a moment, a bar shows what the host does and how far it got, asked
// of the host while the operation goes on.
import { h, get } from './api.js';

const DELAY = 400;  // quick operations show nothing
const EVERY = 250;

// Watches the operation of window `path` under way; the returned function ends the watch.
export function watchProgress(path) {
  let bar = null;
  let stopped = false;
  let timer = setTimeout(async function poll() {
    let progress = null;
    try {
      progress = (await get(`${path}/progress`)).progress;
    } catch {
      progress = null;
    }
    if (stopped) return;
    show(progress);
    timer = setTimeout(poll, EVERY);
  }, DELAY);

  function show(progress) {
    if (!bar) {
      bar = h('div.progress', { role: 'status', 'aria-live': 'polite' },
        h('span.progress-text'), h('progress'));
      document.body.append(bar);
    }
    const [label, meter] = bar.children;
    if (progress && progress.total > 0) {
      label.textContent = `${progress.what}… ${progress.done} / ${progress.total}`;
      meter.max = progress.total;
      meter.value = progress.done;
    } else {
      label.textContent = progress && progress.what ? `${progress.what}…` : '正在处理…';
      meter.removeAttribute('value');
    }
  }

  return () => {
    stopped = true;
    clearTimeout(timer);
    bar?.remove();
  };
}
